#include "platform/file/File.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/core/AlertableSleep.h"
#include "platform/file/Path.h"
#include "tests/support/TempDir.h"

using namespace platform;

namespace {

// Completion contexts: each records "<name>:<error>:<bytes>" and the thread it ran on.
struct Log { std::vector<std::string> calls; std::thread::id thread; };
struct Call { Log* log; std::string name; };
void Record(void* context, uint32_t error, uint32_t bytes) {
    auto* call = static_cast<Call*>(context);
    call->log->thread = std::this_thread::get_id();
    call->log->calls.push_back(call->name + ":" + std::to_string(error) + ":" + std::to_string(bytes));
}

// Backslashes and case are resolved for reading and creating; descriptor 0 is a file like any other.
TEST(File, BackslashesAndCaseAreResolvedForReadingAndCreatingAndDescriptorZeroIsAFileLikeAnyOther) {
    TempDir dir;
    dir.Write("Data/GlobalXml/List.TXT", "abc");
    const std::string asked = dir.Path() + "\\data\\globalxml\\list.txt";
    EXPECT_EQ(ResolvePath(asked.c_str()), dir.Path() + "/Data/GlobalXml/List.TXT");
    File file;
    ASSERT_TRUE(file.Open(asked.c_str(), true, false));
    char bytes[4] = {};
    EXPECT_EQ((std::pair{file.Read(bytes, 4), std::string(bytes)}), std::pair(int64_t(3), std::string("abc")));

    // A name created after the folder was listed is still found.
    dir.Write("Data/GlobalXml/Later.bin", "x");
    EXPECT_TRUE(StatPath((dir.Path() + "/data/globalxml/later.BIN").c_str(), nullptr));
    EXPECT_FALSE(StatPath((dir.Path() + "/data/globalxml/none.bin").c_str(), nullptr));
    // From the first name that matches nothing, the rest is kept as written.
    EXPECT_EQ(ResolvePath((dir.Path() + "/data/absent/More/x.bin").c_str()), dir.Path() + "/Data/absent/More/x.bin");

    ASSERT_TRUE(file.Open((dir.Path() + "/data/new.bin").c_str(), false, true));
    EXPECT_TRUE(file.Write("hi", 2) && StatPath((dir.Path() + "/Data/new.bin").c_str(), nullptr));

    // A program started with its standard input closed gets descriptor 0 for the next file it
    // opens; that file behaves like any other (closing frees it), and a file not yet opened holds none.
    const std::string path = dir.Write("f.bin", "abcd");
    const int savedInput = dup(0);
    ASSERT_GE(savedInput, 0);
    close(0);
    File zero;
    const bool atZero =
        !zero.IsOpen() && zero.Open(path.c_str(), true, false) && zero.IsOpen() && fcntl(0, F_GETFD) != -1;
    const int64_t read = zero.Seek(1) ? zero.Read(bytes, 4) : -2;
    const int64_t readAt = zero.ReadAt(2, bytes, 4);
    zero.Close();
    const bool freed = fcntl(0, F_GETFD) == -1;
    // A folder is no file, at descriptor 0 too.
    const bool folderRefused = !zero.Open(dir.Path().c_str(), true, false) && fcntl(0, F_GETFD) == -1;
    dup2(savedInput, 0);
    close(savedInput);
    EXPECT_EQ(std::tuple(atZero, read, readAt, freed, folderRefused),
              std::tuple(true, int64_t(3), int64_t(2), true, true));
}

struct Chain {
    File* file;
    int runs = 0;
    char buffer[2] = {};
};
void ReadAgain(void* context, uint32_t, uint32_t) {
    auto* chain = static_cast<Chain*>(context);
    ++chain->runs;
    chain->file->ReadOverlapped(0, chain->buffer, 2, &ReadAgain, chain);
}

// Completions run in the issuing thread's alertable sleep, in order; closing a file drops
// its own pending completions only, and a read a completion starts waits for the next sleep.
TEST(File, OverlappedCompletionsRunInTheIssuingThreadsSleepAndWritesTruncate) {
    TempDir dir;
    const std::string path = dir.Write("f.bin", "0123456789");
    File file, other;
    ASSERT_TRUE(file.Open(path.c_str(), true, false) && other.Open(path.c_str(), true, false));
    Log log;
    Call first{&log, "first"}, second{&log, "second"}, past{&log, "past"}, kept{&log, "kept"}, dropped{&log, "dropped"};
    char a[4] = {}, b[4] = {}, c[4] = {}, d[2] = {};
    ASSERT_TRUE(file.ReadOverlapped(0, a, 4, &Record, &first) && file.ReadOverlapped(8, b, 4, &Record, &second) &&
                file.ReadOverlapped(20, c, 4, &Record, &past));
    EXPECT_EQ(PendingCompletions(), 3u);
    std::thread([] { AlertableSleep(0); }).join();
    EXPECT_TRUE(log.calls.empty());

    AlertableSleep(0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"first:0:4", "second:0:2",
                                                    "past:" + std::to_string(kErrorHandleEof) + ":0"}));
    EXPECT_EQ(log.thread, std::this_thread::get_id());
    EXPECT_EQ(std::string(a, 4) + std::string(b, 2), "012389");

    log.calls.clear();
    ASSERT_TRUE(file.ReadOverlapped(0, d, 2, &Record, &dropped));
    ASSERT_TRUE(other.ReadOverlapped(2, d, 2, &Record, &kept));
    file.Close();
    AlertableSleep(0);
    EXPECT_EQ(log.calls, std::vector<std::string>{"kept:0:2"});
    // A completion that starts another read must not keep one sleep running for ever.
    Chain chain{&file};
    ASSERT_TRUE(file.Open(path.c_str(), true, false) && file.ReadOverlapped(0, chain.buffer, 2, &ReadAgain, &chain));
    AlertableSleep(0);
    EXPECT_EQ(chain.runs, 1);
    AlertableSleep(0);
    EXPECT_EQ(chain.runs, 2);
    file.Close();
    AlertableSleep(0);
    EXPECT_EQ(chain.runs, 2);

    // Writing truncates what was there; reads follow the position or the given offset and stop
    // at the end; a closed file or a bad request fails.
    File plain;
    EXPECT_FALSE(plain.Open(path.c_str(), false, false) || plain.Open("", true, false));
    char bytes[8] = {};
    EXPECT_EQ(std::pair(plain.Size(), plain.Read(bytes, 1)), std::pair(uint64_t(0), int64_t(-1)));
    EXPECT_FALSE(plain.Write("x", 1) || plain.Write(nullptr, 0) || plain.Seek(0));
    ASSERT_TRUE(plain.Open(path.c_str(), false, true));
    EXPECT_TRUE(plain.Size() == 0 && !plain.Write(nullptr, 1) && plain.Write(nullptr, 0) && plain.Write("abcdef", 6));
    ASSERT_TRUE(plain.Open(path.c_str(), true, false));
    EXPECT_TRUE(plain.Size() == 6 && plain.Seek(4));
    const std::vector<int64_t> counts = {plain.Read(bytes, 8), plain.ReadAt(1, bytes + 2, 3),
                                         plain.ReadAt(9, bytes + 5, 3)};
    EXPECT_EQ(std::pair(std::string(bytes, 5), counts),
              std::pair(std::string("efbcd"), std::vector<int64_t>{2, 3, 0}));
    EXPECT_EQ(plain.Read(nullptr, 1), -1);
}

}  // namespace
