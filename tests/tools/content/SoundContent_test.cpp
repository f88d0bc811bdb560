// The sounds built from the real recipes load through the engine's sound descriptor and decode
// to sound of the right length.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <memory>
#include <set>

#include "engine/audio/PCOggCallbacks.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "game/presentation/AudioManagerQZ.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

using QZ2011::AudioManagerQZ;

const std::vector<std::string> kPackages = {"GameAudios.dir", "GameAudiosNotStreamed.dir"};

// The sounds the show waits for, by lower-case descriptor name (variants lettered from A).
std::set<std::string> HeldSounds() {
    std::set<std::string> held;
    for (int cue = 0; cue < int(AudioManagerQZ::Cue::Count); ++cue) {
        const auto& row = AudioManagerQZ::Row(AudioManagerQZ::Cue(cue));
        if (!row.holds)
            continue;
        const std::string sound = row.sound;
        if (row.variants)
            for (char letter = 'A'; letter < 'A' + row.variants; ++letter)
                held.insert(content::EntryName(sound + letter + ".snd"));
        else
            held.insert(content::EntryName(sound));
    }
    return held;
}

// Decodes the whole Ogg data; seconds of sound, or -1 when it is not mono 22,050 Hz Vorbis.
double DecodedSeconds(const std::string& ogg) {
    PCMemorySource source;
    source.base = reinterpret_cast<const u8*>(ogg.data());
    source.size = ogg.size();
    OggVorbis_File vf;
    if (ov_open_callbacks(&source, &vf, nullptr, 0, PCMemoryCallbacks()) != 0)
        return -1;
    const vorbis_info* info = ov_info(&vf, -1);
    long frames = 0, got;
    char buffer[8192];
    int section = 0;
    while ((got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0)
        frames += got / 2;
    const bool ok = got == 0 && info && info->channels == 1 && info->rate == 22050;
    ov_clear(&vf);
    return ok ? double(frames) / 22050.0 : -1;
}

TEST(SoundContent, EveryDescriptorLoadsThroughTheEngineAndDecodes) {
    content::Output out(std::getenv("TALLYVOX_DATA"), kPackages);
    content::GenerateSounds(out);
    TempDir dir;
    ASSERT_TRUE(out.Write(dir.Path(), false, ""));
    AGResourceManager resources;
    AGResourceManager::SetInstance(&resources);
    resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    RegisterSoundProvider(&resources);
    std::vector<std::unique_ptr<PcDirectory>> mounted;
    for (const std::string& package : kPackages) {
        mounted.push_back(std::make_unique<PcDirectory>());
        mounted.back()->Mount(dir.File(package).c_str(), false);
    }
    const std::set<std::string> held = HeldSounds();

    int holding = 0;
    for (const std::string& package : kPackages)
        for (const auto& [name, item] : out.Packages().at(package)) {
            if (name.compare(name.size() - 4, 4, ".snd") != 0)
                continue;
            PCSound* sound = PCSound::Acquire(name.c_str());
            ASSERT_NE(sound, nullptr) << name;
            EXPECT_EQ(sound->IsStreamed(), package == "GameAudios.dir") << name;
            // Streamed data is read from the file the descriptor names, beside the packages.
            const AGData* data = sound->GetData();
            const double seconds = DecodedSeconds(
                sound->IsStreamed() ? FileContents(dir.File(sound->GetDataName().c_str()))
                : data              ? std::string(reinterpret_cast<const char*>(data->Bytes()), data->Size())
                                    : "");
            PCSound::Give(sound);
            EXPECT_GE(seconds, 0.1) << name;
            // The show waits for these lines: they must not drag.
            if (held.count(name)) {
                ++holding;
                EXPECT_GE(seconds, 0.6) << name;
                EXPECT_LE(seconds, 2.5) << name;
            }
        }
    EXPECT_EQ(holding, int(held.size()));
    for (auto& package : mounted)
        package->Unmount();
    AGResourceManager::SetInstance(nullptr);
}

}  // namespace
