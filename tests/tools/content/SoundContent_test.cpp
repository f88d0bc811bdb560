// The sounds built from the real recipes: every sound the cues, the menus and the question
// bank ask for, in the package their streamed flag needs, loading through the engine's sound
// descriptor and decoding to sound of the right length.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>

#include "engine/audio/PCOggCallbacks.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "gameshow/AudioManager.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/content/Generators.h"
#include "tools/qbank/BankSource.h"

namespace {

using QZ2011::AudioManagerQZ;

const std::vector<std::string> kPackages = {"GameAudios.dir", "GameAudiosNotStreamed.dir"};

struct Wanted {
    bool streamed = false;
    bool holds = false;
};

// Every sound the code plays, by lower-case descriptor name: the cue rows (variants lettered
// from A), the computer families' names, the tutorial pages, the crowd and the menus.
std::map<std::string, Wanted> CodeSounds() {
    std::map<std::string, Wanted> out;
    // "revealothersA.snd" is played by two cues, one of which holds.
    auto add = [&](const std::string& name, const AudioManagerQZ::CueRow& row) {
        Wanted& wanted = out[content::EntryName(name)];
        wanted.streamed = row.streamed;
        wanted.holds = wanted.holds || row.holds;
    };
    for (int cue = 0; cue < int(AudioManagerQZ::Cue::Count); ++cue) {
        const auto& row = AudioManagerQZ::Row(AudioManagerQZ::Cue(cue));
        const std::string sound = row.sound;
        if (AudioManagerQZ::Cue(cue) == AudioManagerQZ::Cue::TutorialFlow)
            for (char page = '0'; page <= '6'; ++page)
                add(sound + page + ".snd", row);
        else if (row.variants)
            for (char letter = 'A'; letter < 'A' + row.variants; ++letter)
                add(sound + letter + ".snd", row);
        else if (!sound.empty())
            add(sound, row);
    }
    for (u32 i = 0; i < QZ2011::AudioSequencerQZ::kEventCount; ++i)
        if (std::string event = QZ2011::AudioSequencerQZ::EventName(i); event.rfind("AiFamily_the", 0) == 0)
            add(event + ".snd", AudioManagerQZ::Row(AudioManagerQZ::Cue::Family2Intro));
    for (const char* crowd : {"crowd_noise.snd", "crowd_lose.snd", "crowd_medium.snd", "crowd_loud.snd"})
        out[crowd] = {false, false};
    out[content::EntryName(GameShow::AudioManager::kButtonPressSound)] = {false, false};
    out[content::EntryName(GameShow::AudioManager::kMenuMusic)] = {true, false};
    return out;
}

std::vector<std::string> QuestionIds(const std::string& dataRoot) {
    qbank::Bank bank;
    qbank::Diagnostics diagnostics;
    for (const qbank::DecadeFile& file : qbank::kDecadeFiles)
        qbank::ReadDecadeSource(FileContents(dataRoot + "/questions/" + file.name), file.name, file.decade, bank,
                                diagnostics);
    std::vector<std::string> ids;
    for (const qbank::BankQuestion& question : bank.questions)
        ids.push_back(question.id);
    return ids;
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

class SoundContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_data = std::getenv("TALLYVOX_DATA");
        s_out = new content::Output(s_data, kPackages);
        content::GenerateSounds(*s_out);
        s_dir = new TempDir();
        ASSERT_TRUE(s_out->Write(s_dir->Path(), false, ""));
    }
    static void TearDownTestSuite() {
        delete s_out;
        delete s_dir;
    }

    static const std::map<std::string, content::Output::Item>& Package(const std::string& name) {
        return s_out->Packages().at(name);
    }

    static inline std::string s_data;
    static inline content::Output* s_out = nullptr;
    static inline TempDir* s_dir = nullptr;
};

TEST_F(SoundContent, EverySoundOfTheCodeAndOneVoicePerQuestionSitsInThePackageOfItsStreamedFlag) {
    EXPECT_EQ(s_out->Errors(), std::vector<std::string>{});
    const std::map<std::string, Wanted> code = CodeSounds();
    ASSERT_EQ(code.size(), 168u);
    std::map<std::string, Wanted> wanted = code;
    const std::vector<std::string> ids = QuestionIds(s_data);
    ASSERT_GE(ids.size(), 164u);
    for (const std::string& id : ids)
        wanted[content::EntryName(id + ".snd")] = {true, false};
    ASSERT_EQ(wanted.size(), 168u + ids.size());

    size_t descriptors = 0;
    for (const std::string& package : kPackages)
        for (const auto& [name, item] : Package(package)) {
            if (name.size() < 4 || name.compare(name.size() - 4, 4, ".snd") != 0)
                continue;
            ++descriptors;
            const auto found = wanted.find(name);
            ASSERT_NE(found, wanted.end()) << name << " is played by nothing";
            EXPECT_EQ(package == "GameAudios.dir", found->second.streamed) << name;
        }
    EXPECT_EQ(descriptors, wanted.size());
    // In memory: a descriptor and its data, each sound its own (variants differ); streamed:
    // the data beside the packages.
    EXPECT_EQ(Package("GameAudiosNotStreamed.dir").size(), 2 * 146u);
    std::set<std::string> distinct;
    for (const auto& [name, item] : Package("GameAudiosNotStreamed.dir"))
        distinct.insert(item.bytes);
    EXPECT_EQ(distinct.size(), 2 * 146u);
    EXPECT_EQ(Package("GameAudios.dir").size(), 22u + ids.size());
    EXPECT_EQ(s_out->Loose().size(), 22u + ids.size());
}

TEST_F(SoundContent, EveryDescriptorLoadsThroughTheEngineAndDecodes) {
    AGResourceManager resources;
    AGResourceManager::SetInstance(&resources);
    resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    RegisterSoundProvider(&resources);
    std::vector<std::unique_ptr<PcDirectory>> mounted;
    for (const std::string& package : kPackages) {
        mounted.push_back(std::make_unique<PcDirectory>());
        mounted.back()->Mount((s_dir->Path() + "/" + package).c_str(), false);
    }
    const std::map<std::string, Wanted> code = CodeSounds();

    int holding = 0;
    for (const std::string& package : kPackages)
        for (const auto& [name, item] : Package(package)) {
            if (name.compare(name.size() - 4, 4, ".snd") != 0)
                continue;
            PCSound* sound = PCSound::Acquire(name.c_str());
            ASSERT_NE(sound, nullptr) << name;
            EXPECT_EQ(sound->IsStreamed(), package == "GameAudios.dir") << name;
            // Streamed data is read from the file the descriptor names, beside the packages.
            const AGData* data = sound->GetData();
            const double seconds = DecodedSeconds(
                sound->IsStreamed() ? FileContents(s_dir->Path() + "/" + sound->GetDataName().c_str())
                : data              ? std::string(reinterpret_cast<const char*>(data->Bytes()), data->Size())
                                    : "");
            PCSound::Give(sound);
            EXPECT_GE(seconds, 0.1) << name;
            // The show waits for these lines: they must not drag.
            if (const auto cue = code.find(name); cue != code.end() && cue->second.holds) {
                ++holding;
                EXPECT_GE(seconds, 0.6) << name;
                EXPECT_LE(seconds, 2.5) << name;
            }
        }
    EXPECT_EQ(holding, std::count_if(code.begin(), code.end(), [](const auto& sound) { return sound.second.holds; }));
    for (auto& package : mounted)
        package->Unmount();
    AGResourceManager::SetInstance(nullptr);
}

TEST_F(SoundContent, TwoRunsGiveTheSameBytes) {
    content::Output again(s_data, kPackages);
    content::GenerateSounds(again);
    auto same = [](const auto& a, const auto& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
            return x.first == y.first && x.second.bytes == y.second.bytes;
        });
    };
    for (const std::string& package : kPackages)
        EXPECT_TRUE(same(Package(package), again.Packages().at(package))) << package;
    EXPECT_TRUE(same(s_out->Loose(), again.Loose()));
}

}  // namespace
