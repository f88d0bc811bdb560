#pragma once
// A character drawn as an avatar: eight separately loaded part models placed with one world
// matrix and posed by skins, each of which drives a chosen set of the parts.
#include <vector>

#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/game/AvatarRendering.h"
#include "platform/gfx/GfxMath.h"

class AGGraphicLayer;
class AGModel;
class AGSkin;

namespace GameServices::Bridge {

// A skeleton and the avatar model types (0..7) it drives; also the key of a skin animation.
class AvatarSkin {
public:
    bool Drives(i32 modelType) const;
    // True when any model type of one list is in the other.
    bool SharesModels(const AvatarSkin& other) const;

    AGSkin* m_Skeleton = nullptr;
    TString<char> m_Name;
    std::vector<i32> m_ModelTypes;
};

class Avatar {
public:
    Avatar();
    virtual ~Avatar() = default;
    // Back to the state of a new avatar (the pool hands out used ones).
    void Clear();

    // Queues the current model of the part for removal and release, and an instance of the
    // named model (none for an empty name) for adding. Types outside 0..7 are ignored.
    void SetPart(i32 modelType, const TString<char>& modelName);
    // Refused, with a report, when a model type of the skin is already driven by another.
    bool AddSkin(const AvatarSkin& skin);
    bool HasSkin(const AGSkin* skeleton) const;
    // Every part inactive; the avatar invisible.
    void Hide();
    // Every part active; the avatar visible.
    void Show();
    void ApplyTransform();

    std::vector<AGModel*> m_ModelsToAdd;
    std::vector<AGModel*> m_ModelsToRemove;
    std::vector<AGModel*> m_ModelsToRelease;
    std::vector<AvatarSkin> m_Skins;
    AGModel* m_Parts[kNbAvatarParts] = {};
    platform::gfx::Matrix m_World;
    u8 m_Visible = 0;
    u8 m_LayerInStep = 1;
    FHandler m_Event;
    // The layer the parts were put into; null until the avatar joins the pipeline.
    AGGraphicLayer* m_Layer = nullptr;
};

}  // namespace GameServices::Bridge
