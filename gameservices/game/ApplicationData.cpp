#include "gameservices/game/ApplicationData.h"

namespace GameServices::KorvoGame {

namespace {
ApplicationData* g_prototypes[ApplicationData::kKindCount] = {};
}

ApplicationData* ApplicationData::Create(Utilities::ISerialization& serialization) {
    Clear();
    serialization.SerializeObject("ApplicationData", *this, false);
    return serialization.WasFound() ? Clone() : nullptr;
}

void ApplicationData::RegisterPrototype(Kind kind, ApplicationData* prototype) {
    if (kind < kKindCount)
        g_prototypes[kind] = prototype;
}

ApplicationData* ApplicationData::GetPrototype(Kind kind) {
    return kind < kKindCount ? g_prototypes[kind] : nullptr;
}

void SerializeApplicationData(Utilities::ISerialization& serialization,
                              ApplicationData::Kind kind, ClonePtr<ApplicationData>& data) {
    if (serialization.IsReading()) {
        ApplicationData* prototype = ApplicationData::GetPrototype(kind);
        data.Reset(prototype ? prototype->Create(serialization) : nullptr);
    } else if (data) {
        serialization.SerializeObject("ApplicationData", *data, false);
    }
}

}  // namespace GameServices::KorvoGame
