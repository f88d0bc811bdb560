#pragma once
// Receivers of sequence events. A sequencer is registered with the sequence manager under the
// CRC-32 of its name and gets each event's name, target and parameter.
#include "engine/core/TString.h"
#include "gameshow/HashTable.h"

namespace GameServices::Entities {
class Set;
}

namespace GameShow {

class ISequencer {
public:
    virtual ~ISequencer() = default;
    virtual void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                                 const TString<char>& parameter) = 0;
};

// An entity that takes events by its name; the target has chosen it already.
class ISequenceableEntity {
public:
    virtual ~ISequenceableEntity() = default;
    virtual void onSequenceEvent(const TString<char>& name, const TString<char>& parameter) = 0;
};

// Forwards events to the entity registered under the CRC-32 of the target.
class EntitySequencer : public ISequencer {
public:
    EntitySequencer() : m_Entities(1) {}

    // False when the id is registered already.
    bool Register(u32 id, ISequenceableEntity* entity) { return m_Entities.Insert(id, entity); }
    bool Unregister(u32 id) { return m_Entities.Remove(id); }

    void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                         const TString<char>& parameter) override;

private:
    HashTable<ISequenceableEntity*> m_Entities;
};

// "SetActiveCamera": activates the set's camera named by the target.
class CameraSequencer : public ISequencer {
public:
    void SetSet(GameServices::Entities::Set* set) { m_Set = set; }
    GameServices::Entities::Set* GetSet() const { return m_Set; }

    void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                         const TString<char>& parameter) override;

private:
    GameServices::Entities::Set* m_Set = nullptr;
};

// Switches the game-show cameras and plays their animations; targets that are not cameras
// of its set are ignored.
class GameShowCameraSequencer : public ISequencer {
public:
    // Hands the camera manager the current level's set and its first active camera.
    void onInitialize(GameServices::Entities::Set* set);
    // Forgets the set (its level is left).
    void Clear() { m_Set = nullptr; }
    GameServices::Entities::Set* GetSet() const { return m_Set; }

    void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                         const TString<char>& parameter) override;

private:
    GameServices::Entities::Set* m_Set = nullptr;
};

}  // namespace GameShow
