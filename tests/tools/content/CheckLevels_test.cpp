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
    // The message; with "%s" one for each decade's match level (its source line and entry).
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
    {"content/sequences.txt", "SuddenDeath 3500 skip\n  start cut cam_faceoff",
     "SuddenDeath 3500 skip\n  start cut cam_faceof",
     "data/content/sequences.txt:73 (ingamexml/sequence_sudden_death.xml): error: GameShowCameraSequencer target "
     "\"cam_faceof\" is not a camera of \"QZ11_Game_Level_File_1_70.xml\""},
    {"content/levels.txt", "app numberOfAnswers     8", "app numberOfAnswers     9",
     "data/content/levels.txt:%s.xml): error: \"numberOfAnswers\" 9 is outside 1..8"},
    {"content/stage.txt", "all desk_digit_left ", "all desk_digit_lft ",
     "data/content/levels.txt:%s.xml): error: the match asks for the prop \"desk_digit_left\", which the level lacks"},
    {"content/runtime.txt", "Game StartScreenId LevelStartup", "Game StartScreenId LevelStart",
     "data/content/runtime.txt (gsSystem/runtimeparameters.xml): error: \"StartScreenId\" \"LevelStart\" names no level"},
    {"content/levels.txt", "chm_talk.ska skel_male", "chm_talk.ska skel_mael",
     "data/content/levels.txt:%s.xml): error: character \"host\": skin \"skel_mael\" names no skeleton"},
};

// "<line> (GlobalXml/<file>" of each decade's match level.
const char* const kMatchLevels[] = {"20 (GlobalXml/qz11_game_level_file_1_70", "21 (GlobalXml/qz11_game_level_file_1_80",
                                    "22 (GlobalXml/qz11_game_level_file_1_90", "23 (GlobalXml/qz11_game_level_file_1_00"};

TEST(CheckLevels, EachBrokenNameIsToldWhereItWasMade) {
    MutatedContent content;
    std::vector<std::string> expected;
    for (const Mutation& mutation : kMutations) {
        content.Replace(mutation.file, mutation.from, mutation.to);
        const std::string text = mutation.expected;
        const size_t at = text.find("%s");
        if (at == std::string::npos)
            expected.push_back(text);
        else
            for (const char* level : kMatchLevels)
                expected.push_back(text.substr(0, at) + level + text.substr(at + 2));
    }
    content.Check({"xml"});
    EXPECT_TRUE(content.BuildErrors().empty());
    // The sources never write an unknown key name (the build refuses it): a damaged package does.
    const std::string actions = content.Dir().File("out/gsSystem/actions.xml");
    std::string text = FileContents(actions);
    text.replace(text.find("keyaccept"), 9, "keyenter");
    content.Dir().Write("out/gsSystem/actions.xml", text);
    expected.push_back("data/content/actions.txt (gsSystem/actions.xml): error: key name \"keyenter\" is not in the key table");
    std::vector<std::string> errors = content.Check({});
    std::sort(errors.begin(), errors.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(errors, expected);
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
