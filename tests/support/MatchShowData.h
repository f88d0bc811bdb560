#pragma once
// The data a match on the real in-game screen needs beside the built sample packages: the
// "ScreenGame" layout with every name the screen binds, the show's sequences with the screen
// events that move a match, and the key bindings of player one's actions.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace QZ2011 {
class ScreenGame;
}

namespace match {

// A widget's place in the 800 x 600 layout.
struct WidgetPlace {
    std::string name;
    int x = 0, y = 0, width = 40, height = 20;
};

// The layout document: each widget of the screen's contract of its kind, at its place when one
// is given (else a 40 x 20 box at 10, 10), the omitted names left out; the keyboard takes that
// many typed characters (0: the layout's default).
std::string ScreenGameLayout(QZ2011::ScreenGame& screen, const std::set<std::string>& omit = {},
                             const std::vector<WidgetPlace>& places = {}, uint32_t keyboardChars = 0);

// Where the buttons player one clicks are.
const std::vector<WidgetPlace>& ClickablePlaces();

// (package file name, document) of each sequence of the show's table, each durationMs long:
// answer turns open the keyboard and start the timer, turn ends stop both, right answers turn
// the block, fast-money reveals show their points and the square, the lost game offers a retry,
// a few openings play cues that hold the show while they sound (the harness gives sounds to
// "intro.snd" and "sfx_podiumbuzzer.snd" and none to the others, which then hold nothing).
std::vector<std::pair<std::string, std::string>> ShowSequences(uint32_t durationMs);

// The actions document: Space buzzes, Enter enters the answer, F2 skips, the left button clicks.
std::string MatchActions();

}  // namespace match
