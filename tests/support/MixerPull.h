#pragma once
// The mixer of a pulled audio output, pulled for each stretch of the run's time: sounds end after
// theirs and call back.
#include <cstdint>
#include <vector>

#include "engine/audio/PCAudioManagerImpl.h"
#include "platform/audio/AudioTypes.h"

class MixerPull {
public:
    void Pull(uint32_t ms) {
        PCAudioManagerImpl* audio = PCAudioManagerImpl::Get();
        if (platform::audio::Engine* mixer = audio ? audio->GetEngine() : nullptr) {
            m_remainder += uint64_t(ms) * platform::audio::kMixRate;
            const uint32_t frames = uint32_t(m_remainder / 1000);
            m_remainder %= 1000;
            m_mix.resize(size_t(frames) * 2);
            if (frames)
                mixer->Render(m_mix.data(), frames);
        }
    }

private:
    uint64_t m_remainder = 0;
    std::vector<float> m_mix;
};
