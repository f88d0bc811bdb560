// Checks of cue sounds, question voices, sound descriptors and clips: every sound the cue
// events, the cues, the menus and the question bank can play has its descriptor (told by the
// event that plays it where one does), streamed exactly when its cue streams; every descriptor loads through the engine and its data (an entry in memory, a file
// under streams/ when streamed) decodes; every intro clip opens in the video player's reader.
#include <vorbis/vorbisfile.h>

#include <filesystem>
#include <map>
#include <set>

#include "engine/audio/PCOggCallbacks.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGMemBuffer.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "game/rules/QZStartup.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameshow/AudioManager.h"
#include "platform/video/VideoReader.h"
#include "questions/LineReader.h"
#include "questions/QuestionManager.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/content/Checker.h"

namespace content {

namespace {

namespace fs = std::filesystem;
using QZ2011::AudioManagerQZ;

constexpr const char* kSoundsFile = "data/content/sounds.txt";
constexpr const char* kVideosFile = "data/content/videos.txt";
constexpr const char* kQuestionList = "list.txt";
// Every sound lasts at least this long.
constexpr double kShortestSeconds = 0.1;

// A sound the game plays: the cue (or question) it belongs to and the streamed flag it is
// played with.
struct Wanted {
    std::string owner;  // `cue "answerreveal"`, `question "70-0001"`
    std::string name;   // the descriptor
    bool streamed;
};

std::vector<Wanted> CodeSounds(Checker& checker) {
    std::vector<Wanted> sounds;
    for (const AudioManagerQZ::CueSound& sound : AudioManagerQZ::CueSounds())
        sounds.push_back({"cue \"" + sound.cue + "\"", sound.name, sound.streamed});
    using GameShow::AudioManager;
    sounds.push_back({"the menus", AudioManager::kButtonPressSound, AudioManager::kButtonPressStreamed != 0});
    sounds.push_back({"the menus", AudioManager::kMenuMusic, AudioManager::kMenuMusicStreamed != 0});
    // One voice per question of the bank's list, read as the question code reads it.
    const PackageEntry* list = checker.Use(kQuestionList);
    if (!list) {
        checker.Error({"data/questions", 0}, "", "the question bank has no \"" + std::string(kQuestionList) + "\"");
        return sounds;
    }
    const std::string bytes = checker.Read(*list);
    LineReader reader(bytes.data(), u32(bytes.size()));
    const bool streamed = AudioManagerQZ::Row(AudioManagerQZ::Cue::Voice).streamed;
    for (u32 n = 0; n < QZ2011::QuestionManager::kMaxQuestions && !reader.AtEnd(); ++n) {
        const std::string id = reader.CutLine();
        sounds.push_back({"question \"" + id + "\"", AudioManagerQZ::VoiceSound(id.c_str()).c_str(), streamed});
    }
    return sounds;
}

// Seconds of mono or stereo Vorbis in the bytes; negative when they do not decode.
double OggSeconds(const std::string& bytes) {
    PCMemorySource source;
    source.base = reinterpret_cast<const u8*>(bytes.data());
    source.size = bytes.size();
    OggVorbis_File file;
    if (ov_open_callbacks(&source, &file, nullptr, 0, PCMemoryCallbacks()) != 0)
        return -1;
    const vorbis_info* info = ov_info(&file, -1);
    const ogg_int64_t frames = ov_pcm_total(&file, -1);
    const double seconds = info && info->rate > 0 && frames >= 0 ? double(frames) / double(info->rate) : -1;
    ov_clear(&file);
    return seconds;
}

class Sounds {
public:
    explicit Sounds(Checker& checker) : m_checker(checker) {}

    // The descriptor of a wanted sound: present, streamed as wanted, its data decodable.
    bool Check(const Wanted& sound) {
        const PackageEntry* entry = m_checker.Use(sound.name);
        const std::string name = EntryName(sound.name);
        if (!entry) {
            m_checker.Error({kSoundsFile, 0}, "",
                            sound.owner + " has no sound \"" + name + "\" in any package");
            return false;
        }
        const std::string bytes = m_checker.Read(*entry);
        AGMemBuffer buffer(bytes.data(), u32(bytes.size()));
        PCSound descriptor;
        descriptor.Load(&buffer, 0, false, true);
        if (!descriptor.IsLoaded()) {
            m_checker.Error(entry->from, entry->Label(), "sound descriptor does not load");
            return false;
        }
        if (descriptor.IsStreamed() != sound.streamed) {
            m_checker.Error(entry->from, entry->Label(),
                            sound.owner + (sound.streamed ? " is streamed, the descriptor is not"
                                                          : " is not streamed, the descriptor is"));
            return false;
        }
        const std::string data = descriptor.GetDataName().c_str();
        std::string ogg;
        if (descriptor.IsStreamed()) {
            // Opened from the working directory, where the packages lie.
            const fs::path file = fs::path(m_checker.PathOf(*entry)).parent_path().parent_path() / data;
            if (!authoring::ReadWholeFile(file.string(), ogg)) {
                m_checker.Error(entry->from, entry->Label(), "stream file \"" + data + "\" does not exist");
                return false;
            }
        } else if (const PackageEntry* held = m_checker.Use(data)) {
            ogg = m_checker.Read(*held);
        } else {
            m_checker.Error(entry->from, entry->Label(), "sound data \"" + data + "\" is in no package");
            return false;
        }
        if (OggSeconds(ogg) < kShortestSeconds) {
            m_checker.Error(entry->from, entry->Label(),
                            "sound data \"" + data + "\" does not decode to " + "0.1 s of Ogg Vorbis");
            return false;
        }
        return true;
    }

private:
    Checker& m_checker;
};

void CheckClips(Checker& checker, const std::string& root) {
    for (const char* clip : QZ2011::QZStartup::kVideos) {
        const std::string path =
            GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_VIDEO, clip).c_str();
        platform::video::Reader reader;
        std::string error;
        if (!reader.Open((fs::path(root) / path).string(), error) || !reader.HasVideo())
            checker.Error({kVideosFile, 0}, path,
                          "clip \"" + std::string(clip) + "\" does not open in the video player");
    }
}

}  // namespace

void CheckSounds(Checker& checker) {
    // The events the sequences may play, each registered once.
    std::set<std::string> events;
    for (u32 i = 0; i < QZ2011::AudioSequencerQZ::kEventCount; ++i) {
        const std::string event = QZ2011::AudioSequencerQZ::EventName(i);
        if (!events.insert(event).second)
            checker.Error({kSoundsFile, 0}, "", "cue event \"" + event + "\" is registered twice");
    }
    checker.Count("cue events", events.size());

    Sounds sounds(checker);
    size_t found = 0;
    std::set<std::string> seen;
    // Each event's sounds first, told by the event; then the rest of what the code plays.
    for (u32 i = 0; i < QZ2011::AudioSequencerQZ::kEventCount; ++i)
        for (const AudioManagerQZ::CueSound& sound : QZ2011::AudioSequencerQZ::EventSounds(i))
            if (seen.insert(EntryName(sound.name)).second &&
                sounds.Check({"cue \"" + std::string(QZ2011::AudioSequencerQZ::EventName(i)) + "\"", sound.name, sound.streamed}))
                ++found;
    for (const Wanted& sound : CodeSounds(checker))
        if (seen.insert(EntryName(sound.name)).second && sounds.Check(sound))
            ++found;
    checker.Count("sound descriptors", found);

    // The clips lie beside the packages.
    std::string root;
    for (const auto& [name, entry] : checker.Entries()) {
        root = fs::path(checker.PathOf(entry)).parent_path().parent_path().string();
        break;
    }
    CheckClips(checker, root);
}

}  // namespace content
