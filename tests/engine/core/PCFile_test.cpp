#include "engine/core/PCFile.h"

#include <gtest/gtest.h>

#include "engine/core/AGMemory.h"
#include "engine/core/PCFileManager.h"
#include "platform/core/AlertableSleep.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"

TEST(PCFile, AMissingFileGivesAClosedFileWithAnEmptyWindow) {
    TempDir dir;
    PCFileManager files;
    AGFile* file = files.Open(dir.File("missing.bin").c_str(), AGFile::kModeRead, true);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(static_cast<PCFile*>(file)->IsOpen());
    EXPECT_EQ(file->Base(), nullptr);
    EXPECT_EQ(file->Size(), 0u);
    delete file;
}

TEST(PCFile, ReadWholeLeavesAZeroAfterTheData) {
    TempDir dir;
    const std::string path = dir.Write("Doc.XML", "<a/>");
    PCFile file;
    // Backslashes and case do not matter.
    ASSERT_TRUE(file.Open((dir.Path() + "\\doc.xml").c_str(), AGFile::kModeRead, true));
    ASSERT_EQ(file.Size(), 4u);
    EXPECT_EQ(file.Base()[4], 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(file.Base()), "<a/>");

    // The whole-file buffer is the file's own and goes with Close.
    const std::string big = dir.Write("big.bin", std::string(5000, 'b'));
    file.Close();
    const u64 before = GetHeapCounters().current;
    ASSERT_TRUE(file.Open(big.c_str(), AGFile::kModeRead, true));
    EXPECT_GT(GetHeapCounters().current, before);
    file.Close();
    EXPECT_EQ(GetHeapCounters().current, before);
}

TEST(PCFile, AShortReadRecordsTheRealCount) {
    TempDir dir;
    const std::string path = dir.Write("out.bin", "old");
    PCFile file;
    ASSERT_TRUE(file.Open(path.c_str(), AGFile::kModeRead | AGFile::kModeWrite, false));
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_TRUE(file.Seek(6));
    char tail[8] = {};
    ASSERT_TRUE(file.Read(tail, 8));
    EXPECT_EQ(file.LastReadCount(), 4u) << "a short read records the real count";
    EXPECT_STREQ(tail, "6789");
    EXPECT_TRUE(file.IsDone());
    file.Close();
    EXPECT_FALSE(file.IsDone());
}

TEST(PCFile, OverlappedReadsAreDoneOnlyAfterTheAlertableSleep) {
    TempDir dir;
    const std::string path = dir.Write("stream.bin", "abcdefghij");
    PCFile file;
    ASSERT_TRUE(file.Open(path.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false));
    char first[4] = {}, second[3] = {};
    ASSERT_TRUE(file.Read(first, 4));
    file.SetReadOffset(7);
    ASSERT_TRUE(file.Read(second, 3));
    EXPECT_EQ(file.Pending(), 2u);
    EXPECT_FALSE(file.IsDone());

    platform::AlertableSleep(0);
    EXPECT_EQ(file.Pending(), 0u);
    EXPECT_TRUE(file.IsDone());
    EXPECT_EQ(file.LastReadCount(), 3u) << "the second completion ran last";
    EXPECT_EQ(std::string(first, 4), "abcd");
    EXPECT_EQ(std::string(second, 3), "hij");

    // A completion with an error leaves the file not done, though the other one succeeded.
    file.SetReadOffset(0);
    ASSERT_TRUE(file.Read(first, 4));
    file.SetReadOffset(100);
    ASSERT_TRUE(file.Read(second, 3));
    platform::AlertableSleep(0);
    EXPECT_EQ(file.Pending(), 1u);
    EXPECT_FALSE(file.IsDone());
}

TEST(PCFile, WriteStringWritesTheTerminatorAndExistsTakesFolders) {
    TempDir dir;
    const std::string path = dir.File("text.bin");
    PCFile file;
    ASSERT_TRUE(file.Open(path.c_str(), AGFile::kModeWrite, false));
    EXPECT_TRUE(file.WriteString("abc"));
    EXPECT_TRUE(file.WriteString(""));
    EXPECT_FALSE(file.WriteString(nullptr));
    file.Close();
    EXPECT_EQ(FileContents(path), std::string("abc\0\0", 5));

    PCFileManager files;
    EXPECT_TRUE(files.Exists(path.c_str()));
    EXPECT_TRUE(files.Exists(dir.Path().c_str()));
    EXPECT_FALSE(files.Exists(dir.File("missing").c_str()));
    EXPECT_TRUE(files.IsDirectory(dir.Path().c_str()));
    EXPECT_FALSE(files.IsDirectory(path.c_str()));
    EXPECT_FALSE(files.IsDirectory(dir.File("missing").c_str()));
}

TEST(PCFile, ClosingWithAReadPendingMeansItsCompletionNeverRuns) {
    TempDir dir;
    const std::string path = dir.Write("stream.bin", "abcdefghij");
    char buffer[4];
    auto* file = new PCFile;
    ASSERT_TRUE(file->Open(path.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false));
    ASSERT_TRUE(file->Read(buffer, 4));
    delete file;
    platform::AlertableSleep(0);  // would touch the freed file if the completion ran

    PCFile closed;
    ASSERT_TRUE(closed.Open(path.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false));
    ASSERT_TRUE(closed.Read(buffer, 4));
    closed.Close();
    platform::AlertableSleep(0);
    EXPECT_FALSE(closed.IsDone());
}

TEST(AGMemBuffer, AStringWithoutTerminatorStopsAtTheEndOfTheWindow) {
    const char bytes[] = {'a', 0, 'b', 'c', 'X'};
    AGMemBuffer buffer(bytes, 4);  // the window ends before 'X'
    EXPECT_TRUE(buffer.ReadString());
    EXPECT_EQ(buffer.LastString(), "a");
    EXPECT_FALSE(buffer.ReadString());
    EXPECT_EQ(buffer.LastString(), "bc");
    EXPECT_EQ(buffer.Remaining(), 0u);
    EXPECT_TRUE(buffer.Failed());
    AGMemBuffer seeking(bytes, 4);
    EXPECT_TRUE(seeking.Seek(4));
    EXPECT_EQ(seeking.Remaining(), 0u);
    EXPECT_TRUE(seeking.Seek(2));
    EXPECT_EQ(seeking.Remaining(), 2u);
    EXPECT_FALSE(seeking.Failed());
    EXPECT_FALSE(seeking.Seek(5));
    EXPECT_TRUE(seeking.Failed());
    EXPECT_EQ(seeking.Remaining(), 2u);
    EXPECT_FALSE(buffer.ReadString());
    EXPECT_EQ(buffer.LastString(), "");
}
