// The sample data of the match as the build writes it: the show sequences in "ingamexml", the
// four decades' match levels and their entries in "Levels.xml", read in package mode from the
// built data folder, as the game reads them.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/AGData.h"
#include "engine/core/AGDirectory.h"
#include "engine/core/AGLocalization.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCFileManager.h"
#include "engine/core/PcDirectory.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZApplicationData.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/ApplicationData.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameshow/GameShowCamera.h"
#include "gameshow/Sequence.h"
#include "platform/core/Clock.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using GameServices::Bridge::FileSystem;
using GameServices::Entities::Set;

namespace {

// The sequences in which a family answers: they open the answer entry and start its timer.
const std::set<std::string> kAnswerTurns = {
    "sequence_real_buzz_left.xml",          "sequence_real_buzz_right.xml",
    "sequence_otherteam_answer_right.xml",  "sequence_otherteam_answer_right_party.xml",
    "sequence_otherteam_answer_left.xml",   "sequence_transition_left_family_03.xml",
    "sequence_transition_right_family_03.xml"};

// Package mode from a working folder that holds the built packages, as the game runs. Only
// the package, file and string resources exist: no graphics, so nothing is drawn.
class SampleData : public ::testing::Test {
protected:
    void SetUp() override {
        AGMemoryPoolManager::SetInstance(new AGMemoryPoolManager());
        AGResourceManager::SetInstance(new AGResourceManager());
        PCFileManager::SetInstance(new PCFileManager());
        AGResourceManager* resources = AGResourceManager::Get();
        resources->RegisterProvider(new AGProvider<PcDirectory>(TypeKey::Directory));
        resources->RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        resources->RegisterProvider(new AGProvider<AGLocalization>(TypeKey::Localization));
        // Every package the build wrote, as the game finds them in its working folder.
        for (const auto& entry : std::filesystem::directory_iterator(TALLYVOX_SAMPLE_DATA))
            if (entry.is_directory())
                std::filesystem::create_directory_symlink(entry.path(), work.File(entry.path().filename().string()));
        std::filesystem::current_path(work.Path());
        FileSystem::Destroy();
        FileSystem::UsePackages();
    }
    void TearDown() override {
        // The match's prototypes outlive its context; no later test may read records into them.
        using GameServices::KorvoGame::ApplicationData;
        for (ApplicationData::Kind kind : {ApplicationData::kLevel, ApplicationData::kCharacter, ApplicationData::kProp})
            ApplicationData::RegisterPrototype(kind, nullptr);
        FileSystem::Destroy();
        std::filesystem::current_path(previous);
        // Each manager stays published while it is deleted: resources reach their providers
        // from their destructors.
        delete PCFileManager::Get();
        PCFileManager::SetInstance(nullptr);
        delete AGResourceManager::Get();
        AGResourceManager::SetInstance(nullptr);
        delete AGMemoryPoolManager::Get();
        AGMemoryPoolManager::SetInstance(nullptr);
    }

    TempDir work;
    std::filesystem::path previous = std::filesystem::current_path();
};

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

// Every file of the table is in the package under its lower-cased name and reads as a short
// sequence; only the answer turns carry events: the answer entry shown and its timer started.
TEST_F(SampleData, TheSequencePackageHoldsEveryShowSequence) {
    LogCapture log;
    FileSystem::LoadPackage("ingamexml.dir", false);
    const AGDirectory* package = AGDirectory::FindMounted(FileSystem::PackageId("ingamexml.dir"));
    ASSERT_NE(package, nullptr);
    std::set<std::string> listed;
    for (const auto& [id, entry] : package->Entries())
        listed.insert(entry.name.c_str());
    std::set<std::string> table;
    for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences()) {
        SCOPED_TRACE(file);
        table.insert(Lower(file));
        GameShow::Sequence sequence(file);
        EXPECT_GT(sequence.m_Duration, 0);
        EXPECT_LE(sequence.m_Duration, 500);
        EXPECT_TRUE(sequence.m_Start.events.empty() && sequence.m_End.events.empty());
        if (!kAnswerTurns.count(file)) {
            EXPECT_TRUE(sequence.m_Acts.empty());
            continue;
        }
        ASSERT_EQ(sequence.m_Acts.size(), 1u);
        const GameShow::SequenceAct& act = sequence.m_Acts[0];
        EXPECT_EQ(act.time, 0);
        ASSERT_EQ(act.events.size(), 2u);
        const char* expected[2][2] = {{"ShowComponent", "SoftKeyboard"}, {"Timer", "Start"}};
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(act.events[i].sequencer, "EntitySequencer");
            EXPECT_EQ(act.events[i].name, expected[i][0]);
            EXPECT_EQ(act.events[i].target, "ScreenGame");
            EXPECT_EQ(act.events[i].parameter, expected[i][1]);
        }
    }
    EXPECT_EQ(listed, table);
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
    FileSystem::UnloadPackage("ingamexml.dir");
}

namespace {

struct DecadeStage {
    u32 decade;
    const char* file;
    const char* stage;
    // The props the decade's dressing animates or holds at a key: stage props.
    std::vector<const char*> dressed;
    // The props it only shows or hides.
    std::vector<const char*> shown;
};

const std::vector<const char*> k90sColours = {
    "windows_color_01", "windows_color_02", "windows_color_03", "lights_board", "lightbeam_mobil_wide_07",
    "lightbeam_mobil_wide_reflect_01", "spotmobil_top_07", "spotmobil_top_reflect_01", "lightbeam_mobil_wide_02",
    "spotmobil_top_02", "lightbeam_mobil_wide_01", "spotmobil_top_01", "lightbeam_mobil_wide_03", "spotmobil_top_03",
    "lightbeam_mobil_wide_05", "spotmobil_top_04", "lightbeam_mobil_wide_04", "spotmobil_top_05",
    "lightbeam_mobil_wide_06", "spotmobil_top_06", "lightbeam_mobil_wide_08", "spotmobil_top_08",
    "lightbeam_mobil_wide_reflect_02", "spotmobil_top_reflect_02", "wall_lights_2_intro", "wall_lights_3_intro",
    "wall_lights_4_intro", "tv_screen_left", "tv_screen_right", "board_lights_intro"};

const DecadeStage kDecades[] = {
    {0, "QZ11_Game_Level_File_1_70", "Stage70", {"board_lights_intro", "board_screenlogo"}, {"board_lights_ingame"}},
    {1, "QZ11_Game_Level_File_1_80", "Stage80",
     {"board_lights_intro", "board_screenlogo", "desk_side_top_left", "desk_side_top_right"},
     {"board_lights_ingame", "desk_digit_0"}},
    {2, "QZ11_Game_Level_File_1_90", "Stage90", k90sColours, {"board_lights_ingame"}},
    {3, "QZ11_Game_Level_File_1_00", "Stage00",
     {"board_lights_intro", "board_score_screens", "wall_1", "wall_2", "wall_3", "wall_top_color_1",
      "wall_top_color_2", "wall_top_color_3", "board_back_color", "arches_top_color_left", "arches_color",
      "floor_tiles_gradient", "arches_lights_3_left", "arches_lights_2_left", "arches_lights_1_left",
      "arches_lights_3_right", "arches_lights_2_right", "arches_lights_1_right"},
     {"board_lights_ingame"}},
};

}  // namespace

// Each decade's match level, entered by its file name through the game flow and dressed both
// ways: the match finds everything it looks up (no "can't find" line), the decade's stage is
// shown, the dressed props are stage props, the crowd is there, the contestants wait dressed and
// hidden, one game-show camera is live and the level carries the match settings.
TEST_F(SampleData, EachDecadeMatchLevelHoldsTheStageTheMatchLooksUp) {
    platform::FakeClock clock;
    for (const DecadeStage& d : kDecades) {
        SCOPED_TRACE(d.file);
        QZ2011GameContext context;
        context.Initialize();
        context.m_Decade = d.decade;
        // The stage as the match mode leaves it: the in-game screen, which would open the show
        // at once, is kept out.
        GameServices::Widget::ScreenManager::Instance().UnregisterScreen(&context.GetGameScreen());
        LogCapture log;
        ASSERT_TRUE(context.GetGameFlowManager()->SetNextLevel(d.file, nullptr, false));
        for (int i = 0; i < 30; ++i)
            context.Update(16);
        QZ2011::QZ11Game::ApplyStageDressing();
        QZ2011::QZ11Game::ApplyInGameStageDressing();
        // Lines the level's data does not cause: no action bindings file, no in-game screen's
        // layout, no graphics (so no camera animation), no sound and no stage behaviour files in
        // the sample data yet.
        const std::set<std::string> stageBehaviourLines = {
            "BehaviorManager: can't read the behaviour file StageBehaviors.xml",
            "BehaviorManager: can't read the behaviour file ScoreBehaviors.xml",
            "resource not in any package: 0x3F75A969 (data)",  // stagebehaviors.xml
            "resource not in any package: 0x5FD19B30 (data)",  // scorebehaviors.xml
            "Can not find this BehaviorAction for this action Salutation01",
            "Can not find this BehaviorAction for this action Hundred",
            "Can not find this BehaviorAction for this action Ten",
            "Can not find this BehaviorAction for this action Unit"};
        for (const std::string& line : log.Lines())
            if (line.rfind("Can not listen this action:", 0) != 0 && line != "Can not read the level file: ScreenGame" &&
                line != "Screen not registered: ScreenGame" &&
                line != "No profile was found assigned to player id = 0" &&
                line != "Failed to initialize the Camera animation!" && line != "you must set an animation first" &&
                line.rfind("Audio: no sound provider; cannot open crowd_", 0) != 0 &&
                line.rfind("Audio asset Crowd", 0) != 0 && !stageBehaviourLines.count(line))
                ADD_FAILURE() << line;
        Set* set = context.GetMatchMode().GetSet();
        ASSERT_NE(set, nullptr);
        ASSERT_EQ(set->m_SetElements.size(), 1u);
        EXPECT_EQ(set->m_SetElements[0]->Name, d.stage);
        EXPECT_TRUE(set->m_SetElements[0]->Visible);
        for (const char* name : d.dressed)
            EXPECT_NE(QZ2011::GetStageBehavior(set->FindProp(name)), nullptr) << name;
        for (const char* name : d.shown)
            EXPECT_NE(set->FindProp(name), nullptr) << name;
        size_t stageProps = 0, crowd = 0;
        for (GameServices::Entities::Prop* prop : set->m_Props) {
            stageProps += QZ2011::GetStageBehavior(prop) ? 1 : 0;
            crowd += std::string(prop->Name.c_str()).rfind("crowd", 0) == 0 ? 1 : 0;
        }
        EXPECT_EQ(stageProps, d.dressed.size());
        EXPECT_GT(crowd, 0u);
        for (const char* name : {"screen_digits_left", "screen_digits_right", "screen_digit_center",
                                 "desk_digit_left", "desk_digit_right"})
            EXPECT_NE(QZ2011::GetScoreBehavior(set->FindProp(name)), nullptr) << name;
        for (const char* name : {"buzzer_light_left", "buzzer_light_right"})
            EXPECT_NE(dynamic_cast<QZ2011::QZBuzzLightProps*>(set->FindProp(name)), nullptr) << name;
        // Without a profile both families wear the computer family's looks of the decade,
        // and wait hidden.
        ASSERT_EQ(set->m_Characters.size(), 8u);
        const char* decades[] = {"70", "80", "90", "00"};
        const char* members[] = {"Male01", "Male02", "Female01", "Female02"};
        for (GameServices::Entities::Character* character : set->m_Characters) {
            const std::string name = character->Name.c_str();
            EXPECT_NE(dynamic_cast<QZ2011::QZCharacter*>(character), nullptr);
            const GameServices::KorvoGame::Appearance* look = character->VolatileDatas.GetAppearance();
            const std::string file = std::string(decades[d.decade]) + "s_F1_AppearanceOpponent" +
                                     members[name.back() - '1'] + ".xml";
            EXPECT_TRUE(look && look->Name == file.c_str()) << name;
            EXPECT_TRUE(character->Activate && !character->Visible) << name;
        }
        size_t live = 0;
        for (GameServices::Entities::Camera* camera : set->m_Cameras) {
            auto* show = dynamic_cast<GameShow::GameShowCamera*>(camera);
            ASSERT_NE(show, nullptr);
            live += camera->Activate ? 1 : 0;
        }
        EXPECT_EQ(live, 1u);
        EXPECT_FALSE(dynamic_cast<GameShow::GameShowCamera*>(set->GetActiveCamera())->GetEndKey().IsEmpty());
        auto found = set->Attributes.m_Map.find(GameServices::Entities::TypeIds::ApplicationDataKey);
        ASSERT_NE(found, set->Attributes.m_Map.end());
        auto* settings = dynamic_cast<QZ2011::QZApplicationDataLevel*>(found->second);
        ASSERT_NE(settings, nullptr);
        EXPECT_EQ(settings->numberOfAnswers, 8);
        EXPECT_EQ(settings->questionRoundTime, 30);
        EXPECT_EQ(settings->fastMoneyFirstTime, 20);
        EXPECT_EQ(settings->fastMoneySecondTime, 25);
        context.Shutdown();
        FileSystem::UsePackages();
    }
}

// "Levels.xml": the menus, the decade choice and one match level per decade, unlocked, each naming a
// level file the start-up package holds; the menus and the match levels run their screens.
TEST_F(SampleData, TheLevelListNamesTheMenusTheDecadeChoiceAndTheFourMatchLevels) {
    platform::FakeClock clock;
    QZ2011GameContext context;
    context.Initialize();
    const AGDirectory* system = AGDirectory::FindMounted(FileSystem::PackageId("gsSystem.dir"));
    ASSERT_NE(system, nullptr);
    std::vector<std::string> names, files;
    for (const auto& transition : context.GetGameFlowManager()->GetTransitions()) {
        names.push_back(transition->GetName().c_str());
        files.push_back(transition->GetFileName().c_str());
        SCOPED_TRACE(files.back());
        EXPECT_EQ(transition->GetStatus(), GameServices::KorvoGame::LevelTransition::kUnlock);
        EXPECT_NE(system->FindEntry(Crc32Hash(Lower(files.back() + ".xml").c_str())), nullptr);
        const TString<char>* screen = transition->GetRunningScreen();
        if (names.back() == QZ2011::QZ11Game::kLevelName) {
            EXPECT_TRUE(screen && *screen == "ScreenGame");
        }
        if (names.back() == GameShow::Menu::kLevelName) {
            EXPECT_TRUE(screen && *screen == GameShow::MenuScreen::kLayoutName);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"GameShowMenu", "QZ11_Game_Level1", "QZ11_Game_Level2",
                                               "QZ11_Game_Level2", "QZ11_Game_Level2", "QZ11_Game_Level2"}));
    EXPECT_EQ(std::vector<std::string>(files.begin() + 2, files.end()),
              (std::vector<std::string>{"QZ11_Game_Level_File_1_70", "QZ11_Game_Level_File_1_80",
                                        "QZ11_Game_Level_File_1_90", "QZ11_Game_Level_File_1_00"}));
    context.Shutdown();
}

namespace {

// The skin tone of each assembly's skin-toned items, as the wardrobe's tone table gives it.
const std::map<std::string, std::string> kSkinTones = {
    {"Male1", "pnk"},   {"Male2", "dpnk"},   {"Male3", "yel"},   {"Male4", "blk"},   {"Male5", "brw"},
    {"Male6", "wht"},   {"Female1", "dpnk"}, {"Female2", "pnk"}, {"Female3", "blk"}, {"Female4", "yel"},
    {"Female5", "wht"}, {"Female6", "brw"}};

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Every look the families wear: the twelve default looks, then the computer families' looks of
// each decade and difficulty (Male01, Male02, Female01, Female02).
std::vector<std::string> SampleLooks() {
    std::vector<std::string> looks;
    for (const char* gender : {"Male", "Female"})
        for (int digit = 1; digit <= 6; ++digit)
            looks.push_back(std::string("Appearance") + gender + "0" + std::to_string(digit) + ".xml");
    for (const char* decade : {"70", "80", "90", "00"})
        for (int difficulty = 1; difficulty <= 3; ++difficulty)
            for (const char* member : {"Male01", "Male02", "Female01", "Female02"})
                looks.push_back(std::string(decade) + "s_F" + std::to_string(difficulty) +
                                "_AppearanceOpponent" + member + ".xml");
    return looks;
}

}  // namespace

// The character data in the start-up package: the twelve assemblies, each wardrobe and anatomy
// with enough items for a family's picks (three of each kind a relative is dressed in), skin-toned
// items in the assembly's tone, and every look read without a complaint: it names its own file,
// its assembly exists with the gender of its name, and each part it names by id is an item of
// that assembly's lists.
TEST_F(SampleData, TheCharacterFilesHoldEveryAssemblyAndLook) {
    using namespace GameServices::KorvoGame;
    LogCapture log;
    FileSystem::LoadPackage("gsSystem.dir", false);
    CharacterAssemblyManager::Destroy();
    CharacterAssemblyManager* assemblies = CharacterAssemblyManager::Instance();
    assemblies->PreloadCharacterAssemblies();
    ASSERT_TRUE(assemblies->AreAssembliesLoaded());

    std::set<std::string> names;
    for (const sCharacterAssembly_KorvoCity& record : assemblies->GetAssemblies()) {
        const std::string name = record.Name.c_str();
        SCOPED_TRACE(name);
        names.insert(name);
        const bool male = name.rfind("Male", 0) == 0;
        EXPECT_EQ(record.Gender, male ? CharacterAssembly::kMale : CharacterAssembly::kFemale);
        const std::string tone = kSkinTones.count(name) ? kSkinTones.at(name) : "?";
        // Counts the items of one list by looking every id of the sample's ranges up.
        auto checkItems = [&](u32 type, bool outfit, size_t least) {
            TString<char> item;
            size_t count = 0;
            for (u32 id = 1; id < 100; ++id) {
                const bool found = outfit ? assemblies->GetOutfitPartName(record.Id, type, id, item)
                                          : assemblies->GetAnatomyPartName(record.Id, type, id, item);
                if (!found)
                    continue;
                ++count;
                const std::string text = item.c_str();
                EXPECT_TRUE(EndsWith(text, ".mdl")) << text;
                if (text.find("skin01") != std::string::npos) {
                    EXPECT_TRUE(EndsWith(text, "_skin01_" + tone + ".mdl")) << text;
                }
            }
            EXPECT_GE(count, least) << (outfit ? "outfit " : "anatomy ") << type;
        };
        for (u32 type : {OUTFIT_TOP, OUTFIT_BOTTOM, OUTFIT_FOOTWEAR})
            checkItems(type, true, 3);
        checkItems(OUTFIT_EYEWEAR, true, 1);
        checkItems(ANATOMY_HAIRSTYLE, false, 3);
        for (u32 type : {ANATOMY_HEAD, ANATOMY_EYE_LEFT, ANATOMY_EYE_RIGHT})
            checkItems(type, false, 1);
    }
    EXPECT_EQ(names, (std::set<std::string>{"Male1", "Male2", "Male3", "Male4", "Male5", "Male6", "Female1",
                                            "Female2", "Female3", "Female4", "Female5", "Female6"}));
    // The id lookups above report each miss; only the looks' own reading must stay quiet.
    log.Clear();

    const std::vector<std::string> looks = SampleLooks();
    ASSERT_EQ(looks.size(), 60u);
    for (const std::string& file : looks) {
        SCOPED_TRACE(file);
        Appearance look;
        AppearanceManager::Instance()->LoadAvatarDescription(file.c_str(), look);
        EXPECT_EQ(look.Name, file.c_str());
        const bool male = file.find("Male") != std::string::npos;
        EXPECT_EQ(std::string(look.Assembly.Name.c_str()).rfind(male ? "Male" : "Female", 0), 0u)
            << look.Assembly.Name.c_str();
        EXPECT_EQ(look.Assembly.Gender, male ? CharacterAssembly::kMale : CharacterAssembly::kFemale);
        for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type) {
            EXPECT_TRUE(EndsWith(look.OutfitParts[type].Name.c_str(), ".mdl")) << type;
            EXPECT_TRUE(look.OutfitParts[type].Customizable) << type;
        }
        for (u32 type = 0; type < NB_ANATOMY_PART_TYPE; ++type) {
            EXPECT_TRUE(EndsWith(look.AnatomyParts[type].Name.c_str(), ".mdl")) << type;
            EXPECT_EQ(look.AnatomyParts[type].Customizable, type == ANATOMY_HAIRSTYLE) << type;
        }
    }
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
    CharacterAssemblyManager::Destroy();
    AppearanceManager::Destroy();
    FileSystem::UnloadPackage("gsSystem.dir");
}
