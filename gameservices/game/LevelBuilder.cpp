#include "gameservices/game/LevelBuilder.h"

#include <cmath>
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/NumberText.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/GameAudioAssetFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/GameVideoAssetFactory.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/RenderableModelData.h"

namespace GameServices::KorvoGame {

using namespace Entities;
using Bridge::RenderableModelData;

namespace {

const TString<char> kNoName;

// An entity of type T from the default pool (empty kind) or the pool registered for the
// kind. failure, when given, is reported with the kind when no entity results.
template <typename T>
T* TakeEntity(const TString<char>& kind, IEntityFactory* defaultPool, const char* failure) {
    IEntityFactory* pool = defaultPool;
    if (!kind.IsEmpty()) {
        pool = GameEntityFactory::Instance()->GetFactory(Crc32Hash(kind.c_str()));
        if (!pool)
            AGReport("The specified Kind of the Entity is invalid :%s", kind.c_str());
    }
    Entity* entity = pool ? pool->Alloc(false) : nullptr;
    T* typed = dynamic_cast<T*>(entity);
    if (entity && !typed) {
        AGReport("The pool of kind %s does not make entities of this type", kind.c_str());
        pool->Release(entity);
    }
    if (!typed && failure)
        AGReport("%s%s", failure, kind.c_str());
    return typed;
}

// Hands an entity that is not built back to the pool it came from; a loader-made one is deleted.
void GiveBack(Entity* entity, IEntityFactory* defaultPool) {
    entity->ClearComponents();
    if (IEntityFactory* owner = GameEntityFactory::Instance()->FindOwner(entity, defaultPool))
        owner->Release(entity);
    else
        delete entity;
}

AGVec3 Position(i32 x, i32 y, i32 z) {
    return AGVec3{f32(x), f32(y), f32(z)};
}

bool IsAuto(const TString<char>& text) {
    TString<char> lower = text;
    return lower.ToLower() == "auto";
}

// "auto" keeps the value; anything else is read as a number.
void ResolveComponent(const TString<char>& text, f32& value) {
    if (!IsAuto(text))
        value = ParseFloat(text.c_str());
}

// A viewport dimension: "auto" is the screen's; so is an absent or non-positive one, which
// would leave the projection without an aspect ratio.
u32 ViewportDimension(const TString<char>& text, u32 screen, const char* field,
                      const TString<char>& camera) {
    if (text == "auto")
        return screen;
    const i32 value = text.IsEmpty() ? 0 : ParseInt32(text.c_str());
    if (value > 0)
        return u32(value);
    AGReport("Camera %s: %s \"%s\" is not a size; the screen's %u is used", camera.c_str(),
             field, text.c_str(), screen);
    return screen;
}

// A colour of three components in 0-1 as an opaque ARGB word; components outside the range
// are clamped, so that they cannot wrap.
u32 PackColor(const AGVec3& color) {
    auto byte = [](f32 component) -> u32 {
        if (!(component > 0.0f))
            return 0;
        if (component >= 1.0f)
            return 255;
        return u32(component * 255.0f);
    };
    return 0xFF000000u | (byte(color.x) << 16) | (byte(color.y) << 8) | byte(color.z);
}

// The record's data replaces the attribute; a record without data removes it, so that a
// pooled entity or a reloaded set never keeps the data of an earlier level.
void SetApplicationData(Attributes& attributes, const ClonePtr<ApplicationData>& data) {
    auto it = attributes.m_Map.find(TypeIds::ApplicationDataKey);
    if (it != attributes.m_Map.end()) {
        delete it->second;
        attributes.m_Map.erase(it);
    }
    if (data)
        attributes.m_Map[TypeIds::ApplicationDataKey] = data->Clone();
}

MiniGame::BehaviorActionSkin SkinOf(const sAnimationSkin& record) {
    MiniGame::BehaviorActionSkin skin;
    skin.m_Name = record.Name;
    std::vector<TString<char>> words;
    for (const sAnimationSkinModels& model : record.Models)
        words.push_back(model.Id);
    skin.AddModels(words);
    return skin;
}

}  // namespace

void LevelBuilder::BuildLevel(const sLevel& level, Set& set) {
    m_Level = &level;
    for (const sPackage& package : level.Packages) {
        if (package.Name.IsEmpty())
            AGReport("A package of the level has no name; it is skipped");
        else
            set.m_PackageNames.push_back(package.Name);
    }
    // The names of an earlier load of this set are still listed and are mounted again.
    for (const TString<char>& name : set.m_PackageNames)
        Bridge::FileSystem::LoadPackage(name, true);

    BuildCameras(level.Cameras, set, nullptr);
    BuildLights(level.Lights, set);
    BuildSetElements(level.SetElements, set);
    BuildProps(level.Props, set);
    BuildCharacters(level.Characters, set);
    BuildComponentLevels(level.ComponentLevels, set);
    BuildAudioAssets(level.AudioAssets, set);
    BuildVideoAssets(level.VideoAssets, set);
    SetApplicationData(set.Attributes, level.AppData);
    m_Level = nullptr;
}

bool LevelBuilder::SetRenderable(Entity& entity, const TString<char>& fileName,
                                 const TString<char>& dataPath,
                                 const TString<char>& textureFileName,
                                 const sAnimation* animation) {
    RenderableModelData prepared(fileName, dataPath);
    prepared.m_TextureFileName = textureFileName;
    prepared.m_RenderableKind = RenderableModelData::RenderableKindOf(fileName);
    if (animation && animation->Present) {
        const u32 mode = u32(animation->Mode);
        const f32 speed = animation->Speed;
        switch (animation->Type) {
        case kAnimationSkin:
            prepared.SetSkinAnimation(animation->AnimationFile, SkinOf(animation->Skin), mode,
                                      speed);
            break;
        case kAnimationModel:
            prepared.SetModelAnimation(animation->AnimationFile, mode, speed);
            break;
        case kAnimationTexture:
            prepared.SetTextureAnimation(animation->MaterialName, mode, speed);
            break;
        case kAnimationUV:
            prepared.SetUVAnimation(animation->MaterialName, mode, speed);
            break;
        default:
            break;
        }
    }
    RenderableModelData* kept = entity.VolatileDatas.GetRenderableModelData();
    if (!kept) {
        kept = m_Bridge.AllocRenderableModelData();
        if (!kept)
            return false;
        entity.VolatileDatas.Set(VolatileDataKeys::kRENDERABLE_MODEL_DATA, kept);
    }
    *kept = prepared;
    return true;
}

void LevelBuilder::SetCollision(Entity& entity, const sCollision& collision) {
    Bridge::CollisionData data;
    data.m_BoundaryScale = collision.BoundaryScale;
    data.m_BoundaryOffsetX = collision.BoundaryOffsetX;
    data.m_BoundaryOffsetY = collision.BoundaryOffsetY;
    data.m_BoundaryOffsetZ = collision.BoundaryOffsetZ;
    data.m_BoundaryShape = collision.BoundaryShape;
    data.m_EntityShape = collision.EntityShape;
    m_Bridge.SetCollisionData(entity, data);
}

void LevelBuilder::BuildCameras(const RecordList<sCamera>& cameras, Set& set,
                                const Set* parent) {
    if (cameras.empty()) {
        if (parent && !parent->m_Cameras.empty() && parent->m_Cameras.front()) {
            Camera* shared = parent->m_Cameras.front();
            set.m_OtherEntities.push_back(shared);
            set.m_Cameras.push_back(shared);
        }
        return;
    }
    u32 screenWidth = 0;
    u32 screenHeight = 0;
    m_Bridge.GetScreenSize(screenWidth, screenHeight);
    const f32 w = f32(screenWidth);
    const f32 h = f32(screenHeight);
    IEntityFactory* pool = GameEntityFactory::Instance()->GetCameraFactory();
    for (const sCamera& record : cameras) {
        Camera* camera = TakeEntity<Camera>(record.Kind, pool, "Couldn't find camera factory :");
        if (!camera)
            continue;
        camera->Name = record.Name;
        if (!SetRenderable(*camera, record.EngineDataFileName, record.EngineDataPath, kNoName, nullptr)) {
            GiveBack(camera, pool);
            continue;
        }
        camera->SetPartOfScene(record.PartOfScene);
        camera->ClippingNear = record.ClippingNear;
        camera->ClippingFar = record.ClippingFar;
        if (record.PartOfScene) {
            // The view comes with the scene's engine data.
            camera->Orthographic = false;
        } else {
            camera->ViewportWidth =
                ViewportDimension(record.ViewPortWidth, screenWidth, "ViewPortWidth", record.Name);
            camera->ViewportHeight = ViewportDimension(record.ViewPortHeight, screenHeight,
                                                       "ViewPortHeight", record.Name);
            if (record.FieldOfView > 0.0f) {
                camera->FieldOfView = record.FieldOfView;
            } else {
                AGReport("Camera %s: field of view %f is not positive; 34 is used",
                         record.Name.c_str(), double(record.FieldOfView));
                camera->FieldOfView = 34.0f;
            }
            AGVec3 position{};
            AGVec3 lookAt{};
            AGVec3 up{};
            if (record.Orthographic) {
                position = AGVec3{w * 0.5f, h * 0.5f, 2.0f};
                lookAt = AGVec3{w * 0.5f, h * 0.5f, 0.0f};
                up = AGVec3{0.0f, -1.0f, 0.0f};
            }
            ResolveComponent(record.PositionX, position.x);
            ResolveComponent(record.PositionY, position.y);
            ResolveComponent(record.PositionZ, position.z);
            ResolveComponent(record.LookAtX, lookAt.x);
            ResolveComponent(record.LookAtY, lookAt.y);
            ResolveComponent(record.LookAtZ, lookAt.z);
            ResolveComponent(record.UpX, up.x);
            ResolveComponent(record.UpY, up.y);
            ResolveComponent(record.UpZ, up.z);
            camera->Position = position;
            camera->LookAt = lookAt;
            camera->Up = up;
            camera->Orthographic = record.Orthographic;
        }
        camera->SetAnimationData(u32(record.Animation.Mode), record.Animation.Speed);
        camera->Activate = record.Activate;
        SetApplicationData(camera->Attributes, record.AppData);
        set.m_Cameras.push_back(camera);
        set.m_MemberCameras.push_back(camera);
    }
}

void LevelBuilder::BuildLights(const RecordList<sLight>& lights, Set& set) {
    IEntityFactory* pool = GameEntityFactory::Instance()->GetLightFactory();
    for (const sLight& record : lights) {
        Light* light = TakeEntity<Light>(record.Kind, pool, "Couldn't find light factory :");
        if (!light)
            continue;
        light->Name = record.Name;
        if (!SetRenderable(*light, record.EngineDataFileName, record.EngineDataPath, kNoName, nullptr)) {
            GiveBack(light, pool);
            continue;
        }
        light->SetPartOfScene(record.PartOfScene);
        if (!record.PartOfScene) {
            TString<char> type = record.LightType;
            type.ToLower();
            if (type == "auto" || type == "spot") {
                light->LightType = Light::kSpot;
            } else if (type == "position") {
                light->LightType = Light::kPosition;
            } else if (type == "direction") {
                light->LightType = Light::kDirection;
            } else {
                AGReport(" the type of the light entered does not exist");
                light->LightType = Light::kSpot;
            }
            light->Position = record.Position;
            const double dx = double(record.Target.x) - record.Position.x;
            const double dy = double(record.Target.y) - record.Position.y;
            const double dz = double(record.Target.z) - record.Position.z;
            const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (length > 0.0 && std::isfinite(length)) {
                light->Direction = AGVec3{f32(dx / length), f32(dy / length), f32(dz / length)};
            } else {
                AGReport("Light %s: its target is its position; it points along +z",
                         record.Name.c_str());
                light->Direction = AGVec3{0.0f, 0.0f, 1.0f};
            }
            light->Color = PackColor(record.Color);
            light->Ambient = PackColor(record.Ambient);
            light->Diffuse = PackColor(record.Diffuse);
            light->Specular = PackColor(record.Specular);
            light->Intensity = record.Intensity;
            light->Intens = record.Intens;
            light->HotSize = record.HotSize;
            light->FallSize = record.FallSize;
            light->Range = record.Range;
            light->AttenuationK0 = record.AttenuationK0;
            light->AttenuationK1 = record.AttenuationK1;
            light->AttenuationK2 = record.AttenuationK2;
        }
        light->Activate = record.Activate;
        SetApplicationData(light->Attributes, record.AppData);
        set.m_Lights.push_back(light);
    }
}

void LevelBuilder::BuildSetElements(const RecordList<sSetElement>& elements, Set& set) {
    IEntityFactory* pool = GameEntityFactory::Instance()->GetSetElementFactory();
    for (const sSetElement& record : elements) {
        // An extension that makes its own entity comes first; it appends that entity to
        // the set's extension-made entities itself.
        SetElement* element = nullptr;
        Entity* made = nullptr;
        if (record.Extension && record.Extension->IsValid() && m_Level) {
            if ((made = record.Extension->CreateEntity(*m_Level, set))) {
                element = dynamic_cast<SetElement*>(made);
                if (!element) {
                    made->Name = record.Name;
                    made->Activate = record.Activate;
                    SetApplicationData(made->Attributes, record.AppData);
                    continue;
                }
            }
        }
        if (!element && record.Kind == "floor")
            element = new Floor();  // not pooled: the set deletes it when cleared
        if (!element)
            element = TakeEntity<SetElement>(record.Kind, pool, nullptr);
        if (!element)
            continue;
        element->Name = record.Name;
        if (!SetRenderable(*element, record.EngineDataFileName, record.EngineDataPath,
                           record.EngineTextureFileName, nullptr)) {
            // An extension-made element leaves the set's list before it goes, or the set
            // would delete it a second time.
            if (made)
                std::erase(set.m_ExtensionEntities, made);
            GiveBack(element, pool);
            continue;
        }
        if (record.Collidable)
            SetCollision(*element, record.Depictors.Collision);
        element->SetPosition(Position(record.PositionX, record.PositionY, record.PositionZ));
        element->SetScale(record.Scale);
        element->SetRotationX(record.RotationX);
        element->SetRotationY(record.RotationY);
        element->SetRotationZ(record.RotationZ);
        element->SetVisible(record.Visible);
        element->SetCollidable(record.Collidable);
        element->SetIsAScene(record.IsAScene);
        element->Activate = record.Activate;
        SetApplicationData(element->Attributes, record.AppData);
        set.m_SetElements.push_back(element);
    }
}

void LevelBuilder::BuildProps(const RecordList<sProp>& props, Set& set) {
    IEntityFactory* pool = GameEntityFactory::Instance()->GetPropFactory();
    for (const sProp& record : props) {
        Prop* prop = TakeEntity<Prop>(record.Kind, pool, "Couldn't find prop factory : ");
        if (!prop)
            continue;
        prop->Name = record.Name;
        if (!SetRenderable(*prop, record.EngineDataFileName, record.EngineDataPath,
                           record.EngineTextureFileName, &record.Animation)) {
            GiveBack(prop, pool);
            continue;
        }
        if (record.Collidable)
            SetCollision(*prop, record.Depictors.Collision);
        prop->SetPosition(Position(record.PositionX, record.PositionY, record.PositionZ));
        prop->SetScale(record.Scale);
        prop->SetRotationX(record.RotationX);
        prop->SetRotationY(record.RotationY);
        prop->SetRotationZ(record.RotationZ);
        prop->SetVisible(record.Visible);
        prop->SetCollidable(record.Collidable);
        prop->SetPartOfScene(record.PartOfScene);
        prop->Activate = record.Activate;
        SetApplicationData(prop->Attributes, record.AppData);
        set.m_Props.push_back(prop);
    }
}

void LevelBuilder::BuildCharacters(const RecordList<sCharacter>& characters, Set& set) {
    IEntityFactory* pool = GameEntityFactory::Instance()->GetCharacterFactory();
    for (const sCharacter& record : characters) {
        Character* character = TakeEntity<Character>(record.Kind, pool, nullptr);
        if (!character)
            continue;
        character->Name = record.Name;
        if (!SetRenderable(*character, kNoName, record.EngineDataPath, kNoName, nullptr)) {
            GiveBack(character, pool);
            continue;
        }
        if (!record.Outfit.IsEmpty() && m_Appearances)
            m_Appearances->ApplyOutfit(*character, record.Outfit);
        const sAnimation& animation = record.Animation;
        if (animation.Present && animation.Type != kAnimationNone) {
            if (animation.Type == kAnimationModel || animation.Type == kAnimationTexture)
                AGReport("TextureAnimation and ModelAnimation are not suported for the Avatar");
            m_Bridge.SetAvatarSkinAnimation(*character, animation.AnimationFile,
                                            SkinOf(animation.Skin));
        }
        character->SetPosition(Position(record.PositionX, record.PositionY, record.PositionZ));
        character->SetRotationX(f32(record.RotationX));
        character->SetRotationY(f32(record.RotationY));
        character->SetRotationZ(f32(record.RotationZ));
        character->SetVisible(record.Visible);
        character->SetCollidable(record.Collidable);
        character->Activate = record.Activate;
        SetApplicationData(character->Attributes, record.AppData);
        set.m_Characters.push_back(character);
    }
}

void LevelBuilder::BuildComponentLevels(const RecordList<sComponentLevel>& levels, Set& set) {
    Utilities::XmlReader reader;
    for (const sComponentLevel& record : levels) {
        auto* component = new ComponentLevel(record.Name);
        set.m_ComponentLevels.push_back(component);
        if (record.LoadingMode == "loadinlevel")
            component->m_LoadingMode = ComponentLevel::kLoadInLevel;
        else if (record.LoadingMode == "loadin3dviewport")
            component->m_LoadingMode = ComponentLevel::kLoadIn3DViewport;
        else if (record.LoadingMode == "loadinlayer")
            component->m_LoadingMode = ComponentLevel::kLoadInLayer;
        else
            AGReport("Invalid loading mode");
        component->m_ZIndex = i32(record.ZIndex);

        const sComponentLevelContents* contents = &record;
        sComponentLevelFile file;
        if (!record.FileName.IsEmpty()) {
            const TString<char> path =
                Bridge::FileSystem::GetFilePath(Bridge::FILE_LEVEL_XML, record.FileName);
            if (!reader.ReadFileElement(path.c_str(), "ComponentLevel", file, "root"))
                AGReport("Can not read the level file: %s", path.c_str());
            contents = &file;
        }
        BuildCameras(contents->Cameras, *component, &set);
        BuildLights(contents->Lights, *component);
        BuildSetElements(contents->SetElements, *component);
        BuildProps(contents->Props, *component);
        BuildCharacters(contents->Characters, *component);
    }
}

void LevelBuilder::BuildAudioAssets(const RecordList<sAudioAsset>& assets, Set& set) {
    const GameAudioAssetFactory* registry = GameAudioAssetFactory::Instance();
    for (const sAudioAsset& record : assets) {
        IAudioAssetFactory* pool = registry->GetDefaultFactory();
        if (!record.Kind.IsEmpty()) {
            pool = registry->GetFactory(Crc32Hash(record.Kind.c_str()));
            if (!pool)
                AGReport("The specified Kind of the Entity is invalid :%s", record.Kind.c_str());
        }
        AudioAsset* asset = pool ? pool->Alloc() : nullptr;
        if (!asset) {
            AGReport("Couldn't find sound asset factory : %s", record.Kind.c_str());
            continue;
        }
        asset->Name = record.Name;
        asset->m_IsPlaying = record.IsPlaying;
        asset->m_Streamed = record.Streamed;
        asset->m_Looped = record.Looped;
        asset->m_Volume = record.Volume;
        m_Bridge.SetAudioData(*asset,
                              Bridge::AudioData(record.EngineDataFileName, record.EngineDataPath));
        set.m_AudioAssets.push_back(asset);
    }
}

void LevelBuilder::BuildVideoAssets(const RecordList<sVideoAsset>& assets, Set& set) {
    GameObjectFactory<VideoAsset>* pool = GameVideoAssetFactory::Instance()->GetDefaultFactory();
    for (const sVideoAsset& record : assets) {
        VideoAsset* asset = pool ? pool->Alloc() : nullptr;
        if (!asset) {
            AGReport("Couldn't find video asset factory : %s", record.Kind.c_str());
            continue;
        }
        asset->Name = record.Name;
        asset->m_Volume = record.Volume;
        asset->m_IsFullScreen = record.IsFullScreen;
        asset->m_IsPlaying = record.IsPlaying;
        asset->m_IsLooped = record.IsLooped;
        asset->m_Reset = false;
        m_Bridge.SetVideoData(*asset,
                              Bridge::VideoData(record.EngineDataFileName, record.EngineDataPath));
        set.m_VideoAssets.push_back(asset);
    }
}

}  // namespace GameServices::KorvoGame
