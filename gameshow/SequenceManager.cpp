#include "gameshow/SequenceManager.h"

#include <climits>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"

namespace GameShow {

class SequenceManager::FiringScope {
public:
    explicit FiringScope(SequenceManager& manager) : m_Manager(manager) { ++m_Manager.m_FiringDepth; }
    ~FiringScope() {
        if (--m_Manager.m_FiringDepth == 0)
            m_Manager.m_Removed.clear();
    }
    FiringScope(const FiringScope&) = delete;
    FiringScope& operator=(const FiringScope&) = delete;

private:
    SequenceManager& m_Manager;
};

SequenceManager::SequenceManager() : m_Sequences(20), m_Sequencers(4) {}

SequenceManager::~SequenceManager() = default;

Sequence* SequenceManager::FindSequence(u32 id) {
    std::unique_ptr<Sequence>* found = m_Sequences.Find(id);
    return found ? found->get() : nullptr;
}

void SequenceManager::Discard(std::unique_ptr<Sequence> sequence) {
    if (sequence.get() == m_Current)
        SetCurrent(nullptr);
    if (m_FiringDepth > 0)
        m_Removed.push_back(std::move(sequence));
}

void SequenceManager::LoadSequence(const TString<char>& name, const TString<char>& path) {
    const u32 id = Crc32Hash(name.c_str());
    if (m_Sequences.Find(id))
        return;
    auto sequence = std::make_unique<Sequence>();
    Sequence::Load(*sequence, path);
    m_Sequences.Insert(id, std::move(sequence));
}

bool SequenceManager::RemoveSequence(u32 id) {
    std::unique_ptr<Sequence> sequence;
    if (!m_Sequences.Take(id, sequence))
        return false;
    Discard(std::move(sequence));
    return true;
}

void SequenceManager::RemoveAllSequences() {
    m_Sequences.Drain([this](std::unique_ptr<Sequence>&& sequence) { Discard(std::move(sequence)); });
    SetCurrent(nullptr);
}

void SequenceManager::Reset() {
    RemoveAllSequences();
    m_Sequencers.Clear();
    m_Enabled = false;
    m_Paused = false;
}

void SequenceManager::SetCurrent(Sequence* sequence) {
    m_Current = sequence;
    ++m_Generation;
}

void SequenceManager::FireEvents(const SequenceAct& act) {
    FiringScope scope(*this);
    for (const SequenceEvent& event : act.events) {
        ISequencer** sequencer = m_Sequencers.Find(Crc32Hash(event.sequencer.c_str()));
        if (sequencer && *sequencer)
            (*sequencer)->onSequenceEvent(event.name, event.target, event.parameter);
        else
            AGReport("SequenceManager : can't find the sequencer '%s'\n", event.sequencer.c_str());
    }
}

void SequenceManager::EndSequence(Sequence& sequence, bool skipped) {
    FiringScope scope(*this);
    SetCurrent(nullptr);
    m_Paused = false;
    if (skipped)
        FireEvents(sequence.m_Skip);
    FireEvents(sequence.m_End);
    m_Ended.Fire();
}

void SequenceManager::Update(u32 ms) {
    if (!m_Enabled || m_Paused || !m_Current)
        return;
    FiringScope scope(*this);
    Sequence& sequence = *m_Current;
    const u32 generation = m_Generation;
    const i64 now = i64(m_Now) + i64(ms);
    m_Now = now > INT_MAX ? INT_MAX : i32(now);
    const i32 previous = m_PreviousTime;
    for (const SequenceAct& act : sequence.m_Acts) {
        if (previous <= act.time && act.time < m_Now) {
            FireEvents(act);
            // An event changed the current sequence: the old one's walk and end test stop.
            if (m_Generation != generation)
                return;
        }
    }
    if (m_Now > sequence.m_Duration) {
        // A sequence a subscriber starts keeps its clocks at 0.
        EndSequence(sequence, false);
        return;
    }
    m_PreviousTime = m_Now;
}

void SequenceManager::PlaySequence(const TString<char>& name) {
    FiringScope scope(*this);
    if (m_Current)
        EndSequence(*m_Current, m_Current->m_Skippable);
    Sequence* next = FindSequence(Crc32Hash(name.c_str()));
    SetCurrent(next);
    // The ended sequence's events may have paused the show; the new one starts running.
    m_Paused = false;
    if (!next) {
        AGReport("Invalid sequence name !!!");
        return;
    }
    m_Now = 0;
    m_PreviousTime = 0;
    FireEvents(next->m_Start);
}

void SequenceManager::Skip() {
    if (m_Current && m_Current->m_Skippable) {
        FiringScope scope(*this);
        EndSequence(*m_Current, true);
    }
}

}  // namespace GameShow
