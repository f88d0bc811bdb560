#pragma once
// The drawing side of the bridge: the shared graphic layer under which level, screen and popup
// layers hang, the lists that widgets and levels keep their engine objects in, and the level
// renderer, which gives the cameras, lights, set elements and props of a level Set their
// engine objects, keeps them in step with the entities and gives them back.
#include <vector>

#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"
#include "gameservices/bridge/ICollisionSystem.h"
#include "gameservices/entities/Factory.h"
#include "gameservices/entities/PropRenderHooks.h"
#include "gameservices/game/RenderableModelData.h"

class AGGraphicLayer;
class AGFont;
class AGModel;
class AGRenderable;
class AGResource;
class AGScene3D;
class AGSprite;
class AGText;

namespace GameServices::MiniGame {
class BehaviorActionSkin;
}

namespace GameServices::Entities {
class Character;
class Depictor;
class Entity;
class Set;
class SetElement;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

// A widget's sprites, texts and fonts by index (a slot a kind does not fill stays null).
class SpriteList : public std::vector<AGSprite*> {};
class TextList : public std::vector<AGText*> {};
class FontList : public std::vector<AGFont*> {};
// The engine objects a Set made and must give back.
class EngineProviders : public std::vector<AGResource*> {};

// The widgets of a level Set, drawn by the widget layer, which installs itself here.
class ILevelWidgetRendering {
public:
    virtual ~ILevelWidgetRendering() = default;
    virtual void Initialize(Entities::Set* set) = 0;
    virtual void AttachLayer(Entities::Set* set) = 0;
    virtual void Cleanup(Entities::Set* set) = 0;
};

class Avatar;
class RenderableAvatarData;

class RenderingSystem {
public:
    using RenderableModelDataFactory = KorvoGame::Factory<RenderableModelData>;
    using AvatarFactory = KorvoGame::Factory<Avatar>;
    using AvatarDataFactory = KorvoGame::Factory<RenderableAvatarData>;

    // Made on first use: a device-sized, enabled layer at the origin with a screen camera (far
    // plane 100) and a renderer as its group, appended to the graphic device's layers.
    static AGGraphicLayer* GetSharedGraphicLayer();
    // Null while none was made.
    static AGGraphicLayer* PeekSharedGraphicLayer();
    // Takes the layer off the device and gives back the layer, its camera and its renderer.
    static void ReleaseSharedGraphicLayer();
    // A resource made by the provider of the type, without a name, in the provider's group;
    // null without the provider.
    static AGResource* CreateResource(u32 typeKey);
    // The same, of class T; a resource of another class is given back and null answered.
    template <typename T>
    static T* CreateResourceAs(u32 typeKey);
    // A loaded resource loses one hold, a clone or made one goes.
    static void GiveBack(u32 typeKey, AGResource* resource);
    // The resource as class T. One of another class (the core's placeholders, without
    // graphics) is no use here: it is given back and null answered.
    template <typename T>
    static T* KeepAs(u32 typeKey, AGResource* resource) {
        auto* typed = dynamic_cast<T*>(resource);
        if (resource && !typed)
            GiveBack(typeKey, resource);
        return typed;
    }

    // Game start: the pool of render descriptions (capacity "FactoryRenderableModelData"),
    // made when missing, and the prop and unproject hooks installed.
    static void Startup();
    // Game end: the shared layer, the pool and the hooks go.
    static void Shutdown();
    // Null outside Startup .. Shutdown.
    static RenderableModelDataFactory* GetRenderableModelDataFactory();
    static void SetWidgetRendering(ILevelWidgetRendering* widgets);

    // Avatars. Startup makes their pools ("FactoryGsAvatar", "FactoryRenderableAvatarData")
    // and installs the avatar rendering in the character manager; Shutdown undoes both.
    static AvatarFactory* GetAvatarFactory();
    static AvatarDataFactory* GetAvatarDataFactory();
    // Copies the description into the character's own record and marks it changed.
    static void SetRenderableAvatarData(Entities::Character& character, const RenderableAvatarData& data);
    // The skin animation started when the avatar is built.
    static void SetAvatarSkinAnimation(Entities::Character& character, const TString<char>& animationName,
                                       const MiniGame::BehaviorActionSkin& skin);
    // Builds the avatar of a changed description; an avatar built before is reported and
    // given back first.
    static void InitializeAvatar(Entities::Character& character);
    // The description, the entity animations and the avatar go back; each part model is
    // taken out of the layer and given back exactly once.
    static void CleanupAvatar(Entities::Character& character);
    // The pipeline step: the avatar's parts join the layer.
    static void AddAvatarToPipeline(Entities::Character& character, AGGraphicLayer& layer);
    // The per-frame step of an unsynchronised character: parts re-checked against the names
    // when not built, placement, visibility and the pending part swaps.
    static void UpdateAvatar(Entities::Character& character);

    // Level start: the Set's 3D layer, cameras, lights, set elements, props and widgets, then
    // its component levels the same way. Without an active camera the layer looks through a
    // fallback screen camera kept with the Set's engine providers.
    static void Initialize(Entities::Set* set);
    // Each frame: the pipeline once the Set has a camera, then the changed cameras, lights and
    // props and the set elements' visibility, component levels included.
    static void Update(Entities::Set* set);
    // Level end: every engine object of the Set and its component levels given back.
    static void Cleanup(Entities::Set* set);
    // Holds or releases every animated object of the Set's scenes.
    static void PauseScenes(Entities::Set* set, bool paused);
    // The screen point unprojected through the camera's engine camera and met with the plane
    // z = depth; a ray parallel to the plane gives its near point. False without an engine
    // camera.
    static bool ScreenToWorld(const Entities::Camera& camera, f32 x, f32 y, f32 depth, AGVec3& out);
    // Pushes the prop's opacity, visibility and world matrix to its model and sprite.
    static void UpdatePropRenderable(Entities::Prop& prop);

    // The builders of one list of a Set (Initialize calls them in this order).
    static void InitializeCameras(Entities::Set& set);
    static void InitializeLights(Entities::Set& set);
    static void InitializeSetElements(Entities::Set& set);
    static void InitializeProps(Entities::Set& set);
    // One engine object from the entity's render description, stored in its slot; a
    // previous object in the slot is reported and given back first. Null without a
    // description.
    static AGModel* CreateModel(Entities::Entity& entity);
    static AGSprite* CreateSprite(Entities::Entity& entity);
    static AGScene3D* CreateScene(Entities::SetElement& element);
    // Places a model or a sprite: active flag from visible, then Rx x Ry x Rz (degrees, each
    // skipped at 0), translation, scale. Other renderables are left alone.
    static void SetRenderableTransform(AGRenderable* renderable, bool visible, f32 rotationX,
                                       f32 rotationY, f32 rotationZ, const AGVec3& position,
                                       const AGVec3& scale);
    // Asks for the start animation the entity's render description names.
    static void StartRenderableAnimation(Entities::Entity& entity);
    // Gives one entity's engine objects back and erases its slots; layer is its Set's.
    static void CleanupEntity(Entities::Entity& entity, AGGraphicLayer* layer);
    // The first model of the Set's scenes named stem(fileName) + ".mdl", or null.
    static AGModel* FindSceneModel(const Entities::Set& set, const TString<char>& fileName);

    // The collision object kept with an entity: a new one replaces (and deletes, unless
    // shared) the one before; erasing deletes it unless shared.
    static void SetCollisionObject(Entities::Entity& entity, Entities::Depictor* object);
    static Entities::Depictor* GetCollisionObject(const Entities::Entity& entity);
    static void EraseCollisionObject(Entities::Entity& entity);
};

// What the entity model and the collision cursor ask of the level renderer.
class RenderingHooks : public IRenderingSystem, public Entities::IPropRenderableUpdater {
public:
    AGVec3 ScreenToWorld(const Entities::Camera& camera, f32 x, f32 y, f32 depth) override;
    void UpdatePropRenderable(Entities::Prop& prop) override;
};

}  // namespace GameServices::Bridge
