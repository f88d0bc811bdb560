// The program on the sample content the build writes, as a player meets it, through the real
// graphic device on the offscreen video driver at 800 x 600: the application's run loop on a
// fake clock (so every run shows the same frames), the mixer pulled, a fresh save folder. A
// scripted player goes from the opening through the first-start pages to the main menu, where
// the bench measures a stretch of idle frames, then into a 70s easy match, where after the
// tutorial it measures a stretch of frames while the player buzzes, plays and answers.
//
// For each stretch and with multisampling off and on (each in a process of its own), it
// reports per frame the process's CPU time (the rasteriser's threads too) and the main
// thread's, the share of frames drawn (a frame showing what the window shows is skipped) and
// the fragments a drawn frame shades per window pixel (GL_ARB_pipeline_statistics_query;
// llvmpipe counts a fragment before its depth test, so geometry hidden behind nearer geometry
// counts too).
//
//   SDL_VIDEODRIVER=offscreen build/bench/match_bench [--frames N] [--shots DIR] [--layers]
//     --frames N   frames in each measured stretch (default 300)
//     --shots DIR  PNG shots of the measured stretches (every 60th frame) into DIR, to compare
//                  two builds' pictures
//     --shot-every N  a shot every Nth frame instead
//     --layers     at each stretch's first and last frame, the fragments of each layer and
//                  renderable, and the renderables drawn unseen (slow; the CPU figures then
//                  count those extra frames)
//     --msaa 0|1   one run only, with that multisampling setting
#include <SDL2/SDL.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGApplication.h"
#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGProgram.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGRenderable.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCGraphicsStartup.h"
#include "engine/video/PCVideoPlayer.h"
#include "game/QZ2011GameContext.h"
#include "game/QZ2011Prog.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "platform/audio/AudioTypes.h"
#include "platform/core/Clock.h"
#include "platform/gfx/GlHeaders.h"
#include "platform/settings/SettingsFile.h"
#include "platform/window/WindowBackend.h"
#include "platform/window/WindowShot.h"
#include "questions/QuestionManager.h"
#include "tests/support/MatchPlayer.h"
#include "tools/qbank/BankSource.h"

#ifndef TALLYVOX_BUILT_CONTENT
#error "TALLYVOX_BUILT_CONTENT names the folder of the built sample content"
#endif

namespace {

using namespace QZ2011;

constexpr int kWidth = 800, kHeight = 600;

double CpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

bool HasFragmentQuery() {
    auto* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return all && std::strstr(all, "GL_ARB_pipeline_statistics_query");
}

// What a measured stretch gathers.
struct Stretch {
    std::string name;
    uint32_t frames = 0, drawn = 0;
    double processMs = 0, threadMs = 0;
    std::vector<GLuint> queries;
    std::string layers;
};

// The frames of the stretch being measured go through here: each drawn frame's fragments are
// counted, the layers' share looked at, and shots written.
struct Meter {
    Stretch* stretch = nullptr;
    std::string shotFolder;
    uint32_t shotEvery = 60;
    bool layers = false, queries = false;

    void Frame(PCGraphicDevice& device, AGApplicationGraphics& real) {
        if (!stretch) {
            real.RenderFrame();
            return;
        }
        GLuint query = 0;
        if (queries) {
            glGenQueries(1, &query);
            glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, query);
        }
        real.RenderFrame();
        if (queries)
            glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
        const uint32_t frame = stretch->frames++;
        if (device.FrameSkipped()) {
            glDeleteQueries(query ? 1 : 0, &query);
        } else {
            ++stretch->drawn;
            if (query)
                stretch->queries.push_back(query);
        }
        if (layers && frame == 0)
            Layers(device);
        if (!shotFolder.empty() && frame % shotEvery == 0) {
            std::string why;
            const std::string path =
                shotFolder + "/" + stretch->name + "_" + std::to_string(frame / shotEvery) + ".png";
            if (!platform::window::SaveWindowShot(SDL_GL_GetCurrentWindow(), path, why))
                fprintf(stderr, "shot %s: %s\n", path.c_str(), why.c_str());
        }
    }

    // The fragments of one whole frame, then the share of each layer and of each renderable
    // (the frame's less the frame's without it), the frame drawn again for each; a renderable
    // whose removal leaves every pixel as it was is marked unseen.
    void Layers(PCGraphicDevice& device) {
        auto fragments = [&device] {
            GLuint query = 0;
            glGenQueries(1, &query);
            glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, query);
            device.InvalidateFrame();
            device.RenderFrame();
            glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
            GLuint64 count = 0;
            glGetQueryObjectui64v(query, GL_QUERY_RESULT, &count);
            glDeleteQueries(1, &query);
            return double(count) / (kWidth * kHeight);
        };
        auto picture = [] {
            std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
            glReadBuffer(GL_FRONT);
            glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            glReadBuffer(GL_BACK);
            return pixels;
        };
        const double all = fragments();
        const std::vector<uint32_t> whole = picture();
        char line[256];
        snprintf(line, sizeof line, "  %s, whole frame: %.2f fragments per pixel\n", stretch->name.c_str(), all);
        stretch->layers += line;
        std::function<void(AGGraphicLayer*, int)> walk = [&](AGGraphicLayer* layer, int depth) {
            if (!layer->IsEnabled())
                return;
            layer->SetEnabled(false);
            const double without = fragments();
            layer->SetEnabled(true);
            const AGVec3& at = layer->GetPosition();
            snprintf(line, sizeof line, "  %*slayer (order %u, at %.0f,%.0f, %u x %u, %u renderables): %.2f\n",
                     2 * depth, "", layer->GetOrderKey(), at.x, at.y, layer->GetWidth(), layer->GetHeight(),
                     layer->RenderableCount(), all - without);
            stretch->layers += line;
            for (u32 i = 0; i < layer->RenderableCount(); ++i) {
                AGRenderable* r = layer->GetRenderable(i);
                if (!r || !r->HasFlags(AGRenderable::kActive))
                    continue;
                r->ClearFlags(AGRenderable::kActive);
                const double alone = all - fragments();
                const bool unseen = picture() == whole;
                r->SetFlags(AGRenderable::kActive);
                AGVec3 p;
                r->GetPosition(p);
                if (r->GetRenderableType() == AGRenderable::kModel) {
                    const platform::gfx::Matrix& world = static_cast<AGModel*>(r)->GetWorld();
                    p = {world.m[12], world.m[13], world.m[14]};
                }
                // A model's name id, to look up in the content build's maps.
                const u32 id = r->GetRenderableType() == AGRenderable::kModel ? static_cast<AGModel*>(r)->NameId() : 0u;
                snprintf(line, sizeof line, "  %*s  renderable %u (type %u, id %08x, at %.0f,%.0f,%.0f): %.3f%s\n",
                         2 * depth, "", i, r->GetRenderableType(), id, p.x, p.y, p.z, alone, unseen ? " unseen" : "");
                if (alone > 0.005)
                    stretch->layers += line;
            }
            for (u32 i = 0; i < layer->ChildCount(); ++i)
                walk(layer->GetChild(i), depth + 1);
        };
        for (u32 i = 0; i < device.GetLayerCount(); ++i)
            walk(device.GetLayer(i), 1);
        device.InvalidateFrame();
    }
};

Meter g_meter;

// The program's graphics with every frame through the meter.
class MeteredGraphics : public match::ForwardingGraphics {
public:
    static AGApplicationGraphics* Make() { return new MeteredGraphics(); }
    static inline Factory real = nullptr;

    MeteredGraphics() : ForwardingGraphics(real) {}
    bool StartDevice(void* surface, u32 width, u32 height, u32 flags) override {
        const bool started = m_real->StartDevice(surface, width, height, flags);
        g_meter.queries = started && HasFragmentQuery();
        return started;
    }
    void RenderFrame() override { g_meter.Frame(*PCGraphicDevice::Get(), *m_real); }
};

// The scripted player and the measured stretches of one run.
class Run : protected match::ScriptedPlayer {
public:
    explicit Run(PCApplicationImpl& app, uint32_t frames) : m_measured(frames) { m_app = &app; }

    // False with the step waited for when the run did not get through.
    bool Play() {
        ScriptedPlayer::Play(Steps());
        if (!m_failure.empty())
            fprintf(stderr, "match_bench: %s\n", m_failure.c_str());
        return m_failure.empty();
    }

    std::vector<Stretch> stretches;
    // Whether the device drew multisampled while measuring.
    bool multisampled = false;

private:
    static constexpr uint64_t kLimitMs = 120000;

    std::vector<Step> Steps() {
        std::vector<Step> steps = FirstStart();
        const std::vector<Step> menu = {
            {"the main menu", [] { return PageSettled("compositionMainMenu"); },
             [this] { Send({.kind = MessageKind::MouseMove, .x = 600, .y = 590}); }},
            {"a wait", Elapsed(3000), nullptr},
            Measure("menu"),
        };
        const std::vector<Step> match = IntoMatch();
        steps.insert(steps.end(), menu.begin(), menu.end());
        steps.insert(steps.end(), match.begin(), match.end());
        steps.insert(steps.end(), {
            {"the tutorial skipped", Elapsed(8000), nullptr, kLimitMs, [this] { SkipTutorial(); }},
            {"the first face-off", [this] { return i32(m_context.m_GamePhase) == PhaseFaceOffBuzz; }, nullptr, kLimitMs,
             [this] { Act(); }},
            Measure("match"),
        });
        return steps;
    }

    // A stretch of m_measured frames, the player acting meanwhile.
    Step Measure(const std::string& name) {
        return {"the " + name + " measured",
                [this, name] {
                    if (!g_meter.stretch) {
                        stretches.emplace_back().name = name;
                        g_meter.stretch = &stretches.back();
                        m_startProcess = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
                        m_startThread = CpuMs(CLOCK_THREAD_CPUTIME_ID);
                        multisampled = PCGraphicDevice::Get()->GetModeFlags() & PCGraphicDevice::kModeMultisample;
                        return false;
                    }
                    if (g_meter.stretch->frames < m_measured)
                        return false;
                    glFinish();
                    g_meter.stretch->processMs = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - m_startProcess;
                    g_meter.stretch->threadMs = CpuMs(CLOCK_THREAD_CPUTIME_ID) - m_startThread;
                    if (g_meter.layers)
                        g_meter.Layers(*PCGraphicDevice::Get());
                    g_meter.stretch = nullptr;
                    return true;
                },
                nullptr, kLimitMs, [this] { Act(); }};
    }

    // The player's move in a match, when one is due: buzz in a face-off, play, and answer the
    // top answer not yet found in its own turns.
    void Act() {
        if (BuzzOrPlay())
            return;
        GameServices::Widget::SoftKeyboard* keyboard = m_context.m_AnswerKeyboard;
        if (!AnswerEntryOpen() || m_turnTaken || !keyboard->m_EntryText.IsEmpty() || m_nowMs - m_submitMs < 300)
            return;
        m_turnTaken = true;
        const Question* question = m_context.GetQuestionManager() ? m_context.GetQuestionManager()->CurrentQuestion() : nullptr;
        std::string text = "zzqx";
        for (u32 i = 0; question && i < question->AnswerCount(); ++i)
            if (!question->IsFound(i)) {
                text = qbank::FirstForm(question->GetAnswer(i).Text());
                break;
            }
        Type(text);
        Key(kKeyEnter, u'\r');
        m_submitMs = m_nowMs;
    }

    uint32_t m_measured;
    double m_startProcess = 0, m_startThread = 0;
};

AGAudioManagerImpl* MakePulledAudio() { return new PCAudioManagerImpl(platform::audio::Engine::Output::Pull); }

// One run with that multisampling setting stored; its lines on stdout.
int RunOnce(bool multisample, uint32_t frames) {
    char pattern[] = "/tmp/match_bench.XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string home = pattern;
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("TALLYVOX_REPLAY", "", 1);
    platform::settings::SettingsFile settings;
    for (const auto& [name, value] : {std::pair{"Fullscreen", 0u}, {"Multisampling", multisample ? 1u : 0u},
                                      {"WindowWidth", u32(kWidth)}, {"WindowHeight", u32(kHeight)}})
        settings.SetU32(name, value);
    if (!settings.Save(platform::settings::SettingsPath(g_QZ2011Prog.GetTitle())) ||
        chdir(TALLYVOX_BUILT_CONTENT) != 0) {
        fprintf(stderr, "match_bench: no settings file or no %s\n", TALLYVOX_BUILT_CONTENT);
        return 1;
    }
    if (!g_meter.shotFolder.empty()) {
        g_meter.shotFolder += multisample ? "/msaa1" : "/msaa0";
        std::filesystem::create_directories(g_meter.shotFolder);
    }
    platform::FakeClock clock;
    platform::window::SetBackendFactory(nullptr);
    AGProgram::SetInstance(&g_QZ2011Prog);
    AGAudioManager::s_implFactory = &MakePulledAudio;
    AGVideoPlayer::s_implFactory = &CreatePCVideoPlayer;
    InstallGraphicsStartup();
    MeteredGraphics::real = AGApplicationGraphics::s_implFactory;
    AGApplicationGraphics::s_implFactory = &MeteredGraphics::Make;
    auto* app = dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
    if (!app || !app->Initialize())
        return 1;
    RegisterSoundProvider(AGResourceManager::Get());
    int status = 1;
    {
        Run run(*app, frames);
        const bool played = run.Play();
        const bool granted = run.multisampled;
        for (Stretch& s : run.stretches) {
            double fragments = 0, most = 0;
            for (GLuint query : s.queries) {
                GLuint64 count = 0;
                glGetQueryObjectui64v(query, GL_QUERY_RESULT, &count);
                fragments += double(count);
                most = std::max(most, double(count));
            }
            const double n = std::max(1u, s.frames), pixels = kWidth * kHeight;
            printf("%-6s msaa %d  %4u frames, %4u drawn  process %6.2f ms  main thread %5.2f ms  "
                   "fragments/pixel %.2f (most %.2f)\n",
                   s.name.c_str(), granted ? 1 : 0, s.frames, s.drawn, s.processMs / n, s.threadMs / n,
                   s.queries.empty() ? -1.0 : fragments / double(s.queries.size()) / pixels, most / pixels);
            printf("%s", s.layers.c_str());
        }
        fflush(stdout);
        status = played && multisample == granted ? 0 : 1;
    }
    GameShow::PlayerProfileManager::Destroy();
    GameServices::Bridge::FileSystem::Destroy();
    app->Shutdown();
    std::filesystem::remove_all(home);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    uint32_t frames = 300;
    int only = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--frames" && value)
            frames = uint32_t(std::max(1, atoi(argv[++i])));
        else if (arg == "--shots" && value)
            g_meter.shotFolder = std::filesystem::absolute(argv[++i]).string();
        else if (arg == "--shot-every" && value)
            g_meter.shotEvery = uint32_t(std::max(1, atoi(argv[++i])));
        else if (arg == "--msaa" && value)
            only = atoi(argv[++i]) != 0;
        else if (arg == "--layers")
            g_meter.layers = true;
        else {
            fprintf(stderr, "usage: %s [--frames N] [--shots DIR] [--shot-every N] [--layers] [--msaa 0|1]\n",
                    argv[0]);
            return 2;
        }
    }
    if (only >= 0)
        return RunOnce(only != 0, frames);
    // Each setting in a process of its own: the program's singletons live once a process.
    int status = 0;
    for (const char* msaa : {"0", "1"}) {
        std::vector<char*> args(argv, argv + argc);
        args.push_back(const_cast<char*>("--msaa"));
        args.push_back(const_cast<char*>(msaa));
        args.push_back(nullptr);
        fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            execv("/proc/self/exe", args.data());
            _exit(127);
        }
        int childStatus = 1;
        if (child < 0 || waitpid(child, &childStatus, 0) < 0 || !WIFEXITED(childStatus) || WEXITSTATUS(childStatus))
            status = 1;
    }
    return status;
}
