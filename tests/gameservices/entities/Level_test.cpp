#include "gameservices/entities/Level.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Set.h"

using namespace GameServices::Entities;

namespace {
struct Listener {
    void OnRunning(Level* level) { seen = level; }
    Level* seen = nullptr;
};
}  // namespace

TEST(LevelTest, FreshLevelAndItsEvents) {
    Level level("InGame", "ingame.xml");
    EXPECT_EQ(level.GetName(), "InGame");
    EXPECT_EQ(level.GetFileName(), "ingame.xml");
    EXPECT_EQ(level.GetStatus(), 4u);
    EXPECT_FALSE(level.IsRunning());
    EXPECT_FALSE(level.IsReady());
    EXPECT_EQ(level.GetSet(), nullptr);

    Set set("InGame");
    level.SetSet(&set);
    level.SetRunning(true);
    EXPECT_TRUE(level.IsRunning());
    EXPECT_FALSE(level.IsReady());
    EXPECT_EQ(level.GetSet(), &set);

    Listener listener;
    FDelegateParam<Listener, Level*> delegate(&listener, &Listener::OnRunning);
    level.GetRunningEvent().AddDelegate(&delegate);
    level.GetLoadingEvent().Fire(&level);
    EXPECT_EQ(listener.seen, nullptr);
    level.GetRunningEvent().Fire(&level);
    EXPECT_EQ(listener.seen, &level);
}
