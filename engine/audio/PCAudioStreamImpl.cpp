#include "engine/audio/PCAudioStreamImpl.h"

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCOggCallbacks.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGDirectory.h"
#include "engine/core/AGLog.h"

AGAudioStreamImpl* CreatePCAudioStreamImpl() { return new PCAudioStreamImpl(); }

AGAudioStreamImpl::Factory AGAudioStreamImpl::s_factory = &CreatePCAudioStreamImpl;

PCAudioStreamImpl::PCAudioStreamImpl() : PCAudioPlayer(&AGAudioManagerImpl::Streams) {}

PCAudioStreamImpl::~PCAudioStreamImpl() { Close(); }

u32 PCAudioStreamImpl::GetState() const {
    // While the worker decodes, the window is its own: count its reads as in flight.
    const bool reading = m_playback.Decoding() || m_window.ReadInFlight();
    return reading ? m_state | kReadInFlight : m_state & ~kReadInFlight;
}

bool PCAudioStreamImpl::Open(const char* descriptorName) {
    Close();
    PCSound* descriptor = PCSound::Acquire(descriptorName);
    if (!descriptor)
        return false;
    const TString<char> dataName = descriptor->GetDataName();
    const AGDirectory* package = AGDirectory::FindMounted(descriptor->DirectoryId());
    const TString<char> packageFolder = package ? package->Path() : TString<char>();
    for (u32 i = 0; i < 3; ++i)
        m_params[i] = descriptor->GetParameter(i);
    PCSound::Give(descriptor);
    std::string path;
    if (!PCStreamWindow::FindDataFile(dataName.c_str(), packageFolder.c_str(), path)) {
        Close();
        return false;
    }

    m_readBuffer = m_manager ? m_manager->TakeReadBuffer() : nullptr;
    if (!m_readBuffer) {
        AGReport("Audio: no free read buffer for stream %s.", path.c_str());
        Close();
        return false;
    }
    if (!m_window.Open(path.c_str(), m_readBuffer)) {
        AGReport("Audio: stream file \"%s\" cannot be opened.", path.c_str());
        Close();
        return false;
    }
    const auto settle = [](void* window) { static_cast<PCStreamWindow*>(window)->Settle(); };
    if (!m_playback.Open(&m_window, PCStreamCallbacks(), path.c_str(), settle)) {
        Close();
        return false;
    }
    m_state |= kOpen;
    return true;
}

void PCAudioStreamImpl::Close() {
    m_playback.Close();
    m_window.Close();
    if (m_readBuffer && m_manager)
        m_manager->GiveReadBuffer(m_readBuffer);
    m_readBuffer = nullptr;
    m_params[0] = m_params[1] = m_params[2] = 0;
}
