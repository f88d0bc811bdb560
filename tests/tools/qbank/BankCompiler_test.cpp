#include "tools/qbank/BankCompiler.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#include "tests/tools/qbank/MountedBank.h"

namespace {

void WriteSources(const TempDir& dir, const std::string& seventies) {
    dir.Write("src/00s.txt", "? 00-0001 Name a phone feature.\n= 30 Camera: camera\n- a fax\n");
    dir.Write("src/70s.txt", seventies);
    dir.Write("src/80s.txt", "? 80-0001 Name a toy.\n= 30 Yo yo: yo_yo, yoyo\n- a lathe\n");
    dir.Write("src/90s.txt", "? 90-0001 Name a pet.\n= 30 Cat: cat, kitten\n= 10 Dog: dog\n- a yak\n");
    dir.Write("src/equivalences.txt", "ph > f\n");
    dir.Write("src/dictionary.txt", "fotograf\n");
}

}  // namespace

TEST(BankCompiler, CompilesAFolderPackageTheGameMounts) {
    TempDir dir;
    WriteSources(dir, "? 70-0001 Name a seaside thing.\n= 40 Photo/Photograph: photo, photograph\n"
                      "= 20 Sea: sea, ocean\n- a glacier\n");
    dir.Write("out/GameQuestions/9.bin", "stale");  // a question file of an earlier, larger bank
    qbank::Diagnostics d;
    ASSERT_TRUE(qbank::CompileBank(dir.File("src"), dir.File("out/GameQuestions"), d))
        << (d.Errors().empty() ? "" : d.Errors()[0]);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/GameQuestions/9.bin")));

    MountedBank bank(dir.File("out/GameQuestions.dir"));
    QZ2011::QuestionManager& m = *bank.manager;
    EXPECT_EQ(m.QuestionCount(), 4u);
    EXPECT_TRUE(bank.dictionary.IsWord("fotograf"));
    EXPECT_TRUE(bank.dictionary.IsWord("ocean"));
    QZ2011::Question* q = m.LoadQuestion(1);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->CheckAnswer("fotograph"), 0);
    EXPECT_EQ(q->CheckAnswer("ocean"), 1);
}

TEST(BankCompiler, ErrorsStopTheBuildAndMissingSourcesAreReported) {
    TempDir dir;
    WriteSources(dir, "? 70-0001 Q\n= 1 Aa: aa\n");
    qbank::Diagnostics d;
    EXPECT_FALSE(qbank::CompileBank(dir.File("src"), dir.File("out/GameQuestions"), d));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/GameQuestions")));

    qbank::Diagnostics missing;
    EXPECT_FALSE(qbank::CompileBank(dir.File("nowhere"), dir.File("out/GameQuestions"), missing));
    EXPECT_EQ(missing.Errors().size(), 4u);
}
