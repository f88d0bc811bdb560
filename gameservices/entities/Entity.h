#pragma once
// A named object of a level or a screen: visibility, per-entity data and the three
// component containers. Ids are unique among all entities of the process and never 0.
#include "engine/core/TString.h"
#include "gameservices/entities/EntityComponents.h"
#include "gameservices/entities/GameObject.h"
#include "gameservices/entities/VolatileData.h"

namespace GameServices::Entities {

class Entity : public GameObject {
public:
    // Invisible, unnamed; registers the eight entity properties.
    Entity();
    // Visible, named; registers no property.
    explicit Entity(const TString<char>& name);
    ~Entity() override = default;

    virtual bool IsA(const u32& typeId) const;
    // Starts the entity's behaviour; called when its level starts.
    virtual void Initialize() {}
    // Called when a pool takes the entity back.
    virtual void Reset() { Synchronize = true; }
    virtual void SetVisible(const bool& visible) { Visible = visible; }
    // Deletes the attributes and the non-shared depictors unless their keep flags are set;
    // behaviours stay.
    virtual void ClearComponents();

    u32 Id;
    TString<char> Name;
    bool Visible = false;
    VolatileData VolatileDatas;
    Entities::Depictors Depictors;
    Entities::Attributes Attributes;
    Entities::Behaviors Behaviors;
    bool Synchronize = true;
    // Only entities with this set are initialized when their level starts.
    bool Activate = true;
    // Set when the entity is torn down (a panel's Reset).
    bool Destroyed = false;

private:
    static u32 NextId();
};

}  // namespace GameServices::Entities
