#pragma once
// What PCAudioSoundImpl and PCAudioStreamImpl share: the playback on a voice, membership of
// one of the manager's player lists, and the calls that go straight to the playback. The
// derived player opens its data source and closes it again.
#include "engine/audio/AGAudioPlayerImpl.h"
#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCAudioPlayback.h"

template <class Base>
class PCAudioPlayer : public Base {
public:
    // From the beginning unless paused; closes when no decode buffers are free.
    void Play() override {
        if (!m_playback.Play())
            this->Close();
    }
    void Stop() override { m_playback.Stop(); }
    // Resumes only a paused player that was not stopped meanwhile.
    void Pause(bool pause) override { m_playback.Pause(pause); }
    float GetVolume() const override { return m_playback.GetVolume(); }
    void SetVolume(float volume) override { m_playback.SetVolume(volume); }
    void SetLoop(bool loop) override {
        if (loop)
            this->m_state |= AGAudioPlayerImpl::kLoop;
        else
            this->m_state &= ~AGAudioPlayerImpl::kLoop;
    }
    void SetCategory(u32 category) override { m_playback.SetCategory(category); }
    // Keeps two buffers queued; once the sound has played out, stops it and runs the finish
    // handler (which may delete this player).
    void Update() override {
        if (m_playback.Update() && this->m_finishHandler)
            this->m_finishHandler(this->m_owner);  // last: the handler may delete this player
    }
    void DetachFromManager() override {
        this->Close();
        m_playback.Detach();
        m_manager = nullptr;
    }

    const PCAudioPlayback& Playback() const { return m_playback; }

protected:
    using PlayerList = AGArray<AGAudioVoice*>& (AGAudioManagerImpl::*)();

    // Joins the manager's list (Sounds or Streams).
    explicit PCAudioPlayer(PlayerList list) : m_list(list) {
        if (m_manager)
            (m_manager->*m_list)().Add(this);
    }
    // Leaves the manager's list; the derived player has closed already.
    ~PCAudioPlayer() override {
        if (!m_manager)
            return;
        AGArray<AGAudioVoice*>& players = (m_manager->*m_list)();
        for (u32 i = 0; i < players.Count(); ++i) {
            if (players[i] == this) {
                players.RemoveAt(i);
                break;
            }
        }
    }

    PCAudioPlayback m_playback{this->m_state, this->m_category};
    PCAudioManagerImpl* m_manager = m_playback.Manager();

private:
    PlayerList m_list;
};
