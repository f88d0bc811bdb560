#pragma once
// The records of the input actions file "Actions.xml" ("root" > "RootContext" > "Contexts" >
// item*) and of the action files it names ("root" > "Actions" > item*).
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"

namespace GameServices::KorvoGame {

// One device trigger of an action: three attributes, then child elements.
class sDeviceControllerTrigger : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Plateform;
    bool Pausable = true;
    bool DebugOnly = false;
    TString<char> Type;
    TString<char> State;
    // Comma-separated key or axis names.
    TString<char> Filter;
    f32 FilterThresholdMin = 0.1f;
    f32 FilterThresholdMax = 180.0f;
    TString<char> FilterValue;
    i32 DeviceId = -1;
};

// An action with its triggers; with a "fileName" element it stands for the actions of
// that file and its own triggers are not used.
class sDeviceControllerAction : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> FileName;
    TString<char> Name;
    Utilities::SerializableVector<sDeviceControllerTrigger> Triggers;
};

// The root record of an action file.
class sDeviceControllerActions : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    Utilities::SerializableVector<sDeviceControllerAction> Actions;
};

class sDeviceControllerContext : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    Utilities::SerializableVector<sDeviceControllerAction> Actions;
};

class sRootContext : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    Utilities::SerializableVector<sDeviceControllerContext> Contexts;
};

}  // namespace GameServices::KorvoGame
