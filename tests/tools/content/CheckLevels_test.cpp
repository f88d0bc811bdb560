// The level, system-file, behaviour and sequence checks on a changed copy of the sample content:
// each change is told once, at the source that made the record, with the generated entry.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/content/DamagedContent.h"

namespace {

struct Damage {
    const char* file;
    const char* from;
    const char* to;
    // The message; with "%s" one for each decade's match level (its source line and entry).
    const char* expected;
};

// The changes do not touch one another, so one copy carries them all.
const Damage kDamages[] = {
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
    {"content/actions.txt", "SkipSequence key press", "SkipScene key press",
     "data/content/actions.txt (gsSystem/actions.xml): error: the game listens for the action \"SkipSequence\", which "
     "the actions file lacks"},
};

// "<line> (GlobalXml/<file>" of each decade's match level.
const char* const kMatchLevels[] = {"20 (GlobalXml/qz11_game_level_file_1_70", "21 (GlobalXml/qz11_game_level_file_1_80",
                                    "22 (GlobalXml/qz11_game_level_file_1_90", "23 (GlobalXml/qz11_game_level_file_1_00"};

TEST(CheckLevels, EachBrokenNameIsToldWhereItWasMade) {
    DamagedContent content;
    std::vector<std::string> expected;
    for (const Damage& damage : kDamages) {
        content.Replace(damage.file, damage.from, damage.to);
        const std::string text = damage.expected;
        const size_t at = text.find("%s");
        if (at == std::string::npos)
            expected.push_back(text);
        else
            for (const char* level : kMatchLevels)
                expected.push_back(text.substr(0, at) + level + text.substr(at + 2));
    }
    // The contestants' behaviour loses an action and its walk parameter in every template.
    content.Replace("content/behaviors.txt", "ClapFamily1     Clap", "ClapFamily2     Clap");
    content.Replace("content/behaviors.txt", "MaleAvatar ChangeWalkAnimTime", "MaleAvatar ChangeWalkTime");
    // The contestants' four animation sets, as the behaviour source gives them.
    for (const char* name : {"CharacterMale1", "CharacterMale2", "CharacterFemale1", "CharacterFemale2"})
        for (const char* lack : {"action \"ClapFamily1\", which the game plays",
                                 "parameter \"ChangeWalkAnimTime\", which the game binds"})
            expected.push_back(std::string("data/content/behaviors.txt:18 (GlobalXml/behaviors.xml): error: template \"") +
                               name + "\" of \"MaleAvatar\" has no " + lack);
    // The menu's avatar loses a try in both its templates.
    content.Replace("content/behaviors.txt", "action MenuAvatar Try_Head ", "action MenuAvatar Try_Hed  ");
    for (const char* name : {"CharacterMale", "CharacterFemale"})
        expected.push_back(std::string("data/content/behaviors.txt:42 (MenuXmls/gameshowbehaviors.xml): error: "
                                       "template \"") +
                           name + "\" of \"MenuAvatar\" has no action \"Try_Head\", which the game plays");
    // Every level loses its second cursor.
    content.Replace("content/levels.txt", "cursor PlayerCursor1 cursor.spt", "cursor PlayerCursor9 cursor.spt");
    content.Check({"xml"});
    EXPECT_TRUE(content.BuildErrors().empty());
    // The sources never write an unknown key name (the build refuses it): a damaged package does.
    content.ReplaceBuilt("gsSystem/actions.xml", "keyaccept", "keyenter");
    expected.push_back("data/content/actions.txt (gsSystem/actions.xml): error: key name \"keyenter\" is not in the key table");
    // The board's and the score's behaviours are written by the tool alone: damaged files.
    content.ReplaceBuilt("GlobalXml/stagebehaviors.xml", "<Name>BuzzerRight</Name>", "<Name>BuzzerRite</Name>");
    content.ReplaceBuilt("GlobalXml/stagebehaviors.xml", "<Name>StartIFL</Name>", "<Name>StartIFX</Name>");
    content.ReplaceBuilt("GlobalXml/scorebehaviors.xml", "<Name>Ten</Name>", "<Name>Tens</Name>");
    // The buzzer light's action (the first of its name in the file), and a dressed prop's.
    content.ReplaceBuilt("GlobalXml/stagebehaviors.xml", "<Name>AnimIFL</Name>", "<Name>AnimIFX</Name>");
    content.ReplaceBuilt("GlobalXml/stagebehaviors.xml",
                         "<Name>board_lights_intro</Name><Parameters/>\n<Actions>\n<item><Name>AnimIFL</Name>",
                         "<Name>board_lights_intro</Name><Parameters/>\n<Actions>\n<item><Name>AnimIFX</Name>");
    expected.push_back("data/content/stage.txt (GlobalXml/stagebehaviors.xml): error: behaviour \"Board\" has no "
                       "template \"BuzzerRight\", which the game uses");
    expected.push_back("data/content/stage.txt (GlobalXml/stagebehaviors.xml): error: template \"Block_01\" of "
                       "\"Board\": action \"BlockFront\" has no key \"StartIFL\", which the game waits for");
    expected.push_back("data/content/art/stage.txt (GlobalXml/scorebehaviors.xml): error: template \"BoardScore\" of "
                       "\"ScoreBehavior\" has no action \"Ten\", which the game plays");
    expected.push_back("data/content/stage.txt (GlobalXml/stagebehaviors.xml): error: template \"Light\" of "
                       "\"BuzzLight\" has no action \"AnimIFL\", which the game plays");
    for (const char* level : kMatchLevels)
        expected.push_back(std::string("data/content/levels.txt:") + level +
                           ".xml): error: stage prop \"board_lights_intro\": its template \"board_lights_intro\" has no "
                           "action \"AnimIFL\"");
    std::vector<std::string> errors = content.Check({});
    // Each of the twelve levels tells the missing cursor.
    const auto cursor = std::remove_if(errors.begin(), errors.end(), [](const std::string& error) {
        return error.starts_with("data/content/levels.txt:") &&
               error.ends_with("error: the level lacks the cursor \"PlayerCursor1\" of \"PlayerCursors\"");
    });
    EXPECT_EQ(errors.end() - cursor, 12);
    errors.erase(cursor, errors.end());
    std::sort(errors.begin(), errors.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(errors, expected);
}

}  // namespace
