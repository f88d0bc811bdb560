#include "gameservices/minigame/AIManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "gameservices/minigame/AIFactory.h"
#include "gameservices/minigame/BaseGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::MiniGame;

namespace {

int g_live = 0;

struct CountedAI : BaseAI {
    CountedAI() { ++g_live; }
    ~CountedAI() override { --g_live; }
    void Reset() override { ++resets; }
    void Update(u32 ms) override { updated += ms; }
    int resets = 0;
    u32 updated = 0;
};

}  // namespace

TEST(AIFactory, PlayersStayInThePoolFromAcquireToRelease) {
    {
        AIFactory<CountedAI> pool(3);
        EXPECT_EQ(g_live, 3);
        CountedAI* a = pool.Acquire();
        CountedAI* b = pool.Acquire();
        CountedAI* c = pool.Acquire();
        EXPECT_EQ((std::vector<CountedAI*>{a, b, c}), pool.GetAIs());
        LogCapture log;
        EXPECT_EQ(pool.Acquire(), nullptr);
        EXPECT_TRUE(log.Contains("( m_NbAIUsed >= m_MaxSize )"));

        // The released player moves behind the ones still in use and is handed out next.
        pool.Release(a);
        EXPECT_EQ(pool.GetUsedCount(), 2u);
        EXPECT_EQ((std::vector<CountedAI*>{b, c, a}), pool.GetAIs());
        CountedAI stranger;
        for (IBaseAI* unused : {static_cast<IBaseAI*>(a), static_cast<IBaseAI*>(&stranger)}) {
            pool.Release(unused);
            EXPECT_EQ(pool.GetUsedCount(), 2u);
        }
        EXPECT_EQ(pool.Acquire(), a);

        pool.ResetAll();
        EXPECT_EQ(pool.GetUsedCount(), 0u);
        for (CountedAI* ai : pool.GetAIs())
            EXPECT_EQ(ai->resets, 1);
        EXPECT_EQ(pool.Acquire(), b);
    }
    EXPECT_EQ(g_live, 0) << "the pool deletes every player, released ones included";
}

TEST(AIManager, UpdatesAndResetsItsPlayersButNotWhileTheGameIsPaused) {
    BaseGame game;
    AIManager& manager = game.GetAIManager();
    EXPECT_TRUE(manager.IsPausable());
    manager.Update(16);  // an empty list does nothing
    manager.Reset();

    CountedAI first, second;
    manager.m_AIs = {&first, &second};
    game.AddModule(&manager);
    game.Update(16);
    game.SetPause(true);
    game.Update(40);
    game.Update(40);
    game.SetPause(false);
    game.Update(10);
    for (CountedAI* ai : {&first, &second})
        EXPECT_EQ(ai->updated, 26u);
    manager.Reset();
    EXPECT_EQ(first.resets + second.resets, 2);
    game.RemoveModule(&manager);
}
