#include "platform/settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "tests/support/FileContents.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

using platform::settings::ParseU32;
using platform::settings::SettingsFile;

namespace {

// The value under the name, or "none", and a space.
std::string Value(const SettingsFile& file, const char* name) {
    uint32_t v = 99;
    const bool found = file.GetU32(name, v);
    return (found ? std::to_string(v) : v == 99 ? "none" : "changed") + " ";
}

size_t CountEntries(const std::string& folder) {
    return size_t(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

// Only unsigned 32-bit decimals are numbers. Values are read with malformed ones ignored and
// other lines kept on set; missing, oversized and unreadable files; saves.
TEST(SettingsFile, ReadsValuesKeepsOtherLinesOnSetTellsFilesItCannotReadAndSavesWholeOrNotAtAll) {
    uint32_t v = 7, w = 7;
    EXPECT_TRUE(ParseU32(" 4294967295 ", v) && ParseU32("0000000001", w));
    EXPECT_EQ(std::pair(v, w), std::pair(4294967295u, 1u));
    for (const char* bad : {"", "abc", "12abc", "-1", "+1", "4294967296", "99999999999", "0x10", "1 2"})
        EXPECT_FALSE(ParseU32(bad, v)) << bad;
    EXPECT_EQ(std::pair(v, w), std::pair(4294967295u, 1u));

    TempDir dir;
    std::string path = dir.Write("settings", "Fullscreen=1\r\n# note\r\nWindowWidth=abc\nWindowHeight = 720 \n"
                                             "junk line\n=5");  // no newline at the end
    SettingsFile file;
    ASSERT_EQ(file.Load(path), SettingsFile::LoadResult::Loaded);
    // Names are exact.
    const std::string values = Value(file, "Fullscreen") + Value(file, "WindowHeight") + Value(file, "WindowWidth");
    EXPECT_EQ(values + Value(file, "fullscreen"), "1 720 none none ");

    file.SetU32("Fullscreen", 0);
    file.SetU32("HideCursor", 1);
    EXPECT_EQ(file.Text(), "Fullscreen=0\n# note\nWindowWidth=abc\nWindowHeight = 720 \njunk line\n=5\nHideCursor=1\n");

    EXPECT_EQ(platform::settings::SettingsPath(""), "");  // a program without a name has none
    EXPECT_EQ(file.Load(dir.Write("plain", "") + "/settings"), SettingsFile::LoadResult::Missing);
    std::string error;
    EXPECT_TRUE(file.Load(dir.File("plain"), &error) == SettingsFile::LoadResult::Loaded && error.empty());

    const std::string big = "Fullscreen=1\n" + std::string(SettingsFile::kMaxFileSize, '#');
    const std::string longName = dir.File(std::string(250, 'n'));  // fits, but not with a suffix added
    std::filesystem::create_directories(dir.File("folder"));
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);  // would block a plain open for ever
    for (auto [bad, reason] : {std::pair{dir.Write("big", big), "too large"}, {dir.File("folder"), "not a regular"},
                               {dir.File("fifo"), "not a regular file"}, {longName + "nnnnnnnnnn", "cannot open"}}) {
        EXPECT_EQ(file.Load(bad, &error), SettingsFile::LoadResult::Failed);
        EXPECT_TRUE(error.find(reason) != std::string::npos && Value(file, "Fullscreen") == "none ") << error;
    }

    // A load replaces what an earlier load read, whatever its result.
    ASSERT_EQ(file.Load(dir.Write("small", "Fullscreen=1\n")), SettingsFile::LoadResult::Loaded);
    EXPECT_TRUE(file.Load(dir.File("absent")) == SettingsFile::LoadResult::Missing && file.Text().empty());

    // A save creates the folders and replaces the file whole or not at all: a write that fails
    // half way (here: the file-size limit) or a rename that cannot happen leaves the old file
    // and no temporary file.
    const std::string old = "Fullscreen=1\n";
    path = dir.Path() + "/cfg/Tallyvox/settings";
    file.SetU32("Fullscreen", 1);
    ASSERT_TRUE(file.Save(path, &error)) << error;
    EXPECT_EQ(FileContents(path), old);

    for (int i = 0; i < 200; ++i)
        file.SetU32("Value" + std::to_string(i), 4000000000u);

    const bool savedOk = WithFileSizeLimit(100, [&] { return file.Save(path, &error); });
    EXPECT_TRUE(!savedOk && error.starts_with("cannot write")) << error;
    EXPECT_EQ(std::pair(FileContents(path), CountEntries(dir.File("cfg/Tallyvox"))), std::pair(old, size_t(1)));

    std::filesystem::create_directories(dir.File("cfg/Tallyvox/folder"));  // a folder in the way
    EXPECT_TRUE(!file.Save(dir.File("cfg/Tallyvox/folder"), &error) && error.starts_with("cannot replace")) << error;
    // A file where a folder goes.
    EXPECT_TRUE(!file.Save(path + "/below/settings", &error) && error.starts_with("cannot create folder")) << error;
    EXPECT_EQ(CountEntries(dir.File("cfg/Tallyvox")), 2u);
    EXPECT_TRUE(!file.Save(longName, &error) && error.starts_with("cannot create " + longName + ".")) << error;
    // The root folder needs no making ("/" itself cannot be replaced).
    EXPECT_TRUE(!file.Save("/", &error) && error.find("folder") == std::string::npos) << error;
}

}  // namespace
