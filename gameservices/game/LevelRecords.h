#pragma once
// The entity records of a level file: packages, set elements, cameras, lights, props,
// characters, audio and video assets, with their collision descriptions. Each field has
// its default as the member's initial value; reading an absent element stores the default.
#include "engine/core/AGVec3.h"
#include "engine/core/ISerializable.h"
#include "engine/core/TString.h"
#include "gameservices/game/ApplicationData.h"
#include "gameservices/game/ClonePtr.h"
#include "gameservices/game/sAnimation.h"
#include "gameservices/game/sEntityDataExtension.h"

namespace GameServices::KorvoGame {

class sPackage : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
};

class sCollision : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    f32 BoundaryScale = 1.0f;
    f32 BoundaryOffsetX = 0.0f;
    f32 BoundaryOffsetY = 0.0f;
    f32 BoundaryOffsetZ = 0.0f;
    TString<char> BoundaryShape{"Box"};
    TString<char> EntityShape{"None"};
};

class sDepictors : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    sCollision Collision;
};

// A static piece of scenery. Its Kind is lower-cased; "floor" makes a Floor. A registered
// entity-data extension found among its children is kept as Extension.
class sSetElement : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Kind;
    TString<char> Name;
    TString<char> EngineDataFileName;
    TString<char> EngineDataPath;
    TString<char> EngineTextureFileName;
    bool Activate = true;
    i32 PositionX = 0;
    i32 PositionY = 0;
    i32 PositionZ = 0;
    f32 Scale = 1.0f;
    bool Visible = false;
    bool Collidable = false;
    f32 RotationX = 0.0f;
    f32 RotationY = 0.0f;
    f32 RotationZ = 0.0f;
    bool IsAScene = false;
    sDepictors Depictors;
    ClonePtr<sEntityDataExtension> Extension;
    ClonePtr<ApplicationData> AppData;
};

// The nine vector components stay text: "auto" or a number, resolved by the level loader.
class sCamera : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    TString<char> Kind;
    TString<char> EngineDataFileName;
    TString<char> EngineDataPath;
    TString<char> PositionX{"auto"};
    TString<char> PositionY{"auto"};
    TString<char> PositionZ{"auto"};
    TString<char> LookAtX{"auto"};
    TString<char> LookAtY{"auto"};
    TString<char> LookAtZ{"auto"};
    TString<char> UpX{"0"};
    TString<char> UpY{"1"};
    TString<char> UpZ{"0"};
    f32 ClippingNear = 100.0f;
    f32 ClippingFar = 5000.0f;
    // Lower-cased; "auto" or an integer (empty when absent).
    TString<char> ViewPortWidth;
    TString<char> ViewPortHeight;
    f32 FieldOfView = 0.0f;
    bool Orthographic = false;
    bool PartOfScene = false;
    bool Activate = false;
    sAnimationCamera Animation;
    ClonePtr<ApplicationData> AppData;
};

class sLight : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    TString<char> Kind;
    TString<char> EngineDataFileName;
    TString<char> EngineDataPath;
    bool PartOfScene = false;
    bool Activate = false;
    TString<char> LightType{"auto"};
    AGVec3 Position;
    AGVec3 Target;
    AGVec3 Color;
    AGVec3 Ambient;
    AGVec3 Diffuse;
    AGVec3 Specular;
    f32 Intensity = 0.0f;
    f32 Intens = 0.0f;
    f32 HotSize = 0.0f;
    f32 FallSize = 0.0f;
    f32 Range = 0.0f;
    f32 AttenuationK0 = 1.0f;
    f32 AttenuationK1 = 0.0001f;
    f32 AttenuationK2 = 0.0f;
    ClonePtr<ApplicationData> AppData;
};

class sProp : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Kind;
    TString<char> Name;
    TString<char> EngineDataFileName;
    sAnimation Animation;
    TString<char> EngineTextureFileName;
    TString<char> EngineDataPath;
    bool Activate = true;
    i32 PositionX = 0;
    i32 PositionY = 0;
    i32 PositionZ = 0;
    f32 Scale = 1.0f;
    f32 RotationX = 0.0f;
    f32 RotationY = 0.0f;
    f32 RotationZ = 0.0f;
    bool Visible = true;
    bool Collidable = false;
    bool PartOfScene = false;
    sDepictors Depictors;
    ClonePtr<ApplicationData> AppData;
};

// Outfit names the avatar description that gives the character its look.
class sCharacter : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Kind;
    TString<char> Name;
    TString<char> Outfit;
    TString<char> EngineDataPath;
    sAnimation Animation;
    bool Activate = true;
    i32 PositionX = 0;
    i32 PositionY = 0;
    i32 PositionZ = 0;
    i32 RotationX = 0;
    i32 RotationY = 0;
    i32 RotationZ = 0;
    bool Visible = true;
    bool Collidable = true;
    ClonePtr<ApplicationData> AppData;
};

class sAudioAsset : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Kind;
    TString<char> Name;
    TString<char> EngineDataPath;
    TString<char> EngineDataFileName;
    bool IsPlaying = false;
    bool Streamed = false;
    bool Looped = false;
    f32 Volume = 0.5f;
};

class sVideoAsset : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Kind;
    TString<char> Name;
    TString<char> EngineDataPath;
    TString<char> EngineDataFileName;
    bool IsFullScreen = false;
    bool IsPlaying = false;
    bool IsLooped = false;
    f32 Volume = 0.5f;
};

}  // namespace GameServices::KorvoGame
