#include "gameshow/Sequence.h"

#include "engine/core/AGLog.h"
#include "engine/core/XmlReader.h"

namespace GameShow {

using GameServices::Utilities::ISerialization;

namespace {

const TString<char> kNoText;

SequenceAct ToAct(const sAct& record) {
    SequenceAct act;
    act.time = record.time;
    act.events.reserve(record.Events.size());
    for (const sEvent& event : record.Events)
        act.events.push_back({event.sequencer, event.name, event.target, event.parameter});
    return act;
}

}  // namespace

void sEvent::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeString("sequencer", sequencer, kNoText);
    s.SerializeString("name", name, kNoText);
    s.SerializeString("target", target, kNoText);
    s.SerializeString("parameter", parameter, kNoText);
    s.SetAttributeMode(false);
}

void sAct::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeInt("time", time, 0);
    s.SetAttributeMode(false);
    s.SerializeObject("Events", Events, true);
}

void sSequence::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeInt("duration", duration, 0);
    s.SerializeBool("skippable", skippable, false);
    s.SetAttributeMode(false);
    s.SerializeObject("OnStart", OnStart, true);
    s.SerializeObject("Acts", Acts, true);
    s.SerializeObject("OnEnd", OnEnd, true);
    s.SerializeObject("OnSkip", OnSkip, false);
}

Sequence::Sequence(const TString<char>& path) {
    if (!path.IsEmpty())
        Load(*this, path);
}

void Sequence::Load(Sequence& sequence, const TString<char>& path) {
    sSequence record;
    GameServices::Utilities::XmlReader reader;
    // A failed read leaves the record at its defaults.
    if (!reader.ReadFileElement(path.c_str(), "Sequence", record, "root"))
        AGReport("Sequence::Load -> Can't open the sequence xml: %s", path.c_str());
    sequence.m_Duration = record.duration;
    sequence.m_Skippable = record.skippable;
    sequence.m_Start = ToAct(record.OnStart);
    sequence.m_Skip = ToAct(record.OnSkip);
    sequence.m_End = ToAct(record.OnEnd);
    sequence.m_Acts.clear();
    sequence.m_Acts.reserve(record.Acts.size());
    for (const sAct& act : record.Acts)
        sequence.m_Acts.push_back(ToAct(act));
}

}  // namespace GameShow
