// The sounds and the intro clips of the sample content. Every sound is synthesised from a
// recipe line of content/sounds.txt (and one voice per question of the bank); in-memory
// sounds put their descriptor and Ogg data in "GameAudiosNotStreamed.dir", streamed ones their
// descriptor in "GameAudios.dir" and the data in streams/, opened from the working folder.
#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <set>
#include <thread>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/OggVorbisWriter.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/VideoClipWriter.h"
#include "tools/content/Generators.h"
#include "tools/content/SoundSynth.h"
#include "tools/content/Speech.h"
#include "tools/qbank/BankSource.h"

namespace content {

namespace {

constexpr const char* kSoundSource = "content/sounds.txt";
constexpr const char* kVideoSource = "content/videos.txt";
constexpr const char* kStreamedPackage = "GameAudios.dir";
constexpr const char* kInMemoryPackage = "GameAudiosNotStreamed.dir";
constexpr float kOggQuality = 0.3f;
constexpr double kShortestVoice = 0.5;

// The intro clips' frame: the clip writer needs multiples of 16.
constexpr uint32_t kClipWidth = 640;
constexpr uint32_t kClipHeight = 480;
constexpr uint32_t kClipFramesPerSecond = 10;

struct SoundJob {
    std::string name;  // the descriptor's name without ".snd"
    bool streamed = false;
    SoundRecipe recipe;
    SourceRef from;
    std::string ogg;
    std::string error;  // why its samples could not be made
};

bool ParseNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// "round1[A..C]" names round1A, round1B and round1C; a name without brackets names itself.
// Variant letters always start at 'A' (the cues draw from 'A' on).
bool ExpandName(const std::string& text, std::vector<std::string>& names) {
    const size_t open = text.find('[');
    if (open == std::string::npos) {
        names.push_back(text);
        return text.find(']') == std::string::npos;
    }
    const std::string base = text.substr(0, open), range = text.substr(open);
    if (base.empty() || range.size() != 6 || range.compare(0, 2, "[A") != 0 || range.compare(2, 2, "..") != 0 ||
        range[4] < 'A' || range[4] > 'Z' || range[5] != ']')
        return false;
    for (char letter = 'A'; letter <= range[4]; ++letter)
        names.push_back(base + letter);
    return true;
}

size_t CountCharacters(const std::string& utf8) {
    // Continuation bytes (10xxxxxx) belong to the character before them.
    return size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
}

// One voice per question of the bank's decade sources, named by its id, lasting as long as
// the question takes to type.
void AddQuestionVoices(Output& out, const SoundJob& pattern, double secondsPerCharacter, std::vector<SoundJob>& jobs) {
    for (const qbank::DecadeFile& decade : qbank::kDecadeFiles) {
        const SourceFile questions(out.DataRoot(), std::string("questions/") + decade.name);
        if (!questions.Ok()) {
            out.Error(pattern.from, "the question source \"" + questions.Path() + "\" is missing");
            continue;
        }
        for (const SourceLine& line : questions.Lines()) {
            if (line.fields[0] != "?")
                continue;
            if (line.fields.size() < 3) {
                out.Error(questions.At(line), "a question needs an id and a text for its voice");
                continue;
            }
            const std::string& id = line.fields[1];
            std::string text = line.text.substr(line.text.find(id) + id.size());
            text.erase(0, text.find_first_not_of(" \t"));
            SoundJob job = pattern;
            job.name = id;
            job.from = questions.At(line);
            job.recipe.seconds = std::max(kShortestVoice, double(CountCharacters(text)) * secondsPerCharacter);
            job.recipe.text = text;
            jobs.push_back(std::move(job));
        }
    }
}

// Synthesises and encodes every job, on as many threads as the machine offers; each job's
// bytes depend on its recipe and name only.
void EncodeAll(std::vector<SoundJob>& jobs) {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next.fetch_add(1)) < jobs.size();) {
            SoundJob& job = jobs[i];
            const uint32_t seed = Crc32Hash(authoring::LowerName(job.name + ".snd").c_str());
            const std::vector<float> samples = SynthesizeSound(job.recipe, seed, &job.error);
            if (samples.empty())
                continue;
            authoring::Pcm16 pcm;
            pcm.channels = 1;
            pcm.rate = kSoundRate;
            pcm.samples.reserve(samples.size());
            for (float s : samples)
                pcm.samples.push_back(int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
            job.ogg = authoring::EncodeOggVorbis(pcm, kOggQuality);
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
}

bool ParseColour(const std::string& text, uint32_t& colour) {
    if (text.size() != 7 || text[0] != '#')
        return false;
    const auto result = std::from_chars(text.data() + 1, text.data() + text.size(), colour, 16);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

void GenerateSounds(Output& out) {
    const SourceFile source(out.DataRoot(), kSoundSource);
    if (!source.Ok()) {
        out.Error({source.Path(), 0}, "the sound recipes are missing");
        return;
    }
    std::vector<SoundJob> jobs;
    std::set<std::string> seen;
    for (const SourceLine& line : source.Lines()) {
        const SourceRef at = source.At(line);
        if (line.fields.size() < 4) {
            out.Error(at, "a sound needs a name, memory or stream, its seconds and a recipe");
            continue;
        }
        SoundJob pattern;
        pattern.from = at;
        const std::string& where = line.fields[1];
        if (where != "memory" && where != "stream") {
            out.Error(at, "\"" + where + "\" is neither memory nor stream");
            continue;
        }
        pattern.streamed = where == "stream";
        double seconds = 0;
        if (!ParseNumber(line.fields[2], seconds) || !(seconds >= 0.005 && seconds <= 60)) {
            out.Error(at, "bad seconds \"" + line.fields[2] + "\"");
            continue;
        }
        pattern.recipe.seconds = seconds;
        std::string error;
        if (!ParseSoundRecipe({line.fields.begin() + 3, line.fields.end()}, pattern.recipe, error)) {
            out.Error(at, error);
            continue;
        }
        const bool speech = pattern.recipe.kind == SoundRecipe::Kind::Speech;
        if (speech && line.fields[0] != "voices") {
            out.Error(at, "a speech recipe speaks a question's text: only the voices line takes it");
            continue;
        }
        if (line.fields[0] == "voices") {
            // Without the speech program no voice is made: the build fails with the reason.
            if (std::string why; speech && !SpeechAvailable(why))
                out.Error(at, why + ": the question voices cannot be spoken");
            else
                AddQuestionVoices(out, pattern, seconds, jobs);
            continue;
        }
        std::vector<std::string> names;
        if (!ExpandName(line.fields[0], names)) {
            out.Error(at, "bad variant range in \"" + line.fields[0] + "\" (name[A..K])");
            continue;
        }
        for (const std::string& name : names) {
            SoundJob job = pattern;
            job.name = name;
            jobs.push_back(std::move(job));
        }
    }
    // A name twice would make two different sounds fight over one descriptor.
    std::vector<SoundJob> unique;
    for (SoundJob& job : jobs) {
        if (!seen.insert(authoring::LowerName(job.name)).second)
            out.Error(job.from, "sound \"" + job.name + "\" is made twice");
        else
            unique.push_back(std::move(job));
    }
    EncodeAll(unique);
    for (SoundJob& job : unique) {
        if (job.ogg.empty()) {
            out.Error(job.from, job.error.empty() ? "the encoder refused sound \"" + job.name + "\""
                                                  : "sound \"" + job.name + "\": " + job.error);
            continue;
        }
        const std::string lower = authoring::LowerName(job.name);
        if (job.streamed) {
            const std::string dataName = "streams/" + lower + ".ogg";
            out.Add(kStreamedPackage, job.name + ".snd", authoring::MakeSoundDescriptor(dataName, true), job.from,
                    TypeKey::Sound);
            out.AddLoose(dataName, std::move(job.ogg), job.from);
        } else {
            const std::string dataName = lower + ".ogg";
            out.Add(kInMemoryPackage, job.name + ".snd", authoring::MakeSoundDescriptor(dataName, false), job.from,
                    TypeKey::Sound);
            out.Add(kInMemoryPackage, dataName, std::move(job.ogg), job.from, TypeKey::Data);
        }
    }
}

void GenerateVideos(Output& out) {
    const SourceFile source(out.DataRoot(), kVideoSource);
    if (!source.Ok()) {
        out.Error({source.Path(), 0}, "the clip recipes are missing");
        return;
    }
    for (const SourceLine& line : source.Lines()) {
        const SourceRef at = source.At(line);
        const std::vector<std::string>& f = line.fields;
        if (f.size() < 4) {
            out.Error(at, "a clip needs a file name, its seconds, a tone and at least one colour");
            continue;
        }
        if (f[0].size() <= 4 || f[0].compare(f[0].size() - 4, 4, ".vid") != 0 || f[0].find('/') != std::string::npos) {
            out.Error(at, "clip file \"" + f[0] + "\" is not a plain \".vid\" name");
            continue;
        }
        authoring::VideoClip clip;
        clip.width = kClipWidth;
        clip.height = kClipHeight;
        clip.framesPerSecond = kClipFramesPerSecond;
        double seconds = 0;
        if (!ParseNumber(f[1], seconds) || !(seconds >= 0.5 && seconds <= 30)) {
            out.Error(at, "bad seconds \"" + f[1] + "\"");
            continue;
        }
        if (!ParseNumber(f[2], clip.toneHz) || !(clip.toneHz >= 20 && clip.toneHz <= 5000)) {
            out.Error(at, "bad tone \"" + f[2] + "\"");
            continue;
        }
        bool ok = true;
        for (size_t i = 3; i < f.size() && ok; ++i) {
            uint32_t colour = 0;
            ok = ParseColour(f[i], colour);
            if (!ok)
                out.Error(at, "bad colour \"" + f[i] + "\" (#RRGGBB)");
            clip.colours.push_back(colour);
        }
        if (!ok)
            continue;
        clip.secondsPerColour = seconds / double(clip.colours.size());
        std::string bytes = authoring::EncodeWindowsMediaClip(clip);
        if (bytes.empty()) {
            out.Error(at, "the clip encoder refused \"" + f[0] + "\"");
            continue;
        }
        out.AddLoose("video/" + authoring::LowerName(f[0]), std::move(bytes), at);
    }
}

}  // namespace content
