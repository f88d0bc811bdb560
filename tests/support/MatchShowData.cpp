#include "tests/support/MatchShowData.h"

#include <algorithm>
#include <cstring>

#include "game/presentation/screens/ScreenGame.h"
#include "game/rules/QZ11Game.h"
#include "tools/authoring/PackageWriter.h"

namespace match {

namespace {

// The layout element of each kind of the screen's contract, in the kinds' order.
constexpr const char* kElements[] = {"GsWidgetLibrary:Image", "GsWidgetLibrary:Label", "GsWidgetLibrary:Button",
                                     "GsWidgetLibrary:SoftKeyboard", "GsWidgetLibrary:ResizableWindow"};

std::string Event(const char* name, const char* parameter) {
    return std::string("<item sequencer=\"EntitySequencer\" name=\"") + name +
           "\" target=\"ScreenGame\" parameter=\"" + parameter + "\"/>";
}

bool Among(const char* name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return strcmp(n, name) == 0; });
}

}  // namespace

std::string ScreenGameLayout(QZ2011::ScreenGame& screen, const std::set<std::string>& omit,
                             const std::vector<WidgetPlace>& places, uint32_t keyboardChars) {
    std::string widgets;
    for (const auto& entry : screen.WidgetContract()) {
        const std::string name = entry.name.c_str();
        if (omit.count(name))
            continue;
        WidgetPlace place{name, 10, 10, 40, 20};
        for (const WidgetPlace& given : places)
            if (given.name == name)
                place = given;
        widgets += std::string("<") + kElements[u32(entry.kind)] + " Name=\"" + name + "\" Margin=\"" +
                   std::to_string(place.x) + "," + std::to_string(place.y) + ",0,0\" Width=\"" +
                   std::to_string(place.width) + "\" Height=\"" + std::to_string(place.height) + "\"" +
                   (entry.kind == QZ2011::ScreenGame::WidgetKind::Keyboard && keyboardChars
                        ? " MaxEntryTextChar=\"" + std::to_string(keyboardChars) + "\""
                        : "") + "/>";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><UserControl x:Name=\"ScreenGame\" Width=\"800\" "
           "Height=\"600\"><Grid Name=\"Root\" Width=\"800\" Height=\"600\">" +
           widgets + "</Grid></UserControl>";
}

const std::vector<WidgetPlace>& ClickablePlaces() {
    static const std::vector<WidgetPlace> places = {
        {"PlayButton", 100, 480, 120, 60}, {"PassButton", 300, 480, 120, 60}, {"ConfirmButton", 500, 480, 120, 60}};
    return places;
}

std::vector<std::pair<std::string, std::string>> ShowSequences(uint32_t durationMs) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences()) {
        std::string start;
        if (Among(name, {"host_number_answer_left", "host_number_answer_right", "otherTeamAnswerLeft",
                         "otherTeamAnswerRight", "otherTeamAnswerRight_Party", "transitionLeftFamily03",
                         "transitionRightFamily03", "fast_money_round_left", "fast_money_round_right",
                         "fast_money_round2"}))
            start = Event("ShowComponent", "SoftKeyboard") + Event("Timer", "Start");
        if (Among(name, {"preanswer_round", "right_answer_faceoff", "wrong_answer_faceoff", "time_is_up",
                         "strike1_TimeUp", "strike2_TimeUp", "strike3_TimeUp", "fast_money_round_reveal1"}))
            start = Event("Timer", "Stop") + Event("HideComponent", "SoftKeyboard");
        if (Among(name, {"right_answer_faceoff", "right_answer_round", "steal_ok"}))
            start += Event("ShowComponent", "RotateBlocks");
        const std::string reveal = "fast_money_round_reveal";
        if (std::string(name).rfind(reveal, 0) == 0 && strlen(name) == reveal.size() + 1)
            start += Event("ShowComponent", (std::string("FreqFM") + name[reveal.size()]).c_str()) +
                     Event("ShowComponent", "BlinkingSquare");
        if (Among(name, {"end_game_loose"}))
            start += Event("ShowComponent", "Retry");
        // Cues that hold the show until they end: with a sound, and without one.
        for (const auto& [sequence, cue] : {std::pair{"Intro", "intro"},
                                            {"host_number_answer_left", "sfx_podiumbuzzer"},
                                            {"right_answer_round", "answerok"}, {"steal_ok", "stealsuccess"}})
            if (strcmp(sequence, name) == 0)
                start += std::string("<item sequencer=\"AudioSequencer\" name=\"Play\" target=\"") + cue + "\"/>";
        files.emplace_back(authoring::LowerName(file),
                           "<root><Sequence duration=\"" + std::to_string(durationMs) +
                               "\"><OnStart><Events>" + start +
                               "</Events></OnStart><Acts/><OnEnd><Events/></OnEnd></Sequence></root>");
    }
    return files;
}

std::string MatchActions() {
    // A click is taken when the button goes down and when it comes up.
    const struct {
        const char* action;
        const char* type;
        const char* state;
        const char* filter;
    } triggers[] = {{"Moves", "move", "none", "axis-all"},
                    {"BuzzSinglePlayer", "key", "press", "keyspacebar"},
                    {"EnterAnswer", "key", "press", "keyaccept"},
                    {"SkipSequence", "key", "press", "keyf2"},
                    {"Click", "button", "none", "mouseleft"}};
    std::string actions;
    for (const auto& t : triggers)
        actions += std::string("<item><Name>") + t.action + "</Name><Triggers><item><Type>" + t.type +
                   "</Type><State>" + t.state + "</State><Filter>" + t.filter + "</Filter></item></Triggers></item>";
    return "<root><RootContext><Contexts><item><Name>Default</Name><Actions>" + actions +
           "</Actions></item></Contexts></RootContext></root>";
}

}  // namespace match
