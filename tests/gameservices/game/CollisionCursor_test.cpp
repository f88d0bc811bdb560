#include "gameservices/game/CollisionCursor.h"

#include <gtest/gtest.h>

#include <vector>

#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Bridge::ICollidable;
using GameServices::Bridge::ICollisionSystem;
using GameServices::Bridge::IRenderingSystem;
using namespace GameServices::Entities;

namespace {

// Projects by scaling the screen point by 10.
class Systems : public ICollisionSystem, public IRenderingSystem {
public:
    Systems() {
        ICollisionSystem::SetInstance(this);
        IRenderingSystem::SetInstance(this);
    }
    ~Systems() override {
        ICollisionSystem::SetInstance(nullptr);
        IRenderingSystem::SetInstance(nullptr);
    }
    void RegisterCollidable(ICollidable* c) override { collidables.push_back(c); }
    void UnregisterCollidable(ICollidable* c) override { std::erase(collidables, c); }
    AGVec3 ScreenToWorld(const Camera&, f32 x, f32 y, f32 depth) override {
        return AGVec3{x * 10.0f, y * 10.0f, depth};
    }
    void UpdatePropRenderable(Prop&) override {}

    std::vector<ICollidable*> collidables;
};

class CursorTest : public ::testing::Test {
protected:
    CursorTest() {
        member.m_MemberId = 1;
        cursor.SetMember(&member);
        cursor.SetPosition(AGVec3{0.0f, 0.0f, 2.6f});
        cursors.m_Cameras.push_back(&camera);
        level.m_ComponentLevels.push_back(&cursors);
        CollisionCursor::SetLevelSetSource([this] { return &level; });
    }
    ~CursorTest() override { CollisionCursor::SetLevelSetSource(nullptr); }

    static std::vector<f32> V(const AGVec3& p) { return {p.x, p.y, p.z}; }
    std::vector<f32> Position() const {
        AGVec3 p;
        cursor.GetPosition(p);
        return V(p);
    }
    // What the collision system tests.
    std::vector<f32> Collision() const { return V(cursor.GetCollidablePosition()); }

    Systems systems;
    LogCapture log;
    widget_test::TestGame game;  // its pointer moves
    BaseTeamMember& member = game.members[0];
    Camera camera{"CursorCamera"};
    ComponentLevel cursors{"PlayerCursors"};
    Set level{"Level"};
    CollisionCursor cursor{"Cursor"};
};

}  // namespace

TEST_F(CursorTest, FollowsItsOwnMembersPointerAndGivesTheCollisionPositionOnlyWithPlayerCursors) {
    cursor.Initialize();
    EXPECT_EQ(systems.collidables, std::vector<ICollidable*>{&cursor});
    BaseTeamMember other;
    other.m_MemberId = 2;
    Entity hit;
    game.Move(member, 1.0f, 2.0f, true);  // first the pointer shows: no move yet
    EXPECT_TRUE(cursor.Visible && Position() == (std::vector<f32>{0, 0, 2.6f}));
    GameServices::Bridge::CollisionResult result;
    result.m_Other = &hit;
    cursor.onCollision(&result);
    cursor.Synchronize = true;
    game.Move(other, 3.0f, 4.0f, true);  // not its member: nothing changes
    EXPECT_TRUE(cursor.GetCollidedEntity() == &hit && cursor.Synchronize);
    // Perspective: the pointer is projected at the cursor's rounded depth.
    game.Move(member, 3.0f, 4.0f, true);
    EXPECT_TRUE(cursor.GetCollidedEntity() == nullptr && !cursor.Synchronize);
    EXPECT_EQ(Position(), (std::vector<f32>{30, 40, 3}));
    EXPECT_EQ(Collision(), Position());  // as it is with perspective

    // Moves without move data, or reaching a cursor without a member, are ignored.
    TeamActionData empty(nullptr, 0, &member);
    game.teams.SimulateTeamAction(&empty, "Moves");
    cursor.SetMember(nullptr);
    game.Move(member, 8.0f, 8.0f, true);
    cursor.SetMember(&member);
    EXPECT_EQ(Position()[0], 30.0f);

    // Hiding the pointer hides the cursor and moves nothing; a hidden pointer never moves it.
    game.Move(member, 5.0f, 5.0f, false);
    EXPECT_FALSE(cursor.Visible);
    game.Move(member, 6.0f, 6.0f, false);
    EXPECT_EQ(Position()[0], 30.0f);

    // Orthographic: the collision position is the stored one projected, at the fixed depth
    // when there is one.
    camera.Orthographic = true;
    EXPECT_EQ(Collision(), (std::vector<f32>{300, 400, 3}));
    cursor.SetFixedDepth(true, 7.5f);
    EXPECT_EQ(Collision(), (std::vector<f32>{300, 400, 7.5f}));
    game.Move(member, 9.0f, 9.0f, true);  // shows it again
    game.Move(member, 1.0f, 2.0f, true);
    EXPECT_EQ(Position(), (std::vector<f32>{1, 2, 3}));  // orthographic: the screen point as it is
    EXPECT_TRUE(cursor.IsA(TypeIds::Prop) && !cursor.IsA(TypeIds::Entity));
    cursor.Reset();
    EXPECT_TRUE(cursor.Synchronize && systems.collidables.empty());

    // Without player cursors it is reported and never moves.
    level.m_ComponentLevels.clear();
    cursor.Initialize();
    EXPECT_TRUE(log.Contains("ComponentLevel named PlayerCursors"));
    game.Move(member, 5.0f, 6.0f, true);
    game.Move(member, 7.0f, 8.0f, true);
    EXPECT_EQ(Collision(), (std::vector<f32>{1, 2, 3}));  // where it was
    cursor.Reset();
}
