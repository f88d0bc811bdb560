#pragma once
// Show sequences: timed scripts of events read from one XML file each ("root"/"Sequence"),
// and the run-time form the sequence manager plays.
#include <vector>

#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"

namespace GameShow {

// One event: the sequencer that runs it and its three texts; all attributes.
class sEvent : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    TString<char> sequencer;
    TString<char> name;
    TString<char> target;
    TString<char> parameter;
};

// Events at a time (ms from the start); "time" absent from the file reads as 0.
class sAct : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    i32 time = -1;
    GameServices::Utilities::SerializableVector<sEvent> Events;
};

class sSequence : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    i32 duration = 0;
    bool skippable = false;
    sAct OnStart;
    sAct OnSkip;
    sAct OnEnd;
    GameServices::Utilities::SerializableVector<sAct> Acts;
};

struct SequenceEvent {
    TString<char> sequencer;
    TString<char> name;
    TString<char> target;
    TString<char> parameter;
};

struct SequenceAct {
    i32 time = 0;
    std::vector<SequenceEvent> events;
};

class Sequence {
public:
    Sequence() = default;
    // Loads the file when the path is not empty.
    explicit Sequence(const TString<char>& path);

    // An unreadable file is reported and gives an empty sequence of duration 0.
    static void Load(Sequence& sequence, const TString<char>& path);

    i32 m_Duration = 0;
    bool m_Skippable = false;
    SequenceAct m_Start;
    SequenceAct m_Skip;
    SequenceAct m_End;
    // In file order; nothing sorted.
    std::vector<SequenceAct> m_Acts;
};

}  // namespace GameShow
