#pragma once
// The game's own data of a level, camera, prop, character, set-element or light record. The
// game registers one prototype per record kind; reading a record hands the optional element
// "ApplicationData" to that prototype, and the copy it returns becomes the record's data and,
// once the level is built, the "ApplicationData" attribute of the entity or set.
#include "engine/core/ISerializable.h"
#include "gameservices/entities/EntityComponents.h"
#include "gameservices/game/ClonePtr.h"

namespace GameServices::KorvoGame {

class ApplicationData : public Entities::Attribute, public Utilities::ISerializable {
public:
    enum Kind : u32 {
        kLevel = 0,
        kCamera = 1,
        kProp = 2,
        kCharacter = 3,
        kSetElement = 4,
        kLight = 5,
        kKindCount = 6
    };

    ~ApplicationData() override = default;

    virtual ApplicationData* Clone() const = 0;
    // Reads the optional child "ApplicationData" of the record being read into this
    // prototype (cleared first) and returns a new copy of it, or null when it is absent.
    virtual ApplicationData* Create(Utilities::ISerialization& serialization);

    // The prototype slots; prototypes are borrowed and stay null until the game sets them.
    static void RegisterPrototype(Kind kind, ApplicationData* prototype);
    static ApplicationData* GetPrototype(Kind kind);
};

// Reading: the record's data from the prototype of its kind (null without one). Writing:
// the data, when there is some, as the element "ApplicationData".
void SerializeApplicationData(Utilities::ISerialization& serialization,
                              ApplicationData::Kind kind, ClonePtr<ApplicationData>& data);

}  // namespace GameServices::KorvoGame
