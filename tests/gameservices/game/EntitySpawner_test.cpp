#include "gameservices/game/EntitySpawner.h"

#include <gtest/gtest.h>

#include <vector>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Entities;
using GameServices::Bridge::RandomRange;
using GameServices::Bridge::SeedRandom;

namespace {

// Marsaglia's xorshift128 on 32-bit words, from the published seeds.
struct Xorshift128 {
    u32 x = 123456789, y = 362436069, z = 521288629, w = 88675123;
    u32 Next() {
        const u32 t = x ^ (x << 11);
        x = y;
        y = z;
        z = w;
        w = w ^ (w >> 19) ^ t ^ (t >> 8);
        return w;
    }
    // The spawner's draw: 1..99.
    u32 Draw() { return Next() % 99 + 1; }
};

}  // namespace

TEST(SpawnerTest, DrawsFollowTheSharedXorshiftAndOnePropSpawnsAtMost) {
    LogCapture log;
    SeedRandom(123456789, 362436069, 521288629, 88675123);
    Prop activeGift("Gift"), gift("Gift"), cake("Cake");
    gift.Activate = cake.Activate = false;
    Set set("Level");
    set.m_Props = {&activeGift, &gift, &cake};
    EntitySpawner spawner;
    Xorshift128 reference;
    const u32 r[] = {reference.Draw(), reference.Draw(), reference.Draw(), reference.Draw(),
                     reference.Draw()};
    ASSERT_GT(r[0], 1u);
    spawner.AddSpawnInfo(SpawnInfo("", "Prop", "Cake", r[0] - 1));       // just misses
    spawner.AddSpawnInfo(SpawnInfo("", "Character", "Cake", r[1]));      // not a prop
    spawner.AddSpawnInfo(SpawnInfo("", "Prop", "Ghost", r[2]));          // no such prop
    spawner.AddSpawnInfo(SpawnInfo("", "Prop", "Gift", r[3]));           // first one active
    spawner.AddSpawnInfo(SpawnInfo("", "Prop", "Cake", r[4]));           // spawns
    spawner.AddSpawnInfo(SpawnInfo("", "Prop", "Cake", 99));             // never reached
    spawner.SetPosition(AGVec3{1.0f, 2.0f, 3.0f});
    cake.Visible = false;
    cake.Synchronize = true;
    spawner.OnTrigger(set);

    EXPECT_TRUE(log.Contains("The Entity Type specify by the spawner is invalid!"));
    EXPECT_TRUE(log.Contains("can spawn the Prop Ghost"));
    // Only the spawned prop shows, at the spawner's position.
    EXPECT_TRUE(cake.Activate && cake.Visible && !cake.Synchronize && !gift.Activate);
    AGVec3 at;
    cake.GetPosition(at);
    EXPECT_EQ((std::vector<f32>{at.x, at.y, at.z}), (std::vector<f32>{1, 2, 3}));
    // Five draws were taken, one per entry walked.
    EXPECT_EQ(RandomRange(1, 100), reference.Draw());

    // Probability 0 never spawns: every draw is 1 or more.
    cake.Activate = false;
    EntitySpawner never;
    never.AddSpawnInfo(SpawnInfo("", "Prop", "Cake", 0));
    for (int i = 0; i < 300; ++i)
        never.OnTrigger(set);
    EXPECT_FALSE(cake.Activate);
}
