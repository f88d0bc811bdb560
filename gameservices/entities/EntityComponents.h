#pragma once
// The three component containers of an entity. Each frees only its own storage; the
// entity's ClearComponents (or the owner of a component) disposes of the members.
#include <map>

#include "engine/core/TString.h"
#include "gameservices/entities/GameObject.h"

namespace GameServices::Entities {

// What a bridge system draws or collides for an entity. A shared depictor belongs to
// someone else and survives ClearComponents.
class Depictor {
public:
    virtual ~Depictor() = default;
    u8 m_Shared = 0;
};

class Attribute : public GameObject {
public:
    ~Attribute() override = default;
    virtual bool IsA(const u32& typeId) const;
};

class Behavior {
public:
    virtual void Update(u32 milliseconds) { (void)milliseconds; }
    virtual void Reset() = 0;
    virtual ~Behavior() = default;

    TString<char> GetName() const { return m_Name; }

    TString<char> m_Name;
};

class Depictors {
public:
    virtual ~Depictors() = default;
    // Deletes every non-shared depictor and empties the map, unless the keep flag is set.
    void Clear();

    u8 m_Keep = 0;
    std::map<u32, Depictor*> m_Map;
};

class Attributes {
public:
    virtual ~Attributes() = default;
    // Deletes every attribute and empties the map, unless the keep flag is set.
    void Clear();
    // The record stored under the "ApplicationData" key, or null.
    Attribute* FindApplicationData() const;

    std::map<u32, Attribute*> m_Map;
    u8 m_Keep = 0;
};

class Behaviors {
public:
    virtual ~Behaviors() = default;
    // Stores the behaviour (not owned) under the name id of its name; a null one is ignored.
    void Add(Behavior* behavior);
    // Update of every behaviour, in the order of their keys.
    void Update(u32 milliseconds);

    std::map<u32, Behavior*> m_Map;
};

}  // namespace GameServices::Entities
