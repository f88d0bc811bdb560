// Checks of levels, behaviours, stage art and the system files: the level list and its files,
// what the match asks of each decade's stage, the level tuning's limits, the pools' capacities,
// the action file's key names and the actions the game uses, the templates, actions, keys and
// parameters the behaviour classes play, and the behaviour files' animations, skins and
// materials with the 3D pieces behind them.
#include <climits>
#include <map>
#include <set>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/SerializableVector.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGTrack.h"
#include "game/presentation/BehaviorBuzzLight.h"
#include "game/presentation/BehaviorScore.h"
#include "game/presentation/BehaviorStage.h"
#include "game/presentation/QZApplicationData.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZBehaviorCharacter.h"
#include "game/presentation/screens/QZ11DifficultySelector.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Decades.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Menu.h"
#include "game/rules/QZ11Tutorial.h"
#include "game/rules/QZStartup.h"
#include "game/rules/TeamActions.h"
#include "gameservices/bridge/systems/DeviceTrigger.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/ActionManager.h"
#include "gameservices/game/ActionRecords.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/sLevel.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/BehaviorManager.h"
#include "gameservices/minigame/BehaviorRecords.h"
#include "gameshow/GameShowBehaviorCamera.h"
#include "gameshow/Menu.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/Sequence.h"
#include "tools/content/Checker.h"

namespace content {

namespace {

namespace KG = GameServices::KorvoGame;
using GameServices::MiniGame::BaseGame;
using QZ2011::QZ11Game;
namespace MG = GameServices::MiniGame;

const SourceRef kLevelsSource{"data/content/levels.txt", 0};
const SourceRef kRuntimeSource{"data/content/runtime.txt", 0};
const SourceRef kStageSource{"data/content/stage.txt", 0};
const SourceRef kBehaviorsFile{"data/content/behaviors.txt", 0};
constexpr u32 kDecadeCount = 4;

std::string Quoted(const TString<char>& text) { return "\"" + std::string(text.c_str()) + "\""; }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The raw numbers of a match level's application data, read without the game's bounds: absent
// keys stay INT_MIN.
class LevelNumbers : public GameServices::Utilities::ISerializable {
public:
    class Data : public GameServices::Utilities::ISerializable {
    public:
        void Serialize(GameServices::Utilities::ISerialization& s) override {
            for (size_t i = 0; i < std::size(QZ2011::Level::kKeys); ++i)
                s.SerializeInt(QZ2011::Level::kKeys[i], times[i], INT_MIN);
            for (const TString<char>& key : familyKeys) {
                TString<char> value;
                s.SerializeString(key.c_str(), value, TString<char>());
                family[key.c_str()] = value.c_str();
            }
        }
        i32 times[std::size(QZ2011::Level::kKeys)] = {};
        std::vector<TString<char>> familyKeys;
        std::map<std::string, std::string> family;
    };
    void Serialize(GameServices::Utilities::ISerialization& s) override { s.SerializeObject("ApplicationData", data, false); }
    Data data;
};

// A prototype's slot set for the length of one read.
class PrototypeScope {
public:
    PrototypeScope(KG::ApplicationData::Kind kind, KG::ApplicationData* prototype)
        : m_kind(kind), m_before(KG::ApplicationData::GetPrototype(kind)) {
        KG::ApplicationData::RegisterPrototype(kind, prototype);
    }
    ~PrototypeScope() { KG::ApplicationData::RegisterPrototype(m_kind, m_before); }

private:
    KG::ApplicationData::Kind m_kind;
    KG::ApplicationData* m_before;
};

struct LevelFile {
    std::string id;
    std::string file;  // "<LevelFileName>.xml"
    const PackageEntry* entry = nullptr;
    KG::sLevel record;
};

class LevelCheck {
public:
    explicit LevelCheck(Checker& checker) : c(checker) {
        for (const auto& [name, entry] : c.Entries())
            m_byId[Crc32Hash(name.c_str())] = name;
    }

    void Run() {
        ReadParameters();
        // Without the list the game knows no level: nothing more to tell about them.
        if (ReadLevelList()) {
            CheckCodeLevels();
            CheckPools();
            for (u32 decade = 0; decade < kDecadeCount; ++decade)
                CheckMatchLevel(decade);
        }
        CheckActions();
        CheckBehaviors();
        CheckCodeBehaviors();
    }

private:
    const PackageEntry* Document(const char* name, const SourceRef& from, const std::string& what) {
        // The game opens it by its bare name in the mounted packages.
        const PackageEntry* entry = c.Use(name);
        if (!entry)
            c.Error(from, "", what + " \"" + name + "\" is in no package");
        return entry;
    }

    void ReadParameters() {
        const PackageEntry* entry = Document(BaseGame::kParametersFile, kRuntimeSource, "the runtime parameters file");
        if (!entry)
            return;
        m_parametersEntry = entry;
        GameServices::Utilities::SerializableVector<KG::sParameter> records;
        if (!c.ReadXml(*entry, "RuntimeParameters", records)) {
            c.Error(entry->from, entry->Label(), "the runtime parameters do not parse");
            return;
        }
        for (const KG::sParameter& record : records)
            m_parameters[record.Section.c_str() + std::string("/") + record.Name.c_str()] = record.Value.c_str();
    }

    std::string Parameter(const char* section, const char* name) const {
        const auto found = m_parameters.find(section + std::string("/") + name);
        return found == m_parameters.end() ? std::string() : found->second;
    }

    bool ReadLevelList() {
        const PackageEntry* list = Document(BaseGame::kLevelsFile, kLevelsSource, "the level list");
        if (!list)
            return false;
        KG::sLevelTransitions transitions;
        if (!c.ReadXml(*list, "LevelTransitions", transitions)) {
            c.Error(list->from, list->Label(), "the level list does not parse");
            return false;
        }
        size_t found = 0;
        for (const KG::sLevelTransition& transition : transitions.Levels) {
            LevelFile level;
            level.id = transition.LevelNameId.c_str();
            level.file = std::string(transition.LevelFileName.c_str()) + ".xml";
            level.entry = c.Use(level.file);
            if (!level.entry) {
                c.Error(list->from, list->Label(),
                        "level " + Quoted(level.id) + " names the file " + Quoted(level.file) + ", which no package holds");
            } else {
                QZ2011::QZApplicationDataProps props;
                PrototypeScope scope(KG::ApplicationData::kProp, &props);
                if (c.ReadXml(*level.entry, "Level", level.record))
                    ++found;
                else
                    c.Error(level.entry->from, level.entry->Label(), "level file " + Quoted(level.file) + " does not parse");
            }
            for (const TString<char>* screen : {&transition.LoadingSceenId, &transition.RunningSceenId})
                if (!screen->IsEmpty() && !c.Find(std::string(screen->c_str()) + ".xaml"))
                    c.Error(list->from, list->Label(),
                            "level " + Quoted(level.id) + " names the screen " + Quoted(*screen) + ", which has no layout");
            m_levels.push_back(std::move(level));
        }
        c.Count("level files", found);
        return true;
    }

    const LevelFile* Level(const std::string& name, bool byFile) const {
        for (const LevelFile& level : m_levels)
            if ((byFile ? level.file : level.id) == (byFile ? name + ".xml" : name))
                return &level;
        return nullptr;
    }

    // The level ids and files the game passes to the flow, and the first level.
    void CheckCodeLevels() {
        const PackageEntry* list = c.Find(BaseGame::kLevelsFile);
        const std::string label = list ? list->Label() : "";
        for (const char* id : {QZ2011::QZStartup::kLevelName, QZ2011::QZStartup::kMenuLevel, QZ2011::QZ11Menu::kLevelName,
                               QZ2011::QZ11Decades::kLevelName, QZ2011::QZ11Tutorial::kLevelName, QZ11Game::kLevelName,
                               GameShow::Menu::kLevelName})
            if (!Level(id, false))
                c.Error(kLevelsSource, label, "the game asks for level " + Quoted(std::string(id)) + ", which the level list lacks");
        for (const char* decade : QZ2011::ScreenTutorial::kDecades)
            for (const char* prefix : {QZ2011::QZ11Tutorial::kMatchLevelPrefix, QZ2011::QZ11DifficultySelector::kLevelPrefix})
                if (!Level(prefix + std::string(decade), true))
                    c.Error(kLevelsSource, label,
                            "the game asks for the level file " + Quoted(prefix + std::string(decade) + ".xml") +
                                ", which the level list lacks");
        const std::string start = Parameter(BaseGame::kParameterSection, BaseGame::kStartScreenKey);
        if (m_parametersEntry && !Level(start, false))
            c.Error(m_parametersEntry->from, m_parametersEntry->Label(),
                    Quoted(std::string(BaseGame::kStartScreenKey)) + " " + Quoted(start) + " names no level");
    }

    // Every level's entities per pool against the capacities: the match's own kinds have fixed
    // pools, the rest the default pools of the parameters.
    void CheckPools() {
        using Factory = GameServices::Entities::GameEntityFactory;
        for (const LevelFile& level : m_levels) {
            if (!level.entry)
                continue;
            std::map<std::string, u32> counts;
            auto count = [&counts](const TString<char>& kind, const char* pool) {
                for (const QZ11Game::KindPool& own : QZ11Game::kKinds)
                    if (kind == own.kind) {
                        ++counts[own.kind];
                        return;
                    }
                ++counts[pool];
            };
            const KG::sLevel& r = level.record;
            auto add = [&](const KG::sComponentLevelContents& contents) {
                for (const KG::sCamera& camera : contents.Cameras)
                    count(camera.Kind, Factory::kCameraCapacityKey);
                for (const KG::sLight& light : contents.Lights)
                    count(light.Kind, Factory::kLightCapacityKey);
                for (const KG::sProp& prop : contents.Props)
                    count(prop.Kind, Factory::kPropCapacityKey);
                for (const KG::sCharacter& character : contents.Characters)
                    count(character.Kind, Factory::kCharacterCapacityKey);
                for (const KG::sSetElement& element : contents.SetElements)
                    count(element.Kind, Factory::kSetElementCapacityKey);
            };
            KG::sComponentLevelContents top;
            top.Cameras = r.Cameras;
            top.Lights = r.Lights;
            top.Props = r.Props;
            top.Characters = r.Characters;
            top.SetElements = r.SetElements;
            add(top);
            for (const KG::sComponentLevel& component : r.ComponentLevels)
                add(component);
            for (const auto& [pool, used] : counts) {
                u32 capacity = 0;
                bool own = false;
                for (const QZ11Game::KindPool& kind : QZ11Game::kKinds)
                    if (pool == kind.kind) {
                        capacity = kind.capacity;
                        own = true;
                    }
                if (!own)
                    capacity = u32(std::strtoul(Parameter("GameServices", pool.c_str()).c_str(), nullptr, 10));
                if (used > capacity)
                    c.Error(own ? level.entry->from : kRuntimeSource, own ? level.entry->Label() : "",
                            "level " + Quoted(level.file) + " holds " + std::to_string(used) + " entities of " +
                                Quoted(pool) + ", whose pool holds " + std::to_string(capacity));
            }
        }
    }

    template <typename Record>
    static const Record* Named(const GameServices::Utilities::SerializableVector<Record>& records, const std::string& name) {
        for (const Record& record : records)
            if (name == record.Name.c_str())
                return &record;
        return nullptr;
    }

    void CheckMatchLevel(u32 decade) {
        const LevelFile* level =
            Level(QZ2011::QZ11Tutorial::kMatchLevelPrefix + std::string(QZ2011::ScreenTutorial::kDecades[decade]), true);
        if (!level || !level->entry)
            return;
        const SourceRef& from = level->entry->from;
        const std::string label = level->entry->Label();
        const KG::sLevel& r = level->record;
        auto lacks = [&](const std::string& what, const std::string& name) {
            c.Error(from, label, "the match asks for " + what + " " + Quoted(name) + ", which the level lacks");
        };
        if (!Named(r.SetElements, QZ11Game::kStageSets[decade]))
            lacks("the set element", QZ11Game::kStageSets[decade]);
        std::set<std::string> seen;  // a prop the dressing also asks for is told once
        for (const QZ11Game::StageProp& wanted : QZ11Game::StageProps(decade)) {
            if (!seen.insert(wanted.name).second)
                continue;
            const KG::sProp* prop = Named(r.Props, wanted.name);
            if (!prop) {
                lacks("the prop", wanted.name);
                continue;
            }
            if (wanted.kind && prop->Kind != wanted.kind) {
                c.Error(from, label,
                        "prop " + Quoted(wanted.name) + " is of kind " + Quoted(prop->Kind) + "; the match needs " +
                            Quoted(std::string(wanted.kind)));
                continue;
            }
            if (!wanted.keys.empty())
                CheckStageTemplate(*level, *prop, wanted.keys);
        }
        for (const char* name : QZ11Game::kContestants) {
            const KG::sCharacter* character = Named(r.Characters, name);
            if (!character || character->Kind != QZ11Game::kKinds[QZ11Game::kCharacterKind].kind)
                lacks("the contestant", name);
        }
        for (const auto& face : QZ11Game::kFaces) {
            const KG::sComponentLevel* component = Named(r.ComponentLevels, face[0]);
            const KG::sCharacter* character = component ? Named(component->Characters, face[1]) : nullptr;
            if (!component || component->LoadingMode != "loadin3dviewport")
                lacks("the 3D viewport component level", face[0]);
            else if (!character || character->Kind != QZ11Game::kKinds[QZ11Game::kCharacterKind].kind)
                lacks("the face", face[1]);
        }
        for (const KG::sCamera& camera : r.Cameras)
            if (camera.Kind == QZ11Game::kKinds[QZ11Game::kCameraKind].kind)
                m_decadeCameras[decade].insert(camera.Name.c_str());
        m_decadeFiles[decade] = level->file;
        CheckTuning(*level, decade);
    }

    // A dressed prop's template in the stage behaviour file, and the keys the dressing plays.
    void CheckStageTemplate(const LevelFile& level, const KG::sProp& prop, const std::vector<const char*>& keys) {
        const auto* data = dynamic_cast<const QZ2011::QZApplicationDataProps*>(prop.AppData.Get());
        const std::string name = prop.Name.c_str();
        if (!data || data->TemplateBehavior.IsEmpty()) {
            c.Error(level.entry->from, level.entry->Label(), "stage prop " + Quoted(name) + " names no behaviour template");
            return;
        }
        const MG::sBehaviorEntity* entity = Template(QZ2011::BehaviorStage::kBehaviorFile, data->TemplateBehavior.c_str());
        if (!entity) {
            c.Error(level.entry->from, level.entry->Label(),
                    "stage prop " + Quoted(name) + " names the template " + Quoted(data->TemplateBehavior) + ", which " +
                        QZ2011::BehaviorStage::kBehaviorFile + " lacks");
            return;
        }
        if (!Named(entity->Actions, QZ2011::BehaviorStage::kAction))
            c.Error(level.entry->from, level.entry->Label(),
                    "stage prop " + Quoted(name) + ": its template " + Quoted(data->TemplateBehavior) + " has no action " +
                        Quoted(std::string(QZ2011::BehaviorStage::kAction)));
        for (const char* key : keys) {
            bool held = std::string(key) == MG::BehaviorManager::kStartKeyName || std::string(key) == MG::BehaviorManager::kEndKeyName;
            for (const MG::sBehaviorEntityAction& action : entity->Actions)
                for (const MG::sBehaviorEntityActionKey& actionKey : action.Keys)
                    held = held || actionKey.Name == key;
            if (!held)
                c.Error(level.entry->from, level.entry->Label(),
                        "stage prop " + Quoted(name) + " plays the key " + Quoted(std::string(key)) + ", which its template " +
                            Quoted(data->TemplateBehavior) + " lacks");
        }
    }

    void CheckTuning(const LevelFile& level, u32 decade) {
        LevelNumbers numbers;
        for (i32 difficulty = 0; difficulty < 3; ++difficulty)
            for (const char* family : QZ2011::AI::kFamilies)
                numbers.data.familyKeys.push_back(QZ2011::AI::Key(family, difficulty, i32(decade)));
        if (!c.ReadXml(*level.entry, "Level", numbers))
            return;
        for (size_t i = 0; i < std::size(QZ2011::Level::kKeys); ++i) {
            const i32 value = numbers.data.times[i];
            const i32 max = i == 0 ? QZ2011::Level::kMaxAnswers : QZ2011::Level::kMaxSeconds;
            const std::string key = Quoted(std::string(QZ2011::Level::kKeys[i]));
            if (value == INT_MIN)
                c.Error(level.entry->from, level.entry->Label(), "the level data lacks " + key);
            else if (value < (i == 0 ? 1 : 0) || value > max)
                c.Error(level.entry->from, level.entry->Label(),
                        key + " " + std::to_string(value) + " is outside " + (i == 0 ? "1" : "0") + ".." + std::to_string(max));
        }
        for (const auto& [key, value] : numbers.data.family)
            if (value.empty())
                c.Error(level.entry->from, level.entry->Label(), "the level data lacks " + Quoted(key));
    }

    void CheckActions() {
        const PackageEntry* entry = Document(KG::ActionManager::kActionsFile, {"data/content/actions.txt", 0}, "the actions file");
        if (!entry)
            return;
        KG::sRootContext root;
        if (!c.ReadXml(*entry, "RootContext", root)) {
            c.Error(entry->from, entry->Label(), "the actions file does not parse");
            return;
        }
        std::set<std::string> actions;
        for (const KG::sDeviceControllerContext& context : root.Contexts)
            for (const KG::sDeviceControllerAction& action : context.Actions) {
                actions.insert(action.Name.c_str());
                for (const KG::sDeviceControllerTrigger& trigger : action.Triggers) {
                    if (trigger.Type != "key")
                        continue;
                    for (const std::string& key : SplitFields(trigger.Filter.c_str(), ','))
                        if (!GameServices::Bridge::KeyNameTable::IsBuiltIn(key.c_str()))
                            c.Error(entry->from, entry->Label(), "key name " + Quoted(key) + " is not in the key table");
                }
            }
        for (const char* action : QZ2011::kTeamActions)
            if (!actions.count(action))
                c.Error(entry->from, entry->Label(), "the game listens for the action " + Quoted(std::string(action)) +
                                                         ", which the actions file lacks");
    }

    const MG::sRootBehavior* Behaviors(const char* file) {
        auto [at, fresh] = m_behaviors.try_emplace(file);
        if (fresh) {
            const PackageEntry* entry = c.Use(file);
            if (!entry)
                c.Error(kBehaviorsFile, "", "the behaviour file \"" + std::string(file) + "\" is in no package");
            else if (!c.ReadXml(*entry, "RootBehavior", at->second.record))
                c.Error(entry->from, entry->Label(), "the behaviour file does not parse");
            else
                at->second.entry = entry;
        }
        return at->second.entry ? &at->second.record : nullptr;
    }

    const MG::sBehaviorEntity* Template(const char* file, const std::string& name) {
        if (const MG::sRootBehavior* root = Behaviors(file))
            for (const MG::sBehavior& behavior : root->Behaviors)
                if (const MG::sBehaviorEntity* entity = Named(behavior.Entities, name))
                    return entity;
        return nullptr;
    }

    // Each action's resources by its provider: skins name a skeleton, skin and model animations
    // their tracks, texture and UV animations a material (with its slots and pictures).
    void CheckBehaviors() {
        for (const char* file : {QZ2011::QZBehaviorCharacter::kBehaviorFile, GameShow::Menu::kBehaviorsFile,
                                 QZ2011::BehaviorStage::kBehaviorFile, QZ2011::BehaviorScore::kBehaviorFile,
                                 GameShow::GameShowBehaviorCamera::kBehaviorFile}) {
            const MG::sRootBehavior* root = Behaviors(file);
            if (!root)
                continue;
            const PackageEntry& entry = *m_behaviors[file].entry;
            for (const MG::sBehavior& behavior : root->Behaviors)
                for (const MG::sBehaviorEntity& entity : behavior.Entities)
                    for (const MG::sBehaviorEntityAction& action : entity.Actions)
                        CheckAction(entry, entity, action);
        }
    }

    // The behaviours the game's classes play: each template the class takes, in its behaviour,
    // holds the actions the class plays, the keys it waits for and the parameters it binds.
    void CheckCodeBehaviors() {
        using namespace QZ2011;
        using Names = std::vector<std::string>;
        const char* stage = BehaviorStage::kBehaviorFile;
        Names characterActions(std::begin(QZBehaviorCharacter::kActions), std::end(QZBehaviorCharacter::kActions));
        // Every code the pose table names.
        for (i32 code = 0; code < 10000; ++code) {
            const TString<char> pose = QZBehaviorCharacter::PoseName(code);
            if (!pose.IsEmpty())
                characterActions.push_back(pose.c_str());
        }
        for (const char* name : QZBehaviorCharacter::kTemplates)
            CodeTemplate(QZBehaviorCharacter::kBehaviorFile, QZBehaviorCharacter::kBehaviorName, name, characterActions, {},
                         {QZBehaviorCharacter::kWalkParameter});
        for (int part = 0; part < Board::kPartCount; ++part) {
            if (part < Board::kFirstBuzzerPart)
                CodeTemplate(stage, BoardBehavior::kBehaviorName, Board::kParts[part],
                             {BoardBehavior::kFrontAction, BoardBehavior::kBackAction},
                             {{BoardBehavior::kFrontAction, BoardBehavior::kStartIFL}}, {});
            else
                CodeTemplate(stage, BoardBehavior::kBehaviorName, Board::kParts[part], {BoardBehavior::kBuzzAction}, {}, {});
        }
        CodeTemplate(stage, BehaviorBuzzLight::kBehaviorName, BehaviorBuzzLight::kTemplate, {BehaviorBuzzLight::kAction}, {},
                     {});
        for (const char* name : BehaviorScore::kTemplates)
            CodeTemplate(BehaviorScore::kBehaviorFile, BehaviorScore::kBehaviorName, name,
                         Names(std::begin(BehaviorScore::kDigitActions), std::end(BehaviorScore::kDigitActions)), {}, {});
        namespace A = GameShow::MenuActions;
        for (const char* name : {GameShow::BehaviorCharacter::kMaleTemplate, GameShow::BehaviorCharacter::kFemaleTemplate})
            CodeTemplate(GameShow::Menu::kBehaviorsFile, GameShow::BehaviorCharacter::kBehaviorName, name,
                         {A::kIdle, A::kLoopBreak, A::kTryHead, A::kTryTop, A::kTryBottom, A::kTryAll}, {}, {});
        using GameShow::GameShowBehaviorCamera;
        CodeTemplate(GameShowBehaviorCamera::kBehaviorFile, GameShowBehaviorCamera::kBehaviorName,
                     GameShowBehaviorCamera::kTemplate, {}, {}, {});
    }

    void CodeTemplate(const char* file, const char* behaviorName, const std::string& name, const std::vector<std::string>& actions,
                      const std::vector<std::pair<std::string, std::string>>& keys, const std::vector<std::string>& parameters) {
        const MG::sRootBehavior* root = Behaviors(file);
        if (!root)
            return;  // told by Behaviors
        const PackageEntry& entry = *m_behaviors[file].entry;
        const MG::sBehavior* behavior = Named(root->Behaviors, behaviorName);
        if (!behavior) {
            if (m_toldBehaviors.insert(behaviorName).second)
                c.Error(entry.from, entry.Label(),
                        "the game plays the behaviour " + Quoted(std::string(behaviorName)) + ", which " + file + " lacks");
            return;
        }
        const MG::sBehaviorEntity* entity = Named(behavior->Entities, name);
        if (!entity) {
            c.Error(entry.from, entry.Label(),
                    "behaviour " + Quoted(std::string(behaviorName)) + " has no template " + Quoted(name) + ", which the game uses");
            return;
        }
        const std::string where = "template " + Quoted(name) + " of " + Quoted(std::string(behaviorName));
        for (const std::string& action : actions)
            if (!Named(entity->Actions, action))
                c.Error(entry.from, entry.Label(), where + " has no action " + Quoted(action) + ", which the game plays");
        for (const auto& [action, key] : keys) {
            const MG::sBehaviorEntityAction* found = Named(entity->Actions, action);
            if (found && !Named(found->Keys, key))
                c.Error(entry.from, entry.Label(),
                        where + ": action " + Quoted(action) + " has no key " + Quoted(key) + ", which the game waits for");
        }
        for (const std::string& parameter : parameters)
            if (!Named(entity->Parameters, parameter))
                c.Error(entry.from, entry.Label(), where + " has no parameter " + Quoted(parameter) + ", which the game binds");
    }

    void CheckAction(const PackageEntry& entry, const MG::sBehaviorEntity& entity, const MG::sBehaviorEntityAction& action) {
        const std::string where = "action " + Quoted(action.Name) + " of " + Quoted(entity.Name);
        auto resource = [&](const TString<char>& name, const char* ending, const char* kind) {
            if (name.IsEmpty())
                return;
            TString<char> lower(name);
            lower.ToLower();
            const std::string text = lower.c_str();
            if (!text.ends_with(ending) || !c.Use(text))
                c.Error(entry.from, entry.Label(), where + " plays " + Quoted(name) + ", which is no " + kind);
        };
        switch (action.ActionType) {
        case KG::kAnimationSkin:
            if (!c.Use(action.Skin.name.c_str()))
                c.Error(entry.from, entry.Label(), where + ": skin " + Quoted(action.Skin.name) + " names no skeleton");
            for (const TString<char>* animation : {&action.InAnimation, &action.LoopAnimation, &action.OutAnimation})
                resource(*animation, ".ska", "skin animation");
            break;
        case KG::kAnimationModel:
            resource(action.LoopAnimation, ".prs", "model animation");
            break;
        case KG::kAnimationTexture:
        case KG::kAnimationUV:
            if (!UseMaterial(action.MaterialName.c_str()))
                c.Error(entry.from, entry.Label(), where + " animates the material " + Quoted(action.MaterialName) + ", which no package holds");
            break;
        default:
            break;
        }
    }

    // The entry of a name id; null when no package holds it.
    const PackageEntry* ById(u32 id) {
        const auto found = m_byId.find(id);
        return found == m_byId.end() ? nullptr : c.Use(found->second);
    }

    // A material with its texture slots and their pictures, read as the engine reads them.
    bool UseMaterial(const std::string& name) {
        const PackageEntry* material = c.Use(name);
        if (!material)
            return false;
        const std::string bytes = c.Read(*material);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12);
        b.Skip(16);
        AGTrack<f32> alpha;
        if (!b.Failed())
            alpha.Read(b, false);
        AGOwnedBuffer<u32> slots;
        AGReadNameIds(b, b.ReadU32(), slots);
        if (b.Failed()) {
            c.Error(material->from, material->Label(), "the material does not parse");
            return true;
        }
        for (u32 id : slots) {
            const PackageEntry* slot = ById(id);
            if (!slot) {
                c.Error(material->from, material->Label(), "the material names a texture slot no package holds");
                continue;
            }
            const std::string slotBytes = c.Read(*slot);
            AGMemBuffer s(slotBytes.data(), u32(slotBytes.size()));
            s.Skip(12);
            AGOwnedBuffer<u32> pictures;
            AGReadNameIds(s, s.ReadU32(), pictures);
            for (u32 picture : pictures)
                if (!ById(picture))
                    c.Error(slot->from, slot->Label(), "the texture slot names a picture no package holds");
        }
        return true;
    }

public:
    // A prop's sprite and the material it draws with, read as the engine reads them.
    void UseSprite(const std::string& name, const SourceRef& from, const std::string& label) {
        const PackageEntry* sprite = c.Use(name);
        if (!sprite) {
            c.Error(from, label, "the prop's picture " + Quoted(name) + " is in no package");
            return;
        }
        if (!m_sprites.insert(name).second)
            return;
        const std::string bytes = c.Read(*sprite);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12);
        b.Skip(12);  // blend mode, width, height
        const u32 material = b.ReadU32();
        if (b.Failed()) {
            c.Error(sprite->from, sprite->Label(), "the sprite does not parse");
            return;
        }
        const auto found = m_byId.find(material);
        if (material && (found == m_byId.end() || !UseMaterial(found->second)))
            c.Error(sprite->from, sprite->Label(), "the sprite's material is in no package");
    }

    // A model's vertex buffer, meshes and materials, read as the engine reads them.
    void UseModel(const std::string& name, const SourceRef& from, const std::string& label) {
        if (!m_models.insert(name).second)
            return;
        const PackageEntry* model = c.Use(name);
        if (!model) {
            c.Error(from, label, "model " + Quoted(name) + " is in no package");
            return;
        }
        const std::string bytes = c.Read(*model);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12);
        const u32 vertexBuffer = b.ReadU32();
        b.Skip(16 * 4);
        const u32 meshCount = b.ReadU32();
        const u32 materialCount = b.ReadU32();
        b.Skip(8);
        AGOwnedBuffer<u32> meshes, materials;
        AGReadNameIds(b, meshCount, meshes);
        AGReadNameIds(b, materialCount, materials);
        if (b.Failed()) {
            c.Error(model->from, model->Label(), "the model does not parse");
            return;
        }
        if (!ById(vertexBuffer))
            c.Error(model->from, model->Label(), "the model's vertex buffer is in no package");
        for (u32 mesh : meshes)
            if (!ById(mesh))
                c.Error(model->from, model->Label(), "a mesh of the model is in no package");
        for (u32 id : materials) {
            const auto found = m_byId.find(id);
            if (found == m_byId.end() || !UseMaterial(found->second))
                c.Error(model->from, model->Label(), "a material of the model is in no package");
        }
    }

    // Every level's art: models of props and set elements, cameras, lights, outfits and
    // character animations.
    void CheckLevelArt() {
        for (const LevelFile& level : m_levels) {
            if (!level.entry)
                continue;
            const SourceRef& from = level.entry->from;
            const std::string label = level.entry->Label();
            auto file = [&](const TString<char>& name, const char* what) {
                if (!name.IsEmpty() && !c.Use(name.c_str()))
                    c.Error(from, label, what + std::string(" ") + Quoted(name) + " is in no package");
            };
            auto contents = [&](const KG::sComponentLevelContents& r) {
                for (const KG::sProp& prop : r.Props)
                    if (std::string(prop.EngineDataFileName.c_str()).ends_with(".mdl"))
                        UseModel(prop.EngineDataFileName.c_str(), from, label);
                    else if (std::string(prop.EngineDataFileName.c_str()).ends_with(".spt"))
                        UseSprite(prop.EngineDataFileName.c_str(), from, label);
                    else
                        file(prop.EngineDataFileName, "the prop's picture");
                for (const KG::sSetElement& element : r.SetElements)
                    UseModel(element.EngineDataFileName.c_str(), from, label);
                for (const KG::sCamera& camera : r.Cameras)
                    file(camera.EngineDataFileName, "camera");
                for (const KG::sLight& light : r.Lights)
                    file(light.EngineDataFileName, "light");
                for (const KG::sCharacter& character : r.Characters) {
                    file(character.Outfit, "outfit");
                    file(character.Animation.AnimationFile, "animation");
                    if (!character.Animation.Skin.Name.IsEmpty() && !c.Use(character.Animation.Skin.Name.c_str()))
                        c.Error(from, label,
                                "character " + Quoted(character.Name) + ": skin " + Quoted(character.Animation.Skin.Name) +
                                    " names no skeleton");
                }
            };
            KG::sComponentLevelContents top;
            top.Props = level.record.Props;
            top.SetElements = level.record.SetElements;
            top.Cameras = level.record.Cameras;
            top.Lights = level.record.Lights;
            top.Characters = level.record.Characters;
            contents(top);
            const KG::sComponentLevel* cursors = nullptr;
            for (const KG::sComponentLevel& component : level.record.ComponentLevels) {
                contents(component);
                if (!cursors && component.Name == GameShow::Menu::kCursorLevel)
                    cursors = &component;
            }
            for (const char* cursor : GameShow::Menu::kCursorNames)
                if (!cursors || !Named(cursors->Props, cursor))
                    c.Error(from, label,
                            std::string("the level lacks the cursor ") + Quoted(std::string(cursor)) + " of " +
                                Quoted(std::string(GameShow::Menu::kCursorLevel)));
        }
    }

    // The game-show cameras the sequences cut to are cameras of every decade's match level.
    void CheckSequenceCameras() {
        for (const auto& [file, name] : QZ11Game::InGameSequences()) {
            const PackageEntry* entry = c.Find(file);
            GameShow::sSequence record;
            if (!entry || !c.ReadXml(*entry, "Sequence", record))
                continue;  // told by the sequence check
            std::set<std::string> told;
            std::vector<const GameShow::sAct*> acts = {&record.OnStart, &record.OnSkip, &record.OnEnd};
            for (const GameShow::sAct& act : record.Acts)
                acts.push_back(&act);
            for (const GameShow::sAct* act : acts)
                for (const GameShow::sEvent& event : act->Events) {
                    const std::string camera = event.target.c_str();
                    if (event.sequencer != "GameShowCameraSequencer" || !told.insert(camera).second)
                        continue;
                    for (u32 decade = 0; decade < kDecadeCount; ++decade)
                        if (!m_decadeFiles[decade].empty() && !m_decadeCameras[decade].count(camera)) {
                            c.Error(entry->from, entry->Label(),
                                    "GameShowCameraSequencer target " + Quoted(camera) + " is not a camera of " +
                                        Quoted(m_decadeFiles[decade]));
                            break;
                        }
                }
        }
    }

    std::set<std::string> m_decadeCameras[kDecadeCount];
    std::string m_decadeFiles[kDecadeCount];

private:
    struct BehaviorFile {
        const PackageEntry* entry = nullptr;
        MG::sRootBehavior record;
    };

    Checker& c;
    std::map<u32, std::string> m_byId;
    std::map<std::string, std::string> m_parameters;
    const PackageEntry* m_parametersEntry = nullptr;
    std::vector<LevelFile> m_levels;
    std::map<std::string, BehaviorFile> m_behaviors;
    std::set<std::string> m_models;
    std::set<std::string> m_sprites;
    std::set<std::string> m_toldBehaviors;
};

}  // namespace

void CheckLevels(Checker& checker) {
    LevelCheck check(checker);
    check.Run();
    check.CheckLevelArt();
    check.CheckSequenceCameras();
}

}  // namespace content
