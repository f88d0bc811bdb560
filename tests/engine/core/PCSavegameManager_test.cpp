#include "engine/core/PCSavegameManager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/core/AGApplication.h"
#include "engine/core/Crc32Hash.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/FileContents.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace {

constexpr u32 kEdit = PCFileStream::kModeRead | PCFileStream::kModeWrite;
constexpr u32 kCreate = PCFileStream::kModeWrite | PCFileStream::kModeCreate;

std::string Image(size_t size, char fill) {
    std::string bytes(size, fill);
    bytes.replace(0, 4, "Gs\0\0", 4);
    return bytes;
}

// Writes a whole save image through the manager's replacing stream.
bool Save(PCSavegameManager& saves, const std::string& image) {
    std::unique_ptr<PCFileStream> stream(saves.OpenFile(kCreate));
    return stream && stream->Write(u32(image.size()), image.data()) == image.size() && stream->Commit();
}

class PCSavegameManagerTest : public ::testing::Test {
protected:
    void SetUp() override { m_env.Set("XDG_DATA_HOME", dir.Path()).Set("TMPDIR", temporary.Path()); }
    TempDir dir, temporary;
    ScopedEnv m_env;
};

}  // namespace

TEST_F(PCSavegameManagerTest, ASaveReplacesTheFileOnlyWhenCommittedAndAFailedWriteKeepsIt) {
    PCSavegameManager saves("Tallyvox");
    const std::string path = saves.GetPath().c_str();
    EXPECT_EQ(path, std::string(dir.Path()) + "/Korvo Inc/Tallyvox/savegame.bin");
    // No save yet: an edit starts empty.
    EXPECT_EQ(std::unique_ptr<PCFileStream>(saves.OpenFile(kEdit))->GetSize(), 0u);
    EXPECT_FALSE(std::filesystem::exists(path));
    const std::string first = Image(524288, 'o');
    ASSERT_TRUE(Save(saves, first));
    EXPECT_EQ(FileContents(path), first);

    // Closed without Commit after its bytes went out: the temporary file goes, the save stays.
    ASSERT_EQ(std::unique_ptr<PCFileStream>(saves.OpenFile(kCreate))->Write(600000, Image(600000, 'n').data()),
              600000u);
    EXPECT_EQ(std::pair(std::filesystem::exists(path + ".tmp"), FileContents(path)), std::pair(false, first));

    // Larger than the stream's cache, so that a copy takes more than one pass.
    ASSERT_TRUE(Save(saves, Image(700000, 's')));
    EXPECT_EQ(FileContents(path), Image(700000, 's'));

    // Without the create bit the stream starts from the save's bytes, read-write or write-only.
    for (u32 mode : {kEdit, PCFileStream::kModeWrite}) {
        std::unique_ptr<PCFileStream> edit(saves.OpenFile(mode));
        EXPECT_EQ(edit->GetSize(), 700000u);
        char head[4] = {};
        EXPECT_EQ(edit->Read(4, head), mode & PCFileStream::kModeRead ? 4u : 0u);
        EXPECT_TRUE(edit->Seek(500, AGIStream::kSeekStart) && edit->Write(2, "ab") == 2u && edit->Commit());
    }
    const std::string edited = Image(700000, 's').replace(500, 2, "ab");
    EXPECT_EQ(FileContents(path), edited);

    // A full disk, as the file-size limit makes writes past 4 KiB fail.
    LogCapture log;
    EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return Save(saves, Image(100000, 'n')); }));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Could not write the file " + path + ": File too large"});
    EXPECT_EQ(std::pair(std::filesystem::exists(path + ".tmp"), FileContents(path)), std::pair(false, edited));
    // An edit copies a save of up to 4 GiB - 1 bytes (until the limit stops the copy here).
    ASSERT_EQ(truncate(path.c_str(), off_t(UINT32_MAX)), 0);
    WithFileSizeLimit(4096, [&] {
        EXPECT_EQ(saves.OpenFile(kEdit), nullptr);
        PCFileStream plain;  // a plain stream's lost writes are reported under its file's name
        return plain.Open((path + "2").c_str(), PCFileStream::kModeWrite | PCFileStream::kModeCreate) &&
               plain.Write(8192, Image(8192, 'p').data());
    });
    EXPECT_TRUE(log.Contains("Could not read the file " + path + ": File too large") &&
                log.Contains("Could not write the file " + path + "2"));

    // A save that cannot be read is not edited.
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(saves.OpenFile(kEdit), nullptr);
    EXPECT_TRUE(log.Contains("Could not read the file") && !std::filesystem::exists(path + ".tmp"));
}

// The save stays where it is when its folder cannot be written (a write then fails and the save
// is kept); only a folder that cannot be made sends the save to the temporary folder.
TEST_F(PCSavegameManagerTest, AReadOnlySaveFolderKeepsTheSaveAndOnlyAnUnmadeOneFallsBack) {
    const std::string folder = dir.File("Korvo Inc/Tallyvox"), kept = dir.Write("Korvo Inc/Tallyvox/savegame.bin", "k");
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    LogCapture log;
    PCSavegameManager saves("Tallyvox");
    const bool saved = Save(saves, Image(64, 'n'));
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(saves.GetPath().c_str(), kept);
    // The super-user writes in any folder: the refusal is only seen by others.
    EXPECT_TRUE(geteuid() == 0 || (!saved && FileContents(kept) == "k" && log.Contains("cannot be written")));

    m_env.Set("XDG_DATA_HOME", dir.Write("plain", "a file, not a folder"));
    EXPECT_TRUE(PCSavegameManager("Tallyvox").GetPath().c_str() == temporary.Path() + "/savegame.bin" &&
                log.Contains("/plain/Korvo Inc/Tallyvox cannot be made: the save file is kept in " + temporary.Path()));
}

TEST_F(PCSavegameManagerTest, TheFirstMaxSaveGameSizeEntryThatIsNotZeroSetsTheLimit) {
    struct Entry {
        AGConfigEntry head;
        u32 value;
    };
    const Entry other{{Crc32Hash("SaveGameSize"), 0}, 1000}, zero{{Crc32Hash("MaxSaveGameSize"), 0}, 0};
    const Entry limit{{Crc32Hash("MaxSaveGameSize"), 0}, 4096}, later{{Crc32Hash("MaxSaveGameSize"), 0}, 8192};
    const AGConfigEntry* entries[] = {&other.head, &limit.head, &later.head};
    PCSavegameManager saves("Tallyvox");
    AGConfigList& list = ConfigEntries();
    const AGConfigList saved = list;
    saves.ReadMaxSize();
    EXPECT_EQ(saves.GetMaxSize(), 524288u);
    list.entries = entries;
    list.count = 3;
    EXPECT_EQ(FindConfigValue("SaveGameSize", list), &other.value);
    saves.ReadMaxSize();
    EXPECT_EQ(saves.GetMaxSize(), 4096u);
    entries[1] = &zero.head;
    saves.ReadMaxSize();
    EXPECT_EQ(saves.GetMaxSize(), 524288u);
    list.count = 1;
    EXPECT_EQ(FindConfigValue("MaxSaveGameSize", list), nullptr);
    list = saved;
}
