#pragma once
// "ScreenGame", the match's screen: shows the question, the answer board, the families'
// names and strikes, banners, the answer countdown, the play-or-pass choice, the answer
// keyboard, the fast-money columns and the achievement notice. It decides nothing about the
// match: it follows the match mode's events, its own buttons and keyboard, the in-game menu,
// the window and the sequence events addressed to "ScreenGame".
//
// Its code is split by concern: ScreenGame.cpp holds the structure (load, frame, unload),
// the widget binding and the match set-up; ScreenGameBoard.cpp the board text and the small
// helpers; ScreenGameAnswers.cpp answer entry, the countdown and the face-off and turn
// callbacks; ScreenGameComponents.cpp the sequence components and banners;
// ScreenGameFastMoney.cpp fast money; ScreenGameMenu.cpp the in-game menu, window and notice.
#include <memory>
#include <vector>

#include "engine/core/AGTypes.h"
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/Screen.h"
#include "gameshow/Sequencers.h"

class PCApplicationImpl;

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameServices::KorvoGame {
struct Timer;
}

namespace GameServices::Widget {
class Button;
class Label;
class ResizableWindow;
class SoftKeyboard;
class Widget;
}  // namespace GameServices::Widget

namespace GameShow {
class CompositionManager;
}

namespace QZ2011 {

class Question;
class QZ11Game;

class ScreenGame : public GameServices::Widget::BaseScreen<ScreenGame>, public GameShow::ISequenceableEntity {
public:
    static constexpr const char* kName = "ScreenGame";
    static constexpr u32 kBoardRows = 8;
    static constexpr u32 kFastMoneyRows = 10;
    // The components the sequences show and hide ("ShowComponent" / "HideComponent"); a
    // numbered entry stands for "<name>1".."<name><numbered>".
    struct ComponentName {
        const char* name;
        u32 numbered;
    };
    // Components the screen also shows or hides itself; the two viewports are the layout's
    // ViewPort3D widgets of the face component levels, left then right.
    static constexpr const char* kKeyboardComponent = "SoftKeyboard";
    static constexpr const char* kViewports[2] = {"left3DViewport", "right3DViewport"};
    static constexpr const char* kAnswersComponent = "AnswersBox";
    static constexpr const char* kQuestionComponent = "Question";
    static constexpr const char* kPlayOrPassComponent = "PlayOrPass";
    static constexpr const char* kAchievementComponent = "Achievement";
    static constexpr ComponentName kShownComponents[26] = {
        {kKeyboardComponent, 0}, {kViewports[0], 0}, {kViewports[1], 0}, {kAnswersComponent, 0},
        {"CenterAnswersBox", 0}, {kQuestionComponent, 0}, {kPlayOrPassComponent, 0}, {"Rounds", 0}, {"SpecialRounds", 0},
        {"RoundWon", 0}, {"GameWon", 0}, {"FadeGameWon", 0}, {"FadeGameWon20k", 0}, {"GameLost", 0},
        {"Strikes", 0}, {"FamilyNameLeft", 0}, {"FamilyNameRight", 0}, {"Retry", 0}, {"AIBox", 0},
        {"AIDecide", 0}, {"FreqFM", 5}, {"BlinkingSquare", 0}, {"FMBoard", 0}, {kAchievementComponent, 0},
        {"RotateBlocks", 0}, {"RotateBlock", kBoardRows}};
    // The entity sequencer's events for the screen, and the timer's two parameters.
    static constexpr const char* kSequenceEvents[3] = {"ShowComponent", "HideComponent", "Timer"};
    static constexpr const char* kTimerParameters[2] = {"Start", "Stop"};
    static constexpr const char* kHiddenComponents[19] = {
        kKeyboardComponent, kViewports[0], kViewports[1], kAnswersComponent, "CenterAnswersBox", kQuestionComponent,
        kPlayOrPassComponent, "Rounds", "SpecialRounds", "RoundWon", "GameWon", "GameLost", "Strikes", "FamilyName",
        "AIBox", "AIDecide", "FMBoard", "BlinkingSquare", kAchievementComponent};
    static constexpr u32 kDigits = 10;
    static constexpr u32 kSpecialQuestionCount = 13;
    // The questions too long for the question font: shown in the special one.
    static constexpr const char* kSpecialIds[kSpecialQuestionCount] = {
        "20-116653", "20-96390", "20-97200", "80-7938-A", "80-6895",  "80-7885", "70-7803",
        "70-6334",   "70-5607",  "70-10497", "70-4378",   "70-4994",  "80-3692"};
    static constexpr u32 kCountdownIntervalMs = 1000;
    static constexpr u32 kBlockTurnMs = 1000;
    static constexpr u32 kTypingIntervalMs = 50;
    static constexpr u32 kAchievementShowMs = 2000;
    static constexpr const char* kKeyPressSound = "SFX_ButtonPress_Option2.snd";
    // The fonts the board sets: the question's, a special question's, the answers' largest first.
    static constexpr const char* kQuestionFont = "RonniaBoldWhite_20";
    static constexpr const char* kSpecialQuestionFont = "RonniaBoldWhite_17";
    static constexpr const char* kAnswerFonts[3] = {"impactwhite28", "impactwhite22", "impactwhite18"};
    // The side board's row pictures, numbered from 1: as many show as the question has answers.
    static constexpr const char* kBoardSlot = "answerRow";
    // The widget animations the screen plays.
    enum Animation : u32 {
        kAnimStarsWardrobe, kAnimRoundOneLeft, kAnimSuddenTripleDouble, kAnimStrike, kAnimFadeInBlack,
        kAnimKeyboard, kAnimQuestionPanel, kAnimPlayPass, kAnimPass, kAnimRoundWinner, kAnimGlowroundwinner,
        kAnimYouWinBase, kAnimLeftRadialBlur, kAnimRightRadialBlur, kAnimLeftParticles, kAnimCenterParticles,
        kAnimRightParticles, kAnimYouText, kAnimWinTest, kAnimFadeElementsdd, kAnimYoutextoutdd, kAnimWintextoutdd,
        kAnimFadeElementsCc, kAnimYoutextoutWithMoney, kAnimWintextoutWithHmoney, kAnimMoneytext,
        kAnimTextMoneyImpact, kAnimYouLoosePanel, kAnimYouLooseText, kAnimTextFamilyName, kAnimTextFamilyNameImpact,
        kAnimAvatarLeft, kAnimAvatarRight, kAnimTimer, kAnimTimerRight, kAnimAchievmentPanel, kAnimAchievementMedal,
        kAnimPanel, kAnimMedal, kAnimationCount
    };
    // Spelt as the animation files are named.
    static constexpr const char* kAnimations[kAnimationCount] = {
        "prsc_stars_wardrobe_prsc.anm", "prsc_round_one_left_prsc.anm", "prsc_sudden_triple_double_prsc.anm",
        "prsc_strike_prsc.anm", "prsc_fade_in_black_prsc.anm", "prsc_keyboard_prsc.anm",
        "prsc_question_panel_prsc.anm", "prsc_play_pass_prsc.anm", "prsc_pass_prsc.anm",
        "prsc_round_winner_prsc.anm", "prsc_glowroundwinner_prsc.anm", "prsc_you_win_base_prsc.anm",
        "prsc_left_radial_blur_prsc.anm", "prsc_right_radial_blur_prsc.anm", "prsc_left_particles_prsc.anm",
        "prsc_center_particles_prsc.anm", "prsc_right_particles_prsc.anm", "prsc_you_text_prsc.anm",
        "prsc_win_test_prsc.anm", "prsc_fade_elementsdd_prsc.anm", "prsc_youtextoutdd_prsc.anm",
        "prsc_wintextoutdd_prsc.anm", "prsc_fade_elements_cc_prsc.anm", "prsc_youtextout_with_money_prsc.anm",
        "prsc_wintextout_with_hmoney_prsc.anm", "prsc_moneytext_prsc.anm", "prsc_text_money_impact_prsc.anm",
        "prsc_you_loose_panel_prsc.anm", "prsc_you_loose_text_prsc.anm", "prsc_text_family_name_prsc.anm",
        "prsc_text_family_name_impact_prsc.anm", "prsc_avatar_left_prsc.anm", "prsc_avatar_right_prsc.anm",
        "prsc_timer_prsc.anm", "prsc_timer_right_prsc.anm", "prsc_achievment_panel_prsc.anm",
        "prsc_achievement_medal_prsc.anm", "prsc_panel_prsc.anm", "prsc_medal_prsc.anm"};
    // Every widget name the screen binds, in binding order (ForEachWidget pairs them with their
    // slots, whose types say what the screen needs of each).
    static constexpr const char* kWidgets[] = {
        "QuestionLabel", "AIAnswer", "Achievement_Text", "Achievement_Title", "FamilyName", "FamilyNameGlow",
        "AllTheAnswers", "AnswerLabel1", "AnswerLabel2", "AnswerLabel3", "AnswerLabel4", "AnswerLabel5",
        "AnswerLabel6", "AnswerLabel7", "AnswerLabel8", "FreqLabel1", "FreqLabel2", "FreqLabel3", "FreqLabel4",
        "FreqLabel5", "FreqLabel6", "FreqLabel7", "FreqLabel8", "CenterAnswerLabel1", "CenterAnswerLabel2",
        "CenterAnswerLabel3", "CenterAnswerLabel4", "CenterAnswerLabel5", "CenterAnswerLabel6", "CenterAnswerLabel7",
        "CenterAnswerLabel8", "CenterFreqLabel1", "CenterFreqLabel2", "CenterFreqLabel3", "CenterFreqLabel4",
        "CenterFreqLabel5", "CenterFreqLabel6", "CenterFreqLabel7", "CenterFreqLabel8", "FMTotal1", "FMTotal2",
        "AnswerLabelFM1", "AnswerLabelFM2", "AnswerLabelFM3", "AnswerLabelFM4", "AnswerLabelFM5", "AnswerLabelFM6",
        "AnswerLabelFM7", "AnswerLabelFM8", "AnswerLabelFM9", "AnswerLabelFM10", "FreqLabelFM1", "FreqLabelFM2",
        "FreqLabelFM3", "FreqLabelFM4", "FreqLabelFM5", "FreqLabelFM6", "FreqLabelFM7", "FreqLabelFM8",
        "FreqLabelFM9", "FreqLabelFM10", "BlinkingSquareFM1", "BlinkingSquareFM2", "BlinkingSquareFM3",
        "BlinkingSquareFM4", "BlinkingSquareFM5", "BlinkingSquareFM6", "BlinkingSquareFM7", "BlinkingSquareFM8",
        "BlinkingSquareFM9", "BlinkingSquareFM10", "PlayButtonText", "PassButtonText", "AIDecideLabel", "AnswersBox",
        "CenterAnswersBox", "AnswersBoxFM", "QuestionPanel", "TimerPanel", "SoftKeyboard", "AIBox", "RetryBox",
        "StrikePanel", "AchievementBox", "PoPPanel", "AIDecidePanel", "left3DViewportBG", "left3DViewportTop",
        "right3DViewportBG", "right3DViewportTop", "TimerU0", "TimerD0", "TimerU1", "TimerD1", "TimerU2", "TimerD2",
        "TimerU3", "TimerD3", "TimerU4", "TimerD4", "TimerU5", "TimerD5", "TimerU6", "TimerD6", "TimerU7", "TimerD7",
        "TimerU8", "TimerD8", "TimerU9", "TimerD9", "Round", "Round1", "Round2", "Round3", "Round4", "SuddenDeath",
        "RoundDouble", "RoundTriple", "RoundWon", "RoundWonGlow", "YouWinBase", "YouWinRadial1", "YouWinRadial2",
        "YouWinParticles1", "YouWinParticles2", "YouWinParticles3", "YouWinText1", "YouWinText2", "YouWin20k",
        "YouWin20kGlow", "YouLoseBase", "YouLoseText", "Strike1", "Strike2_1", "Strike2_2", "Strike3_1", "Strike3_2",
        "Strike3_3", "Achievement_Medal", "Achievement_BG", "Achievement_Star", "BlackBackground", "Skip",
        "TextEntryBox_BG", "PlayButton", "PassButton", "Resume", "MenuButton", "RetryYes", "RetryNo_MainMenu",
        "ConfirmButton", "leftAvatar", "rightAvatar", "SoftKeyboardWidget", "QuestionWindow", "PoPBackground",
        "rightAvatarTag", "leftAvatarTag"};

    using Widget = GameServices::Widget::Widget;
    using Label = GameServices::Widget::Label;
    using Button = GameServices::Widget::Button;
    using Member = GameServices::Entities::BaseTeamMember*;
    using MemberDelegate = FDelegateParam<ScreenGame, Member>;
    using Delegate = FDelegate<ScreenGame>;

    ScreenGame();
    ~ScreenGame() override;

    // Screen life.
    void onLoad() override;
    void Process(u32 elapsedMs) override;
    void onUnload() override;
    // "ShowComponent" / "HideComponent" with a component name; "Timer" with "Start" or "Stop".
    void onSequenceEvent(const TString<char>& name, const TString<char>& parameter) override;

    // Match set-up and display preparation.
    // Binds every widget and starts a new match at phase 0 with the "Intro" sequence.
    void SetUpMatch();
    // Empties and hides the board, the viewports, the computer's box, the countdown and the
    // keyboard.
    void ResetRoundDisplay();
    // Keyboard text colour and the play-or-pass background's place by decade.
    void ApplyDecadeLayout();

    // Board text.
    void ShowQuestion(Question* question);
    // Shows the side board's row pictures of the rows the question's answers take, hides the others.
    void ShowBoardSlots(u32 answers);
    // The text that fits the label's width; leaves the label's font at the chosen size.
    TString<char> FitTextToLabel(Label* label, TString<char> text);
    bool IsSpecialQuestion(TString<char> id);
    void FillSpecialQuestionIds();

    // Helpers.
    // Plays a widget animation file once at the given speed; visibility unchanged.
    void PlayWidgetAnimation(Widget* widget, const TString<char>& animation, float speed);
    void StartQuestionTyping();
    void TypeNextQuestionChar();
    void TypeNextAnswerChar();
    void onOthersRevealed(Member member);
    void onAnswerTextChanged();
    void onConfirmClicked();
    void ShowPassOnConfirm();
    void PlayFastMoneyRevealSound(u32 entry);
    // Sum of the fast-money points of entries 0 to lastEntry.
    i32 SumFastMoneyPoints(i32 lastEntry);
    void onPointerActivity();

    // Answer entry, countdown and results.
    void StartAnswerTimer();
    void onTimerTick();
    void onAnswerTimeUp();
    void ShowTimerDigits(u32 units, u32 tens);
    void onAnswerEntered(Member member);
    void onAnswerResult(Member member);
    void onAnswerTurn(Member member);
    void ShowRevealedAnswers();
    void HideAnswerBoard();
    // Side 0 left, 1 right.
    void PlaceAnswerHud(u32 side);

    // Face-off, play or pass and turns.
    void onFaceOffQuestion(Member member);
    void onBuzzOpen(Member member);
    void onBuzzAccepted(Member member);
    void onFaceOffWon(Member member);
    void onPlayClicked();
    void onPassClicked();
    void onPlayOrPassChosen(Member member);
    void onRoundAnswerTurn(Member member);
    void onSteal(Member member);
    void onScoreChanged(Member member);
    void onMenuClicked();
    void onRetryYesClicked();
    void ReturnToMainMenu();
    void onSpareEvent12(Member member);
    // RoundStartEvent: ResetRoundDisplay.
    void onRoundStart(Member member);
    // The events the screen takes without acting (resume, spares 21 and 22).
    void onIgnoredEvent(Member member);

    // Sequence components and banners.
    void ShowComponent(const TString<char>& name);
    void HideComponent(const TString<char>& name);
    void ShowRounds();
    void ShowSpecialRounds();
    void ShowRoundWon();
    void ShowGameWon();
    void FadeGameWon();
    void FadeGameWon20k();
    void ShowGameLost();
    void HideGameWon();
    void ShowStrikes();
    // Side 0 left, 1 right.
    void ShowFamilyName(u32 side);
    // Dresses the left or right viewport's avatar for the member who plays.
    void DressAvatar(bool left);
    // Shows a 3D viewport: dresses its avatar once, places it and starts its slide.
    void ShowViewport(bool left);
    void HideViewport(bool left);

    // Fast money.
    void onFastMoneyStart(Member member);
    void onFastMoneyAnswerEntered();
    void onFastMoneyTimeUp();
    void onFastMoneySecondPlayer(Member member);
    void onFastMoneyReveal(Member member);
    // A fast-money turn's keyboard shows with its opening but takes typing and Enter only once
    // the turn's first question is asked.
    void LockAnswerEntry(bool locked);

    // In-game menu, window and achievement notice.
    bool onWindowClose();
    bool onWindowActivated();
    bool onWindowDeactivated();
    void onQuitConfirmed();
    void onQuitCancelled();
    void onAchievementUnlocked(Member member);
    // "UnPause" (Escape): leaves the in-game menu, as its resume button does.
    void onUnPauseAction(GameServices::KorvoGame::TeamActionData* data);
    // A clickable widget of the loaded screen lies under the window point: a click there is the
    // widget's, not the buzzer's.
    bool ControlAt(f32 x, f32 y) const;
    void ShowAchievementPanel();
    void HideAchievementPanel();
    void ShowComputerDecision(bool play);

    // The match mode found at construction; null when it is not registered.
    QZ11Game* GetGame() const { return m_Game; }
    // The countdown timer taken at load; null while unloaded.
    GameServices::KorvoGame::Timer* GetCountdownTimer() const { return m_CountdownTimer; }
    // The application whose window callbacks the screen takes; the running one when unset.
    void SetApplication(PCApplicationImpl* application) { m_Application = application; }
    // What the screen needs of a widget: a plain one is shown, hidden or animated only; text is
    // a Label; the others are of their class.
    enum class WidgetKind : u32 { Plain, Text, Button, Keyboard, Window };
    struct WidgetEntry {
        TString<char> name;
        WidgetKind kind;
    };
    // Every widget the screen binds, in binding order.
    std::vector<WidgetEntry> WidgetContract();
    // The widget bound under that name (the layout's or a stand-in); null before binding.
    Widget* BoundWidget(const TString<char>& name);
    // The names the last binding did not find in the layout.
    const std::vector<TString<char>>& GetMissingWidgets() const { return m_MissingWidgets; }

    // Widgets, bound by SetUpMatch (stand-ins for names the layout lacks). Borrowed.
    Label* m_QuestionLabel = nullptr;
    Label* m_AIAnswer = nullptr;
    Label* m_AchievementText = nullptr;
    Label* m_AchievementTitle = nullptr;
    Label* m_FamilyName = nullptr;
    Label* m_FamilyNameGlow = nullptr;
    Widget* m_AllTheAnswers = nullptr;
    Label* m_AnswerLabels[kBoardRows] = {};
    Label* m_FreqLabels[kBoardRows] = {};
    Label* m_CenterAnswerLabels[kBoardRows] = {};
    Label* m_CenterFreqLabels[kBoardRows] = {};
    Label* m_FMTotals[2] = {};
    Label* m_AnswerLabelsFM[kFastMoneyRows] = {};
    Label* m_FreqLabelsFM[kFastMoneyRows] = {};
    Widget* m_BlinkingSquaresFM[kFastMoneyRows] = {};
    Label* m_PlayButtonText = nullptr;
    Label* m_PassButtonText = nullptr;
    Label* m_AIDecideLabel = nullptr;
    Widget* m_AnswersBox = nullptr;
    Widget* m_CenterAnswersBox = nullptr;
    Widget* m_AnswersBoxFM = nullptr;
    Widget* m_QuestionPanel = nullptr;
    Widget* m_TimerPanel = nullptr;
    Widget* m_SoftKeyboardPanel = nullptr;
    Widget* m_AIBox = nullptr;
    Widget* m_RetryBox = nullptr;
    Widget* m_StrikePanel = nullptr;
    Widget* m_AchievementBox = nullptr;
    Widget* m_PoPPanel = nullptr;
    Widget* m_AIDecidePanel = nullptr;
    Widget* m_Left3DViewportBG = nullptr;
    Widget* m_Left3DViewportTop = nullptr;
    Widget* m_Right3DViewportBG = nullptr;
    Widget* m_Right3DViewportTop = nullptr;
    // Index = digit: "TimerD<d>" tens, "TimerU<d>" units.
    Widget* m_TimerTens[kDigits] = {};
    Widget* m_TimerUnits[kDigits] = {};
    Widget* m_Round = nullptr;
    // "Round1" .. "Round4".
    Widget* m_RoundNumbers[4] = {};
    Widget* m_SuddenDeath = nullptr;
    Widget* m_RoundDouble = nullptr;
    Widget* m_RoundTriple = nullptr;
    Widget* m_RoundWon = nullptr;
    Widget* m_RoundWonGlow = nullptr;
    Widget* m_YouWinBase = nullptr;
    Widget* m_YouWinRadial1 = nullptr;
    Widget* m_YouWinRadial2 = nullptr;
    Widget* m_YouWinParticles1 = nullptr;
    Widget* m_YouWinParticles2 = nullptr;
    Widget* m_YouWinParticles3 = nullptr;
    Widget* m_YouWinText1 = nullptr;
    Widget* m_YouWinText2 = nullptr;
    Widget* m_YouWin20k = nullptr;
    Widget* m_YouWin20kGlow = nullptr;
    Widget* m_YouLoseBase = nullptr;
    Widget* m_YouLoseText = nullptr;
    Widget* m_Strike1 = nullptr;
    // "Strike2_1", "Strike2_2".
    Widget* m_Strike2[2] = {};
    // "Strike3_1" .. "Strike3_3".
    Widget* m_Strike3[3] = {};
    Widget* m_AchievementMedal = nullptr;
    Widget* m_AchievementBG = nullptr;
    Widget* m_AchievementStar = nullptr;
    Widget* m_BlackBackground = nullptr;
    Widget* m_Skip = nullptr;
    Widget* m_TextEntryBoxBG = nullptr;
    Button* m_PlayButton = nullptr;
    Button* m_PassButton = nullptr;
    Button* m_ResumeButton = nullptr;
    Button* m_MenuButton = nullptr;
    Button* m_RetryYes = nullptr;
    Button* m_RetryNoMainMenu = nullptr;
    Button* m_ConfirmButton = nullptr;
    Widget* m_LeftAvatar = nullptr;
    Widget* m_RightAvatar = nullptr;
    GameServices::Widget::SoftKeyboard* m_SoftKeyboard = nullptr;
    Widget* m_QuestionWindow = nullptr;
    GameServices::Widget::ResizableWindow* m_PoPBackground = nullptr;
    Label* m_RightAvatarTag = nullptr;
    Label* m_LeftAvatarTag = nullptr;

    // Fast-money columns: the matched answer of each entry (-1 none) and its points.
    i32 m_FastMoneyAnswerIndices[kFastMoneyRows] = {};
    i32 m_FastMoneyAnswerPoints[kFastMoneyRows] = {};

    // The countdown: a repeating timer held while loaded; the tick acts only while running.
    GameServices::KorvoGame::Timer* m_CountdownTimer = nullptr;
    u32 m_CountdownElapsedMs = 0;
    bool m_CountdownRunning = false;
    // Remaining time 5 s or less / 15 s or more.
    bool m_CountdownLow = false;
    bool m_CountdownHigh = false;

    // Letter-by-letter question ("QuestionLabel") and computer answer ("AIAnswer").
    u32 m_TypingIntervalMs = kTypingIntervalMs;
    bool m_QuestionTypingActive = false;
    u32 m_QuestionTypingMs = 0;
    u32 m_QuestionTypedChars = 0;
    bool m_AnswerTypingActive = false;
    u32 m_AnswerTypingMs = 0;
    u32 m_AnswerTypedChars = 0;

    // Achievement notice.
    bool m_AchievementShowing = false;
    u32 m_AchievementMs = 0;
    u32 m_AchievementShowMs = kAchievementShowMs;

    // A board block is turning; cleared 1000 ms after.
    bool m_BlockTurning = false;
    u32 m_BlockTurnMs = 0;
    i32 m_TurningBlock = 0;

    // While set, Process keeps the viewport character on its sliding background.
    bool m_TrackLeftViewport = false;
    bool m_TrackRightViewport = false;
    // The viewport's avatar still has to be dressed for the member who plays.
    bool m_LeftAvatarDressPending = true;
    bool m_RightAvatarDressPending = true;

    Question* m_CurrentQuestion = nullptr;
    TString<char> m_SpecialQuestionIds[kSpecialQuestionCount];

    // Fast-money reveal and entry.
    u32 m_FastMoneyRevealIndex = 0;
    i32 m_FastMoneyRevealTotal = 0;
    i32 m_FastMoneyLastRevealed = -1;
    bool m_FastMoneyEntering = true;
    u32 m_FastMoneyFirstEntry = 0;
    // Where the search for a passed question starts, and the highest index still passed.
    u32 m_FastMoneyRangeBegin = 0;
    u32 m_FastMoneyRangeEnd = 5;
    i32 m_LastTypedLength = -1;
    // The number of the first player's top answers.
    u32 m_FastMoneyRevealCount = 0;
    // After a 200-point win the remaining answers are still to be revealed.
    bool m_FastMoneyFirstRevealDone = false;

    // Window-close confirmation.
    bool m_QuitConfirmed = false;
    bool m_VerifyQuitShown = false;
    // The quit prompt is open: no sequence may be skipped meanwhile.
    bool m_QuitPromptOpen = false;

protected:
    // Window callback trampolines: the object is the screen.
    static bool CloseTrampoline(void* screen);
    static void ActivatedTrampoline(void* screen);
    static void DeactivatedTrampoline(void* screen);
    // The keyboard's key-press sound.
    void PlayKeyPressSound();
    // The application of the window callbacks; null without one.
    PCApplicationImpl* Application() const;
    // The widget of that name in the loaded layout, or a hidden stand-in of kind T owned by the
    // screen (reported once per load).
    template <typename T>
    T* BindWidget(const TString<char>& name);
    // Calls f(slot, name) for every widget reference, in binding order.
    template <typename F>
    void ForEachWidget(F&& f);
    void BindWidgets();
    void ListenWidgets(bool listen);
    void SubscribeMatchEvents(bool subscribe);

    QZ11Game* m_Game = nullptr;
    PCApplicationImpl* m_Application = nullptr;
    bool m_WindowCallbacksSet = false;
    bool m_EntityRegistered = false;
    std::vector<TString<char>> m_MissingWidgets;
    // Hidden stand-ins for names the layout lacks, kept until unload.
    std::vector<std::unique_ptr<Widget>> m_StandIns;
    std::vector<TString<char>> m_StandInNames;

    // Match events (delegate of events 0, 1 and 2 shared).
    MemberDelegate m_BuzzAcceptedDelegate{this, &ScreenGame::onBuzzAccepted};
    MemberDelegate m_AnswerEnteredDelegate{this, &ScreenGame::onAnswerEntered};
    MemberDelegate m_FaceOffQuestionDelegate{this, &ScreenGame::onFaceOffQuestion};
    MemberDelegate m_AnswerTurnDelegate{this, &ScreenGame::onAnswerTurn};
    MemberDelegate m_RoundStartDelegate{this, &ScreenGame::onRoundStart};
    MemberDelegate m_ResumeDelegate{this, &ScreenGame::onIgnoredEvent};
    MemberDelegate m_FaceOffWonDelegate{this, &ScreenGame::onFaceOffWon};
    MemberDelegate m_FastMoneyStartDelegate{this, &ScreenGame::onFastMoneyStart};
    MemberDelegate m_FastMoneySecondPlayerDelegate{this, &ScreenGame::onFastMoneySecondPlayer};
    MemberDelegate m_FastMoneyRevealDelegate{this, &ScreenGame::onFastMoneyReveal};
    MemberDelegate m_SpareEvent12Delegate{this, &ScreenGame::onSpareEvent12};
    MemberDelegate m_RoundAnswerTurnDelegate{this, &ScreenGame::onRoundAnswerTurn};
    MemberDelegate m_PlayOrPassChosenDelegate{this, &ScreenGame::onPlayOrPassChosen};
    MemberDelegate m_ScoreChangedDelegate{this, &ScreenGame::onScoreChanged};
    MemberDelegate m_StealDelegate{this, &ScreenGame::onSteal};
    MemberDelegate m_AnswerResultDelegate{this, &ScreenGame::onAnswerResult};
    MemberDelegate m_BuzzOpenDelegate{this, &ScreenGame::onBuzzOpen};
    MemberDelegate m_OthersRevealedDelegate{this, &ScreenGame::onOthersRevealed};
    MemberDelegate m_AchievementUnlockedDelegate{this, &ScreenGame::onAchievementUnlocked};
    MemberDelegate m_SpareEvent21Delegate{this, &ScreenGame::onIgnoredEvent};
    MemberDelegate m_SpareEvent22Delegate{this, &ScreenGame::onIgnoredEvent};

    // Widgets, keyboard, menu and timer.
    Delegate m_PlayClickedDelegate{this, &ScreenGame::onPlayClicked};
    Delegate m_PassClickedDelegate{this, &ScreenGame::onPassClicked};
    Delegate m_MenuClickedDelegate{this, &ScreenGame::onMenuClicked};
    Delegate m_RetryYesDelegate{this, &ScreenGame::onRetryYesClicked};
    // Also the composition manager's return-to-menu event.
    Delegate m_ReturnToMenuDelegate{this, &ScreenGame::ReturnToMainMenu};
    Delegate m_ConfirmClickedDelegate{this, &ScreenGame::onConfirmClicked};
    Delegate m_AnswerTextChangedDelegate{this, &ScreenGame::onAnswerTextChanged};
    Delegate m_PlayHoverDelegate{this, &ScreenGame::onPointerActivity};
    Delegate m_PassHoverDelegate{this, &ScreenGame::onPointerActivity};
    Delegate m_KeyboardPointerDelegate{this, &ScreenGame::onPointerActivity};
    Delegate m_KeyPressSoundDelegate{this, &ScreenGame::PlayKeyPressSound};
    Delegate m_QuitConfirmedDelegate{this, &ScreenGame::onQuitConfirmed};
    Delegate m_QuitCancelledDelegate{this, &ScreenGame::onQuitCancelled};
    Delegate m_TimerTickDelegate{this, &ScreenGame::onTimerTick};
    GameServices::KorvoGame::TeamActionManagerDelegate<ScreenGame> m_UnPauseDelegate{this, &ScreenGame::onUnPauseAction};
    // The manager listened to at load, for the unload.
    GameServices::KorvoGame::TeamActionManager* m_UnPauseTeams = nullptr;

    // Additions of the match callbacks go below this line.

    // board, answers and turns
    // The smaller board of the 90s and 00s in rounds 3 to 5.
    static bool UsesShiftedBoard();
    // The 0-based board row that shows a 0-based answer; -1 when the board does not show it.
    static i32 BoardRowOf(u32 answer, bool shifted);
    // A press of the visible Play (play) or Pass button.
    void ChoosePlayOrPass(Button* button, bool play);
};

}  // namespace QZ2011
