#pragma once
// What the game flow needs of subsystems built on top of it: the screen manager's pending
// screen, the bridge systems that keep the engine-side records of entities, the screen size
// and the character looks. Those subsystems implement these interfaces. Also the running
// game, which the game-mode framework publishes for the bridge systems and widgets.
#include "engine/core/AGSingleton.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {
class AudioAsset;
class Character;
class Entity;
class Set;
class VideoAsset;
}  // namespace GameServices::Entities

namespace GameServices::MiniGame {
struct BehaviorActionSkin;
}

namespace GameServices::Bridge {
class AudioData;
class CollisionData;
class RenderableModelData;
class VideoData;
}  // namespace GameServices::Bridge

namespace GameServices::KorvoGame {

class GameFlowManager;
class TeamActionManager;

// The running game, as the bridge systems and widgets reach it.
class ICurrentGame : public AGSingleton<ICurrentGame> {
public:
    virtual GameFlowManager* GetGameFlowManager() = 0;
    virtual TeamActionManager* GetTeamActionManager() = 0;
    // Null while no level is loaded.
    virtual Entities::Set* GetCurrentLevel() = 0;
    virtual bool IsPaused() const = 0;
    virtual void SetPause(bool paused) = 0;
};

// The screen manager's pending screen change and its popups.
class IScreenChangeService {
public:
    virtual ~IScreenChangeService() = default;
    // The screen manager changes to the named screen at its next update.
    virtual void SetPendingScreen(const TString<char>& screenName) = 0;
    // Closes the popups waiting to close and unloads the current screen; open popups stay.
    virtual void CloseCurrentScreen() = 0;
};

// The bridge systems' records of an entity, kept in its VolatileData under the keys
// "RENDERABLE_MODEL_DATA", "COLLISION_DATA", "AUDIO_DATA" and "DATA_VIDEO".
class IBridgeSystems {
public:
    virtual ~IBridgeSystems() = default;
    // A free record of the rendering system's pool; null when the pool is exhausted.
    virtual Bridge::RenderableModelData* AllocRenderableModelData() = 0;
    // Each stores its own copy of the description on the entity (made when missing).
    virtual void SetCollisionData(Entities::Entity& entity, const Bridge::CollisionData& data) = 0;
    virtual void SetAudioData(Entities::AudioAsset& asset, const Bridge::AudioData& data) = 0;
    virtual void SetVideoData(Entities::VideoAsset& asset, const Bridge::VideoData& data) = 0;
    virtual void SetAvatarSkinAnimation(Entities::Character& character,
                                        const TString<char>& animationName,
                                        const MiniGame::BehaviorActionSkin& skin) = 0;
    // The graphic device's width and height in pixels.
    virtual void GetScreenSize(u32& width, u32& height) = 0;
};

// The character looks: loads the avatar description named by an outfit into an appearance
// and applies it to the character.
class IAppearanceService {
public:
    virtual ~IAppearanceService() = default;
    virtual void ApplyOutfit(Entities::Character& character, const TString<char>& outfit) = 0;
};

}  // namespace GameServices::KorvoGame
