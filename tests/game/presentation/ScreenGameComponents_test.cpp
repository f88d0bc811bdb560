// The in-game screen's sequence components and banners, the avatar dressing, the window close
// with the quit prompt, the focus pause and the achievement notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/core/AGController.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/CharacterParts.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/FileContents.h"
#include "tests/support/PopupPress.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

using GameShow::CompositionManager;
using Names = std::vector<std::string>;

class Components : public screen_game::ScreenGameFixture {
protected:
    void SetUp() override {
        ScreenGameFixture::SetUp();
        Load();
        StopShow();
        context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
    }
    void TearDown() override {
        GameShow::PlayerProfileManager::Instance()->ClearPlayers();
        ScreenGameFixture::TearDown();
    }
    std::string Text(const std::string& name) {
        return static_cast<GameServices::Widget::Label*>(Bound(name))->m_TextStyle.m_Text.c_str();
    }
    void HideAll(const std::string& prefix) {
        for (int n = 1; n <= 10; ++n)
            Bound(prefix + std::to_string(n))->SetVisible(false);
    }
    // Players 0, 1, ... play profiles of those names.
    void Profiles(const Names& names) {
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        profiles->ClearPlayers();
        while (profiles->GetSavedFile()->GetSavedGameCount() < names.size())
            profiles->GetSavedFile()->AddSavedGame();
        for (size_t i = 0; i < names.size(); ++i) {
            profiles->GetSavedFile()->GetSavedGame(i32(i))->isUsed = true;
            profiles->GetSavedFile()->GetSavedGame(i32(i))->SavedGameName = names[i].c_str();
            profiles->AssignPlayer(i32(i), i32(i));
        }
    }
};

// Each component with its state: the widgets it shows, and those it hides or leaves hidden.
TEST_F(Components, EachComponentShowsAndHidesItsWidgets) {
    const struct {
        const char* component;
        bool show;
        i32 round, phase;
        u32 revealIndex;
        Names shown, hidden;
    } cases[] = {
        {"Rounds", true, 3, 6, 0, {"Round", "Round3"}, {"Round1", "Round2", "Round4", "SuddenDeath"}},
        {"SpecialRounds", true, 3, 6, 0, {"RoundDouble", "Round3"}, {"RoundTriple"}},
        {"Rounds", false, 3, 6, 0, {"RoundDouble"}, {"Round", "Round3"}},
        {"Rounds", true, 4, 6, 0, {"Round", "Round4"}, {"Round3"}},
        {"Rounds", true, 1, 6, 0, {"Round", "Round1"}, {"Round4"}},
        {"SpecialRounds", true, 4, 6, 0, {"RoundTriple"}, {"RoundDouble"}},
        {"SpecialRounds", false, 4, 6, 0, {}, {"RoundTriple"}},
        {"Rounds", true, 5, 6, 0, {"SuddenDeath"}, {"Round", "Round3", "Round4"}},
        {"SpecialRounds", true, 5, 6, 0, {}, {"RoundDouble", "RoundTriple"}},
        {"RoundWon", true, 1, 18, 0, {"RoundWon", "RoundWonGlow"}, {}},
        {"RoundWon", false, 1, 18, 0, {}, {"RoundWon", "RoundWonGlow"}},
        {"GameWon", true, 4, 28, 0, {"YouWinBase", "YouWinRadial2", "YouWinParticles3", "YouWinText2"}, {"YouWin20k"}},
        {"FadeGameWon20k", true, 4, 29, 0, {"YouWin20k", "YouWin20kGlow", "YouWinBase"}, {}},
        {"GameWon", true, 4, 28, 0, {"YouWinText1"}, {"YouWin20k", "YouWin20kGlow"}},
        {"GameWon", false, 4, 29, 0, {}, {"YouWinBase", "YouWinText1", "YouWin20k", "YouWin20kGlow"}},
        {"GameLost", true, 4, 28, 0, {"YouLoseBase", "YouLoseText"}, {}},
        {"GameLost", false, 4, 28, 0, {}, {"YouLoseBase", "YouLoseText"}},
        {"SoftKeyboard", true, 1, 23, 0,
         {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "TextEntryBox_BG", "BlackBackground"}, {}},
        {"SoftKeyboard", false, 1, 24, 0, {}, {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "BlackBackground"}},
        {"PlayOrPass", true, 1, 11, 0, {"PlayButton", "PlayButtonText", "PassButton", "PassButtonText", "PoPPanel"}, {}},
        {"PlayOrPass", false, 1, 11, 0, {}, {"PlayButton", "PassButtonText", "PoPPanel"}},
        {"Question", true, 1, 6, 0, {"QuestionPanel"}, {}}, {"Question", false, 1, 6, 0, {}, {"QuestionPanel"}},
        {"CenterAnswersBox", true, 1, 15, 0, {"CenterAnswersBox"}, {}},
        {"CenterAnswersBox", false, 1, 15, 0, {}, {"CenterAnswersBox", "CenterAnswerLabel1", "CenterFreqLabel8"}},
        {"right3DViewport", true, 1, 3, 0, {"right3DViewportBG", "right3DViewportTop"}, {"left3DViewportBG"}},
        {"right3DViewport", false, 1, 3, 0, {}, {"right3DViewportBG", "right3DViewportTop"}},
        {"Retry", true, 4, 28, 0, {"RetryBox", "RetryNo_MainMenu", "RetryYes"}, {}},
        {"AIBox", true, 1, 12, 0, {"AIBox"}, {}}, {"AIBox", false, 1, 12, 0, {}, {"AIBox"}},
        {"AIDecide", true, 1, 11, 0, {"AIDecidePanel"}, {}}, {"AIDecide", false, 1, 11, 0, {}, {"AIDecidePanel"}},
        {"FMBoard", true, 4, 24, 0, {"AnswersBoxFM"}, {}}, {"FMBoard", false, 4, 24, 0, {}, {"AnswersBoxFM"}},
        {"FreqFM3", true, 4, 26, 2, {"FreqLabelFM3"}, {"FreqLabelFM8"}},
        {"FreqFM3", true, 4, 26, 5, {"FreqLabelFM8"}, {"FreqLabelFM2"}},
        {"FreqFM5", true, 4, 26, 9, {"FreqLabelFM10"}, {"FreqLabelFM5"}},
        {"BlinkingSquare", true, 4, 26, 9, {"BlinkingSquareFM10"}, {"BlinkingSquareFM9"}},
        {"BlinkingSquare", false, 4, 26, 9, {}, {"BlinkingSquareFM10"}},
        {"BlinkingSquare", true, 4, 26, 0, {"BlinkingSquareFM1"}, {"BlinkingSquareFM2"}},
        {"FamilyName", false, 1, 3, 0, {}, {"FamilyName", "FamilyNameGlow"}},
    };
    HideAll("FreqLabelFM");
    const auto& members = context.GetTeamRegistry()->GetTeam()->m_Members;
    for (GameServices::Entities::BaseTeamMember* member : members)
        member->SetLocked(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.show ? "show " : "hide ") + c.component + " round " + std::to_string(c.round));
        context.m_RoundCounter = c.round;
        context.m_GamePhase = c.phase;
        Screen().m_FastMoneyRevealIndex = c.revealIndex;
        Face(false)->Synchronize = true;
        c.show ? Screen().ShowComponent(c.component) : Screen().HideComponent(c.component);
        EXPECT_FALSE(Face(false)->Synchronize);
        for (const std::string& name : c.shown)
            EXPECT_TRUE(Visible(name)) << name;
        for (const std::string& name : c.hidden)
            EXPECT_FALSE(Visible(name)) << name;
    }
    EXPECT_EQ(Bound("YouWinRadial1")->m_ScaleX, 1.5f);
    // Components that start animations: each widget listed plays once, from a stopped start.
    const struct { const char* component; i32 round; Names animated; } animations[] = {
        {"Rounds", 2, {"Round", "Round2"}}, {"FadeGameWon", 4, {"YouWinBase", "YouWinText1", "YouWinText2"}},
        {"SpecialRounds", 4, {"RoundTriple"}}};
    for (const auto& a : animations) {
        for (const std::string& name : a.animated)
            Bound(name)->m_Control.SetMode(AGController::kStopped);
        context.m_RoundCounter = a.round;
        Screen().ShowComponent(a.component);
        for (const std::string& name : a.animated)
            EXPECT_EQ(Bound(name)->m_Control.GetMode(), u32(AGController::kOnce)) << a.component << " " << name;
    }
    // Only player one chooses after a lost game.
    EXPECT_TRUE(members.size() == 2 && !members[0]->m_Locked && members[1]->m_Locked);
    // The keyboard opens answer entry; from fast money on its button reads "PASS".
    EXPECT_EQ(context.m_AnswerEntryOpen, 0);
    for (i32 phase : {12, 23}) {
        Screen().m_ConfirmButton->m_TextStyle.m_Text = "OK";
        Screen().m_SoftKeyboard->SetText("old");
        context.m_GamePhase = phase;
        Screen().ShowComponent("SoftKeyboard");
        EXPECT_EQ(context.m_AnswerEntryOpen, 1);
        EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty());
        Screen().m_SoftKeyboard->SetText("old");
        Screen().HideComponent("SoftKeyboard");
        EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty() && context.m_AnswerEntryOpen == 0);
        EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text, phase == 23 ? "PASS" : "OK");
    }
    // Past the tenth reveal there is no square, nor any other widget.
    for (const auto& entry : Screen().WidgetContract())
        Screen().BoundWidget(entry.name)->SetVisible(false);
    Screen().m_FastMoneyRevealIndex = 10;
    Screen().ShowComponent("BlinkingSquare");
    for (const auto& entry : Screen().WidgetContract())
        EXPECT_FALSE(Screen().BoundWidget(entry.name)->Visible) << entry.name.c_str();
}

// The marks of the family with the turn, the single mark too outside the main answers, and the
// lose gesture on its side; no family, no marks.
TEST_F(Components, StrikesShowTheFamilysMarks) {
    const Names all = {"Strike1", "Strike2_1", "Strike2_2", "Strike3_1", "Strike3_2", "Strike3_3"};
    const struct {
        i32 family, strikes, phase;
        Names shown;
    } cases[] = {
        {QZ2011GameContext::kPlayerOneFamily, 1, 12, {"Strike1"}},
        {QZ2011GameContext::kPlayerOneFamily, 2, 12, {"Strike2_1", "Strike2_2"}},
        {QZ2011GameContext::kComputerFamily, 3, 12, {"Strike3_1", "Strike3_2", "Strike3_3"}},
        {QZ2011GameContext::kComputerFamily, 3, 13, {"Strike1", "Strike3_1", "Strike3_2", "Strike3_3"}},
        {QZ2011GameContext::kPlayerOneFamily, 2, 8, {"Strike1", "Strike2_1", "Strike2_2"}},
        {QZ2011GameContext::kNoFamily, 2, 12, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.family) + " " + std::to_string(c.strikes) + " " + std::to_string(c.phase));
        Screen().HideComponent("Strikes");
        context.m_CurrentFamily = c.family;
        context.m_PlayerOneFamily->m_Strikes = context.m_ComputerFamily->m_Strikes = c.strikes;
        context.m_GamePhase = c.phase;
        Face(true)->m_Behavior.LoseSmallFamilyRequest = Face(false)->m_Behavior.LoseSmallRequest = 0;
        log.Clear();
        Screen().ShowComponent("Strikes");
        for (const std::string& name : all)
            EXPECT_EQ(Visible(name), std::count(c.shown.begin(), c.shown.end(), name) == 1) << name;
        EXPECT_EQ(Face(true)->m_Behavior.LoseSmallFamilyRequest, c.family == QZ2011GameContext::kPlayerOneFamily);
        EXPECT_EQ(Face(false)->m_Behavior.LoseSmallRequest, c.family == QZ2011GameContext::kComputerFamily);
        EXPECT_EQ(log.Contains("No family set!!"), c.family == QZ2011GameContext::kNoFamily);
    }
}

// The family banner and the computer's announcement name the families; blocks turn for an
// answer on the board only, and each "RotateBlocks" refreshes the scores.
TEST_F(Components, BannersNameTheFamiliesAndBlocksTurnForRightAnswers) {
    context.m_ComputerFamily->m_Name = "Brask";
    const struct {
        Names profiles;
        u32 twoPlayers;
        const char* component;
        const char* text;
    } banners[] = {
        {{"Owls"}, 0, "FamilyNameLeft", "OWLS'    FAMILY"},        {{"Pine"}, 0, "FamilyNameLeft", "PINE'S    FAMILY"},
        {{"Pine"}, 0, "FamilyNameRight", "THE    BRASK"},          {{"Ann", "Moss"}, 1, "FamilyNameRight", "MOSS'    FAMILY"},
        {{}, 0, "FamilyNameLeft", "'S    FAMILY"},
    };
    for (const auto& c : banners) {
        Profiles(c.profiles);
        context.m_TwoPlayers = c.twoPlayers;
        Screen().ShowComponent(c.component);
        EXPECT_EQ(Text("FamilyName"), c.text);
        EXPECT_EQ(Text("FamilyNameGlow"), c.text);
        EXPECT_TRUE(Visible("FamilyName") && Visible("FamilyNameGlow"));
    }
    for (u8 play : {1, 0}) {
        context.m_PlayChosen = play;
        Screen().ShowComponent("AIDecide");
        EXPECT_EQ(Text("AIDecideLabel"), play ? "The Brask decided to play" : "The Brask decided to pass");
    }
    const struct {
        const char* component;
        i32 lastAnswer, block;
        bool turning;
    } blocks[] = {
        {"RotateBlocks", 2, 2, true},  {"RotateBlocks", -1, 0, false}, {"RotateBlocks", 8, 0, false},
        {"RotateBlock8", -1, 7, true}, {"RotateBlock9", 3, 0, false},  {"RotateBlocks", 7, 7, true},
    };
    int refreshes = 0;
    for (const auto& c : blocks) {
        SCOPED_TRACE(std::string(c.component) + " " + std::to_string(c.lastAnswer));
        Screen().m_BlockTurning = false;
        Screen().m_TurningBlock = 0;
        context.m_LastAnswerIndex = c.lastAnswer;
        Screen().ShowComponent(c.component);
        EXPECT_EQ(Screen().m_BlockTurning, c.turning);
        EXPECT_EQ(Screen().m_TurningBlock, c.block);
        refreshes += std::string(c.component) == "RotateBlocks";
        EXPECT_EQ(events.recorders[15].count, refreshes);
    }
}

// A viewport dresses its avatar once per show, with the member's model and a tag of the player's
// name (bare on the player's own avatar: a woman's is member 2; the right one is player two's);
// member 4 is nobody yet.
TEST_F(Components, AViewportDressesItsAvatarOncePerShow) {
    Profiles({"Owls"});
    const struct {
        bool show;
        i32 memberBefore, memberAfter;
        const char* tag;
        u8 QZ2011::QZCharacter::*model;
    } steps[] = {
        {true, 1, 3, "Owls's", &QZ2011::QZCharacter::IsMale2}, {true, 3, 3, "Owls's", &QZ2011::QZCharacter::IsMale2},
        {false, 3, 3, "Owls's", nullptr},                      {true, 2, 1, "Owls", &QZ2011::QZCharacter::IsFemale1},
        {false, 1, 1, "Owls", nullptr},                        {true, 3, 0, "Owls's", &QZ2011::QZCharacter::IsFemale2},
        {false, 0, 0, "Owls's", nullptr},                      {true, 0, 2, "Owls's", &QZ2011::QZCharacter::IsMale1},
        {false, 2, 2, "Owls's", nullptr},                      {true, 4, 0, "Owls's", nullptr},
    };
    context.m_LeftMemberOrder = 1;
    for (const auto& s : steps) {
        SCOPED_TRACE(std::to_string(s.show) + " " + std::to_string(s.memberBefore));
        context.m_LeftMemberIndex = s.memberBefore;
        s.show ? Screen().ShowComponent("left3DViewport") : Screen().HideComponent("left3DViewport");
        EXPECT_EQ(context.m_LeftMemberIndex, s.memberAfter);
        EXPECT_EQ(Text("leftAvatarTag"), s.tag);
        EXPECT_EQ(Visible("left3DViewportBG"), s.show);
        EXPECT_EQ(Face(true)->Visible, s.show);
        EXPECT_TRUE(!s.show || Screen().m_TrackLeftViewport);
        EXPECT_TRUE(!s.model || Face(true)->*s.model == 1);
    }
    EXPECT_TRUE(log.Contains("ScreenGame : no family member to dress the left avatar for"));
    // A man's own avatar is the first member's; each wears its member's look.
    GameShow::PlayerProfileManager::Instance()->GetProfile(0)->Appearance.Assembly.Gender =
        GameServices::KorvoGame::CharacterAssembly::kMale;
    GameServices::KorvoGame::CharacterManager* characters = GameServices::KorvoGame::CharacterManager::Instance();
    for (const auto& [member, tag] : std::vector<std::pair<i32, std::string>>{{0, "Owls"}, {1, "Owls's"}, {2, "Owls's"}}) {
        GameServices::KorvoGame::Appearance look, worn;
        look.Name = ("look" + std::to_string(member)).c_str();
        characters->SetAppearance(*match().GetContestant(member), look);
        context.m_LeftMemberIndex = member;
        Screen().HideComponent("left3DViewport");
        Screen().ShowComponent("left3DViewport");
        EXPECT_EQ(Text("leftAvatarTag"), tag) << member;
        EXPECT_TRUE(characters->GetAppearance(*Face(true), worn) && worn.Name == look.Name) << member;
    }
    // With two players the right avatar belongs to player two's family.
    Profiles({"Owls", "Ann"});
    context.m_TwoPlayers = 1;
    context.m_RightMemberIndex = 1;
    Screen().HideComponent("right3DViewport");
    Screen().ShowComponent("right3DViewport");
    EXPECT_EQ(Text("rightAvatarTag"), "Ann's");
}

// Closing the window asks first, in place of the in-game popup, which a cancel brings back; the
// focus pauses the game until no prompt or popup is up; a confirm lets the next close go.
TEST_F(Components, TheCloseRequestAsksAndTheFocusPauses) {
    const std::string data = std::string(TALLYVOX_SAMPLE_LEVELS) + "/..";
    home.Write("-xml/global/gameshowpopups.xml", FileContents(data + "/global/gameshowpopups.xml"));
    for (const char* layout : {"gameshowpopupprompt.xaml", "gameshowpopupmenu.xaml"})
        home.Write(std::string("-xml/screen/") + layout, FileContents(data + "/screens/" + layout));
    GameServices::Widget::ScreenManager& screens = GameServices::Widget::ScreenManager::Instance();
    CompositionManager& menus = CompositionManager::Instance();
    screens.LoadPopups();
    menus.LoadPopups();
    struct Recorder {
        void On(bool shown) { fired.push_back(shown); }
        std::vector<bool> fired;
        FDelegateParam<Recorder, bool> delegate{this, &Recorder::On};
    } popupEvents;
    menus.PopupVisibilityChanged.AddDelegate(&popupEvents.delegate);
    auto open = [&] {
        Names names;
        for (GameServices::Widget::Popup* popup : screens.GetOpenPopups())
            names.push_back(popup->Name.c_str());
        return names;
    };
    for (bool menu : {true, false}) {
        SCOPED_TRACE(menu);
        if (menu)
            menus.ToggleInGameMenu();
        const i32 state = menus.m_PopupState;
        EXPECT_FALSE(Screen().onWindowClose());
        EXPECT_EQ(open(), Names{"VerifyQuit"});
        EXPECT_EQ(menus.m_PopupState, state);
        EXPECT_TRUE(Screen().m_QuitPromptOpen);
        Screen().onWindowDeactivated();
        Screen().onWindowActivated();
        EXPECT_TRUE(context.IsPaused()) << "the prompt is up";
        PressPopupButton(screens, "VerifyQuit", "Cancel");
        EXPECT_EQ(open(), menu ? Names{"InGameMenu"} : Names{});
        EXPECT_FALSE(Screen().m_QuitPromptOpen);
        Screen().onWindowActivated();
        EXPECT_EQ(context.IsPaused(), menu) << "the in-game menu is up";
        if (menu)
            menus.ToggleInGameMenu();
    }
    Screen().onWindowActivated();
    EXPECT_FALSE(context.IsPaused());
    EXPECT_FALSE(Screen().onWindowClose());
    PressPopupButton(screens, "VerifyQuit", "Confirm");
    EXPECT_TRUE(Screen().onWindowClose());
    EXPECT_TRUE(open().empty());
    // The menu's toggles, then each prompt and the menu shown again.
    EXPECT_EQ(popupEvents.fired, (std::vector<bool>{true, true, true, false, true, true}));
    menus.PopupVisibilityChanged.RemoveDelegate(&popupEvents.delegate);
}

// The notice shows the award's title with the star hidden; its hide step hides the star and
// keeps the box.
TEST_F(Components, TheAchievementNoticeShowsTheTitle) {
    context.m_UnlockedAwardName = "Top Player";
    match().FireAchievementUnlocked();
    EXPECT_EQ(Text("Achievement_Text"), "Top Player");
    EXPECT_TRUE(Visible("AchievementBox") && Visible("Achievement_Text") && !Visible("Achievement_Star"));
    EXPECT_TRUE(Screen().m_AchievementShowing);
    Bound("Achievement_Star")->SetVisible(true);
    Screen().HideComponent("Achievement");
    EXPECT_TRUE(!Visible("Achievement_Star") && Visible("AchievementBox"));
}

// Sequence events for the screen and the game audio with damaged names and parameters do no harm.
TEST_F(Components, DamagedSequencesOfScreenAndAudioEventsPlayWithoutHarm) {
    std::string events;
    for (const char* item : {"Play\" target=\"answer", "Play\" target=\"StartCrowdMedium",
                             "Stop\" target=\"answer\" parameter=\"voice", "Play\" target=\"faceoff"})
        events += std::string("<item sequencer=\"AudioSequencer\" name=\"") + item + "\"/>";
    for (const char* name : {"ShowComponent", "HideComponent"})
        for (const char* component : {"SoftKeyboard", "RotateBlocks", "RotateBlock8", "FreqFM5", "BlinkingSquare",
                                      "Strikes", "FamilyNameRight", "left3DViewport", "Achievement", "AIDecide"})
            events += std::string("<item sequencer=\"EntitySequencer\" name=\"") + name +
                      "\" target=\"ScreenGame\" parameter=\"" + component + "\"/>";
    const std::string text = "<root><Sequence duration=\"40\"><OnStart><Events>" + events +
                             "</Events></OnStart><Acts><item time=\"10\"><Events>" + events +
                             "</Events></item></Acts><OnEnd><Events/></OnEnd></Sequence></root>";
    const std::string path = home.Write("damaged.xml", text);
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    context.m_GamePhase = QZ2011::PhaseNone;
    std::mt19937 rng(35);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = text;
        DamageBytes(bytes, rng, 1 + i % 3);
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_TRUE(file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                    ftruncate(fileno(file), off_t(bytes.size())) == 0);
        std::fclose(file);
        Screen().m_FastMoneyRevealIndex = u32(rng() % 12);
        context.m_LastAnswerIndex = i32(rng() % 12) - 2;
        const std::string name = "damaged" + std::to_string(i);
        sequences->LoadSequence(name.c_str(), path.c_str());
        sequences->PlaySequence(name.c_str());
        for (int t = 0; t < 3; ++t)
            sequences->Update(25);
        context.GetAudioManager()->ResumeSequence();
        sequences->RemoveSequence(Crc32Hash(name.c_str()));
    }
}

}  // namespace
