#include "gameservices/game/LevelRecords.h"

#include "engine/core/AGLog.h"
#include "gameservices/game/EntityDataExtensionFactory.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;

namespace {

const TString<char> kEmpty;

void Text(ISerialization& s, const char* name, TString<char>& value,
          const TString<char>& defaultValue = kEmpty) {
    s.SerializeString(name, value, defaultValue);
}

// Keyword fields are compared lower-cased.
void LowerText(ISerialization& s, const char* name, TString<char>& value) {
    s.SerializeString(name, value, kEmpty);
    if (s.IsReading())
        value.ToLower();
}

}  // namespace

void sPackage::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    Text(s, "name", Name);
    s.SetAttributeMode(false);
}

void sCollision::Serialize(ISerialization& s) {
    Text(s, "BoundaryShape", BoundaryShape, "Box");
    s.SerializeFloat("BoundaryScale", BoundaryScale, 1.0f);
    s.SerializeFloat("BoundaryOffsetX", BoundaryOffsetX, 0.0f);
    s.SerializeFloat("BoundaryOffsetY", BoundaryOffsetY, 0.0f);
    s.SerializeFloat("BoundaryOffsetZ", BoundaryOffsetZ, 0.0f);
    Text(s, "EntityShape", EntityShape, "None");
}

void sDepictors::Serialize(ISerialization& s) {
    s.SerializeObject("Collision", Collision, false);
}

void sSetElement::Serialize(ISerialization& s) {
    LowerText(s, "Kind", Kind);
    Text(s, "Name", Name);
    Text(s, "EngineDataFileName", EngineDataFileName);
    Text(s, "EngineDataPath", EngineDataPath);
    Text(s, "EngineTextureFileName", EngineTextureFileName);
    s.SerializeBool("Activate", Activate, true);
    s.SerializeInt("PositionX", PositionX, 0);
    s.SerializeInt("PositionY", PositionY, 0);
    s.SerializeInt("PositionZ", PositionZ, 0);
    s.SerializeFloat("Scale", Scale, 1.0f);
    s.SerializeBool("Visible", Visible, false);
    s.SerializeFloat("RotationX", RotationX, 0.0f);
    s.SerializeFloat("RotationY", RotationY, 0.0f);
    s.SerializeFloat("RotationZ", RotationZ, 0.0f);
    s.SerializeBool("Collidable", Collidable, false);
    s.SerializeBool("IsAScene", IsAScene, false);
    s.SerializeObject("Depictors", Depictors, false);
    if (s.IsReading()) {
        Extension.Reset(EntityDataExtensionFactory::Instance()->Create(s));
    } else if (Extension) {
        const TString<char> kind = Extension->GetKind();
        s.SerializeObject(kind.c_str(), *Extension, false);
    }
    SerializeApplicationData(s, ApplicationData::kSetElement, AppData);
}

void sCamera::Serialize(ISerialization& s) {
    Text(s, "Kind", Kind);
    Text(s, "Name", Name);
    Text(s, "EngineDataFileName", EngineDataFileName);
    Text(s, "EngineDataPath", EngineDataPath);
    const TString<char> automatic("auto");
    Text(s, "PositionX", PositionX, automatic);
    Text(s, "PositionY", PositionY, automatic);
    Text(s, "PositionZ", PositionZ, automatic);
    Text(s, "LookAtX", LookAtX, automatic);
    Text(s, "LookAtY", LookAtY, automatic);
    Text(s, "LookAtZ", LookAtZ, automatic);
    Text(s, "UpX", UpX, "0");
    Text(s, "UpY", UpY, "1");
    Text(s, "UpZ", UpZ, "0");
    s.SerializeFloat("ClippingNear", ClippingNear, 100.0f);
    s.SerializeFloat("ClippingFar", ClippingFar, 5000.0f);
    LowerText(s, "ViewPortWidth", ViewPortWidth);
    LowerText(s, "ViewPortHeight", ViewPortHeight);
    s.SerializeFloat("FieldOfView", FieldOfView, 0.0f);
    s.SerializeBool("Orthographic", Orthographic, false);
    s.SerializeBool("PartOfScene", PartOfScene, false);
    s.SerializeObject("Animation", Animation, false);
    s.SerializeBool("Activate", Activate, false);
    SerializeApplicationData(s, ApplicationData::kCamera, AppData);
}

void sLight::Serialize(ISerialization& s) {
    const AGVec3 zero{};
    Text(s, "Kind", Kind);
    Text(s, "Name", Name);
    s.SerializeBool("Activate", Activate, false);
    Text(s, "EngineDataFileName", EngineDataFileName);
    Text(s, "EngineDataPath", EngineDataPath);
    s.SerializeBool("PartOfScene", PartOfScene, false);
    Text(s, "LightType", LightType, "auto");
    s.SerializeVec3("Position", Position, zero);
    s.SerializeVec3("Target", Target, zero);
    s.SerializeVec3("Color", Color, zero);
    s.SerializeVec3("Ambient", Ambient, zero);
    s.SerializeVec3("Diffuse", Diffuse, zero);
    s.SerializeVec3("Specular", Specular, zero);
    s.SerializeFloat("Intensity", Intensity, 0.0f);
    s.SerializeFloat("Intens", Intens, 0.0f);
    s.SerializeFloat("HotSize", HotSize, 0.0f);
    s.SerializeFloat("FallSize", FallSize, 0.0f);
    s.SerializeFloat("Range", Range, 0.0f);
    s.SerializeFloat("AttenuationK0", AttenuationK0, 1.0f);
    s.SerializeFloat("AttenuationK1", AttenuationK1, 0.0001f);
    s.SerializeFloat("AttenuationK2", AttenuationK2, 0.0f);
    SerializeApplicationData(s, ApplicationData::kLight, AppData);
}

void sProp::Serialize(ISerialization& s) {
    Text(s, "Kind", Kind);
    Text(s, "Name", Name);
    Text(s, "EngineDataFileName", EngineDataFileName);
    s.SerializeObject("Animation", Animation, false);
    Text(s, "EngineTextureFileName", EngineTextureFileName);
    Text(s, "EngineDataPath", EngineDataPath);
    s.SerializeInt("PositionX", PositionX, 0);
    s.SerializeInt("PositionY", PositionY, 0);
    s.SerializeInt("PositionZ", PositionZ, 0);
    s.SerializeFloat("Scale", Scale, 1.0f);
    s.SerializeFloat("RotationX", RotationX, 0.0f);
    s.SerializeFloat("RotationY", RotationY, 0.0f);
    s.SerializeFloat("RotationZ", RotationZ, 0.0f);
    s.SerializeBool("Visible", Visible, true);
    s.SerializeBool("Collidable", Collidable, false);
    s.SerializeBool("PartOfScene", PartOfScene, false);
    s.SerializeBool("Activate", Activate, true);
    s.SerializeObject("Depictors", Depictors, false);
    SerializeApplicationData(s, ApplicationData::kProp, AppData);
}

void sCharacter::Serialize(ISerialization& s) {
    Text(s, "Kind", Kind);
    Text(s, "Name", Name);
    s.SerializeObject("Animation", Animation, false);
    Text(s, "Outfit", Outfit);
    Text(s, "EngineDataPath", EngineDataPath);
    s.SerializeBool("Activate", Activate, true);
    s.SerializeInt("PositionX", PositionX, 0);
    s.SerializeInt("PositionY", PositionY, 0);
    s.SerializeInt("PositionZ", PositionZ, 0);
    s.SerializeInt("RotationX", RotationX, 0);
    s.SerializeInt("RotationY", RotationY, 0);
    s.SerializeInt("RotationZ", RotationZ, 0);
    s.SerializeBool("Visible", Visible, true);
    s.SerializeBool("Collidable", Collidable, true);
    if (s.IsReading() && Outfit.IsEmpty() && Activate)
        AGReport("If you don't have an Appearance, the Character can't be activate");
    SerializeApplicationData(s, ApplicationData::kCharacter, AppData);
}

void sAudioAsset::Serialize(ISerialization& s) {
    Text(s, "Kind", Kind);
    Text(s, "Name", Name);
    Text(s, "EngineDataFileName", EngineDataFileName);
    Text(s, "EngineDataPath", EngineDataPath);
    s.SerializeBool("IsPlaying", IsPlaying, false);
    s.SerializeBool("Streamed", Streamed, false);
    s.SerializeBool("Looped", Looped, false);
    s.SerializeFloat("Volume", Volume, 0.5f);
}

void sVideoAsset::Serialize(ISerialization& s) {
    Text(s, "Kind", Kind);
    Text(s, "Name", Name);
    Text(s, "EngineDataFileName", EngineDataFileName);
    Text(s, "EngineDataPath", EngineDataPath);
    s.SerializeBool("IsPlaying", IsPlaying, false);
    s.SerializeBool("IsFullScreen", IsFullScreen, false);
    s.SerializeBool("IsLooped", IsLooped, false);
    s.SerializeFloat("Volume", Volume, 0.5f);
}

}  // namespace GameServices::KorvoGame
