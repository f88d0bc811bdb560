// The program started as a player starts it, on a copy of the built sample data with one entry
// damaged: a file the game cannot run without is named on standard error (no log asked for)
// and the program ends with a failure status; a file it can do without leaves the game running.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"

namespace {

// The entry removed (kRemove), made a FIFO (kFifo) or cut to `size` bytes.
constexpr off_t kRemove = -1, kFifo = -2;
// Still running when it was killed (only then is the log asked for too).
constexpr int kRunsOn = 128 + SIGKILL;

// The program's exit status in a copy of the built data with `entry` damaged, and what it wrote
// on standard error. Given `runsOnUntil`, the program is logged and killed once that text is on
// standard error (a second later, to see it is told once), or after two minutes; otherwise it has
// two minutes to end by itself.
std::pair<int, std::string> RunOn(const std::string& entry, off_t size, const char* runsOnUntil) {
    TempDir dir;
    const std::string data = dir.File("data"), path = data + "/" + entry, errors = dir.File("errors");
    std::filesystem::copy(TALLYVOX_BUILT_CONTENT, data, std::filesystem::copy_options::recursive);
    EXPECT_TRUE(size < 0 ? std::filesystem::remove_all(path) > 0 && (size == kRemove || mkfifo(path.c_str(), 0600) == 0)
                         : truncate(path.c_str(), size) == 0);
    const std::string program = "env -u TALLYVOX_LOG " + std::string(runsOnUntil ? "TALLYVOX_LOG=1 " : "") +
                                "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy XDG_DATA_HOME='" + dir.Path() +
                                "' XDG_CONFIG_HOME='" + dir.Path() + "' " + (runsOnUntil ? "" : "timeout -s KILL 120 ") +
                                "'" TALLYVOX_PROGRAM "' 2> '" + errors + "'";
    // A wait on the log, not a fixed time: a loaded machine may take long to get there. `env` runs
    // the program in its own process, so the kill reaches the program itself.
    const std::string command =
        "cd '" + data + "' && " +
        (runsOnUntil ? program + " & pid=$!; for i in $(seq 1200); do grep -q '" + runsOnUntil + "' '" + errors +
                           "' && break; kill -0 $pid 2>/dev/null || break; sleep 0.1; done; sleep 1; "
                           "kill -KILL $pid 2>/dev/null; wait $pid"
                     : program);
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileContents(errors)};
}

}  // namespace

// Every class of file the game needs (a package, its index, the parameters, the level list, the
// actions, a screen layout truncated or a FIFO in its place, the navigation file) is named once,
// as what it is; the camera behaviours only move the cameras: the game runs on, logging it once.
TEST(DamagedData, ANeededFileIsNamedAndFailsTheProgramAnOptionalOneIsLogged) {
    const std::tuple<const char*, off_t, int, const char*> cases[] = {
        {"gsSystem", kRemove, 1, "system package gsSystem.dir"},
        {"Global2D", kRemove, 1, "package Global2D.dir"},
        {"GlobalXml/GlobalXml.hdr", 40, 1, "package GlobalXml.dir"},
        {"MenuXmls/MenuXmls.hdr", 0, 1, "package MenuXmls.dir"},
        {"gsSystem/runtimeparameters.xml", 0, 1, "parameters file"},
        {"GlobalXml/levels.xml", 100, 1, "level list"},
        {"gsSystem/actions.xml", 0, 1, "actions file"},
        {"MenuXmls/menuscreen.xaml", 2000, 1, "screen layout MenuScreen.xaml"},
        {"MenuXmls/menuscreen.xaml", kFifo, 1, "screen layout MenuScreen.xaml"},
        {"MenuXmls/sketch.flow", 0, 1, "navigation file"},
        {"GlobalXml/camerasbehaviors.xml", kRemove, kRunsOn, "camerasbehaviors"},
    };
    for (const auto& [entry, size, status, named] : cases) {
        SCOPED_TRACE(std::string(entry) + " " + std::to_string(size));
        const auto [ended, errors] = RunOn(entry, size, status == kRunsOn ? named : nullptr);
        const size_t first = errors.find(named);
        EXPECT_EQ(ended, status);
        EXPECT_TRUE(first != std::string::npos && errors.find(named, first + 1) == std::string::npos &&
                    errors.find("level file") == std::string::npos) << errors;
    }
}
