#pragma once
// The records of a behaviour file: per behaviour and entity template, the parameters, the
// actions an entity can play and the named transitions. Read under "root"/"RootBehavior".
#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"

namespace GameServices::MiniGame {

class sBehaviorEntityParam : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    TString<char> Value;
};

class sBehaviorEntityActionSkinModels : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> id;
};

// The "Model" children of a "Skin" element; other children are not models.
class sBehaviorEntityActionSkinModelList
    : public Utilities::SerializableVector<sBehaviorEntityActionSkinModels> {
public:
    sBehaviorEntityActionSkinModelList() { SetItemName("Model"); }
    void Serialize(Utilities::ISerialization& serialization) override;
};

// The "Skin" element: its "name" attribute and its "Model" children (attribute "id").
class sBehaviorEntityActionSkin : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> name;
    sBehaviorEntityActionSkinModelList Models;
};

class sBehaviorEntityActionKey : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    i32 Frame = 0;
};

class sBehaviorEntityActionTransition : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    f32 Time = -1.0f;
    // Target action names separated by ",", or "AllActions".
    TString<char> Actions;
};

// One action. Which animation fields are read depends on the type, read first; the play-mode
// word is converted last and an unknown word keeps the mode (loop unless set before).
class sBehaviorEntityAction : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    i32 ActionType = -1;
    TString<char> Name;
    TString<char> InAnimation;
    TString<char> LoopAnimation;
    TString<char> OutAnimation;
    TString<char> MaterialName;
    sBehaviorEntityActionSkin Skin;
    i32 PlayMode = 4;
    f32 Speed = 1.0f;
    Utilities::SerializableVector<sBehaviorEntityActionKey> Keys;
    sBehaviorEntityActionTransition Transitions;
};

class sBehaviorEntityTransition : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    f32 Time = -1.0f;
    TString<char> InAnimation;
    TString<char> LoopAnimation;
    TString<char> OutAnimation;
};

// A behaviour's definition for one entity template.
class sBehaviorEntity : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    Utilities::SerializableVector<sBehaviorEntityParam> Parameters;
    Utilities::SerializableVector<sBehaviorEntityAction> Actions;
    Utilities::SerializableVector<sBehaviorEntityTransition> Transitions;
};

class sBehavior : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    Utilities::SerializableVector<sBehaviorEntity> Entities;
};

class sRootBehavior : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    Utilities::SerializableVector<sBehavior> Behaviors;
};

// "loop" 4, "once" 3, "rewind" 5, "rewindloop" 6, "pause" 1, in any letter case. Another
// word is reported and leaves mode untouched.
void PlayModeFromBehaviorWord(const TString<char>& word, i32& mode);

}  // namespace GameServices::MiniGame
