#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "game/rules/QZ11Game.h"
#include "gameshow/Sequence.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/content/Generators.h"

namespace {

// The components the in-game screen shows ("FamilyName" is only hidden) and the cameras.
const std::set<std::string> kComponents = {
    "SoftKeyboard", "left3DViewport", "right3DViewport", "AnswersBox", "CenterAnswersBox", "Question", "PlayOrPass",
    "Rounds", "SpecialRounds", "RoundWon", "GameWon", "FadeGameWon", "FadeGameWon20k", "GameLost", "Strikes",
    "FamilyNameLeft", "FamilyNameRight", "Retry", "AIBox", "AIDecide", "FreqFM1", "FreqFM2", "FreqFM3", "FreqFM4",
    "FreqFM5", "BlinkingSquare", "FMBoard", "Achievement", "RotateBlocks", "RotateBlock1", "RotateBlock2",
    "RotateBlock3", "RotateBlock4", "RotateBlock5", "RotateBlock6", "RotateBlock7", "RotateBlock8"};
const std::set<std::string> kCameras = {"cam_wide", "cam_board", "cam_host", "cam_left_family", "cam_right_family",
                                        "cam_faceoff", "cam_podium_left", "cam_podium_right", "cam_crowd",
                                        "cam_fastmoney"};

content::Output Generate(const std::string& dataRoot) {
    content::Output out(dataRoot, {"ingamexml.dir"});
    content::GenerateSequences(out);
    return out;
}

// Each entry of the package as a file, read back through the game's sequence reader.
GameShow::Sequence Load(const TempDir& dir, const content::Output& out, const std::string& entry) {
    const auto& package = out.Packages().at("ingamexml.dir");
    const auto found = package.find(entry);
    if (found == package.end())
        return GameShow::Sequence();
    return GameShow::Sequence(dir.Write(entry, found->second.bytes).c_str());
}

std::vector<GameShow::SequenceEvent> AllEvents(const GameShow::Sequence& s) {
    std::vector<GameShow::SequenceEvent> all = s.m_Start.events;
    for (const auto* act : {&s.m_End, &s.m_Skip})
        all.insert(all.end(), act->events.begin(), act->events.end());
    for (const GameShow::SequenceAct& act : s.m_Acts)
        all.insert(all.end(), act.events.begin(), act.events.end());
    return all;
}

// The show's sequences generated from the data folder, each entry read back from a file.
class SequenceContent : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr) << "the data folder is given by TALLYVOX_DATA"; }
    template <typename Check> void ForEachSequence(Check check) {
        for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences()) {
            SCOPED_TRACE(name);
            check(name, authoring::LowerName(file), Load(dir, out, authoring::LowerName(file)));
        }
    }
    // Blocks with one bad line of each kind.
    content::Output Blocks() {
        dir.Write("content/sequences.txt",
                  "  start cut cam_wide\n"                                        // 1: before any sequence
                  "sequence s_{a}{b}.xml n{a}{b} 500 skip a=1..2 b=x,y\n"         // 2: four sequences
                  "  start play cue{b}\n"                                         // 3
                  "  400 timer stop\n"                                            // 4
                  "  500 play late\n"                                             // 5: at the duration
                  "  skip stop cue{a} sound\n"                                    // 6: unknown category
                  "  end  wave cam\n"                                             // 7: unknown verb
                  "  end  show {c}\n"                                             // 8: unknown variable
                  "sequence bad.xml bad 0 skip\n"                                 // 9: no duration
                  "  start play x\n"                                              // 10: skipped with it
                  "sequence r.xml r 100 noskip n=3..1\n"                          // 11: empty range
                  "sequence u.xml n1x 100 noskip\n"                               // 12: name taken
                  "  skip timer start\n"                                          // 13: never fires
                  "sequence ../up.xml up 100 noskip\n");                          // 14: outside the package
        return Generate(dir.Path());
    }

    TempDir dir;
    const content::Output out = Generate(std::getenv("TALLYVOX_DATA") ? std::getenv("TALLYVOX_DATA") : "");
};

}  // namespace

TEST_F(SequenceContent, TheShowTableLoadsWithItsTimings) {
    EXPECT_EQ(out.Errors(), std::vector<std::string>{});
    EXPECT_EQ(out.Warnings(), std::vector<std::string>{});
    std::set<std::string> entries, tableFiles;
    for (const auto& [name, item] : out.Packages().at("ingamexml.dir"))
        entries.insert(name);
    // (sequence, duration, skippable) of one member of each family.
    const struct { const char* name; i32 duration; bool skippable; } timings[] = {
        {"Intro", 7000, true},           {"right_pose00Med", 2500, true}, {"buzz8_left", 1500, false},
        {"strike3_TimeUp", 1800, false}, {"preanswer_round", 800, false}, {"reveal_answer8", 1500, true},
        {"playOrPassRight", 2000, false}, {"blank", 100, false}, {"end_game_20k_win_right", 6000, true}};
    ForEachSequence([&](const std::string& name, const std::string& entry, const GameShow::Sequence& s) {
        tableFiles.insert(entry);
        ASSERT_GT(s.m_Duration, 0);
        for (const auto& t : timings)
            if (name == t.name) {
                EXPECT_EQ(std::make_pair(s.m_Duration, s.m_Skippable), std::make_pair(t.duration, t.skippable));
            }
        // Every sequence opens on a camera.
        ASSERT_GE(s.m_Start.events.size(), 2u);
        EXPECT_EQ(s.m_Start.events[0].name, "SetActiveCamera");
        EXPECT_EQ(s.m_Start.events[1].name, "PlayCameraAnimation");
        for (const GameShow::SequenceAct& act : s.m_Acts)
            EXPECT_TRUE(act.time >= 0 && act.time < s.m_Duration) << act.time;
    });
    EXPECT_EQ(entries, tableFiles);
    EXPECT_EQ(entries.size(), 85u);
}

TEST_F(SequenceContent, EventsNameOnlyWhatTheGameKnows) {
    std::set<std::string> cues;
    for (u32 i = 0; i < QZ2011::AudioSequencerQZ::kEventCount; ++i)
        cues.insert(QZ2011::AudioSequencerQZ::EventName(i));
    // A stop looks for the cue's sound among those of its category.
    std::map<std::string, std::string> categories;
    const std::vector<std::string> words = {"music", "voice", "sfx", "crowed"};
    for (u32 c = 0; c < u32(QZ2011::AudioManagerQZ::Cue::Count); ++c) {
        const auto& row = QZ2011::AudioManagerQZ::Row(QZ2011::AudioManagerQZ::Cue(c));
        const std::string sound = row.sound;
        categories[sound.substr(0, sound.rfind(".snd"))] = words.at(row.category);
    }
    std::set<std::string> camerasUsed;
    ForEachSequence([&](const std::string&, const std::string&, const GameShow::Sequence& s) {
        for (const GameShow::SequenceEvent& e : AllEvents(s)) {
            const std::string sequencer = e.sequencer.c_str(), event = e.name.c_str(), target = e.target.c_str(),
                              parameter = e.parameter.c_str();
            SCOPED_TRACE(sequencer + " " + event + " " + target + " " + parameter);
            if (sequencer == "AudioSequencer") {
                EXPECT_TRUE(cues.count(target));
                EXPECT_TRUE(event == "Play" ? parameter.empty() : event == "Stop" && categories[target] == parameter);
            } else if (sequencer == "EntitySequencer") {
                EXPECT_EQ(target, "ScreenGame");
                EXPECT_TRUE((event == "ShowComponent" && kComponents.count(parameter)) ||
                            (event == "HideComponent" && (kComponents.count(parameter) || parameter == "FamilyName")) ||
                            (event == "Timer" && (parameter == "Start" || parameter == "Stop")));
            } else {
                EXPECT_EQ(sequencer, "GameShowCameraSequencer");
                EXPECT_TRUE(event == "SetActiveCamera" || event == "PlayCameraAnimation");
                EXPECT_TRUE(kCameras.count(target));
                camerasUsed.insert(target);
            }
        }
    });
    EXPECT_EQ(camerasUsed, kCameras);
}

// The events that move a match: answer turns open the entry and start the timer, the
// fast-money reveal shows its points.
TEST_F(SequenceContent, MatchEventsOpenTheEntryAndShowThePoints) {
    const GameShow::Sequence buzz = Load(dir, out, "sequence_real_buzz_left.xml");
    std::vector<std::string> start;
    for (const auto& e : buzz.m_Start.events)
        start.push_back(std::string(e.name.c_str()) + ":" + e.parameter.c_str());
    EXPECT_EQ(start, (std::vector<std::string>{"SetActiveCamera:", "PlayCameraAnimation:", "Play:",
                                               "ShowComponent:SoftKeyboard", "Timer:Start"}));
    const GameShow::Sequence reveal = Load(dir, out, "sequence_fast_money_round_reveal3.xml");
    ASSERT_EQ(reveal.m_Acts.size(), 1u);
    EXPECT_EQ(reveal.m_Acts[0].events.back().parameter, "FreqFM3");

}

// Blocks expand their variables; bad lines are told with their place.
TEST_F(SequenceContent, BadBlockLinesAreToldWithTheirPlace) {
    const content::Output blocks = Blocks();
    std::vector<std::string> expected = {
        "1: error: an event line before the first sequence line",
        "5 (ingamexml/s_1x.xml): error: time 500 is outside 0..499",
        "6 (ingamexml/s_1x.xml): error: category \"sound\" is not music, voice, sfx or crowed",
        "7 (ingamexml/s_1x.xml): error: unknown verb \"wave\"",
        "8 (ingamexml/s_1x.xml): error: the line names a variable its sequence line does not give",
        "9: error: a sequence line is: sequence <file> <name> <duration 1..600000 ms> skip|noskip "
        "[<var>=<values> ...]",
        "11: error: range \"3..1\" is not <first>..<last> with at most 100 values",
        "12 (ingamexml/u.xml): error: sequence \"n1x\" is also written at content/sequences.txt:2",
        "14: error: \"../up.xml\" is not a plain .xml file name"};
    for (std::string& line : expected)
        line = "content/sequences.txt:" + line;
    EXPECT_EQ(blocks.Errors(), expected);
    EXPECT_EQ(blocks.Warnings(), (std::vector<std::string>{"content/sequences.txt:12 (ingamexml/u.xml): warning: skip "
                                                        "events of a sequence that cannot be skipped never fire"}));
    std::set<std::string> entries;
    for (const auto& [name, item] : blocks.Packages().at("ingamexml.dir"))
        entries.insert(name);
    EXPECT_EQ(entries, (std::set<std::string>{"s_1x.xml", "s_1y.xml", "s_2x.xml", "s_2y.xml"}));

}

TEST_F(SequenceContent, GoodBlockLinesStillMakeSequences) {
    const content::Output blocks = Blocks();
    const GameShow::Sequence s = Load(dir, blocks, "s_2y.xml");
    EXPECT_EQ(std::make_pair(s.m_Duration, s.m_Skippable), std::make_pair(500, true));
    ASSERT_EQ(s.m_Start.events.size(), 1u);
    EXPECT_EQ(s.m_Start.events[0].target, "cuey");
    ASSERT_EQ(s.m_Acts.size(), 1u);
    EXPECT_EQ(std::make_pair(s.m_Acts[0].time, std::string(s.m_Acts[0].events[0].parameter.c_str())),
              std::make_pair(400, std::string("Stop")));
    EXPECT_TRUE(Generate(dir.File("none")).Errors().size() == 1u);
}
