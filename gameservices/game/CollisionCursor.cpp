#include "gameservices/game/CollisionCursor.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/entities/TypeIds.h"

namespace GameServices::KorvoGame {

using Bridge::ICollisionSystem;
using Bridge::IRenderingSystem;
using Entities::Camera;

namespace {
std::function<Entities::Set*()> g_levelSetSource;
constexpr const char* kMoves = "Moves";
}  // namespace

void CollisionCursor::SetLevelSetSource(std::function<Entities::Set*()> source) {
    g_levelSetSource = std::move(source);
}

bool CollisionCursor::IsA(const u32& typeId) const {
    return typeId == Entities::TypeIds::CollisionCursor || typeId == Entities::TypeIds::Prop;
}

void CollisionCursor::Initialize() {
    Prop::Initialize();
    // Started again (taken from its pool initialized, then started with its level): one
    // registration only.
    Stop();
    if (ICollisionSystem* collisions = ICollisionSystem::Get())
        collisions->RegisterCollidable(this);
    if (TeamActionManager* teams = TeamActionManager::Get())
        teams->ListenTeamAction(&m_OnMoves, kMoves);
    m_Set = g_levelSetSource ? g_levelSetSource() : nullptr;
    Entities::ComponentLevel* cursors = m_Set ? m_Set->FindComponentLevel("PlayerCursors") : nullptr;
    m_Camera = cursors ? cursors->GetActiveCamera() : nullptr;
    if (!cursors)
        AGReport("If you want to use the Collistion cursor you must add into your level the "
                 "ComponentLevel named PlayerCursors");
    else if (!m_Camera)
        AGReport("The ComponentLevel PlayerCursors has no active camera; the cursor does not move");
    m_Initialized = true;
}

void CollisionCursor::Reset() {
    Prop::Reset();
    Stop();
    Synchronize = true;
}

void CollisionCursor::Stop() {
    if (!m_Initialized)
        return;
    if (ICollisionSystem* collisions = ICollisionSystem::Get())
        collisions->UnregisterCollidable(this);
    if (TeamActionManager* teams = TeamActionManager::Get())
        teams->UnlistenTeamAction(&m_OnMoves, kMoves);
    m_Initialized = false;
}

void CollisionCursor::SetVisible(const bool& visible) {
    Prop::SetVisible(visible);
    if (IRenderingSystem* rendering = IRenderingSystem::Get())
        rendering->UpdatePropRenderable(*this);
}

const AGVec3& CollisionCursor::SetPosition(const AGVec3& position) {
    Prop::SetPosition(position);
    if (IRenderingSystem* rendering = IRenderingSystem::Get())
        rendering->UpdatePropRenderable(*this);
    return position;
}

AGVec3 CollisionCursor::GetCollisionPosition() const {
    AGVec3 position;
    GetPosition(position);
    IRenderingSystem* rendering = IRenderingSystem::Get();
    if (!m_Camera || !m_Camera->Orthographic || !rendering)
        return position;
    return rendering->ScreenToWorld(ProjectionCamera(), position.x, position.y,
                                    m_FixedDepth ? m_Depth : position.z);
}

void CollisionCursor::GetCollidableTransform(f32 (&matrix)[16]) const {
    UpdateWorldMatrix(matrix);
    const AGVec3 position = GetCollisionPosition();
    matrix[12] = position.x;
    matrix[13] = position.y;
    matrix[14] = position.z;
}

void CollisionCursor::OnMoves(TeamActionData* data) {
    if (!data || !data->m_Member || !m_Member || !data->m_ActionData ||
        data->m_Member->m_MemberId != m_Member->m_MemberId)
        return;
    const Bridge::sActionData& move = *data->m_ActionData;
    const bool visible = move.m_PointerVisible;
    if (visible != m_LastVisible) {
        m_LastVisible = visible;
        if (m_Initialized)
            SetVisible(visible);
        Synchronize = false;
        return;
    }
    if (!visible || !m_Camera)
        return;
    AGVec3 next;
    AGVec3 current;
    GetPosition(current);
    const f32 depth = std::round(current.z);
    if (m_Camera->Orthographic) {
        next = AGVec3{move.m_X, move.m_Y, depth};
    } else {
        IRenderingSystem* rendering = IRenderingSystem::Get();
        if (!rendering)
            return;
        next = rendering->ScreenToWorld(ProjectionCamera(), move.m_X, move.m_Y, depth);
    }
    m_Collided = nullptr;
    SetPosition(next);
    Synchronize = false;
}

}  // namespace GameServices::KorvoGame
