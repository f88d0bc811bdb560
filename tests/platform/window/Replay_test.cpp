#include "platform/window/Replay.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <tuple>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/core/Clock.h"
#include "platform/window/SdlWindowBackend.h"
#include "platform/window/WindowShot.h"
#include "tests/platform/window/MessageText.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

using namespace platform::window;
using windowtest::Drain;

TEST(Replay, EachLineIsOneTimedEventAndABadLineIsToldAndSkipped) {
    // Each line alone, and the error it gives (empty: a good line; none: no event either).
    const std::pair<const char*, const char*> cases[] = {
        {"at 5 key F5 up", ""}, {"at 5 mouse 10 -3", ""}, {"at 5 mouse 10 20 right up", ""}, {"  # a comment", nullptr},
        {"at 5 when MenuScreen/exitButton shown", ""}, {"at 5 when Popup/PopupConfirm/Confirm shown within 9", ""},
        {"at x key A down", "line 1: expected \"at <ms> <event>\" or \"after <ms> <event>\""},
        {"at 5x quit", "line 1: expected \"at <ms> <event>\" or \"after <ms> <event>\""},
        {"after 5 quit", "line 1: \"after\" with no \"when\" line above"},
        {"at 5 when A/b", "line 1: expected \"when <Screen>/<widget> shown [within <ms>]\""},
        {"at 5 when A/b shown within 0", "line 1: expected \"when <Screen>/<widget> shown [within <ms>]\""},
        {"at 5 when A/b shown in 9", "line 1: expected \"when <Screen>/<widget> shown [within <ms>]\""},
        {"at 5 when pointer 10 20 within 9", ""},
        {"at 5 when pointer 10", "line 1: expected \"when pointer <x> <y> [within <ms>]\""},
        {"at 5 when pointer 10 y", "line 1: expected \"when pointer <x> <y> [within <ms>]\""},
        {"at 5 key Nokey down", "line 1: unknown key \"Nokey\""},
        {"at 5 key A held", "line 1: expected \"key <name> down|up\""},
        {"at 5 text", "line 1: expected \"text <chars>\""},
        {"at 5 mouse 10 20 middle down", "line 1: expected \"mouse <x> <y> [left|right down|up]\""},
        {"at 5 shot", "line 1: expected \"shot <file.png>\""},
        {"at 5 quit now", "line 1: expected \"quit\" alone"},
        {"at 5 jump", "line 1: unknown event \"jump\""},
        {"speed 17", "line 1: expected \"speed <1-16>\""}, {"speed 2 x", "line 1: expected \"speed <1-16>\""},
        {"seed 4294967295", nullptr}, {"seed 4294967296", "line 1: expected \"seed <0-4294967295>\""},
        {"seed -1", "line 1: expected \"seed <0-4294967295>\""}, {"seed 5x", "line 1: expected \"seed <0-4294967295>\""},
    };
    for (auto [line, error] : cases) {
        SCOPED_TRACE(line);
        std::vector<std::string> errors;
        Replay replay = Replay::Parse(line, errors);
        EXPECT_EQ(replay.Remaining(), error && !*error ? 1u : 0u);
        EXPECT_EQ(errors, error && *error ? std::vector<std::string>{error} : std::vector<std::string>{});
    }
    std::vector<std::string> errors;
    Replay replay = Replay::Parse("at 30 quit\nat 10 text b\r\nbad\nat 10 text a \n", errors);
    EXPECT_EQ(errors, std::vector<std::string>{"line 3: expected \"at <ms> <event>\" or \"after <ms> <event>\""});
    ReplayEvent event;
    EXPECT_FALSE(replay.TakeNext(9, event));
    for (const char* text : {"b", "a "}) {
        ASSERT_TRUE(replay.TakeNext(29, event));
        EXPECT_EQ(event.text, text);
    }
    EXPECT_TRUE(!replay.TakeNext(29, event) && replay.TakeNext(30, event));
    EXPECT_EQ(std::pair(replay.Speed(), Replay::Parse("speed 16\nat 1 quit", errors).Speed()), std::pair(1u, 16u));
    EXPECT_EQ(std::pair(replay.Seed(), Replay::Parse("seed 0\nat 1 quit", errors).Seed()),
              std::pair(std::optional<uint32_t>(), std::optional<uint32_t>(0)));
    // "after" counts from the last "when" above it; a wait without "within" holds for the default.
    replay = Replay::Parse("at 100 when A/b shown\nafter 20 text c\nat 110 text d\nafter 30 when A/e shown within 7\n"
                           "after 1 text f\n", errors);
    std::string order;
    for (; replay.TakeNext(1000, event); order += " ")
        order += std::to_string(event.line) + "@" + std::to_string(event.atMs) + ":" + event.text +
                 (event.kind == ReplayEvent::Kind::Wait ? "/" + std::to_string(event.timeoutMs) : "");
    EXPECT_EQ(order, "1@100:A/b/120000 3@110:d 2@120:c 4@130:A/e/7 5@131:f ");
}

namespace {

// Answers "when" lines from a set of shown paths.
struct FakeScreen : ReplayScreen {
    std::vector<std::string> shown;
    bool IsShown(const std::string& path) const override {
        return std::find(shown.begin(), shown.end(), path) != shown.end();
    }
};

}  // namespace

TEST(Replay, AWhenHoldsTheClockUntilItsWidgetIsShownOrFailsTheRun) {
    TempDir dir;
    ScopedEnv env;
    const std::string script = dir.Write("run.txt", "at 10 when S/x|S/a shown\nafter 5 key Space down\nat 12 key A down\n"
                                                    "after 20 when S/b|S/c shown within 50\nafter 1 key B down\nseed 7\n");
    env.Set("TALLYVOX_REPLAY", script);
    platform::FakeClock clock(1000000000u);
    FakeScreen screen;
    SetReplayScreen(&screen);
    SdlBackend backend;
    ASSERT_TRUE(backend.Create(WindowDesc{}));
    EXPECT_EQ(ReplaySeed(), 7u) << "the game draws from the script's seed";
    Drain(backend, 2);
    // The clock stops at 10 while neither S/x nor S/a is shown, however long that takes, then goes on from
    // there: "A" (at 12) 2 ms later, Space (after 5, at 15) 3 ms after it.
    const std::tuple<uint32_t, bool, const char*> steps[] = {
        {10, false, ""}, {80, false, ""}, {80, false, ""}, {1, true, ""}, {2, true, "down:65 "},
        {2, true, ""},   {1, true, "down:32 "}, {14, true, ""}, {50, true, ""}};
    for (auto [advanceMs, shown, expected] : steps) {
        clock.AdvanceMs(advanceMs);
        screen.shown = {shown ? "S/a" : ""};
        EXPECT_EQ(Drain(backend, 2, false), expected) << "after " << (clock.Now() - 1000000000u) / 1000000u;
    }
    // Neither S/b nor S/c (at 30) has come for 49 ms; at 50 the run ends, failed, with the line named.
    EXPECT_FALSE(ReplayFailed());
    testing::internal::CaptureStderr();
    clock.AdvanceMs(1);
    EXPECT_EQ(Drain(backend, 2, false), "destroy ");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Replay " + script + ", line 4: S/b|S/c not shown within 50 ms: the run ends\n");
    EXPECT_TRUE(ReplayFailed() && !backend.HasWindow());
    // Without a screen to ask, a "when" fails at once.
    SetReplayScreen(nullptr);
    env.Set("TALLYVOX_REPLAY", dir.Write("run.txt", "at 0 when S/a shown\n"));
    SdlBackend alone;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(alone.Create(WindowDesc{}));
    EXPECT_EQ(ReplaySeed(), std::nullopt) << "a script without a seed leaves the clock's";
    EXPECT_EQ(Drain(alone, 3, false), "destroy ");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("line 1: S/a cannot be asked for: the run ends"), std::string::npos);
    SetReplayFailed(false);
}

// A pointer wait holds the clock until the system (not the script) moves the pointer there.
TEST(Replay, APointerWaitHoldsUntilTheSystemPointerArrives) {
    TempDir dir;
    ScopedEnv env;
    const std::string script = dir.Write("run.txt", "at 10 mouse 300 200\nat 11 when pointer 300 200 within 50\n"
                                                    "after 1 key B down\nat 20 when pointer 5 5 within 9\n");
    env.Set("TALLYVOX_REPLAY", script);
    platform::FakeClock clock(1000000000u);
    SdlBackend backend;
    ASSERT_TRUE(backend.Create(WindowDesc{}));
    Drain(backend, 2);
    clock.AdvanceMs(30);
    EXPECT_EQ(Drain(backend, 2, false), "move@300,200 ") << "the script's own move does not end the wait";
    SDL_Event move{SDL_MOUSEMOTION};
    move.motion.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(backend.NativeHandle()));
    move.motion.x = 302;
    move.motion.y = 199;
    SDL_PushEvent(&move);
    EXPECT_EQ(Drain(backend, 2, false), "move@302,199 ");
    std::string after;
    for (int ms = 0; ms < 2; ++ms, clock.AdvanceMs(1))
        after += Drain(backend, 2, false);
    EXPECT_EQ(after, "down:66 ") << "the script goes on once the pointer is there";
    testing::internal::CaptureStderr();
    clock.AdvanceMs(20);
    EXPECT_EQ(Drain(backend, 3, false), "destroy ");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Replay " + script + ", line 4: the pointer at 5, 5 not shown within 9 ms: the run ends\n");
    SetReplayFailed(false);
}

TEST(Replay, TheWindowQueuesTheScriptAsSystemInputAndSavesShots) {
    TempDir dir;
    const std::string shot = dir.File("shot.png");
    ScopedEnv env;
    env.Set("TALLYVOX_REPLAY", dir.Write("run.txt", "at 10 key Space down\nat 10 key Space up\nat 20 text h\xC3\xA9\n"
                                                    "at 20 mouse 100 200 left down\nat 20 mouse 100 200 left up\n"
                                                    "at 15 nonsense\nat 30 key Return down\nat 40 mouse 5 6\n"
                                                    "at 50 shot " + shot + "\nat 150 quit\n"));
    platform::FakeClock clock(1000000000u);
    SdlBackend backend;
    ASSERT_TRUE(backend.Create(WindowDesc{}));
    SDL_Window* window = static_cast<SDL_Window*>(backend.NativeHandle());
    SDL_GLContext context = SDL_GL_CreateContext(window);
    ASSERT_NE(context, nullptr) << SDL_GetError();
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    int profile = 0;  // the device draws with the compatibility calls
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_EQ(std::pair(samples, profile), std::pair(0, int(SDL_GL_CONTEXT_PROFILE_COMPATIBILITY)))
        << "the window asks for no multisampling and the compatibility profile";
    // The frame on show: red above row 300, blue from it down.
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 300, 800, 300);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    SDL_GL_SwapWindow(window);
    glEnable(0);  // an error left in GL does not fail the shot

    // The clock advanced by so many ms, the messages of the tick that follows.
    // One event a tick: a press and its release due together are read apart. A gap of 200 ms
    // (a slow frame) counts as the game's longest frame, 84 ms.
    const std::pair<uint32_t, const char*> steps[] = {
        {9, ""}, {1, "down:32 "}, {0, "up:32 "}, {6, ""}, {4, "char:104 char:233 "},
        {0, "move@100,200 press:left@100,200 "}, {0, "move@100,200 release:left@100,200 "},
        {10, "down:13 char:13 "}, {10, "move@5,6 "}, {10, ""}, {200, ""}, {16, "destroy "}};
    // The input messages of one tick of the run loop: every waiting one, then one more poll.
    Drain(backend, 2);
    for (auto [advanceMs, expected] : steps) {
        clock.AdvanceMs(advanceMs);
        EXPECT_EQ(Drain(backend, 2, false), expected) << "at " << (clock.Now() - 1000000000u) / 1000000u;
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, shot.c_str())) << "no shot";
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    ASSERT_EQ(image.width * image.height, 800u * 600u);
    const unsigned char* top = &pixels[(299 * 800 + 400) * 3];
    const unsigned char* bottom = &pixels[(300 * 800 + 400) * 3];
    EXPECT_EQ(std::vector<int>({top[0], top[1], top[2], bottom[0], bottom[1], bottom[2]}),
              (std::vector<int>{255, 0, 0, 0, 0, 255}));
    // A shot fails without a file or a context. It leaves GL's row packing and read buffer as it
    // found them.
    std::string why;
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    GLint alignment = 0, buffers[2] = {}, bound = 0;
    GLuint framebuffer = 0;  // bound for reading, and bound again after the shot
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glGetIntegerv(GL_READ_BUFFER, &buffers[0]);
    EXPECT_FALSE(SaveWindowShot(window, dir.File("no/such/folder/shot.png"), why));
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_READ_BUFFER, &buffers[1]);
    EXPECT_TRUE(why.find("cannot write") != std::string::npos && alignment == 8) << why << " " << alignment;
    EXPECT_TRUE(buffers[0] != GL_NONE && buffers[1] == buffers[0] && GLuint(bound) == framebuffer) << bound;
    SDL_GL_DeleteContext(context);
    why.clear();
    EXPECT_TRUE(!SaveWindowShot(window, shot, why) && !why.empty());
}
