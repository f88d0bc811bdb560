#pragma once
// The sound descriptor ".snd": after the 12-byte resource header, three u32 parameters for
// the owner, a u32 streamed word (1 = streamed) and the NUL-terminated name of the Ogg Vorbis
// data. A descriptor held in memory holds that data through the "data" provider; a streamed
// one names a disk file that the stream reads while it plays.
#include "engine/core/AGData.h"
#include "engine/core/AGResource.h"
#include "engine/core/TString.h"

// What the owners of sounds read of a descriptor.
class AGSound {
public:
    virtual ~AGSound() = default;
    // index 0 to 2; 0 for another index.
    virtual u32 GetParameter(u32 index) const = 0;
    virtual bool IsStreamed() const = 0;
    // With "\" turned into "/" and lower-cased.
    virtual const TString<char>& GetDataName() const = 0;
};

class AGResourceManager;

class PCSound : public AGSound, public AGResource {
public:
    PCSound() = default;
    // A clone takes its own hold on the data.
    PCSound(const PCSound& other);
    ~PCSound() override;

    u32 GetTypeKey() const override { return TypeKey::Sound; }
    // A truncated descriptor is reported and leaves the resource empty.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;
    // Gives the data back.
    void Unload() override;

    u32 GetParameter(u32 index) const override { return index < 3 ? m_params[index] : 0; }
    bool IsStreamed() const override { return m_streamed; }
    const TString<char>& GetDataName() const override { return m_dataName; }
    // True once a whole descriptor was read.
    bool IsLoaded() const { return m_loaded; }
    // The data of a descriptor held in memory; null when streamed or missing.
    const AGData* GetData() const { return m_data; }

    // "\" becomes "/", ASCII capitals become small letters.
    static TString<char> NormalizeName(const char* name);
    // Takes a hold on the descriptor of that name through the "sound" provider. Null, with a
    // report, when there is no provider or no whole descriptor of that name.
    static PCSound* Acquire(const char* name);
    // Gives back a hold taken with Acquire.
    static void Give(PCSound* sound);

private:
    void TakeData(u32 a, bool inPlace, bool shared);

    u32 m_params[3] = {0, 0, 0};
    bool m_streamed = false;
    TString<char> m_dataName;
    AGData* m_data = nullptr;
    bool m_loaded = false;
    // The load values, reused when a clone takes its own hold on the data.
    u32 m_loadA = 0;
    bool m_loadInPlace = false;
    bool m_loadShared = true;
};

// Puts the "sound" provider (PCSound) in place of the one the manager holds.
void RegisterSoundProvider(AGResourceManager* manager);
