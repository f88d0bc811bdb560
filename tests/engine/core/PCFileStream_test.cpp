#include "engine/core/PCFileStream.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/support/FileContents.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

std::string Pattern(size_t size, u32 seed) {
    std::string bytes(size, '\0');
    u32 x = seed;
    for (char& c : bytes) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    return bytes;
}

constexpr u32 kRead = PCFileStream::kModeRead;
constexpr u32 kWrite = PCFileStream::kModeWrite;

class PCFileStreamTest : public ::testing::Test {
protected:
    TempDir dir;
    PCFileStream stream;
};

}  // namespace

TEST_F(PCFileStreamTest, SeeksInsideTheCacheDoNoFileIoAndOutsideFlushFirst) {
    const std::string bytes = Pattern(700000, 2);
    const std::string path = dir.Write("big.bin", bytes);
    ASSERT_TRUE(stream.Open(path.c_str(), kRead | kWrite));
    char out[16];
    ASSERT_EQ(stream.Read(10, out), 10u);

    const u64 before = PCFileStream::FileOperationCount();
    const bool inCache = stream.Seek(100, AGIStream::kSeekStart) && stream.Write(4, "WXYZ") == 4 &&
                         stream.Seek(PCFileStream::kCacheSize - 1, AGIStream::kSeekStart) &&
                         stream.Seek(0, AGIStream::kSeekStart) && stream.Read(10, out) == 10;
    EXPECT_EQ(std::pair(inCache, PCFileStream::FileOperationCount()), std::pair(true, before));
    EXPECT_EQ(FileContents(path).substr(100, 4), bytes.substr(100, 4));  // still only cached

    // Just past the 512 KiB window.
    EXPECT_TRUE(stream.Seek(512 * 1024 + 1, AGIStream::kSeekStart) && PCFileStream::FileOperationCount() > before);
    EXPECT_EQ(FileContents(path).substr(100, 4), "WXYZ");  // written before the window moved
    ASSERT_EQ(stream.Read(16, out), 16u);
    // A window that was only read is not written back: a change made meanwhile stays.
    dir.Write("big.bin", "changed");
    stream.Close();
    EXPECT_TRUE(FileContents(path) == "changed");
}

TEST_F(PCFileStreamTest, MixedOperationsAcrossWindowsMatchAPlainBuffer) {
    std::string model = Pattern(1200000, 3);
    const std::string path = dir.Write("mixed.bin", model);
    ASSERT_TRUE(stream.Open(path.c_str(), kRead | kWrite));
    u32 position = 0;
    u32 x = 99;
    auto next = [&x](u32 bound) {
        x = x * 1664525u + 1013904223u;
        return (x >> 8) % bound;
    };
    std::string buffer;
    for (int op = 0; op < 160; ++op) {
        const u32 kind = next(3);
        if (kind == 0) {
            const u32 target = next(u32(model.size()) + 1);
            ASSERT_TRUE(stream.Seek(target, AGIStream::kSeekStart));
            position = target;
        } else if (kind == 1) {
            const u32 count = next(300000);
            buffer.assign(count, '\0');
            const u32 got = stream.Read(count, buffer.data());
            const u32 expected = std::min<u32>(count, u32(model.size()) - position);
            ASSERT_EQ(got, expected) << "op " << op;
            ASSERT_EQ(buffer.substr(0, got), model.substr(position, got)) << "op " << op;
            position += got;
        } else {
            const u32 count = next(300000);
            const std::string data = Pattern(count, x);
            ASSERT_EQ(stream.Write(count, data.data()), count);
            if (position + count > model.size())
                model.resize(position + count);
            model.replace(position, count, data);
            position += count;
        }
        ASSERT_EQ(std::pair(size_t(stream.GetSize()), stream.Position()), std::pair(model.size(), position));
    }
    stream.Close();
    EXPECT_TRUE(!stream.Failed() && !stream.IsOpen() && FileContents(path) == model);
}

// A small read-only file gets a cache of its size; a write keeps the rest of the file.
TEST_F(PCFileStreamTest, OpenKeepsTheRestOfTheFileAndRefusesNonFiles) {
    const std::string bytes = Pattern(100, 1);
    ASSERT_TRUE(stream.Open(dir.Write("small.bin", bytes).c_str(), kRead));
    std::string out(200, '\0');
    EXPECT_EQ(out.substr(0, stream.Read(200, out.data())), bytes);
    EXPECT_EQ(stream.Write(1, "x"), 0u);  // opened for reading only
    stream.Close();
    const std::string path = dir.Write("keep.bin", "0123456789");
    ASSERT_TRUE(stream.Open(path.c_str(), kWrite));
    EXPECT_TRUE(stream.Seek(4, AGIStream::kSeekStart) && stream.Write(2, "ab") == 2u);
    const u64 before = PCFileStream::FileOperationCount();
    EXPECT_TRUE(stream.Commit() && PCFileStream::FileOperationCount() - before == 3u);  // write, sync, close
    EXPECT_EQ(FileContents(path), "0123ab6789");
    // A replacing write put in place closes the file and its folder again; a temporary file
    // left from before does not lengthen it.
    dir.Write("keep.bin.tmp", "stale and longer");
    auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    ASSERT_TRUE(stream.OpenReplacing((path + ".tmp").c_str(), path.c_str(), kRead | kWrite) && stream.Commit());
    EXPECT_EQ(std::pair(openFiles(), FileContents(path)), std::pair(filesBefore, std::string("0123ab6789")));
    // A one-byte file is written whole.
    ASSERT_TRUE(stream.Open(dir.File("one.bin").c_str(), kWrite | PCFileStream::kModeCreate));
    EXPECT_EQ(stream.Write(1, "x"), 1u);
    stream.Close();
    EXPECT_EQ(FileContents(dir.File("one.bin")), "x");
    const std::string device = dir.File("device");
    ASSERT_EQ(symlink("/dev/null", device.c_str()), 0);  // no file to start the copy from
    EXPECT_FALSE(stream.Open(dir.Path().c_str(), kRead) || stream.Open(device.c_str(), kRead) ||
                 stream.Commit() || stream.Seek(0, AGIStream::kSeekStart));
    EXPECT_FALSE(stream.Open(dir.File("no/such/folder.bin").c_str(), kRead | kWrite));
    LogCapture log;
    EXPECT_FALSE(stream.OpenReplacing((device + ".tmp").c_str(), device.c_str(), kRead | kWrite));
    EXPECT_TRUE(log.Contains("Invalid argument"));
    // A replacement whose folder is gone fails and leaves no temporary file behind.
    const std::string lost = dir.File("lost.tmp");
    ASSERT_TRUE(stream.OpenReplacing(lost.c_str(), dir.File("gone/x.bin").c_str(), kWrite | PCFileStream::kModeCreate));
    EXPECT_TRUE(!stream.Commit() && log.Contains("Could not replace") && !std::filesystem::exists(lost));
}

// A read the system refuses fails the stream instead of passing for the end of the file.
TEST_F(PCFileStreamTest, AReadTheSystemRefusesFailsTheStream) {
    const std::string path = dir.Write("refused.bin", Pattern(100, 4));
    ASSERT_TRUE(stream.Open(path.c_str(), kRead));
    // The stream's descriptor is swapped for one of a folder, whose reads fail.
    const std::string real = std::filesystem::canonical(path);
    int handle = -1;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == real)
            handle = std::stoi(entry.path().filename().string());
    }
    ASSERT_GE(handle, 0);
    const int folder = open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(dup2(folder, handle), handle);
    close(folder);
    char out[10];
    EXPECT_EQ((std::pair{stream.Read(10, out), stream.Failed()}), std::pair(0u, true));  // in this order
}
