#include "engine/audio/PCSound.h"

#include <string>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"

namespace {

AGBaseProvider* DataProvider() {
    AGResourceManager* manager = AGResourceManager::Get();
    return manager ? manager->GetProvider(TypeKey::Data) : nullptr;
}

}  // namespace

TString<char> PCSound::NormalizeName(const char* name) {
    std::string out = name ? name : "";
    for (char& c : out) {
        if (c == '\\')
            c = '/';
        else if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return TString<char>(out.c_str());
}

PCSound* PCSound::Acquire(const char* name) {
    AGResourceManager* manager = AGResourceManager::Get();
    AGBaseProvider* provider = manager ? manager->GetProvider(TypeKey::Sound) : nullptr;
    if (!provider) {
        AGReport("Audio: no sound provider; cannot open %s.", name ? name : "");
        return nullptr;
    }
    const TString<char> normalized = NormalizeName(name);
    auto* sound = GetOrLoadResourceAs<PCSound>(provider, Crc32Hash(normalized.c_str()));
    if (sound && !sound->IsLoaded()) {
        AGReport("Audio: sound descriptor %s could not be loaded.", normalized.c_str());
        Give(sound);
        sound = nullptr;
    }
    return sound;
}

void PCSound::Give(PCSound* sound) {
    AGResourceManager* manager = AGResourceManager::Get();
    AGBaseProvider* provider = manager ? manager->GetProvider(TypeKey::Sound) : nullptr;
    if (!sound || !provider)
        return;
    if (sound->IsBase())
        provider->Release(sound);
    else
        provider->ReleaseInstance(sound);
}

PCSound::PCSound(const PCSound& other)
    : AGSound(),
      AGResource(other),
      m_streamed(other.m_streamed),
      m_dataName(other.m_dataName),
      m_loaded(other.m_loaded),
      m_loadA(other.m_loadA),
      m_loadInPlace(other.m_loadInPlace),
      m_loadShared(other.m_loadShared) {
    for (int i = 0; i < 3; ++i)
        m_params[i] = other.m_params[i];
    if (other.m_data)
        TakeData(m_loadA, m_loadInPlace, m_loadShared);
}

PCSound::~PCSound() { Unload(); }

void PCSound::Unload() {
    if (!m_data)
        return;
    if (AGBaseProvider* provider = DataProvider()) {
        if (m_data->IsBase())
            provider->Release(m_data);
        else
            provider->ReleaseInstance(m_data);
    }
    m_data = nullptr;
}

void PCSound::TakeData(u32 a, bool inPlace, bool shared) {
    AGBaseProvider* provider = DataProvider();
    if (!provider || m_dataName.IsEmpty())
        return;
    m_data = static_cast<AGData*>(GetOrLoadResource(provider, Crc32Hash(m_dataName.c_str()), a, inPlace, shared));
}

void PCSound::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    Unload();
    m_loaded = false;
    m_streamed = false;
    m_dataName = TString<char>();
    m_params[0] = m_params[1] = m_params[2] = 0;
    if (!buffer)
        return;
    buffer->Skip(12);
    u32 params[3];
    for (u32& p : params)
        p = buffer->ReadU32();
    const u32 streamed = buffer->ReadU32();
    const bool named = buffer->ReadString();
    if (buffer->Failed() || !named) {
        AGReport("Audio: sound descriptor 0x%08X is truncated.", NameId());
        return;
    }
    for (int i = 0; i < 3; ++i)
        m_params[i] = params[i];
    m_streamed = streamed == 1;
    m_dataName = NormalizeName(buffer->LastString().c_str());
    m_loaded = true;
    m_loadA = a;
    m_loadInPlace = inPlace;
    m_loadShared = shared;
    if (!m_streamed)
        TakeData(a, inPlace, shared);
}

void RegisterSoundProvider(AGResourceManager* manager) {
    if (manager)
        manager->RegisterProvider(new AGProvider<PCSound>(TypeKey::Sound));
}
