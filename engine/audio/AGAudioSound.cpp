#include "engine/audio/AGAudioSound.h"

#include "engine/audio/AGAudioStream.h"

AGAudioObject::~AGAudioObject() { delete m_player; }

bool AGAudioObject::Open(const char* name) { return m_player && m_player->Open(name); }

void AGAudioObject::Play() {
    if (m_player)
        m_player->Play();
}

void AGAudioObject::Stop() {
    if (m_player)
        m_player->Stop();
}

void AGAudioObject::Pause(bool pause) {
    if (m_player)
        m_player->Pause(pause);
}

float AGAudioObject::GetVolume() const { return m_player ? m_player->GetVolume() : 0.0f; }

void AGAudioObject::SetVolume(float volume) {
    if (m_player)
        m_player->SetVolume(volume);
}

void AGAudioObject::SetLoop(bool loop) {
    if (m_player)
        m_player->SetLoop(loop);
}

void AGAudioObject::SetCategory(u32 category) {
    if (m_player)
        m_player->SetCategory(category);
}

u32 AGAudioObject::GetState() const { return m_player ? m_player->GetState() : 0; }

void AGAudioObject::SetEndCallback(EndCallback callback, void* context) {
    if (m_player)
        m_player->SetFinishHandler(callback, context);
}

u32 AGAudioObject::GetParameter(u32 index) const { return m_player ? m_player->GetParameter(index) : 0; }

AGAudioSound::AGAudioSound()
    : AGAudioObject(AGAudioSoundImpl::s_factory ? AGAudioSoundImpl::s_factory() : nullptr) {}

AGAudioStream::AGAudioStream()
    : AGAudioObject(AGAudioStreamImpl::s_factory ? AGAudioStreamImpl::s_factory() : nullptr) {}
