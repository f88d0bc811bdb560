#include "game/presentation/screens/ScreenGame.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <type_traits>

#include "engine/core/AGApplication.h"
#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PCApplicationImpl.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/screens/ScreenWidgets.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/ShowSequences.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/MiniGameManager.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"
#include "questions/QuestionManager.h"

namespace QZ2011 {

namespace {

using GameServices::Widget::RenderingSystemWidget;

constexpr const char* kUnPauseAction = "UnPause";

// A widget's animation is playing: it has one and its controller is neither at rest nor stopped.
bool AnimationPlaying(const GameServices::Widget::Widget* widget) {
    if (!widget || !widget->m_Animation)
        return false;
    const u32 mode = widget->m_Control.GetMode();
    return mode != 0 && mode != AGController::kStopped;
}

// Keeps a viewport's avatar on its sliding background.
void FollowViewport(QZCharacter* avatar, f32 x) {
    if (!avatar)
        return;
    avatar->Synchronize = false;
    avatar->SetPosition(AGVec3{x, 30.0f, 0.0f});
}

template <typename T>
constexpr ScreenGame::WidgetKind KindOf() {
    if constexpr (std::is_same_v<T, GameServices::Widget::Label>)
        return ScreenGame::WidgetKind::Text;
    else if constexpr (std::is_same_v<T, GameServices::Widget::Button>)
        return ScreenGame::WidgetKind::Button;
    else if constexpr (std::is_same_v<T, GameServices::Widget::SoftKeyboard>)
        return ScreenGame::WidgetKind::Keyboard;
    else if constexpr (std::is_same_v<T, GameServices::Widget::ResizableWindow>)
        return ScreenGame::WidgetKind::Window;
    else
        return ScreenGame::WidgetKind::Plain;
}

// The key groups of the answer keyboard switched off at set-up, each after one group flag.
constexpr u32 kLetterKeyGroups[5] = {0, 1, 2, 3, 6};

}  // namespace

ScreenGame::ScreenGame() : BaseScreen<ScreenGame>(kName) {
    m_LayoutFile = kName;
    if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
        m_Game = dynamic_cast<QZ11Game*>(
            GameServices::MiniGame::MiniGameManager::FindMinigame(QZ11Game::kLevelName, game->GetMiniGames()));
    if (QZ2011GameContext* context = QZ2011GameContext::Current())
        context->m_TimeUp = 0;
}

// A screen destroyed while loaded leaves no subscription behind.
ScreenGame::~ScreenGame() {
    if (IsLoaded())
        onUnload();
}

void ScreenGame::onLoad() {
    Screen::onLoad();
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (m_Game)
        SubscribeMatchEvents(true);
    SetUpMatch();
    GameShow::CompositionManager& compositions = GameShow::CompositionManager::Instance();
    compositions.ReturnToMainMenuConfirmed.AddDelegate(&m_ReturnToMenuDelegate);
    if (context)
        context->m_AnswerKeyboard = m_SoftKeyboard;
    ListenWidgets(true);
    if (PCApplicationImpl* application = Application()) {
        application->SetCloseCallback(this, &ScreenGame::CloseTrampoline);
        application->SetActivatedCallback(this, &ScreenGame::ActivatedTrampoline);
        application->SetDeactivatedCallback(this, &ScreenGame::DeactivatedTrampoline);
        m_WindowCallbacksSet = true;
    }
    compositions.QuitConfirmed.AddDelegate(&m_QuitConfirmedDelegate);
    compositions.QuitCancelled.AddDelegate(&m_QuitCancelledDelegate);
    m_UnPauseTeams = GameServices::KorvoGame::TeamActionManager::Get();
    if (m_UnPauseTeams)
        m_UnPauseTeams->ListenTeamAction(&m_UnPauseDelegate, kUnPauseAction);
    m_CountdownTimer = GameServices::KorvoGame::TimerManager::Instance()->AddTimer();
    if (m_CountdownTimer) {
        m_CountdownTimer->m_Event.AddDelegate(&m_TimerTickDelegate);
        m_CountdownTimer->m_Duration = kCountdownIntervalMs;
        m_CountdownTimer->m_Elapsed = 0;
        m_CountdownTimer->m_SingleShot = false;
        m_CountdownTimer->m_Active = true;
    }
    if (m_SoftKeyboard) {
        m_SoftKeyboard->m_KeyboardBehavior.m_KeyHoverEvent.AddDelegate(&m_KeyboardPointerDelegate);
        m_SoftKeyboard->m_KeyboardBehavior.m_TextChangedEvent.AddDelegate(&m_KeyPressSoundDelegate);
    }
    if (GameShow::EntitySequencer* entities = context ? context->GetEntitySequencer() : nullptr)
        m_EntityRegistered = entities->Register(Crc32Hash(kName), this);
    FillSpecialQuestionIds();
}

void ScreenGame::Process(u32 elapsedMs) {
    m_CountdownElapsedMs += elapsedMs;
    if (m_QuestionTypingActive)
        m_QuestionTypingMs += elapsedMs;
    if (m_AnswerTypingActive)
        m_AnswerTypingMs += elapsedMs;
    if (m_QuestionTypingMs >= m_TypingIntervalMs) {
        m_QuestionTypingMs = 0;
        m_QuestionTypingActive = false;
        TypeNextQuestionChar();
    }
    if (m_AnswerTypingMs >= m_TypingIntervalMs) {
        m_AnswerTypingMs = 0;
        m_AnswerTypingActive = false;
        TypeNextAnswerChar();
    }
    if (m_BlockTurning) {
        m_BlockTurnMs += elapsedMs;
        if (i32(m_BlockTurnMs) >= i32(kBlockTurnMs)) {
            m_BlockTurnMs = 0;
            m_BlockTurning = false;
        }
    }
    if (m_AchievementShowing) {
        m_AchievementMs += elapsedMs;
        if (m_AchievementStar && !m_AchievementStar->Visible && !AnimationPlaying(m_AchievementMedal)) {
            PlayWidgetAnimation(m_AchievementStar, kAnimations[kAnimStarsWardrobe], 1.0f);
            ShowWidget(m_AchievementStar, true);
        }
    }
    if (m_AchievementMs >= m_AchievementShowMs) {
        m_AchievementMs = 0;
        m_AchievementShowing = false;
        HideComponent(kAchievementComponent);
    }
    QZ2011GameContext* context = QZ2011GameContext::Current();
    ShowWidget(m_Skip, context && context->m_SkipAllowed);
    // The update runs once more in the frame the slide ends, with the final x.
    if (m_TrackLeftViewport) {
        m_TrackLeftViewport = AnimationPlaying(m_Left3DViewportBG);
        const f32 x = m_Left3DViewportBG ? m_Left3DViewportBG->m_AnimX : 0.0f;
        FollowViewport(m_Game ? m_Game->GetViewportCharacter(false) : nullptr, 40.0f - x);
    }
    if (m_TrackRightViewport) {
        m_TrackRightViewport = AnimationPlaying(m_Right3DViewportBG);
        const f32 x = m_Right3DViewportBG ? m_Right3DViewportBG->m_AnimX : 0.0f;
        FollowViewport(m_Game ? m_Game->GetViewportCharacter(true) : nullptr, -40.0f - x);
    }
}

void ScreenGame::onUnload() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    ListenWidgets(false);
    if (m_SoftKeyboard) {
        m_SoftKeyboard->m_KeyboardBehavior.m_TextChangedEvent.RemoveDelegate(&m_KeyPressSoundDelegate);
        m_SoftKeyboard->m_KeyboardBehavior.m_KeyHoverEvent.RemoveDelegate(&m_KeyboardPointerDelegate);
    }
    GameShow::CompositionManager& compositions = GameShow::CompositionManager::Instance();
    compositions.ReturnToMainMenuConfirmed.RemoveDelegate(&m_ReturnToMenuDelegate);
    // One slot each: another owner's callbacks stay.
    if (PCApplicationImpl* application = m_WindowCallbacksSet ? Application() : nullptr)
        application->ReleaseWindowCallbacks(this);
    m_WindowCallbacksSet = false;
    compositions.QuitConfirmed.RemoveDelegate(&m_QuitConfirmedDelegate);
    compositions.QuitCancelled.RemoveDelegate(&m_QuitCancelledDelegate);
    // A manager that has gone took its listeners with it.
    if (m_UnPauseTeams && m_UnPauseTeams == GameServices::KorvoGame::TeamActionManager::Get())
        m_UnPauseTeams->UnlistenTeamAction(&m_UnPauseDelegate, kUnPauseAction);
    m_UnPauseTeams = nullptr;
    // The record is written while it is still ours, and given back inactive (an active one would
    // stay in use); the pointer goes with it.
    if (m_CountdownTimer) {
        m_CountdownTimer->m_Active = false;
        m_CountdownTimer->m_Duration = 0;
        m_CountdownTimer->m_Elapsed = 0;
        m_CountdownTimer->m_Event.RemoveDelegate(&m_TimerTickDelegate);
        GameServices::KorvoGame::TimerManager::Instance()->RemoveTimer(m_CountdownTimer);
        m_CountdownTimer = nullptr;
    }
    m_CountdownRunning = false;
    if (m_Game)
        SubscribeMatchEvents(false);
    if (context && context->m_AnswerKeyboard == m_SoftKeyboard)
        context->m_AnswerKeyboard = nullptr;
    Screen::onUnload();
    if (GameShow::EntitySequencer* entities = context ? context->GetEntitySequencer() : nullptr) {
        if (m_EntityRegistered)
            entities->Unregister(Crc32Hash(kName));
    }
    m_EntityRegistered = false;
    // The panels are gone: no reference may outlive them.
    ForEachWidget([](auto*& slot, const TString<char>&) { slot = nullptr; });
    m_StandIns.clear();
    m_StandInNames.clear();
    m_MissingWidgets.clear();
}

void ScreenGame::onSequenceEvent(const TString<char>& name, const TString<char>& parameter) {
    if (name == kSequenceEvents[0]) {
        ShowComponent(parameter);
    } else if (name == kSequenceEvents[1]) {
        HideComponent(parameter);
    } else if (name == kSequenceEvents[2]) {
        // Without the screen's timer there is no countdown to drive.
        if (!m_CountdownTimer)
            return;
        if (parameter == kTimerParameters[0]) {
            StartAnswerTimer();
        } else if (parameter == kTimerParameters[1]) {
            ShowWidget(m_TimerPanel, false);
            m_CountdownRunning = false;
        }
    }
}

void ScreenGame::SetUpMatch() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    BindWidgets();
    for (u32 digit = 0; digit < kDigits; ++digit) {
        ShowWidget(m_TimerUnits[digit], false);
        ShowWidget(m_TimerTens[digit], false);
    }
    const std::pair<Widget*, bool> initial[] = {
        {m_AnswersBoxFM, false},      {m_AIBox, false},           {m_AIAnswer, true},
        {m_LeftAvatar, true},         {m_RightAvatar, true},      {m_SoftKeyboardPanel, false},
        {m_SoftKeyboard, false},      {m_QuestionWindow, true},   {m_QuestionPanel, false},
        {m_TimerPanel, false},        {m_PlayButton, false},      {m_PassButton, false},
        {m_ConfirmButton, false},     {m_MenuButton, true},       {m_TextEntryBoxBG, false},
        {m_RetryBox, false},          {m_RetryNoMainMenu, false}, {m_RetryYes, false},
        {m_StrikePanel, true},        {m_Left3DViewportBG, false}, {m_Left3DViewportTop, false},
        {m_Right3DViewportBG, false}, {m_Right3DViewportTop, false}, {m_CenterAnswersBox, false},
        {m_PlayButtonText, false},    {m_PassButtonText, false},  {m_AchievementBox, false},
        {m_BlackBackground, false},   {m_PoPPanel, false},        {m_AIDecidePanel, false},
        {m_Skip, false},              {m_FMTotals[0], false},     {m_FMTotals[1], false},
    };
    for (const auto& [widget, visible] : initial)
        ShowWidget(widget, visible);
    if (context) {
        for (Family* family : {context->m_PlayerOneFamily, context->m_PlayerTwoFamily, context->m_ComputerFamily}) {
            if (!family)
                continue;
            family->m_Score = 0;
            family->m_Strikes = 0;
            family->m_Side = family == context->m_PlayerOneFamily ? 0 : 1;
        }
        context->m_RoundBank = 0;
    }
    ResetRoundDisplay();
    for (Widget* banner : {m_Round, m_RoundNumbers[0], m_RoundNumbers[1], m_RoundNumbers[2], m_RoundNumbers[3],
                           m_SuddenDeath, m_RoundDouble, m_RoundTriple, m_RoundWon, m_RoundWonGlow})
        ShowWidget(banner, false);
    HideGameWon();
    for (Widget* widget : {m_YouLoseBase, m_YouLoseText, m_Strike1, m_Strike2[0], m_Strike2[1], m_Strike3[0],
                           m_Strike3[1], m_Strike3[2]})
        ShowWidget(widget, false);
    ShowWidget(m_FamilyName, false);
    ShowWidget(m_FamilyNameGlow, false);
    if (m_SoftKeyboard) {
        RenderingSystemWidget::SetSoftKeysVisible(4, *m_SoftKeyboard, false);
        RenderingSystemWidget::SetSoftKeysVisible(5, *m_SoftKeyboard, true);
        for (u32 i = 0; i < std::size(kLetterKeyGroups); ++i) {
            m_SoftKeyboard->m_KeyGroups[i] = 0;
            RenderingSystemWidget::SetSoftKeysVisible(kLetterKeyGroups[i], *m_SoftKeyboard, false);
        }
    }
    m_FastMoneyRevealIndex = 0;
    m_FastMoneyEntering = true;
    m_FastMoneyRangeBegin = 0;
    m_FastMoneyRangeEnd = 5;
    m_LastTypedLength = -1;
    m_FastMoneyFirstEntry = 0;
    m_RightAvatarDressPending = true;
    m_LeftAvatarDressPending = true;
    m_FastMoneyRevealCount = 0;
    m_QuestionTypingMs = 0;
    m_AnswerTypingMs = 0;
    m_QuestionTypingActive = m_AnswerTypingActive = m_AchievementShowing = false;
    m_TypingIntervalMs = kTypingIntervalMs;
    m_AchievementShowMs = kAchievementShowMs;
    m_AchievementMs = 0;
    m_FastMoneyFirstRevealDone = false;
    m_BlockTurning = false;
    m_BlockTurnMs = 0;
    m_FastMoneyLastRevealed = -1;
    ApplyDecadeLayout();
    if (context)
        context->ResetGameState();
    if (m_Game)
        m_Game->ResetBoardScreens();
    if (context) {
        context->NextFamilyMember(true);
        context->NextFamilyMember(false);
        context->m_GamePhase = PhaseShowStart;
        context->m_RoundCounter = 0;
        if (GameShow::SequenceManager* sequences = context->GetSequenceManager())
            sequences->PlaySequence(ShowSequenceStem(kSeqIntro));
        if (AudioManagerQZ* audio = context->GetAudioManager())
            audio->PlayCrowdNoise();
    }
    if (m_Game) {
        m_Game->SetScoreDisplay(false, -1);
        m_Game->SetScoreDisplay(true, -1);
        m_Game->SetBankDisplay(-1);
        m_Game->HideAllContestants();
        m_Game->SetCrowdVisible(true);
        m_Game->ResetBoardBlocks();
        QZ11Game::ApplyStageDressing();
    }
    m_TrackLeftViewport = m_TrackRightViewport = false;
    if (QuestionManager* questions = context ? context->GetQuestionManager() : nullptr)
        questions->SaveProgress();
}

void ScreenGame::ResetRoundDisplay() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    // The board has eight rows, whatever the level data says.
    const u32 rows = std::min(context ? context->m_NumberOfAnswers : 0u, kBoardRows);
    for (u32 row = 0; row < rows; ++row) {
        ShowWidget(m_AnswerLabels[row], false);
        ShowWidget(m_FreqLabels[row], false);
    }
    // The last round's centre board goes with it: the next board would show under it.
    ShowWidget(m_AnswersBox, false);
    ShowWidget(m_CenterAnswersBox, false);
    HideComponent(kViewports[0]);
    HideComponent(kViewports[1]);
    ShowWidget(m_AIBox, false);
    ShowWidget(m_TimerPanel, false);
    m_CountdownRunning = false;
    for (Widget* widget : {static_cast<Widget*>(m_SoftKeyboard), m_TextEntryBoxBG,
                           static_cast<Widget*>(m_ConfirmButton), m_SoftKeyboardPanel})
        ShowWidget(widget, false);
}

void ScreenGame::ApplyDecadeLayout() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const u32 decade = context ? context->m_Decade : QZ2011GameContext::kNoDecade;
    const char* colour = decade <= 3 ? "#FFFFFFFF" : "";
    if (m_SoftKeyboard) {
        m_SoftKeyboard->m_TextStyle.m_Color = colour;
        RenderingSystemWidget::UpdateText(*m_SoftKeyboard);
    }
    if (m_ConfirmButton) {
        m_ConfirmButton->m_TextStyle.m_Color = colour;
        RenderingSystemWidget::UpdateText(*m_ConfirmButton);
    }
    if (m_PoPBackground) {
        // The 70s to 90s frame is inset by 15 on every side: moved in by the inset, its centre
        // (a fraction of the window's size, as the borders) narrowed so that the frame ends
        // the inset short of the window's far sides.
        const f32 inset = decade <= 2 ? 15.0f : 0.0f;
        m_PoPBackground->SetPositionXY(9.0f + inset, 3.0f + inset);
        const auto centre = [inset](f32 border, f32 size) {
            return size > 0.0f ? std::max(0.0f, 1.0f - 2.0f * (border + inset / size)) : 0.0f;
        };
        const GameServices::Widget::ResizableWindow& frame = *m_PoPBackground;
        m_PoPBackground->m_CenterSize = AGVec2{centre(frame.m_BorderSize.x, frame.m_Width),
                                               centre(frame.m_BorderSize.y, frame.m_Height)};
    }
}

void ScreenGame::onRoundStart(Member member) {
    (void)member;
    ResetRoundDisplay();
}

void ScreenGame::onIgnoredEvent(Member member) { (void)member; }

void ScreenGame::HideGameWon() {
    for (Widget* widget : {m_YouWinBase, m_YouWinRadial1, m_YouWinRadial2, m_YouWinParticles1, m_YouWinParticles2,
                           m_YouWinParticles3, m_YouWinText1, m_YouWinText2, m_YouWin20k, m_YouWin20kGlow})
        ShowWidget(widget, false);
}

void ScreenGame::HideViewport(bool left) {
    (left ? m_LeftAvatarDressPending : m_RightAvatarDressPending) = true;
    QZCharacter* avatar = m_Game ? m_Game->GetViewportCharacter(!left) : nullptr;
    if (avatar) {
        avatar->Reset();
        GameServices::KorvoGame::CharacterManager::Instance()->RemoveAppearance(*avatar);
    }
    Widget* background = left ? m_Left3DViewportBG : m_Right3DViewportBG;
    Widget* top = left ? m_Left3DViewportTop : m_Right3DViewportTop;
    ShowWidget(background, false);
    ShowWidget(top, false);
    if (avatar) {
        avatar->Synchronize = false;
        avatar->SetVisible(false);
    }
    for (Widget* widget : {background, top})
        if (widget)
            widget->m_Control.SetMode(AGController::kStopped);
}

template <typename F>
void ScreenGame::ForEachWidget(F&& f) {
    // The slots in kWidgets order (a slot past the table's end has no name and is skipped).
    size_t at = 0;
    const auto bind = [&](auto*& slot) {
        if (at < std::size(kWidgets))
            f(slot, TString<char>(kWidgets[at]));
        ++at;
    };
    bind(m_QuestionLabel);
    bind(m_AIAnswer);
    bind(m_AchievementText);
    bind(m_AchievementTitle);
    bind(m_FamilyName);
    bind(m_FamilyNameGlow);
    bind(m_AllTheAnswers);
    for (u32 row = 0; row < kBoardRows; ++row)
        bind(m_AnswerLabels[row]);
    for (u32 row = 0; row < kBoardRows; ++row)
        bind(m_FreqLabels[row]);
    for (u32 row = 0; row < kBoardRows; ++row)
        bind(m_CenterAnswerLabels[row]);
    for (u32 row = 0; row < kBoardRows; ++row)
        bind(m_CenterFreqLabels[row]);
    bind(m_FMTotals[0]);
    bind(m_FMTotals[1]);
    for (u32 row = 0; row < kFastMoneyRows; ++row)
        bind(m_AnswerLabelsFM[row]);
    for (u32 row = 0; row < kFastMoneyRows; ++row)
        bind(m_FreqLabelsFM[row]);
    for (u32 row = 0; row < kFastMoneyRows; ++row)
        bind(m_BlinkingSquaresFM[row]);
    bind(m_PlayButtonText);
    bind(m_PassButtonText);
    bind(m_AIDecideLabel);
    bind(m_AnswersBox);
    bind(m_CenterAnswersBox);
    bind(m_AnswersBoxFM);
    bind(m_QuestionPanel);
    bind(m_TimerPanel);
    bind(m_SoftKeyboardPanel);
    bind(m_AIBox);
    bind(m_RetryBox);
    bind(m_StrikePanel);
    bind(m_AchievementBox);
    bind(m_PoPPanel);
    bind(m_AIDecidePanel);
    bind(m_Left3DViewportBG);
    bind(m_Left3DViewportTop);
    bind(m_Right3DViewportBG);
    bind(m_Right3DViewportTop);
    for (u32 digit = 0; digit < kDigits; ++digit) {
        bind(m_TimerUnits[digit]);
        bind(m_TimerTens[digit]);
    }
    bind(m_Round);
    for (u32 round = 0; round < 4; ++round)
        bind(m_RoundNumbers[round]);
    bind(m_SuddenDeath);
    bind(m_RoundDouble);
    bind(m_RoundTriple);
    bind(m_RoundWon);
    bind(m_RoundWonGlow);
    bind(m_YouWinBase);
    bind(m_YouWinRadial1);
    bind(m_YouWinRadial2);
    bind(m_YouWinParticles1);
    bind(m_YouWinParticles2);
    bind(m_YouWinParticles3);
    bind(m_YouWinText1);
    bind(m_YouWinText2);
    bind(m_YouWin20k);
    bind(m_YouWin20kGlow);
    bind(m_YouLoseBase);
    bind(m_YouLoseText);
    bind(m_Strike1);
    bind(m_Strike2[0]);
    bind(m_Strike2[1]);
    bind(m_Strike3[0]);
    bind(m_Strike3[1]);
    bind(m_Strike3[2]);
    bind(m_AchievementMedal);
    bind(m_AchievementBG);
    bind(m_AchievementStar);
    bind(m_BlackBackground);
    bind(m_Skip);
    bind(m_TextEntryBoxBG);
    bind(m_PlayButton);
    bind(m_PassButton);
    bind(m_ResumeButton);
    bind(m_MenuButton);
    bind(m_RetryYes);
    bind(m_RetryNoMainMenu);
    bind(m_ConfirmButton);
    bind(m_LeftAvatar);
    bind(m_RightAvatar);
    bind(m_SoftKeyboard);
    bind(m_QuestionWindow);
    bind(m_PoPBackground);
    bind(m_RightAvatarTag);
    bind(m_LeftAvatarTag);
}

std::vector<ScreenGame::WidgetEntry> ScreenGame::WidgetContract() {
    std::vector<WidgetEntry> contract;
    ForEachWidget([&](auto*& slot, const TString<char>& name) {
        using T = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
        contract.push_back({name, KindOf<T>()});
    });
    return contract;
}

GameServices::Widget::Widget* ScreenGame::BoundWidget(const TString<char>& name) {
    Widget* bound = nullptr;
    ForEachWidget([&](auto*& slot, const TString<char>& slotName) {
        if (!bound && slotName == name)
            bound = slot;
    });
    return bound;
}

template <typename T>
T* ScreenGame::BindWidget(const TString<char>& name) {
    Widget* found = m_RootPanel ? Widget::FindChild(name, m_RootPanel) : nullptr;
    if (T* widget = dynamic_cast<T*>(found))
        return widget;
    for (size_t i = 0; i < m_StandIns.size(); ++i)
        if (m_StandInNames[i] == name)
            if (T* standIn = dynamic_cast<T*>(m_StandIns[i].get()))
                return standIn;
    if (found)
        AGReport("ScreenGame: the widget '%s' is not of the kind the screen uses; a hidden stand-in replaces it",
                 name.c_str());
    else
        AGReport("ScreenGame: no widget '%s' in the layout; a hidden stand-in replaces it", name.c_str());
    m_MissingWidgets.push_back(name);
    // Any plain widget will do: an empty panel.
    using Made = std::conditional_t<std::is_same_v<T, Widget>, GameServices::Widget::Panel, T>;
    auto standIn = std::make_unique<Made>(name);
    standIn->SetVisible(false);
    T* bound = standIn.get();
    m_StandIns.push_back(std::move(standIn));
    m_StandInNames.push_back(name);
    return bound;
}

void ScreenGame::BindWidgets() {
    ForEachWidget([this](auto*& slot, const TString<char>& name) {
        using T = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
        slot = BindWidget<T>(name);
    });
    for (Widget* marker : m_BlinkingSquaresFM)
        ShowWidget(marker, false);
}

void ScreenGame::ListenWidgets(bool listen) {
    using namespace GameServices::Widget;
    const std::pair<Widget*, std::pair<u32, IDelegate*>> listeners[] = {
        {m_PlayButton, {kEventClick, &m_PlayClickedDelegate}},
        {m_PassButton, {kEventClick, &m_PassClickedDelegate}},
        {m_MenuButton, {kEventClick, &m_MenuClickedDelegate}},
        {m_RetryYes, {kEventClick, &m_RetryYesDelegate}},
        {m_RetryNoMainMenu, {kEventClick, &m_ReturnToMenuDelegate}},
        {m_ConfirmButton, {kEventClick, &m_ConfirmClickedDelegate}},
        {m_SoftKeyboard, {kEventValueChanged, &m_AnswerTextChangedDelegate}},
        {m_PlayButton, {kEventEnter, &m_PlayHoverDelegate}},
        {m_PassButton, {kEventEnter, &m_PassHoverDelegate}},
    };
    for (const auto& [widget, listener] : listeners) {
        if (!widget)
            continue;
        if (listen)
            widget->AddEventDelegate(listener.first, listener.second);
        else
            widget->RemoveEventDelegate(listener.first, listener.second);
    }
}

void ScreenGame::SubscribeMatchEvents(bool subscribe) {
    QZ11Game& game = *m_Game;
    // Subscription order, and the unsubscription order, of the match events.
    const std::pair<QZ11Game::MemberEvent*, MemberDelegate*> added[] = {
        {&game.BuzzEvent, &m_BuzzAcceptedDelegate},
        {&game.BuzzEvent2, &m_BuzzAcceptedDelegate},
        {&game.BuzzEvent3, &m_BuzzAcceptedDelegate},
        {&game.AnswerEnteredEvent, &m_AnswerEnteredDelegate},
        {&game.FaceOffQuestionEvent, &m_FaceOffQuestionDelegate},
        {&game.AnswerTurnEvent, &m_AnswerTurnDelegate},
        {&game.RoundStartEvent, &m_RoundStartDelegate},
        {&game.ResumeEvent, &m_ResumeDelegate},
        {&game.FaceOffWonEvent, &m_FaceOffWonDelegate},
        {&game.FastMoneyStartEvent, &m_FastMoneyStartDelegate},
        {&game.FastMoneySecondPlayerEvent, &m_FastMoneySecondPlayerDelegate},
        {&game.FastMoneyRevealEvent, &m_FastMoneyRevealDelegate},
        {&game.SpareEvent12, &m_SpareEvent12Delegate},
        {&game.PlayOrPassChosenEvent, &m_PlayOrPassChosenDelegate},
        {&game.RoundAnswerTurnEvent, &m_RoundAnswerTurnDelegate},
        {&game.ScoreChangedEvent, &m_ScoreChangedDelegate},
        {&game.StealEvent, &m_StealDelegate},
        {&game.AnswerResultEvent, &m_AnswerResultDelegate},
        {&game.OthersRevealedEvent, &m_OthersRevealedDelegate},
        {&game.BuzzOpenEvent, &m_BuzzOpenDelegate},
        {&game.AchievementUnlockedEvent, &m_AchievementUnlockedDelegate},
        {&game.SpareEvent21, &m_SpareEvent21Delegate},
        {&game.SpareEvent22, &m_SpareEvent22Delegate},
    };
    if (subscribe) {
        for (const auto& [event, delegate] : added)
            event->AddDelegate(delegate);
        return;
    }
    const std::pair<QZ11Game::MemberEvent*, MemberDelegate*> removed[] = {
        added[0],  added[1],  added[2],  added[3],  added[4],  added[5],  added[6],  added[7],
        added[8],  added[9],  added[10], added[11], added[12], added[19], added[20], added[21],
        added[22], added[13], added[14], added[15], added[16], added[17], added[18],
    };
    for (const auto& [event, delegate] : removed)
        event->RemoveDelegate(delegate);
}

bool ScreenGame::CloseTrampoline(void* screen) { return static_cast<ScreenGame*>(screen)->onWindowClose(); }
void ScreenGame::ActivatedTrampoline(void* screen) { static_cast<ScreenGame*>(screen)->onWindowActivated(); }
void ScreenGame::DeactivatedTrampoline(void* screen) { static_cast<ScreenGame*>(screen)->onWindowDeactivated(); }

void ScreenGame::PlayKeyPressSound() { GameShow::AudioManager::Instance().PlayButtonPress(); }

PCApplicationImpl* ScreenGame::Application() const {
    if (m_Application)
        return m_Application;
    return dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
}

}  // namespace QZ2011
