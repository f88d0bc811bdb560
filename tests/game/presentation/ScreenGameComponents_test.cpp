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
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
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
    void HideAll(const std::string& prefix) {
        for (int n = 1; n <= 10; ++n)
            Bound(prefix + std::to_string(n))->SetVisible(false);
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
        {"Rounds", true, 5, 6, 0, {"SuddenDeath"}, {"Round", "Round3", "Round4"}},
        {"GameWon", true, 4, 28, 0, {"YouWinBase", "YouWinRadial2", "YouWinParticles3", "YouWinText2"}, {"YouWin20k"}},
        {"FadeGameWon20k", true, 4, 29, 0, {"YouWin20k", "YouWin20kGlow", "YouWinBase"}, {}},
        {"GameLost", true, 4, 28, 0, {"YouLoseBase", "YouLoseText"}, {}},
        {"GameLost", false, 4, 28, 0, {}, {"YouLoseBase", "YouLoseText"}},
        {"SoftKeyboard", true, 1, 23, 0,
         {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "TextEntryBox_BG", "BlackBackground"}, {}},
        {"SoftKeyboard", false, 1, 24, 0, {}, {"SoftKeyboard", "SoftKeyboardWidget", "ConfirmButton", "BlackBackground"}},
        {"PlayOrPass", true, 1, 11, 0, {"PlayButton", "PlayButtonText", "PassButton", "PassButtonText", "PoPPanel"}, {}},
        {"Retry", true, 4, 28, 0, {"RetryBox", "RetryNo_MainMenu", "RetryYes"}, {}},
        {"BlinkingSquare", true, 4, 26, 9, {"BlinkingSquareFM10"}, {"BlinkingSquareFM9"}},
        {"BlinkingSquare", false, 4, 26, 9, {}, {"BlinkingSquareFM10"}},
        {"AIBox", true, 1, 12, 0, {"AIBox"}, {}}, {"AIBox", false, 1, 12, 0, {}, {"AIBox"}},
        {"AIDecide", true, 1, 11, 0, {"AIDecidePanel"}, {}}, {"AIDecide", false, 1, 11, 0, {}, {"AIDecidePanel"}},
        {"FMBoard", true, 4, 24, 0, {"AnswersBoxFM"}, {}}, {"FMBoard", false, 4, 24, 0, {}, {"AnswersBoxFM"}},
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

// One mark per strike of the family with the turn.
TEST_F(Components, StrikesShowOneMarkPerStrike) {
    const Names marks = {"Strike1", "Strike2_1", "Strike2_2", "Strike3_1", "Strike3_2", "Strike3_3"};
    const char* const expected[] = {"100000", "011000", "000111"};
    context.m_GamePhase = 12;
    for (i32 strikes : {1, 2, 3}) {
        context.m_PlayerOneFamily->m_Strikes = strikes;
        Screen().HideComponent("Strikes");
        Screen().ShowComponent("Strikes");
        std::string shown;
        for (const std::string& name : marks)
            shown += Visible(name) ? '1' : '0';
        EXPECT_EQ(shown, expected[strikes - 1]);
    }
}

// The achievement notice shows the award's title.
TEST_F(Components, TheAchievementNoticeShowsTheTitle) {
    context.m_UnlockedAwardName = "Top Player";
    match().FireAchievementUnlocked();
    EXPECT_TRUE(Screen().m_AchievementShowing && Visible("AchievementBox"));
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
    auto open = [&] {
        Names names;
        for (GameServices::Widget::Popup* popup : screens.GetOpenPopups())
            names.push_back(popup->Name.c_str());
        return names;
    };
    // Over the in-game menu: a cancel brings the menu back, which keeps the game paused.
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
    EXPECT_EQ(open(), Names{"InGameMenu"});
    EXPECT_FALSE(Screen().m_QuitPromptOpen);
    Screen().onWindowActivated();
    EXPECT_TRUE(context.IsPaused()) << "the in-game menu is up";
    menus.ToggleInGameMenu();
    Screen().onWindowActivated();
    EXPECT_FALSE(context.IsPaused());
    EXPECT_FALSE(Screen().onWindowClose());
    PressPopupButton(screens, "VerifyQuit", "Confirm");
    EXPECT_TRUE(Screen().onWindowClose());
    EXPECT_TRUE(open().empty());
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
