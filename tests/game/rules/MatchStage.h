#pragma once
// A match level written for the test (a decade's stage with every entity the match mode looks
// up, or some left out), entered through the game flow on a started game context, and the
// probes the staging, dressing and phase tests share.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PcDirectory.h"
#include "game/QZ2011GameContext.h"
#include "tests/support/LooseFilesContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "game/rules/IRoundRules.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "platform/core/Clock.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace match_stage {

// The props the dressing rows of the 70s and the 90s name, with the kind the level gives them.
struct NamedProp {
    std::string name;
    const char* kind;
};

inline std::string Numbered(const char* prefix, int n) { return prefix + std::string(n < 10 ? "0" : "") + std::to_string(n); }

inline std::vector<NamedProp> DressingProps(int decade) {
    const char* stage = "StageProps";
    std::vector<NamedProp> props = {{"board_lights_ingame", ""}, {"board_lights_intro", stage}};
    auto add = [&](std::initializer_list<std::string> names, const char* kind) {
        for (const std::string& name : names)
            props.push_back({name, kind});
    };
    if (decade == 0)
        add({"board_screenlogo"}, stage);
    if (decade != 2)
        return props;
    add({"wall_lights_2_intro", "wall_lights_3_intro", "wall_lights_4_intro", "tv_screen_left", "tv_screen_right",
         "windows_color_01", "windows_color_02", "windows_color_03", "lights_board"},
        stage);
    // The lights, in any order: they share one look.
    for (int n = 1; n <= 8; ++n)
        add({Numbered("lightbeam_mobil_wide_", n), Numbered("spotmobil_top_", n)}, stage);
    for (int n = 1; n <= 2; ++n)
        add({Numbered("lightbeam_mobil_wide_reflect_", n), Numbered("spotmobil_top_reflect_", n)}, stage);
    return props;
}

inline std::string Contestant(int i) {
    return std::string("contestant_") + (i < 4 ? "left_" : "right_") + std::to_string(i % 4 + 1);
}

struct StageLevel {
    // The decade whose stage the level is.
    int decade = 0;
    // Crowd props "crowd_000"..; props of no kind under any names, before all others.
    int crowd = 0;
    std::vector<std::string> plainProps = {};
    // Names the level leaves out.
    std::set<std::string> omit = {};
    bool applicationData = true;
    // The players' cursor props "PlayerCursor0" and "PlayerCursor1" in their component level.
    bool cursors = false;
};

inline std::string Item(const char* kind, const std::string& name, const std::string& more = "") {
    return std::string("<item><Kind>") + kind + "</Kind><Name>" + name + "</Name>" + more + "</item>";
}

inline std::string At(int x, int y, int z) {
    return "<PositionX>" + std::to_string(x) + "</PositionX><PositionY>" + std::to_string(y) +
           "</PositionY><PositionZ>" + std::to_string(z) + "</PositionZ>";
}

inline std::string LevelFile(const StageLevel& level) {
    std::vector<NamedProp> props;
    std::set<std::string> named;
    auto add = [&](const std::string& name, const char* kind) {
        if (!level.omit.count(name) && named.insert(name).second)
            props.push_back({name, kind});
    };
    // Plain props come first and take their names whatever else would.
    for (const std::string& name : level.plainProps)
        if (named.insert(name).second)
            props.push_back({name, ""});
    for (const NamedProp& prop : DressingProps(level.decade))
        add(prop.name, prop.kind);
    // The stage the match looks up, the 80s' side signs in every decade's level (only the 80s' match
    // touches them), without the 80s' dressing: the decade's own is the test's, above.
    std::vector<QZ2011::QZ11Game::StageProp> stage = QZ2011::QZ11Game::StageProps(1), dressed;
    QZ2011::QZ11Game::AddDressedProps(1, dressed);
    stage.resize(stage.size() - dressed.size());
    for (const QZ2011::QZ11Game::StageProp& prop : stage)
        add(prop.name, prop.kind ? prop.kind : "");
    for (int i = 0; i < level.crowd; ++i)
        add("crowd_" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i), "");
    // Every marker stands somewhere of its own.
    std::string items;
    int place = 0;
    for (const NamedProp& prop : props) {
        ++place;
        items += Item(prop.kind, prop.name, prop.name.rfind("box_position", 0) == 0 ? At(place, 2 * place, -place) : "");
    }
    std::string characters;
    for (int i = 0; i < 8; ++i)
        if (!level.omit.count(Contestant(i)))
            characters += Item("QZCharacter", Contestant(i));
    std::string faces;
    for (const char* side : {"left", "right"}) {
        const std::string face = std::string("avatar_face_") + side;
        if (level.omit.count(face))
            continue;
        faces += std::string("<ComponentLevel name=\"ComponentAvatarFace_") + (side[0] == 'l' ? "Left" : "Right") +
                 "\" loadingMode=\"loadinlevel\"><Cameras/><Characters>" + Item("QZCharacter", face) +
                 "</Characters></ComponentLevel>";
    }
    if (level.cursors)
        faces += "<ComponentLevel name=\"PlayerCursors\" loadingMode=\"loadInLayer\"><Props>" +
                 Item("playercursor", "PlayerCursor0") + Item("playercursor", "PlayerCursor1") +
                 "</Props></ComponentLevel>";
    return "<root><Level><SetElements><item><Name>Stage70</Name></item><item><Name>Stage80</Name></item>"
           "<item><Name>Stage90</Name></item><item><Name>Stage00</Name></item></SetElements><Props>" +
           items + "</Props><Characters>" + characters + "</Characters><ComponentLevels>" + faces +
           "</ComponentLevels>" +
           (level.applicationData
                ? "<ApplicationData><numberOfAnswers>7</numberOfAnswers><questionRoundTime>30</questionRoundTime>"
                  "<fastMoneyFirstTime>20</fastMoneyFirstTime><fastMoneySecondTime>25</fastMoneySecondTime>"
                  "</ApplicationData>"
                : "") +
           "</Level></root>";
}

// Counts the firings of every event of the match mode, in order.
struct EventLog {
    struct Recorder : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        void Invoke(GameServices::Entities::BaseTeamMember* member) override {
            ++count;
            last = member;
            order->push_back(index);
        }
        int index = 0, count = 0;
        GameServices::Entities::BaseTeamMember* last = nullptr;
        std::vector<int>* order = nullptr;
    };
    void Attach(QZ2011::QZ11Game& game) {
        fired.clear();
        for (int i = 0; i < QZ2011::QZ11Game::kEventCount; ++i) {
            game.Event(i).RemoveDelegate(&recorders[i]);
            recorders[i] = Recorder();
            recorders[i].index = i;
            recorders[i].order = &fired;
            game.Event(i).AddDelegate(&recorders[i]);
        }
    }
    Recorder recorders[QZ2011::QZ11Game::kEventCount];
    std::vector<int> fired;
};

// The round rules' calls, by name.
struct RulesLog : QZ2011::IRoundRules {
    void RoundWon() override { calls.push_back("RoundWon"); }
    void RevealNextHiddenAnswer() override { calls.push_back("Reveal"); }
    void NextRoundOrEnd() override { calls.push_back("NextRound"); }
    std::vector<std::string> calls;
};

// A question of that many answers, answer n ranked 80 - n and typed as "word<n>".
inline TestQuestion WordQuestion(int answers) {
    TestQuestion question;
    for (int i = 0; i < answers; ++i)
        question.answers.push_back({u32(80 - i), "A" + std::to_string(i), {{"word" + std::to_string(i)}}});
    return question;
}

// Player 0's award counter of that name, 0 without one.
inline int AchievementValue(const char* key) {
    int value = 0;
    GameShow::GetAchievementValue(0, key, value);
    return value;
}

// The listeners of the device connection and loss events.
inline size_t DeviceListeners() {
    return GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent().Count() +
           GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent().Count();
}

// The team action as the member's device sends it.
inline void SendAction(QZ2011GameContext& context, const char* action, GameServices::Entities::BaseTeamMember* member) {
    GameServices::KorvoGame::TeamActionData data(nullptr, 0, member);
    context.GetTeamActionManager()->SimulateTeamAction(&data, action);
}

// A sequence document of that length without events, skippable or not.
inline std::string SequenceFile(int durationMs, bool skippable) {
    return "<root><Sequence duration=\"" + std::to_string(durationMs) + "\" skippable=\"" + (skippable ? "true" : "false") +
           "\"><OnStart><Events/></OnStart><Acts/><OnEnd><Events/></OnEnd></Sequence></root>";
}

// The context's question bank holding these questions in this order; the first loaded as the
// current question.
class QuestionBank {
public:
    QuestionBank(QZ2011GameContext& context, const TempDir& home, const std::vector<TestQuestion>& questions)
        : m_context(context) {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        std::vector<std::pair<std::string, std::string>> files = {{"list.txt", ""}};
        for (size_t i = 0; i < questions.size(); ++i) {
            files.push_back({std::to_string(i) + ".bin", QuestionBytes(questions[i])});
            files[0].second += "70-" + std::to_string(i + 1) + "\n";
        }
        m_package.Mount(home.Write("GameQuestions.dir", ArchiveBytes(files)).c_str(), false);
        context.GetQuestionManager()->Initialize();
        Reload();
    }
    ~QuestionBank() {
        m_context.GetQuestionManager()->Cleanup();
        m_package.Unmount();
        AGResourceManager::SetInstance(nullptr);
    }
    // The first question afresh, with its first `found` answers found ("word<n>").
    QZ2011::Question* Reload(int found = 0) {
        QZ2011::Question* question = m_context.GetQuestionManager()->LoadQuestion(0);
        for (int i = 0; question && i < found; ++i)
            question->CheckAnswer("word" + std::to_string(i));
        return question;
    }

private:
    QZ2011GameContext& m_context;
    AGResourceManager m_resources;
    PcDirectory m_package;
};

class MatchStageTest : public ::testing::Test {
protected:
    static constexpr int kLevelFiles = 40;

    void SetUp() override {
        std::string items;
        for (const char* pool : {"FactoryDeviceTriggerKey", "FactoryDeviceTriggerMove", "FactoryDeviceTriggerAccel",
                                 "FactorySetElement", "FactoryCamera"})
            items += ParameterItem("GameServices", pool, "4");
        for (const char* pool : {"FactoryGsAvatar", "FactoryRenderableAvatarData"})
            items += ParameterItem("GameServices", pool, "40");
        // Every prop takes a render record.
        for (const char* pool : {"FactoryProp", "FactoryRenderableModelData"})
            items += ParameterItem("GameServices", pool, "250");
        home.Write("-xml/global/runtimeparameters.xml", ParameterFile(items));
        std::string levels = "<item><LevelNameId>QZ11_Game_Level1</LevelNameId><LevelFileName>elsewhere"
                             "</LevelFileName></item>";
        for (int i = 0; i < kLevelFiles; ++i)
            levels += "<item><LevelNameId>QZ11_Game_Level2</LevelNameId><LevelFileName>stage_" + std::to_string(i) +
                      "</LevelFileName></item>";
        home.Write("-xml/levels/levels.xml", "<root><LevelTransitions><Levels>" + levels +
                                                 "</Levels></LevelTransitions></root>");
        home.Write("-xml/levels/elsewhere.xml", "<root><Level/></root>");
        sequenceFile = home.Write("show_sequence.xml", SequenceFile(100, false));
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((home.Path() + "/").c_str()));
        context.Initialize();
    }
    void TearDown() override {
        match().SetRoundRules(nullptr);
        bank.reset();
        context.Shutdown();
    }
    // The context's question bank afresh, holding these questions (the first current).
    void UseQuestions(const std::vector<TestQuestion>& questions) {
        bank.reset();
        bank = std::make_unique<QuestionBank>(context, home, questions);
    }

    void Go(const std::string& file, int frames) {
        context.GetGameFlowManager()->SetNextLevel(file.c_str(), nullptr, false);
        for (int i = 0; i < frames; ++i)
            context.Update(16);
    }
    // Leaves the match level a test entered before, then enters the new one for the decade.
    void Enter(const StageLevel& level) {
        if (entered)
            Go("elsewhere", 30);
        ASSERT_LT(nextFile, kLevelFiles);
        const std::string file = "stage_" + std::to_string(nextFile++);
        home.Write("-xml/levels/" + file + ".xml", LevelFile(level));
        context.m_Decade = u32(level.decade);
        Go(file, 30);
        entered = true;
        ASSERT_NE(set(), nullptr);
        // The 85 sequences of the show, each 100 ms long, none playing.
        GameShow::SequenceManager* sequences = context.GetSequenceManager();
        sequences->RemoveAllSequences();
        for (const auto& [sequenceSource, name] : QZ2011::QZ11Game::InGameSequences())
            sequences->LoadSequence(name, sequenceFile.c_str());
        events.Attach(match());
    }
    // The name of the playing sequence of the show, "" for none.
    std::string Playing() {
        const GameShow::Sequence* current = context.GetSequenceManager()->GetCurrentSequence();
        if (!current)
            return "";
        for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences())
            if (context.GetSequenceManager()->FindSequence(Crc32Hash(name)) == current)
                return name;
        return "?";
    }
    // Ends the playing sequence without running the phase step.
    void StopShow() {
        const std::string name = Playing();
        if (name.empty())
            return;
        context.GetSequenceManager()->RemoveSequence(Crc32Hash(name.c_str()));
        context.GetSequenceManager()->LoadSequence(name.c_str(), sequenceFile.c_str());
    }

    QZ2011::QZ11Game& match() { return context.GetMatchMode(); }
    GameServices::Entities::Set* set() { return match().GetSet(); }
    GameServices::Entities::Prop* Prop(const std::string& name) { return set()->FindProp(name.c_str()); }
    QZ2011::Board* Block(const std::string& name) { return dynamic_cast<QZ2011::Board*>(Prop(name)); }
    QZ2011::BehaviorStage* Stage(const std::string& name) { return QZ2011::GetStageBehavior(Prop(name)); }
    QZ2011::QZCharacter* Member(int i) {
        return dynamic_cast<QZ2011::QZCharacter*>(set()->FindCharacter(Contestant(i).c_str()));
    }
    QZ2011::QZCharacter* Face(bool left) {
        auto* level = set()->FindComponentLevel(left ? "ComponentAvatarFace_Left" : "ComponentAvatarFace_Right");
        return level ? dynamic_cast<QZ2011::QZCharacter*>(level->FindCharacter(left ? "avatar_face_left"
                                                                                    : "avatar_face_right"))
                     : nullptr;
    }
    // Far from everything for a missing entity.
    template <typename Entity>
    static AGVec3 PositionOf(const Entity* entity) {
        AGVec3 position{1e9f, 1e9f, 1e9f};
        if (entity)
            entity->GetPosition(position);
        return position;
    }
    size_t LogCount(const std::string& line) const {
        return size_t(std::count(log.Lines().begin(), log.Lines().end(), line));
    }

    TempDir home;
    platform::FakeClock clock;
    LogCapture log;
    LooseFilesContext context;
    EventLog events;
    std::unique_ptr<QuestionBank> bank;
    std::string sequenceFile;
    int nextFile = 0;
    bool entered = false;
};

// Values of mixed integer kinds, to compare a whole outcome at once.
template <typename... T>
std::vector<i64> Values(const T&... values) {
    return {i64(values)...};
}

inline bool Near(const AGVec3& a, const AGVec3& b) {
    return std::abs(a.x - b.x) < 1e-4f && std::abs(a.y - b.y) < 1e-4f && std::abs(a.z - b.z) < 1e-4f;
}

}  // namespace match_stage
