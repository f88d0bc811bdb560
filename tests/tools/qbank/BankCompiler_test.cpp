#include "tools/qbank/BankCompiler.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#include "tests/tools/qbank/MountedBank.h"

TEST(BankCompiler, CompilesAFolderPackageTheGameMountsErrorsStopTheBuildAndMissingSourcesAreReported) {
    TempDir dir;
    dir.Write("src/00s.txt", "? 00-0001 Name a phone feature.\n= 30 Camera: camera\n- a fax\n");
    dir.Write("src/70s.txt", "? 70-0001 Name a seaside thing.\n= 40 Photo/Photograph: photo, photograph\n"
                             "= 20 Sea: sea, ocean\n- a glacier\n");
    dir.Write("src/80s.txt", "? 80-0001 Name a toy.\n= 30 Yo yo: yo_yo, yoyo\n- a lathe\n");
    dir.Write("src/90s.txt", "? 90-0001 Name a pet.\n= 30 Cat: cat, kitten\n= 10 Dog: dog\n- a yak\n");
    dir.Write("src/equivalences.txt", "ph > f\n");
    dir.Write("src/dictionary.txt", "fotograf\n");
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

    // Errors stop the build; missing sources are reported.
    dir.Write("src/70s.txt", "? 70-0001 Q\n= 1 Aa: aa\n");
    qbank::Diagnostics bad;
    EXPECT_FALSE(qbank::CompileBank(dir.File("src"), dir.File("out/Refused"), bad));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/Refused")));

    qbank::Diagnostics missing;
    EXPECT_FALSE(qbank::CompileBank(dir.File("nowhere"), dir.File("out/Refused"), missing));
    EXPECT_EQ(missing.Errors().size(), 4u);
}
