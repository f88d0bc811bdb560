// The in-game screen's sequence components and banners, the avatar dressing, the window close
// with the quit prompt, the focus pause and the achievement notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
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
        auto* label = dynamic_cast<GameServices::Widget::Label*>(Bound(name));
        return label ? label->m_TextStyle.m_Text.c_str() : "";
    }
    // Player 0 (and 1) play profiles of those names.
    void Profiles(const Names& names) {
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        profiles->ClearPlayers();
        while (profiles->GetSavedFile()->GetSavedGameCount() < names.size())
            profiles->GetSavedFile()->AddSavedGame();
        for (size_t i = 0; i < names.size(); ++i) {
            GameShow::PlayerProfile* profile = profiles->GetSavedFile()->GetSavedGame(i32(i));
            profile->isUsed = true;
            profile->SavedGameName = names[i].c_str();
            profiles->AssignPlayer(i32(i), i32(i));
        }
    }
};

// Each component with its state: the widgets it shows and those it hides or leaves hidden.
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
        {"Rounds", true, 5, 6, 0, {"SuddenDeath"}, {"Round", "Round3", "Round4"}},
        {"SpecialRounds", true, 5, 6, 0, {}, {"RoundDouble", "RoundTriple"}},
        {"RoundWon", true, 1, 18, 0, {"RoundWon", "RoundWonGlow"}, {}},
        {"RoundWon", false, 1, 18, 0, {}, {"RoundWon", "RoundWonGlow"}},
        {"GameWon", true, 4, 28, 0, {"YouWinBase", "YouWinRadial2", "YouWinParticles3", "YouWinText2"}, {"YouWin20k"}},
        {"FadeGameWon20k", true, 4, 29, 0, {"YouWin20k", "YouWin20kGlow", "YouWinBase"}, {}},
        {"GameWon", false, 4, 29, 0, {}, {"YouWinBase", "YouWinText1", "YouWin20k", "YouWin20kGlow"}},
        {"GameLost", true, 4, 28, 0, {"YouLoseBase", "YouLoseText"}, {}},
        {"GameLost", false, 4, 28, 0, {}, {"YouLoseBase", "YouLoseText"}},
        {"SoftKeyboard", true, 1, 24, 0,
         {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "TextEntryBox_BG", "BlackBackground"}, {}},
        {"SoftKeyboard", false, 1, 24, 0, {}, {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "BlackBackground"}},
        {"PlayOrPass", true, 1, 11, 0, {"PlayButton", "PlayButtonText", "PassButton", "PassButtonText", "PoPPanel"}, {}},
        {"PlayOrPass", false, 1, 11, 0, {}, {"PlayButton", "PassButtonText", "PoPPanel"}},
        {"Question", true, 1, 6, 0, {"QuestionPanel"}, {}},
        {"Question", false, 1, 6, 0, {}, {"QuestionPanel"}},
        {"CenterAnswersBox", true, 1, 15, 0, {"CenterAnswersBox"}, {}},
        {"CenterAnswersBox", false, 1, 15, 0, {}, {"CenterAnswersBox", "CenterAnswerLabel1", "CenterFreqLabel8"}},
        {"Retry", true, 4, 28, 0, {"RetryBox", "RetryNo_MainMenu", "RetryYes"}, {}},
        {"AIBox", true, 1, 12, 0, {"AIBox"}, {}},
        {"AIBox", false, 1, 12, 0, {}, {"AIBox"}},
        {"AIDecide", true, 1, 11, 0, {"AIDecidePanel"}, {}},
        {"AIDecide", false, 1, 11, 0, {}, {"AIDecidePanel"}},
        {"FMBoard", true, 4, 24, 0, {"AnswersBoxFM"}, {}},
        {"FMBoard", false, 4, 24, 0, {}, {"AnswersBoxFM"}},
        {"FreqFM3", true, 4, 26, 2, {"FreqLabelFM3"}, {"FreqLabelFM8"}},
        {"FreqFM3", true, 4, 26, 5, {"FreqLabelFM8"}, {"FreqLabelFM2"}},
        {"FreqFM5", true, 4, 26, 9, {"FreqLabelFM10"}, {"FreqLabelFM5"}},
        {"BlinkingSquare", true, 4, 26, 9, {"BlinkingSquareFM10"}, {"BlinkingSquareFM9"}},
        {"BlinkingSquare", false, 4, 26, 9, {}, {"BlinkingSquareFM10"}},
        {"BlinkingSquare", true, 4, 26, 0, {"BlinkingSquareFM1"}, {"BlinkingSquareFM2"}},
        {"FamilyName", false, 1, 3, 0, {}, {"FamilyName", "FamilyNameGlow"}},
    };
    auto hideAll = [this](const char* prefix) {
        for (int n = 1; n <= 10; ++n)
            Bound(prefix + std::to_string(n))->SetVisible(false);
    };
    hideAll("FreqLabelFM");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.show ? "show " : "hide ") + c.component + " round " + std::to_string(c.round));
        context.m_RoundCounter = c.round;
        context.m_GamePhase = c.phase;
        Screen().m_FastMoneyRevealIndex = c.revealIndex;
        if (c.show)
            Screen().ShowComponent(c.component);
        else
            Screen().HideComponent(c.component);
        for (const std::string& name : c.shown)
            EXPECT_TRUE(Visible(name)) << name;
        for (const std::string& name : c.hidden)
            EXPECT_FALSE(Visible(name)) << name;
    }
    // The last keyboard hide closed answer entry; a show in fast money opens it with "PASS".
    EXPECT_EQ(context.m_AnswerEntryOpen, 0);
    Screen().ShowComponent("SoftKeyboard");
    EXPECT_EQ(context.m_AnswerEntryOpen, 1);
    EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text, "PASS");
    // Past the tenth reveal no square exists.
    hideAll("BlinkingSquareFM");
    Screen().m_FastMoneyRevealIndex = 10;
    Screen().ShowComponent("BlinkingSquare");
    for (int square = 1; square <= 10; ++square)
        EXPECT_FALSE(Visible("BlinkingSquareFM" + std::to_string(square))) << square;
}

// The marks of the family with the turn: one picture per strike, and the single mark too
// outside the main answers; no family, no marks.
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
        for (QZ2011::Family* family : {context.m_PlayerOneFamily, context.m_ComputerFamily})
            family->m_Strikes = c.strikes;
        context.m_GamePhase = c.phase;
        QZ2011::QZCharacter* faces[] = {Face(true), Face(false)};
        for (QZ2011::QZCharacter* face : faces)
            face->m_Behavior.LoseSmallFamilyRequest = face->m_Behavior.LoseSmallRequest = 0;
        log.Clear();
        Screen().ShowComponent("Strikes");
        for (const std::string& name : all)
            EXPECT_EQ(Visible(name), std::count(c.shown.begin(), c.shown.end(), name) == 1) << name;
        // Player one's family stands on the left, the computer family on the right.
        EXPECT_EQ(faces[0]->m_Behavior.LoseSmallFamilyRequest, c.family == QZ2011GameContext::kPlayerOneFamily);
        EXPECT_EQ(faces[1]->m_Behavior.LoseSmallRequest, c.family == QZ2011GameContext::kComputerFamily);
        EXPECT_EQ(log.Contains("No family set!!"), c.family == QZ2011GameContext::kNoFamily);
    }
}

// The family banner and the computer's announcement name the families.
TEST_F(Components, BannersNameTheFamilies) {
    context.m_ComputerFamily->m_Name = "Brask";
    const struct {
        Names profiles;
        u32 twoPlayers;
        const char* component;
        const char* text;
    } cases[] = {
        {{"Owls"}, 0, "FamilyNameLeft", "OWLS'    FAMILY"},
        {{"Pine"}, 0, "FamilyNameLeft", "PINE'S    FAMILY"},
        {{"Pine"}, 0, "FamilyNameRight", "THE    BRASK"},
        {{"Ann", "Moss"}, 1, "FamilyNameRight", "MOSS'    FAMILY"},
        {{}, 0, "FamilyNameLeft", "'S    FAMILY"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Profiles(c.profiles);
        context.m_TwoPlayers = c.twoPlayers;
        Screen().ShowComponent(c.component);
        EXPECT_EQ(Text("FamilyName"), c.text);
        EXPECT_EQ(Text("FamilyNameGlow"), c.text);
        EXPECT_TRUE(Visible("FamilyName"));
    }
    for (u8 play : {1, 0}) {
        context.m_PlayChosen = play;
        Screen().ShowComponent("AIDecide");
        EXPECT_EQ(Text("AIDecideLabel"), play ? "The Brask decided to play" : "The Brask decided to pass");
    }
}

// A block turns for a right answer only; each "RotateBlocks" refreshes the scores.
TEST_F(Components, BlocksTurnOnlyForAnAnswerOnTheBoard) {
    const struct {
        const char* component;
        i32 lastAnswer;
        bool turning;
        i32 block;
    } cases[] = {
        {"RotateBlocks", 2, true, 2},  {"RotateBlocks", -1, false, 0}, {"RotateBlocks", 8, false, 0},
        {"RotateBlock8", -1, true, 7}, {"RotateBlock9", 3, false, 0},  {"RotateBlocks", 7, true, 7},
    };
    int refreshes = 0;
    for (const auto& c : cases) {
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

// A viewport dresses its avatar once per show, tagged with the player's name (bare on the
// player's own avatar, a woman's at member 2); member 4 (nobody yet) is not dressed.
TEST_F(Components, AViewportDressesItsAvatarOncePerShow) {
    Profiles({"Owls"});
    const struct {
        const char* action;
        i32 memberBefore;
        i32 memberAfter;
        const char* tag;
    } steps[] = {
        {"show", 1, 3, "Owls's"}, {"show", 3, 3, "Owls's"}, {"hide", 3, 3, "Owls's"},
        {"show", 2, 1, "Owls"},   {"hide", 1, 1, "Owls"},   {"show", 4, 0, "Owls"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.action) + " " + std::to_string(s.memberBefore));
        context.m_LeftMemberOrder = 1;
        context.m_LeftMemberIndex = s.memberBefore;
        if (std::string(s.action) == "show")
            Screen().ShowComponent("left3DViewport");
        else
            Screen().HideComponent("left3DViewport");
        EXPECT_EQ(context.m_LeftMemberIndex, s.memberAfter);
        EXPECT_EQ(Text("leftAvatarTag"), s.tag);
        EXPECT_EQ(Visible("left3DViewportBG"), std::string(s.action) == "show");
        if (std::string(s.action) == "show") {
            EXPECT_TRUE(Screen().m_TrackLeftViewport);
        }
    }
    EXPECT_TRUE(log.Contains("ScreenGame : no family member to dress the left avatar for"));
}

// Closing the window asks first, in place of the in-game popup, which a cancel brings back;
// the focus pauses the game until no prompt or popup is up; a confirm lets the next close go.
TEST_F(Components, TheCloseRequestAsksAndTheFocusPauses) {
    const std::string data = std::string(TALLYVOX_SAMPLE_LEVELS) + "/..";
    home.Write("-xml/global/gameshowpopups.xml", FileContents(data + "/global/gameshowpopups.xml"));
    for (const char* layout : {"gameshowpopupprompt.xaml", "gameshowpopupmenu.xaml"})
        home.Write(std::string("-xml/screen/") + layout, FileContents(data + "/screens/" + layout));
    GameServices::Widget::ScreenManager& screens = GameServices::Widget::ScreenManager::Instance();
    CompositionManager& menus = CompositionManager::Instance();
    screens.LoadPopups();
    menus.LoadPopups();
    auto open = [&] {
        Names names;
        for (GameServices::Widget::Popup* popup : screens.GetOpenPopups())
            names.push_back(popup->Name.c_str());
        return names;
    };
    const struct {
        bool menu;
        Names whileAsking, afterCancel;
    } cases[] = {{true, {"VerifyQuit"}, {"InGameMenu"}}, {false, {"VerifyQuit"}, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        if (c.menu)
            menus.ToggleInGameMenu();
        const i32 state = menus.m_PopupState;
        EXPECT_FALSE(Screen().onWindowClose());
        EXPECT_EQ(open(), c.whileAsking);
        EXPECT_EQ(menus.m_PopupState, state);
        Screen().onWindowDeactivated();
        Screen().onWindowActivated();
        EXPECT_TRUE(context.IsPaused()) << "the prompt is up";
        PressPopupButton(screens, "VerifyQuit", "Cancel");
        EXPECT_EQ(open(), c.afterCancel);
        Screen().onWindowActivated();
        EXPECT_EQ(context.IsPaused(), c.menu) << "the in-game menu is up";
        if (c.menu)
            menus.ToggleInGameMenu();
    }
    Screen().onWindowActivated();
    EXPECT_FALSE(context.IsPaused());
    EXPECT_FALSE(Screen().onWindowClose());
    PressPopupButton(screens, "VerifyQuit", "Confirm");
    EXPECT_TRUE(Screen().onWindowClose());
    EXPECT_TRUE(open().empty());
}

// The notice shows the award's title with the star hidden; its hide step hides the star and
// keeps the box.
TEST_F(Components, TheAchievementNoticeShowsTheTitle) {
    context.m_UnlockedAwardName = "Top Player";
    match().FireAchievementUnlocked();
    EXPECT_EQ(Text("Achievement_Text"), "Top Player");
    EXPECT_TRUE(Visible("AchievementBox") && Visible("Achievement_Text"));
    EXPECT_FALSE(Visible("Achievement_Star"));
    EXPECT_TRUE(Screen().m_AchievementShowing);
    Bound("Achievement_Star")->SetVisible(true);
    Screen().HideComponent("Achievement");
    EXPECT_FALSE(Visible("Achievement_Star"));
    EXPECT_TRUE(Visible("AchievementBox"));
}

// Sequence events for the screen with damaged names and parameters do no harm.
TEST_F(Components, DamagedSequencesOfScreenEventsPlayWithoutHarm) {
    auto item = [](const std::string& name, const std::string& parameter) {
        return "<item sequencer=\"EntitySequencer\" name=\"" + name + "\" target=\"ScreenGame\" parameter=\"" +
               parameter + "\"/>";
    };
    std::string events;
    for (const char* component : {"SoftKeyboard", "RotateBlocks", "RotateBlock8", "FreqFM5", "BlinkingSquare",
                                  "Strikes", "FamilyNameRight", "left3DViewport", "Achievement", "AIDecide"})
        events += item("ShowComponent", component) + item("HideComponent", component);
    events += item("Timer", "Start") + item("Timer", "Stop");
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
        sequences->RemoveSequence(Crc32Hash(name.c_str()));
    }
}

}  // namespace
