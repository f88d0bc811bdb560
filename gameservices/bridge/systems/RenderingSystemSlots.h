#pragma once
// Helpers shared by the level renderer's files.
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"
#include "gameservices/bridge/systems/RenderingSystem.h"

class AGLight;
class AGRenderable;
class PCCam;

namespace GameServices::Entities {
class Light;
}

namespace GameServices::Bridge {

// The camera looks from eye at target, unless both are the same point.
void LookFrom(PCCam& engine, const AGVec3& eye, const AGVec3& target, const AGVec3& up);
// Asks for the camera's animation, when it has one.
void StartCameraAnimation(Entities::Camera& camera);
// True when the camera is one of the set's (a component level's borrowed camera).
bool IsListedIn(const Entities::Camera* camera, const Entities::Set* set);
// The Set's engine providers, made when missing.
EngineProviders& ProvidersOf(Entities::Set& set);
// The cameras of a Set, leaving alone those it borrowed from parent.
void InitializeCameras(Entities::Set& set, const Entities::Set* parent);
// The light entity's description into the engine light, which rebuilds itself.
void CopyLight(const Entities::Light& light, AGLight& engine);
// The lower-cased texture name less its last four characters, + ".mat".
TString<char> MaterialOfTexture(const TString<char>& textureFile);
AGVec3 PositionOf(const Entities::SetElement& element);
// The avatar pools and the character manager's avatar rendering, made and undone with the
// level renderer.
void StartupAvatars();
void ShutdownAvatars();
// Sets or clears the renderable's active flag; nothing for null.
void SetActive(AGRenderable* renderable, bool active);

}  // namespace GameServices::Bridge
