// The game thread's audio work per tick: 16 sounds (stereo noise and mono tones, 4 s each)
// started in the same frame on the audio device (SDL's dummy driver when there is no sound
// card), then ticked at 60 Hz for 3 s while the device plays them out. Reports the worst
// tick and the average tick of the game thread's audio work (Play calls and the manager's
// update), in milliseconds of the thread's CPU time (what it spends, whatever else the
// machine runs) and of wall-clock time (which also counts waits for the mixer lock and
// preemption on a busy machine).
//
//   SDL_AUDIODRIVER=dummy build/bench/audio_decode_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <time.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio/AGAudioSound.h"
#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "tools/authoring/OggVorbisWriter.h"
#include "tools/authoring/PackageWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kVoices = 16;
constexpr int kTicks = 180;
constexpr auto kTickPeriod = std::chrono::microseconds(16667);

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ThreadCpuMs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) * 1e-6;
}

// A folder package of four sounds, mounted while the object lives.
class SoundPackage {
public:
    SoundPackage() {
        char name[] = "/tmp/audio_decode_bench.XXXXXX";
        m_dir = mkdtemp(name) ? name : "/tmp";
        authoring::PackageWriter writer;
        for (int i = 0; i < 4; ++i) {
            const std::string base = "s" + std::to_string(i);
            const authoring::Pcm16 pcm = i % 2 == 0
                                             ? authoring::MakeNoise(44100 * 4, 44100, 2, 0.3, uint32_t(i + 1))
                                             : authoring::MakeTone(220.0 * (i + 1), 44100 * 4, 44100, 1, 0.3);
            writer.Add(base + ".ogg", TypeKey::Data, authoring::EncodeOggVorbis(pcm));
            writer.Add(base + ".snd", TypeKey::Sound, authoring::MakeSoundDescriptor(base + ".ogg", false));
        }
        const std::string mount = m_dir + "/Sounds.dir";
        writer.WriteFolder(mount);
        m_package.Mount(mount.c_str(), false);
    }
    ~SoundPackage() {
        m_package.Unmount();
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

private:
    std::string m_dir;
    PcDirectory m_package;
};

void BM_SixteenSoundsStartedTogether(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    AGResourceManager resources;
    AGResourceManager::SetInstance(&resources);
    resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    RegisterSoundProvider(&resources);
    AGAudioManager::s_implFactory = &CreatePCAudioManagerImpl;
    auto* manager = new AGAudioManager();
    AGAudioManager::SetInstance(manager);
    auto* impl = static_cast<PCAudioManagerImpl*>(manager->GetImpl());
    impl->Initialize(kVoices, 0);
    {
        SoundPackage package;
        double worst = 0.0;
        double total = 0.0;
        double worstCpu = 0.0;
        double totalCpu = 0.0;
        int ticks = 0;
        for (auto _ : state) {
            std::vector<std::unique_ptr<AGAudioSound>> sounds;
            for (int i = 0; i < kVoices; ++i) {
                sounds.push_back(std::make_unique<AGAudioSound>());
                sounds.back()->Open(("s" + std::to_string(i % 4) + ".snd").c_str());
            }
            Clock::time_point next = Clock::now();
            for (int t = 0; t < kTicks; ++t) {
                const Clock::time_point start = Clock::now();
                const double startCpu = ThreadCpuMs();
                if (t == 0)
                    for (auto& s : sounds)
                        s->Play();
                impl->Update();
                const double cpu = ThreadCpuMs() - startCpu;
                const double ms = Ms(Clock::now() - start);
                worstCpu = cpu > worstCpu ? cpu : worstCpu;
                totalCpu += cpu;
                worst = ms > worst ? ms : worst;
                total += ms;
                ++ticks;
                next += kTickPeriod;
                std::this_thread::sleep_until(next);
            }
            sounds.clear();
        }
        state.counters["worst_tick_cpu_ms"] = worstCpu;
        state.counters["avg_tick_cpu_ms"] = ticks ? totalCpu / ticks : 0.0;
        state.counters["worst_tick_ms"] = worst;
        state.counters["avg_tick_ms"] = ticks ? total / ticks : 0.0;
    }
    AGAudioManager::SetInstance(nullptr);
    delete manager;
    AGResourceManager::SetInstance(nullptr);
}
BENCHMARK(BM_SixteenSoundsStartedTogether)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
