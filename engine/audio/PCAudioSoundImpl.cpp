#include "engine/audio/PCAudioSoundImpl.h"

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGLog.h"

AGAudioSoundImpl* CreatePCAudioSoundImpl() { return new PCAudioSoundImpl(); }

AGAudioSoundImpl::Factory AGAudioSoundImpl::s_factory = &CreatePCAudioSoundImpl;

PCAudioSoundImpl::PCAudioSoundImpl() : PCAudioPlayer(&AGAudioManagerImpl::Sounds) {}

PCAudioSoundImpl::~PCAudioSoundImpl() { Close(); }

void PCAudioSoundImpl::ReleaseDescriptor() {
    PCSound::Give(m_descriptor);
    m_descriptor = nullptr;
    m_source = PCMemorySource();
}

bool PCAudioSoundImpl::Open(const char* descriptorName) {
    Close();
    m_descriptor = PCSound::Acquire(descriptorName);
    if (!m_descriptor)
        return false;
    const AGData* data = m_descriptor->GetData();
    if (m_descriptor->IsStreamed() || !data || !data->Bytes() || data->Size() == 0) {
        AGReport("Audio: %s holds no sound data in memory (streamed, or \"%s\" is missing).",
                 descriptorName ? descriptorName : "", m_descriptor->GetDataName().c_str());
        Close();
        return false;
    }
    for (u32 i = 0; i < 3; ++i)
        m_params[i] = m_descriptor->GetParameter(i);
    m_source.base = data->Bytes();
    m_source.position = 0;
    m_source.size = data->Size();
    if (!m_playback.Open(&m_source, PCMemoryCallbacks(), m_descriptor->GetDataName().c_str())) {
        Close();
        return false;
    }
    m_state |= kOpen;
    return true;
}

void PCAudioSoundImpl::Close() {
    m_playback.Close();
    ReleaseDescriptor();
    m_params[0] = m_params[1] = m_params[2] = 0;
}
