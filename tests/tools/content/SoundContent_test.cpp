// The sounds built from the real recipes load through the engine's sound descriptor and decode
// to sound of the right length.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>

#include "engine/audio/PCOggCallbacks.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PcDirectory.h"
#include "game/presentation/AudioManagerQZ.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"
#include "tools/content/SoundSynth.h"
#include "tools/content/Speech.h"

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

// Decodes the whole Ogg data; false when it is not mono 22,050 Hz Vorbis.
bool Decode(const std::string& ogg, std::vector<float>& samples) {
    PCMemorySource source;
    source.base = reinterpret_cast<const u8*>(ogg.data());
    source.size = ogg.size();
    OggVorbis_File vf;
    if (ov_open_callbacks(&source, &vf, nullptr, 0, PCMemoryCallbacks()) != 0)
        return false;
    const vorbis_info* info = ov_info(&vf, -1);
    long got;
    int16_t buffer[4096];
    int section = 0;
    samples.clear();
    while ((got = ov_read(&vf, reinterpret_cast<char*>(buffer), sizeof buffer, 0, 2, 1, &section)) > 0)
        for (long i = 0; i < got / 2; ++i)
            samples.push_back(float(buffer[i]) / 32768.0f);
    const bool ok = got == 0 && info && info->channels == 1 && info->rate == 22050;
    ov_clear(&vf);
    return ok;
}

// The normalised correlation of two sounds over the shorter one's length.
double Correlation(const std::vector<float>& a, const std::vector<float>& b) {
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        ab += double(a[i]) * b[i];
        aa += double(a[i]) * a[i];
        bb += double(b[i]) * b[i];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
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
            std::vector<float> samples;
            const bool decoded = Decode(sound->IsStreamed() ? FileContents(dir.File(sound->GetDataName().c_str()))
                                        : data ? std::string(reinterpret_cast<const char*>(data->Bytes()), data->Size())
                                               : "", samples);
            PCSound::Give(sound);
            const double seconds = double(samples.size()) / 22050.0;
            EXPECT_TRUE(decoded && seconds >= 0.1) << name;
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

// A question's voice, as the build wrote it, is its text spoken within the time the question
// takes to type: it follows the speech of its own words, not the murmur the voices were, nor
// another question's words.
TEST(SoundContent, AQuestionsVoiceIsItsTextSpokenInItsTypingTime) {
    std::ifstream source(std::string(std::getenv("TALLYVOX_DATA")) + "/questions/70s.txt");
    std::vector<std::string> texts;  // of the first two questions
    for (std::string line; texts.size() < 2 && std::getline(source, line);)
        if (line.rfind("? 70-000", 0) == 0)
            texts.push_back(line.substr(line.find(' ', 2) + 1));
    ASSERT_EQ(texts.size(), 2u);
    std::vector<float> voice;
    ASSERT_TRUE(Decode(FileContents(TALLYVOX_BUILT_CONTENT "/streams/70-0001.ogg"), voice));
    content::SoundRecipe murmur;
    murmur.seconds = double(texts[0].size()) * 0.05;  // the voices line's seconds per character
    ASSERT_EQ(voice.size(), size_t(std::lround(murmur.seconds * 22050)));
    std::string why;
    ASSERT_TRUE(content::ParseSoundRecipe({"murmur", "pitch=120", "level=0.35"}, murmur, why));
    const double spoken = Correlation(voice, content::SpeakText(texts[0], voice.size(), why));
    const double other = Correlation(voice, content::SpeakText(texts[1], voice.size(), why));
    const double murmured = Correlation(voice, content::SynthesizeSound(murmur, Crc32Hash("70-0001.snd")));
    EXPECT_TRUE(spoken > 0.8 && std::fabs(other) < 0.2 && std::fabs(murmured) < 0.2)
        << spoken << " " << other << " " << murmured << " " << why;
}

}  // namespace
