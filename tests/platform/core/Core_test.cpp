// The clock and its fake, the interface language and the per-user folders.
#include "platform/core/Clock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <tuple>

#include "platform/core/AlertableSleep.h"
#include "platform/core/FdIo.h"
#include "platform/core/Interlocked.h"
#include "platform/core/UILocale.h"
#include "platform/core/XdgPaths.h"
#include "tests/support/ScopedEnv.h"

namespace {
int g_hookRuns = 0;
void Hook() { ++g_hookRuns; }

constexpr uint64_t kFar = 1ull << 62;
}  // namespace

TEST(Clock, FakeClockReplacesReadingsAndSleepsWhileItLivesAndTheSystemClockSleepsWholeSeconds) {
    {
        platform::FakeClock fake(kFar);
        platform::SleepMs(16);
        platform::SleepNs(1);
        fake.Advance(4);
        fake.AdvanceMs(0.5);
        EXPECT_EQ(platform::NowNs(), kFar + 16'500'005u);
        // The alertable sleep runs the installed hook, then sleeps on the same clock.
        platform::SetAlertableHook(&Hook);
        platform::AlertableSleep(3);
        platform::SetAlertableHook(nullptr);
        platform::AlertableSleep(1);
        EXPECT_EQ(std::pair(g_hookRuns, fake.SleptNs()), std::pair(1, uint64_t(20'000'001)));
    }
    // The system clock is back: a sleep lasts its time, not more, though a signal's handler
    // interrupts it (5 ms in).
    EXPECT_LT(platform::NowNs(), kFar);
    const auto saved = signal(SIGURG, [](int) {});
    for (uint64_t ns : {1'050'000'000ull, 20'000'000ull, 20'000'000ull, 20'000'000ull}) {
        const uint64_t start = platform::NowNs();
        std::jthread interrupter([sleeper = pthread_self()] { usleep(5000), pthread_kill(sleeper, SIGURG); });
        platform::SleepNs(ns);
        const uint64_t slept = platform::NowNs() - start;
        EXPECT_TRUE(slept >= ns && slept < ns + 500'000'000u) << slept;
    }
    signal(SIGURG, saved);
}

TEST(Clock, AScaledClockRunsAndSleepsFasterThanItsBase) {
    platform::FakeClock fake(kFar);
    {
        platform::ScaledClock fast(4);
        fake.AdvanceMs(10);
        platform::SleepMs(8);
        EXPECT_EQ(std::pair(platform::NowNs(), fake.SleptNs()), std::pair(kFar + 48'000'000u, uint64_t(2'000'000)));
        platform::ScaledClock faster(3);
        EXPECT_EQ(platform::ClockSpeed(), 12u) << "speeds multiply";
    }
    EXPECT_EQ(platform::NowNs(), kFar + 12'000'000u) << "the base is back";
    EXPECT_EQ(platform::ClockSpeed(), 1u);
}

// The interface language takes the first set variable in priority order, skipping empty
// entries; the per-user folders take absolute variables and fall back under the home folder.
TEST(UILocaleAndXdgPaths, FollowTheirVariables) {
    ScopedEnv env;
    env.Unset("LANGUAGE").Unset("LC_ALL").Unset("LC_MESSAGES").Unset("LANG");
    // Each step sets a variable to a value, after which the tag is the third (none at first).
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {"LANG", "", ""}, {"LANG", "fr_FR.UTF-8", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE", "de_DE"},
        {"LC_ALL", "", "de_DE"}, {"LC_ALL", "it_IT", "it_IT"}, {"LANGUAGE", "ja_JP:en", "ja_JP"},
        {"LANGUAGE", "::ru:en", "ru"}, {"LANGUAGE", ":", "it_IT"}};
    for (auto [variable, value, tag] : steps) {
        env.Set(variable, value);
        EXPECT_EQ(platform::UILanguageTag(), tag) << variable << "=" << value;
    }
    env.Set("HOME", "/home/someone/").Set("XDG_CONFIG_HOME", "/etc/cfg").Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(platform::ConfigHome() + " " + platform::DataHome(), "/etc/cfg /home/someone/.local/share");
    env.Set("XDG_CONFIG_HOME", "");
    EXPECT_TRUE(platform::ConfigHome() == "/home/someone/.config" && !platform::MakeFolders(""));

    // Without HOME, the account's home folder from the password database.
    env.Unset("HOME");
    const std::string home = platform::HomeFolder();
    EXPECT_TRUE(home.empty() || platform::ConfigHome() == (home == "/" ? std::string() : home) + "/.config") << home;
}


// Increments and decrements give the new value, exchanges the one before, a compare-exchange
// the one it found (storing only over the one it was given).
TEST(Interlocked, EachOperationGivesItsValue) {
    int32_t v = 5;
    const std::vector<int32_t> given = {platform::AtomicIncrement(&v), platform::AtomicDecrement(&v),
                                        platform::AtomicExchange(&v, 9), platform::AtomicExchangeAdd(&v, 2),
                                        platform::AtomicCompareExchange(&v, 1, 11),
                                        platform::AtomicCompareExchange(&v, 3, 0), platform::AtomicLoad(&v)};
    EXPECT_EQ(given, (std::vector<int32_t>{6, 5, 5, 9, 11, 1, 1}));
}

// A write that a signal cuts short goes on from where it stopped; the reader's short reads of
// the pipe go on too. The pipe is full when the signal comes: the write has moved bytes.
TEST(FdIo, ShortTransfersGoOnFromWhereTheyStopped) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const int capacity = fcntl(fds[1], F_SETPIPE_SZ, 4096);
    const auto saved = signal(SIGUSR1, [](int) {});  // interrupts the write, which returns what it moved
    std::string sent(64 * 1024, '\0'), received(2 * sent.size(), '\0');  // read to the end
    for (size_t i = 0; i < sent.size(); ++i)
        sent[i] = char(i * 7 + i / 251);
    std::thread reader([&, writer = pthread_self()] {
        for (int queued = 0; queued < capacity;)
            ioctl(fds[0], FIONREAD, &queued);
        pthread_kill(writer, SIGUSR1);
        EXPECT_EQ(platform::ReadAll(fds[0], received.data(), 40000), 40000);  // no byte past the count
        EXPECT_EQ(platform::ReadAll(fds[0], &received[40000], received.size() - 40000), int64_t(sent.size() - 40000));
    });
    EXPECT_TRUE(platform::WriteAll(fds[1], sent.data(), sent.size()));
    close(fds[1]);
    reader.join();
    close(fds[0]);
    signal(SIGUSR1, saved);
    EXPECT_TRUE(received.substr(0, sent.size()) == sent);
}
