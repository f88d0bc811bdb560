#pragma once
// The audio manager on our mixer: one engine, the mastering voice and one submix voice per
// volume category, the master and category volumes, the two fixed pools that lend decode
// and read buffers to the sounds and streams, and the worker that decodes ahead for them
// when the mixer plays on a device. Update drives every sound, then every stream.
#include <vector>

#include "engine/audio/PCAudioDecoder.h"
#include "engine/core/AGAudioManager.h"
#include "platform/audio/AudioEngine.h"

// Buffers of one size carved from one allocation. The free list keeps indices beside the
// buffers, so a buffer's bytes are never touched by the list.
class PCBufferPool {
public:
    PCBufferPool() = default;
    PCBufferPool(const PCBufferPool&) = delete;
    PCBufferPool& operator=(const PCBufferPool&) = delete;
    ~PCBufferPool() { Destroy(); }

    bool Create(u32 count, u32 bufferSize);
    void Destroy();
    bool Exists() const { return m_base != nullptr; }
    // Null when every buffer is lent.
    u8* Take();
    // Ignores a pointer that is not a buffer of this pool or that is already free.
    void Give(u8* buffer);
    u32 Count() const { return m_count; }
    u32 FreeCount() const { return m_freeCount; }

private:
    u8* m_base = nullptr;
    u32 m_count = 0;
    u32 m_size = 0;
    i32 m_freeHead = -1;
    u32 m_freeCount = 0;
    std::vector<i32> m_next;
    std::vector<u8> m_free;
};

class PCAudioManagerImpl : public AGAudioManagerImpl {
public:
    static constexpr u32 kCategoryCount = 3;
    static constexpr u32 kDecodeBufferSize = 65536;
    static constexpr u32 kReadBufferSize = 262144;
    static constexpr u32 kDecodeBuffersPerPlayer = 3;

    // Device output in the game; tests pull the mix themselves. Players decode ahead on a
    // worker with device output, on the game thread in pull mode.
    explicit PCAudioManagerImpl(platform::audio::Engine::Output output = platform::audio::Engine::Output::Device);
    PCAudioManagerImpl(platform::audio::Engine::Output output, bool decodeAhead);
    ~PCAudioManagerImpl() override;

    // Decode pool: 3 x (sounds + streams) buffers; read pool: one per stream. False when the
    // pools exist already or cannot be allocated.
    bool Initialize(u32 soundCount, u32 streamCount) override;
    void Update() override;

    float GetMasterVolume() const override { return m_masterVolume; }
    // Clamped to [0, 1]; NaN becomes 0.
    void SetMasterVolume(float volume) override;
    float GetCategoryVolume(u32 category) const override;
    void SetCategoryVolume(float volume, u32 category) override;

    // Null when no output could be opened (the game then runs without sound).
    platform::audio::Engine* GetEngine() const { return m_master ? m_engine : nullptr; }
    platform::audio::SubmixVoice* GetSubmix(u32 category) const;

    u8* TakeDecodeBuffer() { return m_decodePool.Take(); }
    void GiveDecodeBuffer(u8* buffer) { m_decodePool.Give(buffer); }
    u8* TakeReadBuffer() { return m_readPool.Take(); }
    void GiveReadBuffer(u8* buffer) { m_readPool.Give(buffer); }
    const PCBufferPool& DecodePool() const { return m_decodePool; }
    const PCBufferPool& ReadPool() const { return m_readPool; }
    // Null when players decode on the game thread.
    PCAudioDecoder* Decoder() const { return m_decoder; }

    // The application's audio manager when it runs on this class, else null.
    static PCAudioManagerImpl* Get();

private:
    platform::audio::Engine* m_engine = nullptr;
    platform::audio::MasteringVoice* m_master = nullptr;
    platform::audio::SubmixVoice* m_submixes[kCategoryCount] = {};
    PCAudioDecoder* m_decoder = nullptr;
    PCBufferPool m_decodePool;
    PCBufferPool m_readPool;
    float m_masterVolume = 1.0f;
    float m_categoryVolumes[kCategoryCount] = {1.0f, 1.0f, 1.0f};
};

// The factory the platform build installs in AGAudioManager::s_implFactory.
AGAudioManagerImpl* CreatePCAudioManagerImpl();
