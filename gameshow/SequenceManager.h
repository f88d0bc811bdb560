#pragma once
// The show clock: plays one sequence at a time, fires each act's events when the play clock
// passes its time, and announces every end (normal, skipped or replaced) through the ended
// event. Events run synchronously; a sequencer or an ended-event subscriber may play, skip,
// remove or reset sequences from inside them.
#include <memory>
#include <vector>

#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/game/IModule.h"
#include "gameshow/HashTable.h"
#include "gameshow/Sequence.h"
#include "gameshow/Sequencers.h"

namespace GameShow {

class SequenceManager : public GameServices::KorvoGame::IModule {
public:
    SequenceManager();
    ~SequenceManager() override;
    SequenceManager(const SequenceManager&) = delete;
    SequenceManager& operator=(const SequenceManager&) = delete;

    // Advances the current sequence while enabled and not paused.
    void Update(u32 ms) override;
    // Deletes every sequence, forgets the sequencers, no current sequence, disabled, not paused.
    void Reset() override;
    bool IsPausable() const override { return true; }

    // Stores the file's sequence under the name's id; a present id is kept and not read again.
    void LoadSequence(const TString<char>& name, const TString<char>& path);
    // False when absent. Removing the current sequence leaves none current.
    bool RemoveSequence(u32 id);
    // Deletes every sequence (none current after); the sequencers stay.
    void RemoveAllSequences();
    u32 GetSequenceCount() const { return m_Sequences.Count(); }
    bool RegisterSequencer(u32 id, ISequencer* sequencer) { return m_Sequencers.Insert(id, sequencer); }
    bool UnregisterSequencer(u32 id) { return m_Sequencers.Remove(id); }

    // Ends the current sequence (skipping a skippable one), then starts the named one.
    void PlaySequence(const TString<char>& name);
    // Skips a skippable current sequence; a non-skippable one goes on.
    void Skip();

    // While paused the current sequence's clock stands still (a voice line holds the show).
    // Playing, skipping or ending a sequence and Reset clear it.
    void SetPaused(bool paused) { m_Paused = paused; }
    bool IsPaused() const { return m_Paused; }

    void SetEnabled(bool enabled) { m_Enabled = enabled; }
    bool IsEnabled() const { return m_Enabled; }
    const Sequence* GetCurrentSequence() const { return m_Current; }
    Sequence* FindSequence(u32 id);
    FHandler& GetSequenceEndedEvent() { return m_Ended; }

private:
    // Keeps sequences removed while events fire until the outermost firing returns.
    class FiringScope;

    void FireEvents(const SequenceAct& act);
    // Detaches the sequence first, so that the events it fires may start another one.
    void EndSequence(Sequence& sequence, bool skipped);
    void SetCurrent(Sequence* sequence);
    void Discard(std::unique_ptr<Sequence> sequence);

    HashTable<std::unique_ptr<Sequence>> m_Sequences;
    HashTable<ISequencer*> m_Sequencers;
    Sequence* m_Current = nullptr;
    i32 m_PreviousTime = 0;
    i32 m_Now = 0;
    bool m_Enabled = false;
    bool m_Paused = false;
    FHandler m_Ended;
    // Counts every change of the current sequence.
    u32 m_Generation = 0;
    u32 m_FiringDepth = 0;
    std::vector<std::unique_ptr<Sequence>> m_Removed;
};

}  // namespace GameShow
