#include "engine/audio/PCAudioManagerImpl.h"

#include "engine/audio/AGAudioPlayerImpl.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemory.h"

using platform::audio::Engine;

namespace {

float ClampVolume(float v) {
    if (!(v > 0.0f))  // negative or NaN
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

}  // namespace

// ----------------------------------------------------------------------------- PCBufferPool

bool PCBufferPool::Create(u32 count, u32 bufferSize) {
    Destroy();
    if (count == 0)
        return true;
    m_base = static_cast<u8*>(AllocBlock(size_t(count) * bufferSize));
    if (!m_base)
        return false;
    m_count = count;
    m_size = bufferSize;
    m_next.assign(count, -1);
    m_free.assign(count, 1);
    for (u32 i = 0; i + 1 < count; ++i)
        m_next[i] = i32(i + 1);
    m_freeHead = 0;
    m_freeCount = count;
    return true;
}

void PCBufferPool::Destroy() {
    FreeBlock(m_base);
    m_base = nullptr;
    m_count = 0;
    m_size = 0;
    m_freeHead = -1;
    m_freeCount = 0;
    m_next.clear();
    m_free.clear();
}

u8* PCBufferPool::Take() {
    if (m_freeHead < 0)
        return nullptr;
    const u32 i = u32(m_freeHead);
    m_freeHead = m_next[i];
    m_free[i] = 0;
    --m_freeCount;
    return m_base + size_t(i) * m_size;
}

void PCBufferPool::Give(u8* buffer) {
    if (!buffer || !m_base || buffer < m_base)
        return;
    const size_t offset = size_t(buffer - m_base);
    if (offset % m_size != 0 || offset / m_size >= m_count)
        return;
    const u32 i = u32(offset / m_size);
    if (m_free[i])
        return;
    m_free[i] = 1;
    m_next[i] = m_freeHead;
    m_freeHead = i32(i);
    ++m_freeCount;
}

// ----------------------------------------------------------------------- PCAudioManagerImpl

PCAudioManagerImpl::PCAudioManagerImpl(Engine::Output output)
    : PCAudioManagerImpl(output, output == Engine::Output::Device) {}

PCAudioManagerImpl::PCAudioManagerImpl(Engine::Output output, bool decodeAhead) {
    m_engine = new Engine(output);
    m_master = m_engine->CreateMasteringVoice();
    if (!m_master) {
        AGReport("Audio: no output could be opened (%s); running without sound.", m_engine->LastError().c_str());
        return;
    }
    m_master->SetVolume(m_masterVolume);
    for (u32 i = 0; i < kCategoryCount; ++i) {
        m_submixes[i] = m_engine->CreateSubmixVoice(2, platform::audio::kMixRate);
        if (!m_submixes[i]) {
            // Sounds of this category then go straight to the mastering voice.
            AGReport("Audio: the submix voice of category %u could not be created.", i);
            continue;
        }
        m_submixes[i]->SetVolume(m_categoryVolumes[i]);
    }
    if (decodeAhead)
        m_decoder = new PCAudioDecoder();
}

PCAudioManagerImpl::~PCAudioManagerImpl() {
    // Players that outlive the manager lose their voices and buffers now, while both exist.
    for (AGArray<AGAudioVoice*>* list : {&m_sounds, &m_streams})
        for (AGAudioVoice* v : *list)
            static_cast<AGAudioPlayerImpl*>(v)->DetachFromManager();
    delete m_decoder;  // no job is left: the players have cancelled theirs
    m_decoder = nullptr;
    for (platform::audio::SubmixVoice*& submix : m_submixes) {
        if (submix)
            submix->DestroyVoice();
        submix = nullptr;
    }
    if (m_master)
        m_master->DestroyVoice();
    m_master = nullptr;
    delete m_engine;
    m_engine = nullptr;
    m_decodePool.Destroy();
    m_readPool.Destroy();
}

bool PCAudioManagerImpl::Initialize(u32 soundCount, u32 streamCount) {
    if (m_decodePool.Exists())
        return false;
    if (soundCount == 0 && streamCount == 0)
        return true;
    const u64 decodeCount = u64(kDecodeBuffersPerPlayer) * (u64(soundCount) + streamCount);
    if (decodeCount > 0xFFFFu || streamCount > 0xFFFFu ||
        !m_decodePool.Create(u32(decodeCount), kDecodeBufferSize)) {
        AGReport("Audio: cannot allocate decode buffers for %u sounds and %u streams.", soundCount, streamCount);
        return false;
    }
    if (streamCount == 0)
        return true;
    if (!m_readPool.Create(streamCount, kReadBufferSize)) {
        AGReport("Audio: cannot allocate read buffers for %u streams.", streamCount);
        m_decodePool.Destroy();
        return false;
    }
    return true;
}

void PCAudioManagerImpl::Update() {
    // A player's update may finish it and run its owner's handler, which may delete players:
    // walk by index and re-check the count.
    for (u32 i = 0; i < m_sounds.Count(); ++i)
        m_sounds[i]->Update();
    for (u32 i = 0; i < m_streams.Count(); ++i)
        m_streams[i]->Update();
}

void PCAudioManagerImpl::SetMasterVolume(float volume) {
    m_masterVolume = ClampVolume(volume);
    if (m_master)
        m_master->SetVolume(m_masterVolume);
}

float PCAudioManagerImpl::GetCategoryVolume(u32 category) const {
    return category < kCategoryCount ? m_categoryVolumes[category] : 0.0f;
}

void PCAudioManagerImpl::SetCategoryVolume(float volume, u32 category) {
    if (category >= kCategoryCount)
        return;
    m_categoryVolumes[category] = ClampVolume(volume);
    if (m_submixes[category])
        m_submixes[category]->SetVolume(m_categoryVolumes[category]);
}

platform::audio::SubmixVoice* PCAudioManagerImpl::GetSubmix(u32 category) const {
    return category < kCategoryCount ? m_submixes[category] : nullptr;
}

PCAudioManagerImpl* PCAudioManagerImpl::Get() {
    AGAudioManager* manager = AGAudioManager::Get();
    return manager ? dynamic_cast<PCAudioManagerImpl*>(manager->GetImpl()) : nullptr;
}

AGAudioManagerImpl* CreatePCAudioManagerImpl() { return new PCAudioManagerImpl(); }
