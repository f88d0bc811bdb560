// The level, system-file, behaviour and sequence checks on a changed copy of the sample content:
// each change is told once, at the source that made the record, with the generated entry.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/content/MutatedContent.h"

namespace {

struct Mutation {
    const char* file;
    const char* from;
    const char* to;
    const char* expected;
};

// The changes do not touch one another, so one copy carries them all.
const Mutation kMutations[] = {
    {"content/sequences.txt", "sequence sequence_blank.xml blank", "sequence sequence_blnk.xml blank",
     "data/content/sequences.txt (ingamexml/sequence_blank.xml): error: sequence \"blank\" has no file "
     "\"sequence_blank.xml\" in \"ingamexml.dir\""},
    {"content/sequences.txt", "  start show PlayOrPass", "  start show PlayOrPas",
     "data/content/sequences.txt:118 (ingamexml/sequence_play_or_pass_left.xml): error: EntitySequencer shows "
     "\"PlayOrPas\", which is not a component ScreenGame shows"},
    {"content/sequences.txt", "SuddenDeath 3500 skip\n  start cut cam_faceoff", "SuddenDeath 3500 skip\n  start cut cam_faceof",
     "data/content/sequences.txt:73 (ingamexml/sequence_sudden_death.xml): error: GameShowCameraSequencer target "
     "\"cam_faceof\" is not a camera of \"QZ11_Game_Level_File_1_70.xml\""},
    {"content/levels.txt", "app numberOfAnswers     8", "app numberOfAnswers     9",
     "data/content/levels.txt:9 (GlobalXml/qz11_game_level_file_1_70.xml): error: \"numberOfAnswers\" 9 is outside 1..8"},
    {"content/actions.txt", "EnterAnswer key press keyaccept", "EnterAnswer key press keyenter",
     "data/content/actions.txt (gsSystem/actions.xml): error: key name \"keyenter\" is not in the key table"},
    {"content/runtime.txt", "Game StartScreenId LevelStartup", "Game StartScreenId LevelStart",
     "data/content/runtime.txt (gsSystem/runtimeparameters.xml): error: \"StartScreenId\" \"LevelStart\" names no level"},
    {"content/levels.txt", "chm_talk.ska skel_male", "chm_talk.ska skel_mael",
     "data/content/levels.txt:9 (GlobalXml/qz11_game_level_file_1_70.xml): error: character \"host\": skin "
     "\"skel_mael\" names no skeleton"},
};

TEST(CheckLevels, EachBrokenNameIsToldOnceWhereItWasMade) {
    MutatedContent content;
    for (const Mutation& mutation : kMutations)
        content.Replace(mutation.file, mutation.from, mutation.to);
    std::vector<std::string> errors = content.Check({"xml"});
    EXPECT_TRUE(content.BuildErrors().empty());
    for (const Mutation& mutation : kMutations) {
        const auto found = std::find(errors.begin(), errors.end(), mutation.expected);
        EXPECT_NE(found, errors.end()) << mutation.expected;
        if (found != errors.end())
            errors.erase(found);
    }
    // The host stands on every decade's stage: the other three are told the same way; nothing else is.
    EXPECT_EQ(errors.size(), 3u);
    for (const std::string& rest : errors)
        EXPECT_NE(rest.find("skin \"skel_mael\" names no skeleton"), std::string::npos) << rest;
}

TEST(CheckLevels, TheSampleHoldsTwelveLevelFiles) {
    content::Checker checker(TALLYVOX_CONTENT_DATA, TALLYVOX_BUILT_CONTENT, TALLYVOX_CONTENT_MAPS);
    checker.Run();
    const auto& counts = checker.Counts();
    const auto found = std::find_if(counts.begin(), counts.end(), [](const auto& count) { return count.first == "level files"; });
    ASSERT_NE(found, counts.end());
    EXPECT_EQ(found->second, 12u);
}

}  // namespace
