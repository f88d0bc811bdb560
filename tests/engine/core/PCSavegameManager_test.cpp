#include "engine/core/PCSavegameManager.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "engine/core/AGApplication.h"
#include "engine/core/Crc32Hash.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

// Sets an environment variable for the life of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvOverride() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

std::string Image(size_t size, char fill) {
    std::string bytes(size, fill);
    bytes.replace(0, 4, "Gs\0\0", 4);
    return bytes;
}

// Writes a whole save image through the manager's replacing stream.
bool Save(PCSavegameManager& saves, const std::string& image) {
    std::unique_ptr<PCFileStream> stream(
        saves.OpenFile(PCFileStream::kModeWrite | PCFileStream::kModeCreate));
    if (!stream)
        return false;
    if (stream->Write(u32(image.size()), image.data()) != image.size())
        return false;
    return stream->Commit();
}

}  // namespace

TEST(PCSavegameManagerTest, TheSaveFolderIsMadeUnderTheDataHome) {
    TempDir dir;
    const std::string home = dir.Path() + "/data/home";
    EnvOverride data("XDG_DATA_HOME", home + "/");
    PCSavegameManager saves("Tallyvox");
    EXPECT_EQ(std::string(saves.GetPath().c_str()), home + "/Korvo Inc/Tallyvox/savegame.bin");
    EXPECT_TRUE(IsFolder(home + "/Korvo Inc/Tallyvox"));
    PCSavegameManager again("Tallyvox");  // an existing folder is accepted
    EXPECT_EQ(again.GetPath(), saves.GetPath());
}

TEST(PCSavegameManagerTest, AnUnusableDataHomeFallsBackToTheTemporaryFolder) {
    TempDir dir;
    TempDir temporary;
    const std::string file = dir.Write("not-a-folder", "x");
    EnvOverride tmp("TMPDIR", temporary.Path());
    {
        EnvOverride data("XDG_DATA_HOME", file);
        PCSavegameManager saves("Tallyvox");
        EXPECT_EQ(std::string(saves.GetPath().c_str()), temporary.Path() + "/savegame.bin");
        EXPECT_TRUE(Save(saves, Image(64, 'a')));
        EXPECT_EQ(Contents(temporary.File("savegame.bin")), Image(64, 'a'));
    }
    if (geteuid() != 0) {
        const std::string locked = dir.Path() + "/locked";
        ASSERT_EQ(mkdir(locked.c_str(), 0500), 0);
        EnvOverride data("XDG_DATA_HOME", locked);
        PCSavegameManager saves("Tallyvox");
        EXPECT_EQ(std::string(saves.GetPath().c_str()), temporary.Path() + "/savegame.bin");
    }
    // A relative data home is ignored in favour of the home folder's default.
    EnvOverride homeVariable("HOME", dir.Path());
    EnvOverride data("XDG_DATA_HOME", "relative/share");
    PCSavegameManager saves("Tallyvox");
    EXPECT_EQ(std::string(saves.GetPath().c_str()),
              dir.Path() + "/.local/share/Korvo Inc/Tallyvox/savegame.bin");
}

TEST(PCSavegameManagerTest, TheSizeLimitComesFromTheConfigurationWhenSet) {
    TempDir dir;
    EnvOverride data("XDG_DATA_HOME", dir.Path());
    PCSavegameManager saves("Tallyvox");
    EXPECT_EQ(saves.GetMaxSize(), 0u);
    saves.ReadMaxSize();
    EXPECT_EQ(saves.GetMaxSize(), 524288u);

    struct Entry {
        AGConfigEntry head;
        u32 value;
    } entry{{Crc32Hash("MaxSaveGameSize"), 0}, 1000};
    const AGConfigEntry* entries[] = {&entry.head};
    AGConfigList saved = ConfigEntries();
    ConfigEntries() = AGConfigList{1, entries};
    saves.ReadMaxSize();
    const u32 configured = saves.GetMaxSize();
    entry.value = 0;
    saves.ReadMaxSize();
    const u32 zero = saves.GetMaxSize();
    ConfigEntries() = saved;
    EXPECT_EQ(configured, 1000u);
    EXPECT_EQ(zero, 524288u);
}

TEST(PCSavegameManagerTest, ASaveReplacesTheFileOnlyWhenCommitted) {
    TempDir dir;
    EnvOverride data("XDG_DATA_HOME", dir.Path());
    PCSavegameManager saves("Tallyvox");
    const std::string path = saves.GetPath().c_str();
    const std::string temporary = path + ".tmp";
    const std::string first = Image(524288, 'o');
    ASSERT_TRUE(Save(saves, first));
    EXPECT_EQ(Contents(path), first);
    EXPECT_FALSE(Exists(temporary));

    // Killed after the temporary file got its bytes: the old save is untouched.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PCFileStream* stream = saves.OpenFile(PCFileStream::kModeWrite | PCFileStream::kModeCreate);
        const std::string next = Image(600000, 'n');
        if (stream)
            stream->Write(u32(next.size()), next.data());
        _exit(stream ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(Exists(temporary));
    EXPECT_EQ(Contents(path), first);

    // Closed without Commit: the temporary file goes, the save stays.
    {
        std::unique_ptr<PCFileStream> stream(saves.OpenFile(PCFileStream::kModeWrite));
        ASSERT_TRUE(stream);
        stream->Write(5, "Gs\0\0x");
    }
    EXPECT_FALSE(Exists(temporary));
    EXPECT_EQ(Contents(path), first);

    const std::string second = Image(1000, 's');
    ASSERT_TRUE(Save(saves, second));
    EXPECT_EQ(Contents(path), second);

    std::unique_ptr<PCFileStream> reader(saves.OpenFile(PCFileStream::kModeRead));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetSize(), 1000u);
}

TEST(PCSavegameManagerTest, AFailedWriteIsReportedAndKeepsThePreviousSave) {
    TempDir dir;
    EnvOverride data("XDG_DATA_HOME", dir.Path());
    PCSavegameManager saves("Tallyvox");
    const std::string path = saves.GetPath().c_str();
    const std::string first = Image(3000, 'o');
    ASSERT_TRUE(Save(saves, first));

    // A full disk, as the file-size limit makes writes past 4 KiB fail.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    LogCapture log;
    const bool saved100k = Save(saves, Image(100000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved100k);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_NE(log.Lines()[0].find("Could not write the file"), std::string::npos);
    EXPECT_EQ(Contents(path), first);
    EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST(PCSavegameManagerTest, OpenFailsWithoutTheFolder) {
    TempDir dir;
    EnvOverride data("XDG_DATA_HOME", dir.Path());
    PCSavegameManager saves("Tallyvox");
    std::filesystem::remove_all(dir.Path() + "/Korvo Inc");
    EXPECT_EQ(saves.OpenFile(PCFileStream::kModeRead), nullptr);
    EXPECT_EQ(saves.OpenFile(PCFileStream::kModeWrite), nullptr);
}
