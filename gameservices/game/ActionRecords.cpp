#include "gameservices/game/ActionRecords.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;

void sDeviceControllerTrigger::Serialize(ISerialization& serialization) {
    serialization.SetAttributeMode(true);
    serialization.SerializeString("plateform", Plateform, TString<char>());
    serialization.SerializeBool("pausable", Pausable, true);
    serialization.SerializeBool("debugOnly", DebugOnly, false);
    serialization.SetAttributeMode(false);
    serialization.SerializeString("Type", Type, TString<char>());
    serialization.SerializeString("State", State, TString<char>());
    serialization.SerializeString("Filter", Filter, TString<char>());
    serialization.SerializeFloat("Filter_Threshold_Min", FilterThresholdMin, 0.1f);
    serialization.SerializeFloat("Filter_Threshold_Max", FilterThresholdMax, 180.0f);
    serialization.SerializeString("Filter_Value", FilterValue, "compoundabsolute");
    serialization.SerializeInt("DeviceId", DeviceId, -1);
}

void sDeviceControllerAction::Serialize(ISerialization& serialization) {
    serialization.SerializeString("fileName", FileName, TString<char>());
    serialization.SerializeString("Name", Name, TString<char>());
    serialization.SerializeObject("Triggers", Triggers, false);
}

void sDeviceControllerActions::Serialize(ISerialization& serialization) {
    serialization.SerializeObject("Actions", Actions, false);
}

void sDeviceControllerContext::Serialize(ISerialization& serialization) {
    serialization.SerializeString("Name", Name, TString<char>());
    serialization.SerializeObject("Actions", Actions, false);
}

void sRootContext::Serialize(ISerialization& serialization) {
    serialization.SerializeObject("Contexts", Contexts, false);
}

}  // namespace GameServices::KorvoGame
