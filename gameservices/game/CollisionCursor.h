#pragma once
// A player's pointer in the scene: a prop that follows the "Moves" team action of its
// member, so that the collision system can tell what the player points at. It moves in the
// camera space of the level's "PlayerCursors" component level: in pixels under an
// orthographic camera, projected into the world under a perspective one.
#include <functional>

#include "gameservices/bridge/ICollisionSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/game/TeamActionManager.h"

namespace GameServices::Entities {
class BaseTeamMember;
class Camera;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {

class CollisionCursor : public Entities::Prop, public Bridge::ICollidable {
public:
    CollisionCursor() = default;
    explicit CollisionCursor(const TString<char>& name) : Prop(name) {}
    ~CollisionCursor() override = default;

    // The set of the level the game flow has selected next, where cursors find their
    // camera; the game context provides it.
    static void SetLevelSetSource(std::function<Entities::Set*()> source);

    bool IsA(const u32& typeId) const override;
    // Registers with the collision system, listens to "Moves" and takes the active camera
    // of the "PlayerCursors" component level; without one it is reported and never moves.
    void Initialize() override;
    // Stops what Initialize started.
    void Reset() override;
    // Both also push the prop to its engine model.
    void SetVisible(const bool& visible) override;
    const AGVec3& SetPosition(const AGVec3& position) override;

    // The point the collision system tests: under an orthographic camera the cursor's
    // pixel position projected into the world (at the fixed depth when set), otherwise its
    // position.
    AGVec3 GetCollisionPosition() const;

    // Keeps the entity it hit.
    void onCollision(Bridge::CollisionResult* result) override { m_Collided = result ? result->m_Other : nullptr; }
    AGVec3 GetCollidablePosition() const override { return GetCollisionPosition(); }
    AGVec3 GetCollidableScale() const override { return GetScale(); }
    f32 GetCollidableRotationX() const override { return GetRotationX(); }
    f32 GetCollidableRotationY() const override { return GetRotationY(); }
    f32 GetCollidableRotationZ() const override { return GetRotationZ(); }
    u32 GetCollidableId() const override { return Id; }
    Entities::Depictors& GetCollidableDepictors() override { return Depictors; }
    // The prop's world matrix moved to the collision position.
    void GetCollidableTransform(f32 (&matrix)[16]) const override;
    bool IsCollisionActive() const override { return IsCollidable(); }

    void SetMember(Entities::BaseTeamMember* member) { m_Member = member; }
    Entities::BaseTeamMember* GetMember() const { return m_Member; }
    // The camera the rendering system projects with; the cursor's own camera when unset.
    void SetProjectionCamera(Entities::Camera* camera) { m_ProjectionCamera = camera; }
    void SetFixedDepth(bool fixed, f32 depth) {
        m_FixedDepth = fixed;
        m_Depth = depth;
    }
    Entities::Entity* GetCollidedEntity() const { return m_Collided; }
    Entities::Camera* GetCamera() const { return m_Camera; }

private:
    void OnMoves(TeamActionData* data);
    // Undoes the registrations of Initialize, if any.
    void Stop();
    const Entities::Camera& ProjectionCamera() const {
        return m_ProjectionCamera ? *m_ProjectionCamera : *m_Camera;
    }

    Entities::Entity* m_Collided = nullptr;
    Entities::BaseTeamMember* m_Member = nullptr;
    Entities::Set* m_Set = nullptr;
    Entities::Camera* m_Camera = nullptr;
    Entities::Camera* m_ProjectionCamera = nullptr;
    bool m_LastVisible = false;
    bool m_Initialized = false;
    bool m_FixedDepth = false;
    f32 m_Depth = 0.0f;
    TeamActionManagerDelegate<CollisionCursor> m_OnMoves{this, &CollisionCursor::OnMoves};
};

}  // namespace GameServices::KorvoGame
