// The program started as a player starts it, on a copy of the built sample data with one file
// damaged: a file the game cannot run without is named on standard error (no log asked for)
// and the program ends with a failure status; a file it can do without leaves the game running.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"

#ifndef TALLYVOX_PROGRAM
#error "TALLYVOX_PROGRAM names the built program"
#endif

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    bool ended = false;
    int status = 0;
    std::string errors;
};

// Runs the program in a copy of the built data changed by `damage`, for at most `waitMs`
// (then it is killed). With `logged` the log goes to standard error too.
Outcome RunOn(const std::function<void(const std::string&)>& damage, int waitMs, bool logged = false) {
    TempDir dir;
    const std::string data = dir.File("data"), errors = dir.File("stderr.txt");
    fs::copy(TALLYVOX_BUILT_CONTENT, data, fs::copy_options::recursive);
    damage(data + "/");
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry)
        if (std::string(*entry).rfind("TALLYVOX_LOG=", 0) != 0)
            env.push_back(*entry);
    for (const char* set : {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"})
        env.push_back(set);
    env.push_back("XDG_DATA_HOME=" + dir.Path());
    env.push_back("XDG_CONFIG_HOME=" + dir.Path());
    if (logged)
        env.push_back("TALLYVOX_LOG=1");
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(TALLYVOX_PROGRAM), nullptr};

    const int out = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(data.c_str()) != 0 || dup2(out, 2) < 0)
            _exit(126);
        execve(TALLYVOX_PROGRAM, argv, envp.data());
        _exit(127);
    }
    close(out);
    Outcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!outcome.ended && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        outcome.ended = waitpid(pid, &outcome.status, WNOHANG) == pid;
    }
    if (!outcome.ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    outcome.errors = FileContents(errors);
    return outcome;
}

void Remove(const std::string& path) { fs::remove_all(path); }
void Cut(const std::string& path, off_t size) { ASSERT_EQ(truncate(path.c_str(), size), 0) << path; }

}  // namespace

// Every class of file the game needs: a package, its index, the parameters, the level list, the
// actions, a screen layout (truncated, or a FIFO in its place) and the navigation file.
TEST(DamagedData, AMissingOrDamagedNeededFileIsNamedAndTheProgramFails) {
    const struct {
        const char* what;
        std::function<void(const std::string&)> damage;
        const char* named;
    } cases[] = {
        {"no system package", [](const std::string& d) { Remove(d + "gsSystem"); }, "system package gsSystem.dir"},
        {"no interface pictures", [](const std::string& d) { Remove(d + "Global2D"); }, "package Global2D.dir"},
        {"a truncated index", [](const std::string& d) { Cut(d + "GlobalXml/GlobalXml.hdr", 40); },
         "package GlobalXml.dir"},
        {"an empty menu index", [](const std::string& d) { Cut(d + "MenuXmls/MenuXmls.hdr", 0); }, "package MenuXmls.dir"},
        {"empty parameters", [](const std::string& d) { Cut(d + "gsSystem/runtimeparameters.xml", 0); },
         "parameters file"},
        {"a truncated level list", [](const std::string& d) { Cut(d + "GlobalXml/levels.xml", 100); }, "level list"},
        {"empty actions", [](const std::string& d) { Cut(d + "gsSystem/actions.xml", 0); }, "actions file"},
        {"a truncated menu layout", [](const std::string& d) { Cut(d + "MenuXmls/menuscreen.xaml", 2000); },
         "screen layout menuscreen.xaml"},
        {"a FIFO as the menu layout",
         [](const std::string& d) {
             Remove(d + "MenuXmls/menuscreen.xaml");
             ASSERT_EQ(mkfifo((d + "MenuXmls/menuscreen.xaml").c_str(), 0600), 0);
         },
         "screen layout menuscreen.xaml"},
        {"an empty navigation file", [](const std::string& d) { Cut(d + "MenuXmls/sketch.flow", 0); },
         "navigation file"},
    };
    for (const auto& [what, damage, named] : cases) {
        SCOPED_TRACE(what);
        const Outcome outcome = RunOn(damage, 30000);
        EXPECT_TRUE(outcome.ended && WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) != 0);
        EXPECT_NE(outcome.errors.find(named), std::string::npos) << outcome.errors;
        EXPECT_EQ(outcome.errors.find("level file"), std::string::npos) << outcome.errors;
    }
}

// The camera behaviours only move the cameras: without them the game runs on, logging it once.
TEST(DamagedData, AMissingOptionalFileIsLoggedOnceAndTheGameRunsOn) {
    const Outcome outcome = RunOn([](const std::string& d) { Remove(d + "GlobalXml/camerasbehaviors.xml"); }, 6000, true);
    EXPECT_FALSE(outcome.ended) << outcome.errors;
    size_t lines = 0;
    for (size_t at = outcome.errors.find("camerasbehaviors"); at != std::string::npos;
         at = outcome.errors.find("camerasbehaviors", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << outcome.errors;
}
