// The show's sequences: every (file, name) pair of the game's table has its file in the
// sequence package, the file parses, and its events address sequencers and cue events the
// game registers.
#include <set>

#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/rules/QZ11Game.h"
#include "gameshow/Sequence.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/content/Checker.h"

namespace content {

namespace {

constexpr const char* kSequenceSource = "data/content/sequences.txt";
// The categories an AudioSequencer "Stop" names.
const std::set<std::string> kStopCategories = {"music", "voice", "sfx", "crowed"};

// The component names the in-game screen shows and hides, numbered entries spelt out.
std::set<std::string> Components(bool shown) {
    using QZ2011::ScreenGame;
    std::set<std::string> names;
    if (!shown)
        return {std::begin(ScreenGame::kHiddenComponents), std::end(ScreenGame::kHiddenComponents)};
    for (const ScreenGame::ComponentName& component : ScreenGame::kShownComponents)
        if (component.numbered == 0)
            names.insert(component.name);
        else
            for (u32 k = 1; k <= component.numbered; ++k)
                names.insert(component.name + std::to_string(k));
    return names;
}

}  // namespace

void Checker::CheckSequences() {
    using QZ2011::QZ11Game;
    const std::set<std::string> sequencers(std::begin(QZ2011GameContext::kSequencerNames),
                                           std::end(QZ2011GameContext::kSequencerNames));
    std::set<std::string> cueEvents;
    for (u32 i = 0; i < QZ2011::AudioSequencerQZ::kEventCount; ++i)
        cueEvents.insert(QZ2011::AudioSequencerQZ::EventName(i));
    using QZ2011::ScreenGame;
    const std::set<std::string> shown = Components(true), hidden = Components(false);
    const std::string package = QZ11Game::kSequencePackage;
    const std::string folder = package.substr(0, package.rfind('.'));
    size_t found = 0;
    for (const auto& [file, name] : QZ11Game::InGameSequences()) {
        const PackageEntry* entry = Find(file);
        const std::string label = folder + "/" + authoring::LowerName(file);
        if (!entry || entry->package != package) {
            Error({kSequenceSource, 0}, label,
                  "sequence \"" + std::string(name) + "\" has no file \"" + file + "\" in \"" + package + "\"");
            continue;
        }
        GameShow::sSequence record;
        GameServices::Utilities::XmlReader reader;
        if (!reader.ReadFileElement(PathOf(*entry).c_str(), "Sequence", record, "root")) {
            Error(entry->from, label, "sequence \"" + std::string(name) + "\" does not parse");
            continue;
        }
        ++found;
        std::vector<const GameShow::sAct*> acts = {&record.OnStart, &record.OnSkip, &record.OnEnd};
        for (const GameShow::sAct& act : record.Acts)
            acts.push_back(&act);
        for (const GameShow::sAct* act : acts)
            for (const GameShow::sEvent& event : act->Events) {
                const std::string sequencer = event.sequencer.c_str();
                const std::string target = event.target.c_str();
                if (!sequencers.count(sequencer))
                    Error(entry->from, label, "unknown sequencer \"" + sequencer + "\"");
                else if (sequencer == "AudioSequencer" && event.name == "Play" && !cueEvents.count(target))
                    Error(entry->from, label, "AudioSequencer target \"" + target + "\" is not a cue event");
                else if (sequencer == "EntitySequencer")
                    CheckEntityEvent(*entry, label, event, shown, hidden);
                else if (sequencer == "AudioSequencer" && event.name == "Stop" &&
                         !kStopCategories.count(event.parameter.c_str()))
                    Error(entry->from, label,
                          "AudioSequencer stop names no category: \"" + std::string(event.parameter.c_str()) + "\"");
            }
    }
    Count("sequences", found);
}

void Checker::CheckEntityEvent(const PackageEntry& entry, const std::string& label, const GameShow::sEvent& event,
                               const std::set<std::string>& shown, const std::set<std::string>& hidden) {
    using QZ2011::ScreenGame;
    const std::string name = event.name.c_str(), parameter = event.parameter.c_str();
    if (event.target != ScreenGame::kName)
        Error(entry.from, label, "EntitySequencer target \"" + std::string(event.target.c_str()) + "\" is not a screen");
    else if (name == ScreenGame::kSequenceEvents[0] && !shown.count(parameter))
        Error(entry.from, label, "EntitySequencer shows \"" + parameter + "\", which is not a component ScreenGame shows");
    else if (name == ScreenGame::kSequenceEvents[1] && !hidden.count(parameter))
        Error(entry.from, label, "EntitySequencer hides \"" + parameter + "\", which is not a component ScreenGame hides");
    else if (name == ScreenGame::kSequenceEvents[2] && parameter != ScreenGame::kTimerParameters[0] &&
             parameter != ScreenGame::kTimerParameters[1])
        Error(entry.from, label, "EntitySequencer timer event \"" + parameter + "\" is neither Start nor Stop");
    else if (name != ScreenGame::kSequenceEvents[0] && name != ScreenGame::kSequenceEvents[1] &&
             name != ScreenGame::kSequenceEvents[2])
        Error(entry.from, label, "EntitySequencer event \"" + name + "\" is not one ScreenGame takes");
}

}  // namespace content
