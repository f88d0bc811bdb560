#include "engine/core/AGAudioManager.h"

namespace {

void PauseAll(AGArray<AGAudioVoice*>& voices) {
    for (AGAudioVoice* v : voices) {
        if (v && (v->GetState() & AGAudioVoice::kStatePlaying)) {
            v->m_pausedByManager = true;
            v->Pause(true);
        }
    }
}

void ResumeAll(AGArray<AGAudioVoice*>& voices) {
    for (AGAudioVoice* v : voices) {
        if (v && v->m_pausedByManager) {
            v->m_pausedByManager = false;
            v->Pause(false);
        }
    }
}

}  // namespace

void AGAudioManagerImpl::Pause() {
    if (m_pauseDepth == 0) {
        PauseAll(m_sounds);
        PauseAll(m_streams);
    }
    ++m_pauseDepth;
}

void AGAudioManagerImpl::Resume() {
    if (m_pauseDepth == 0)
        return;
    if (--m_pauseDepth == 0) {
        ResumeAll(m_sounds);
        ResumeAll(m_streams);
    }
}

AGAudioManager::AGAudioManager() : m_impl(s_implFactory ? s_implFactory() : nullptr) {}

AGAudioManager::~AGAudioManager() {
    delete m_impl;
}
