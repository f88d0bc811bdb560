#pragma once
// The "Animation" records of level files: the animation of a prop or character (with its
// skin), and the (play mode, speed) of a camera.
#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"

namespace GameServices::KorvoGame {

// Play modes, from the words "pause", "once", "loop", "rewind", "rewindloop".
enum : i32 { kPlayPause = 1, kPlayOnce = 3, kPlayLoop = 4, kPlayRewind = 5, kPlayRewindLoop = 6 };
// Animation types, from the words "none", "skinanimation", "modelanimation",
// "textureanimation", "uvanimation", "cameraanimation".
enum : i32 {
    kAnimationNone = -1,
    kAnimationSkin = 0,
    kAnimationModel = 1,
    kAnimationTexture = 2,
    kAnimationUV = 3,
    kAnimationCamera = 4,
};

// Any letter case; an unknown or empty word gives kPlayPause.
i32 PlayModeFromWord(const TString<char>& word);
// Any letter case; an unknown word is reported and gives kAnimationNone.
i32 AnimationTypeFromWord(const TString<char>& word);
// The words written for a play mode and an animation type (the first word of the value).
const char* PlayModeWord(i32 mode);
const char* AnimationTypeWord(i32 type);

class sAnimationSkinModels : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Id;
};

// The "Skin" element: its name and its "Model" children.
class sAnimationSkin : public Utilities::ISerializable {
public:
    sAnimationSkin();
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    Utilities::SerializableVector<sAnimationSkinModels> Models;
};

// The animation of a prop or character. Without the element it keeps type none, speed 1.0
// and play mode pause, the defaults of the rendering record.
class sAnimation : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> AnimationFile;
    TString<char> MaterialName;
    sAnimationSkin Skin;
    bool Present = false;
    f32 Speed = 1.0f;
    i32 Mode = kPlayPause;
    i32 Type = kAnimationNone;
};

class sAnimationCamera : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    i32 Mode = -1;
    f32 Speed = 1.0f;
};

}  // namespace GameServices::KorvoGame
