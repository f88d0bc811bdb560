#pragma once
// The sounds of a level: each audio asset of a Set gets an engine sound or stream at level
// start, is played or stopped once on the first update after, and is reached by name for the
// game's sound cues. The asset's AudioData sits under "AUDIO_DATA", its engine sound under
// "ENGINE_DATA_AUDIO".
#include "engine/audio/AGAudioSound.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {
class AudioAsset;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

class AudioData;

class AudioProcessingSystem {
public:
    using EndCallback = AGAudioObject::EndCallback;

    // Voice limits from ("Audio", "MaxSounds") and ("Audio", "MaxStreams"), 10 and 4 when
    // absent; the engine sets its voices up once per run, later calls change nothing. Then
    // every audio asset of the Set is set up.
    static void Initialize(Entities::Set* set);
    // Plays or stops each asset set up since the last update, once.
    static void Update(Entities::Set* set);
    // Every asset gives back its engine sound and its AudioData.
    static void Cleanup(Entities::Set* set);

    // By asset name; a name the Set lacks is reported ("FindAudioAsset failed "), except by
    // IsLoaded, which answers false silently. GetVolume then answers 0.
    static void Play(Entities::Set* set, const TString<char>& name);
    static void Stop(Entities::Set* set, const TString<char>& name);
    static bool IsLoaded(Entities::Set* set, const TString<char>& name);
    static bool IsPlaying(Entities::Set* set, const TString<char>& name);
    static void SetVolume(Entities::Set* set, const TString<char>& name, f32 volume);
    static f32 GetVolume(Entities::Set* set, const TString<char>& name);
    static void SetCategory(Entities::Set* set, const TString<char>& name, u32 category);
    static void SetEndCallback(Entities::Set* set, const TString<char>& name, EndCallback callback,
                               void* context);
    static void ClearEndCallback(Entities::Set* set, const TString<char>& name);

    // Copies the data into the asset's own AudioData, made when missing.
    static void SetAudioData(Entities::AudioAsset& asset, const AudioData& data);
    // A stopped asset from the default audio-asset pool, added to the Set and set up; null,
    // reported, when the pool is exhausted.
    static Entities::AudioAsset* CreateAudioAsset(Entities::Set* set, const TString<char>& name,
                                                  const TString<char>& fileName, f32 volume, bool streamed,
                                                  bool looped);
    // Releases the asset, takes it out of the Set and gives it back to its pool.
    static void DestroyAudioAsset(Entities::Set* set, const TString<char>& name);

    // The engine sound of an asset, or null.
    static AGAudioObject* GetEngineSound(const Entities::AudioAsset& asset);
    static u32 GetMaxSounds();
    static u32 GetMaxStreams();
};

}  // namespace GameServices::Bridge
