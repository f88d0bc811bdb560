#include "engine/core/PCFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/AGMemory.h"
#include "engine/core/PCFileManager.h"
#include "platform/core/AlertableSleep.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"

TEST(PCFile, WritesShortReadsWriteStringExistsAndOverlappedReadsWaitForTheSleep) {
    TempDir dir;
    const std::string path = dir.Write("out.bin", "old");
    PCFile file;
    ASSERT_TRUE(file.Open(path.c_str(), AGFile::kModeRead | AGFile::kModeWrite, false));
    char tail[8] = {};
    const bool done = file.Write("0123456789", 10) && file.Seek(6) && file.Read(tail, 8) && file.IsDone();
    // A short read records the real count.
    EXPECT_EQ(std::make_tuple(done, file.LastReadCount(), std::string(tail)), std::make_tuple(true, 4u, "6789"));
    // WriteString writes the terminator too.
    EXPECT_TRUE(file.WriteString("abc") && file.WriteString("") && !file.WriteString(nullptr));
    file.Close();
    EXPECT_TRUE(!file.IsDone() && FileContents(path) == std::string("0123456789abc\0\0", 15));

    PCFileManager files;
    EXPECT_TRUE(files.Exists(path.c_str()) && files.Exists(dir.Path().c_str()) &&
                !files.Exists(dir.File("missing").c_str()) && files.IsDirectory(dir.Path().c_str()));
    EXPECT_FALSE(files.IsDirectory(path.c_str()) || files.IsDirectory(dir.File("missing").c_str()));

    // Overlapped reads complete in the alertable sleep; the file is done only after the last
    // completion, and not after one with an error; a closed file's completions never run.
    const std::string stream = dir.Write("stream.bin", "abcdefghij");
    ASSERT_TRUE(file.Open(stream.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false));
    char first[4] = {}, second[3] = {};
    ASSERT_TRUE(file.Read(first, 4));
    file.SetReadOffset(7);
    ASSERT_TRUE(file.Read(second, 3));
    EXPECT_EQ(std::make_pair(file.Pending(), file.IsDone()), std::make_pair(2u, false));
    platform::AlertableSleep(0);
    EXPECT_EQ(std::make_pair(file.Pending(), file.IsDone()), std::make_pair(0u, true));
    EXPECT_EQ(file.LastReadCount(), 3u) << "the second completion ran last";
    EXPECT_EQ(std::string(first, 4) + std::string(second, 3), "abcdhij");

    file.SetReadOffset(0);
    ASSERT_TRUE(file.Read(first, 4));
    file.SetReadOffset(100);
    ASSERT_TRUE(file.Read(second, 3));
    platform::AlertableSleep(0);
    EXPECT_EQ(std::make_pair(file.Pending(), file.IsDone()), std::make_pair(1u, false));

    auto* deleted = new PCFile;
    ASSERT_TRUE(deleted->Open(stream.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false) && deleted->Read(first, 4));
    delete deleted;
    file.Close();
    ASSERT_TRUE(file.Open(stream.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false) && file.Read(first, 4));
    file.Close();
    EXPECT_EQ(file.Pending(), 0u);
    platform::AlertableSleep(0);  // would touch the freed file if a completion ran
    EXPECT_FALSE(file.IsDone());
    // A whole file read overlapped is the window while the read is still in flight.
    ASSERT_TRUE(file.Open(stream.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, true));
    EXPECT_EQ(file.Remaining(), 10u);
    platform::AlertableSleep(0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Base()), 10), "abcdefghij");
    file.Close();  // the window goes with the buffer
    EXPECT_EQ(file.Remaining(), 0u);
    // A file of 4 GiB or more is not read whole.
    std::filesystem::resize_file(dir.Write("huge.bin", ""), 0xFFFFFFFFull);
    EXPECT_TRUE(!file.Open(dir.File("huge.bin").c_str(), AGFile::kModeRead, true) && !file.IsOpen());
    // A file holding less than its size says (as sysfs files do) is the window it holds.
    if (file.Open("/sys/devices/system/cpu/online", AGFile::kModeRead, true) && file.GetSize() == 4096) {
        EXPECT_TRUE(file.Remaining() > 0 && file.Remaining() < 4096 && file.Base()[file.Remaining()] == 0);
    }
    // A file opened again is not done. A read that cannot be started fails and closes the
    // file, leaving nothing in flight.
    ASSERT_TRUE(file.Open(stream.c_str(), AGFile::kModeRead | AGFile::kModeOverlapped, false) && !file.IsDone());
    EXPECT_TRUE(!file.Read(nullptr, 4) && file.Pending() == 0 && !file.IsOpen());
    // So does a plain read that fails (nothing is mapped at address 0).
    ASSERT_TRUE(file.Open("/proc/self/mem", AGFile::kModeRead, false));
    EXPECT_TRUE(!file.Read(first, 4) && !file.IsOpen());
}

TEST(AGMemBuffer, AStringWithoutTerminatorStopsAtTheEndOfTheWindow) {
    const char bytes[] = {'a', 0, 'b', 'c', 'X'};
    AGMemBuffer buffer(bytes, 4);  // the window ends before 'X'
    for (auto [read, text] : {std::pair{true, "a"}, {false, "bc"}, {false, ""}}) {
        EXPECT_EQ(buffer.ReadString(), read) << text;
        EXPECT_EQ(buffer.LastString(), text);
    }
    EXPECT_TRUE(buffer.Failed() && buffer.Remaining() == 0);
    AGMemBuffer seeking(bytes, 4);
    EXPECT_TRUE(seeking.Seek(4) && seeking.Remaining() == 0 && seeking.Seek(2) && !seeking.Failed());
    EXPECT_TRUE(!seeking.Seek(5) && seeking.Failed() && seeking.Remaining() == 2);
    AGMemBuffer skipping(bytes, 4);
    EXPECT_TRUE(!skipping.Skip(5) && skipping.Failed());
    // A count of records that cannot fit in what is left fails the window too.
    AGMemBuffer counting(bytes, 4);
    EXPECT_TRUE(counting.CheckCount(2, 2) && !counting.Failed());
    EXPECT_TRUE(!counting.CheckCount(0x40000001u, 4) && counting.Failed());
    // A window over no bytes (a file that failed to load) reads nothing.
    AGMemBuffer empty;
    EXPECT_TRUE(empty.ReadU32() == 0 && !empty.ReadString() && empty.Failed() && !empty.CheckCount(1, 1));
}
