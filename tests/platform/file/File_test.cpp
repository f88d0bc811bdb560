#include "platform/file/File.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/core/AlertableSleep.h"
#include "platform/file/Path.h"
#include "tests/support/TempDir.h"

using namespace platform;

namespace {

struct Log {
    std::vector<std::string> calls;
    std::thread::id thread;
};

struct Call {
    Log* log;
    std::string name;
};

void Record(void* context, uint32_t error, uint32_t bytes) {
    auto* call = static_cast<Call*>(context);
    call->log->thread = std::this_thread::get_id();
    call->log->calls.push_back(call->name + ":" + std::to_string(error) + ":" +
                               std::to_string(bytes));
}

}  // namespace

TEST(File, BackslashesAndCaseAreResolved) {
    TempDir dir;
    dir.Write("Data/GlobalXml/List.TXT", "abc");
    EXPECT_EQ(NormalisePath("a\\b\\c.txt"), "a/b/c.txt");
    const std::string asked = dir.Path() + "\\data\\globalxml\\list.txt";
    EXPECT_EQ(ResolvePath(asked.c_str()), dir.Path() + "/Data/GlobalXml/List.TXT");

    File file;
    ASSERT_TRUE(file.Open(asked.c_str(), true, false));
    char bytes[4] = {};
    EXPECT_EQ(file.Read(bytes, 4), 3);
    EXPECT_STREQ(bytes, "abc");

    // A name created after the folder was listed is still found.
    dir.Write("Data/GlobalXml/Later.bin", "x");
    EXPECT_TRUE(StatPath((dir.Path() + "/data/globalxml/later.BIN").c_str(), nullptr));
    EXPECT_FALSE(StatPath((dir.Path() + "/data/globalxml/none.bin").c_str(), nullptr));
}

TEST(File, CreatesInAFolderWrittenInAnotherCase) {
    TempDir dir;
    dir.Write("Saves/keep", "");
    File file;
    ASSERT_TRUE(file.Open((dir.Path() + "/saves/new.bin").c_str(), false, true));
    EXPECT_TRUE(file.Write("hi", 2));
    file.Close();
    unsigned mode = 0;
    EXPECT_TRUE(StatPath((dir.Path() + "/Saves/new.bin").c_str(), &mode));
}

TEST(File, OverlappedCompletionsRunOnlyInTheAlertableSleepInOrder) {
    TempDir dir;
    const std::string path = dir.Write("f.bin", "0123456789");
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), true, false));
    Log log;
    Call first{&log, "first"}, second{&log, "second"}, past{&log, "past"};
    char a[4] = {}, b[4] = {}, c[4] = {};
    ASSERT_TRUE(file.ReadOverlapped(0, a, 4, &Record, &first));
    ASSERT_TRUE(file.ReadOverlapped(8, b, 4, &Record, &second));
    ASSERT_TRUE(file.ReadOverlapped(20, c, 4, &Record, &past));
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(PendingCompletions(), 3u);

    // Another thread's sleep does not deliver them.
    std::thread([] { AlertableSleep(0); }).join();
    EXPECT_TRUE(log.calls.empty());

    AlertableSleep(0);
    ASSERT_EQ(log.calls.size(), 3u);
    EXPECT_EQ(log.calls[0], "first:0:4");
    EXPECT_EQ(log.calls[1], "second:0:2");
    EXPECT_EQ(log.calls[2], "past:" + std::to_string(kErrorHandleEof) + ":0");
    EXPECT_EQ(log.thread, std::this_thread::get_id());
    EXPECT_EQ(std::string(a, 4), "0123");
    EXPECT_EQ(std::string(b, 2), "89");
}

namespace {
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
}  // namespace

TEST(File, AReadIssuedByACompletionWaitsForTheNextSleep) {
    TempDir dir;
    const std::string path = dir.Write("f.bin", "ab");
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), true, false));
    Chain chain{&file};
    ASSERT_TRUE(file.ReadOverlapped(0, chain.buffer, 2, &ReadAgain, &chain));
    AlertableSleep(0);
    EXPECT_EQ(chain.runs, 1);
    AlertableSleep(0);
    EXPECT_EQ(chain.runs, 2);
    file.Close();
    AlertableSleep(0);
    EXPECT_EQ(chain.runs, 2);
}

TEST(File, CloseDropsTheFilesCompletionsOnly) {
    TempDir dir;
    const std::string path = dir.Write("f.bin", "abcd");
    Log log;
    Call kept{&log, "kept"}, dropped{&log, "dropped"};
    char a[2], b[2];
    File other;
    ASSERT_TRUE(other.Open(path.c_str(), true, false));
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), true, false));
        ASSERT_TRUE(file.ReadOverlapped(0, a, 2, &Record, &dropped));
        ASSERT_TRUE(other.ReadOverlapped(2, b, 2, &Record, &kept));
    }  // destroyed with its read pending
    AlertableSleep(0);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0], "kept:0:2");
}

TEST(File, MissingFilesAndFoldersDoNotOpenForReading) {
    TempDir dir;
    File file;
    EXPECT_FALSE(file.Open((dir.Path() + "/missing").c_str(), true, false));
    EXPECT_FALSE(file.Open(dir.Path().c_str(), true, false));
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_EQ(file.Read(nullptr, 0), -1);
}
