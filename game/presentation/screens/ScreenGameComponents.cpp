// The in-game screen's sequence components, banners, strikes, family names and avatars.
#include <cctype>
#include <initializer_list>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"

namespace QZ2011 {

namespace {

using GameServices::Widget::Widget;
namespace KG = GameServices::KorvoGame;

void SetShown(std::initializer_list<Widget*> widgets, bool shown) {
    for (Widget* widget : widgets)
        if (widget)
            widget->SetVisible(shown);
}

void SetLabel(GameServices::Widget::Label* label, const TString<char>& text) {
    if (label)
        label->SetText(text);
}

TString<char> Upper(TString<char> text) {
    for (u32 i = 0; i < text.Length(); ++i)
        text.Buffer()[i] = char(std::toupper(static_cast<unsigned char>(text.Buffer()[i])));
    return text;
}

bool EndsWithS(const TString<char>& text) { return text.Length() > 0 && text[text.Length() - 1] == 'S'; }

// The name the match shows for a player: the profile's name (empty without a profile), or
// "PLAYER 1" and "PLAYER 2" in a two-player match.
TString<char> ProfileName(i32 player, bool* male = nullptr) {
    GameShow::PlayerProfile* profile = GameShow::PlayerProfileManager::Instance()->GetProfile(player);
    if (male)
        *male = profile && profile->Appearance.Assembly.Gender == KG::CharacterAssembly::kMale;
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    if (profile && context && context->m_TwoPlayers == 1)
        return TString<char>("PLAYER ") + TString<char>::FromInt(player + 1);
    return profile ? profile->SavedGameName : TString<char>();
}

// 1..count for "<prefix><k>", 0 for any other name.
u32 NumberedComponent(const TString<char>& name, const char* prefix, u32 count) {
    for (u32 k = 1; k <= count; ++k)
        if (name == TString<char>(prefix) + TString<char>::FromUnsigned(k))
            return k;
    return 0;
}

void TurnBlock(ScreenGame& screen, i32 index) {
    if (QZ11Game* game = screen.GetGame())
        game->RevealAnswerBlock(index);
    screen.m_BlockTurning = true;
    screen.m_TurningBlock = index;
}

void HideStrikes(ScreenGame& screen) {
    SetShown({screen.m_Strike1, screen.m_Strike2[0], screen.m_Strike2[1], screen.m_Strike3[0], screen.m_Strike3[1],
              screen.m_Strike3[2]},
             false);
}

void SetConfirmText(GameServices::Widget::Button* confirm, const char* text) {
    if (!confirm)
        return;
    confirm->m_TextStyle.m_Text = text;
    GameServices::Widget::RenderingSystemWidget::UpdateText(*confirm);
}

GameServices::Entities::Team* PlayersTeam(QZ2011GameContext* context) {
    GameServices::KorvoGame::TeamRegistry* registry = context ? context->GetTeamRegistry() : nullptr;
    return registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
}

}  // namespace

void ScreenGame::ShowComponent(const TString<char>& name) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (QZCharacter* right = m_Game ? m_Game->GetViewportCharacter(true) : nullptr)
        right->Synchronize = false;
    if (name == kShownComponents[0].name) {
        // Fast money opens the entry when the turn starts, at the end of its opening.
        const bool turnOpening = context && context->m_GamePhase >= PhaseFastMoneyIntro;
        if (context) {
            context->ShowActivePlayerCursor(true);
            context->m_AnswerEntryOpen = turnOpening ? 0 : 1;
        }
        if (m_SoftKeyboard)
            m_SoftKeyboard->SetText("");
        LockAnswerEntry(turnOpening);
        PlayWidgetAnimation(m_SoftKeyboardPanel, kAnimations[kAnimKeyboard], 1.0f);
        SetShown({m_SoftKeyboardPanel, m_SoftKeyboard, m_ConfirmButton, m_TextEntryBoxBG}, true);
        if (context && context->m_GamePhase >= PhaseFastMoneyIntro)
            SetConfirmText(m_ConfirmButton, "PASS");
        PlayWidgetAnimation(m_BlackBackground, kAnimations[kAnimFadeInBlack], 1.0f);
        SetShown({m_BlackBackground}, true);
        // Drawn as the stage darkened, not as a pass over the whole window.
        if (m_BlackBackground)
            GameServices::Widget::RenderingSystemWidget::MarkDim(*m_BlackBackground);
    }
    if (name == kShownComponents[1].name)
        ShowViewport(true);
    if (name == kShownComponents[2].name)
        ShowViewport(false);
    if (name == kShownComponents[3].name) {
        SetShown({m_AnswersBox}, true);
        ShowRevealedAnswers();
    }
    if (name == kShownComponents[4].name) {
        SetShown({m_CenterAnswersBox}, true);
        ShowRevealedAnswers();
    }
    if (name == kShownComponents[5].name) {
        PlayWidgetAnimation(m_QuestionPanel, kAnimations[kAnimQuestionPanel], 1.0f);
        SetShown({m_QuestionPanel}, true);
    }
    if (name == kShownComponents[6].name) {
        if (context)
            context->ShowActivePlayerCursor(true);
        for (Widget* widget : {static_cast<Widget*>(m_PlayButton), static_cast<Widget*>(m_PlayButtonText)})
            PlayWidgetAnimation(widget, kAnimations[kAnimPlayPass], 1.0f);
        SetShown({m_PlayButton, m_PlayButtonText}, true);
        for (Widget* widget : {static_cast<Widget*>(m_PassButton), static_cast<Widget*>(m_PassButtonText)})
            PlayWidgetAnimation(widget, kAnimations[kAnimPass], 1.0f);
        SetShown({m_PassButton, m_PassButtonText, m_PoPPanel}, true);
    }
    if (name == kShownComponents[7].name)
        ShowRounds();
    if (name == kShownComponents[8].name)
        ShowSpecialRounds();
    if (name == kShownComponents[9].name)
        ShowRoundWon();
    if (name == kShownComponents[10].name)
        ShowGameWon();
    if (name == kShownComponents[11].name)
        FadeGameWon();
    if (name == kShownComponents[12].name)
        FadeGameWon20k();
    if (name == kShownComponents[13].name)
        ShowGameLost();
    if (name == kShownComponents[14].name)
        ShowStrikes();
    if (name == kShownComponents[15].name)
        ShowFamilyName(0);
    if (name == kShownComponents[16].name)
        ShowFamilyName(1);
    if (name == kShownComponents[17].name) {
        // Only player one chooses: the second cursor is locked away.
        GameServices::Entities::Team* team = PlayersTeam(context);
        if (team && !team->m_Members.empty())
            team->m_Members[0]->SetLocked(false);
        if (team && team->m_Members.size() > 1)
            team->m_Members[1]->SetLocked(true);
        SetShown({m_RetryBox, m_RetryNoMainMenu, m_RetryYes}, true);
    }
    if (name == kShownComponents[18].name)
        SetShown({m_AIBox}, true);
    if (name == kShownComponents[19].name)
        ShowComputerDecision(context && context->m_PlayChosen != 0);
    if (const u32 k = NumberedComponent(name, kShownComponents[20].name, kShownComponents[20].numbered)) {
        const u32 slot = m_FastMoneyRevealIndex < 5 ? k - 1 : k + 4;
        SetShown({m_FreqLabelsFM[slot]}, true);
        PlayFastMoneyRevealSound(slot);
    }
    // The marker after the tenth reveal would be an eleventh square.
    if (name == kShownComponents[21].name && m_FastMoneyRevealIndex < kFastMoneyRows)
        SetShown({m_BlinkingSquaresFM[m_FastMoneyRevealIndex]}, true);
    // The fast-money board takes the centre: the main game's boards would show through it.
    if (name == kShownComponents[22].name) {
        SetShown({m_AnswersBox, m_CenterAnswersBox}, false);
        SetShown({m_AnswersBoxFM}, true);
    }
    if (name == kShownComponents[23].name)
        ShowAchievementPanel();
    if (name == kShownComponents[24].name) {
        if (m_Game)
            m_Game->ScoreChangedEvent.Fire(m_Game->PlayerOneMember());
        // After a wrong or struck-out answer there is no block to turn.
        const i32 index = context ? context->m_LastAnswerIndex : -1;
        if (index >= 0 && u32(index) < kBoardRows)
            TurnBlock(*this, index);
    }
    if (const u32 k = NumberedComponent(name, kShownComponents[25].name, kShownComponents[25].numbered))
        TurnBlock(*this, i32(k) - 1);
}

void ScreenGame::HideComponent(const TString<char>& name) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (QZCharacter* right = m_Game ? m_Game->GetViewportCharacter(true) : nullptr)
        right->Synchronize = false;
    if (name == kHiddenComponents[0]) {
        if (context) {
            context->ShowActivePlayerCursor(false);
            context->m_AnswerEntryOpen = 0;
        }
        LockAnswerEntry(false);
        SetShown({m_SoftKeyboardPanel, m_SoftKeyboard, m_ConfirmButton, m_TextEntryBoxBG}, false);
        if (m_SoftKeyboard)
            m_SoftKeyboard->SetText("");
        SetShown({m_BlackBackground}, false);
    }
    if (name == kHiddenComponents[1])
        HideViewport(true);
    if (name == kHiddenComponents[2])
        HideViewport(false);
    if (name == kHiddenComponents[3])
        HideAnswerBoard();
    if (name == kHiddenComponents[4]) {
        SetShown({m_CenterAnswersBox}, false);
        for (u32 row = 0; row < kBoardRows; ++row)
            SetShown({m_CenterAnswerLabels[row], m_CenterFreqLabels[row]}, false);
    }
    if (name == kHiddenComponents[5])
        SetShown({m_QuestionPanel}, false);
    if (name == kHiddenComponents[6]) {
        if (context)
            context->ShowActivePlayerCursor(false);
        SetShown({m_PlayButton, m_PlayButtonText, m_PassButton, m_PassButtonText, m_PoPPanel}, false);
    }
    if (name == kHiddenComponents[7])
        SetShown({m_Round, m_RoundNumbers[0], m_RoundNumbers[1], m_RoundNumbers[2], m_RoundNumbers[3], m_SuddenDeath},
                 false);
    if (name == kHiddenComponents[8])
        SetShown({m_RoundDouble, m_RoundTriple}, false);
    if (name == kHiddenComponents[9])
        SetShown({m_RoundWon, m_RoundWonGlow}, false);
    if (name == kHiddenComponents[10])
        HideGameWon();
    if (name == kHiddenComponents[11])
        SetShown({m_YouLoseBase, m_YouLoseText}, false);
    if (name == kHiddenComponents[12])
        HideStrikes(*this);
    if (name == kHiddenComponents[13])
        SetShown({m_FamilyName, m_FamilyNameGlow}, false);
    if (name == kHiddenComponents[14])
        SetShown({m_AIBox}, false);
    if (name == kHiddenComponents[15])
        SetShown({m_AIDecidePanel}, false);
    if (name == kHiddenComponents[16])
        SetShown({m_AnswersBoxFM}, false);
    if (name == kHiddenComponents[17] && m_FastMoneyRevealIndex < kFastMoneyRows)
        SetShown({m_BlinkingSquaresFM[m_FastMoneyRevealIndex]}, false);
    if (name == kHiddenComponents[18])
        HideAchievementPanel();
}

void ScreenGame::ShowRounds() {
    SetShown({m_Round, m_RoundNumbers[0], m_RoundNumbers[1], m_RoundNumbers[2], m_RoundNumbers[3], m_SuddenDeath}, false);
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const i32 round = context ? context->m_RoundCounter : 0;
    PlayWidgetAnimation(m_Round, kAnimations[kAnimRoundOneLeft], 1.0f);
    if (round == 5) {
        PlayWidgetAnimation(m_SuddenDeath, kAnimations[kAnimSuddenTripleDouble], 1.0f);
        SetShown({m_SuddenDeath}, true);
        return;
    }
    SetShown({m_Round}, true);
    if (round >= 1 && round <= 4) {
        PlayWidgetAnimation(m_RoundNumbers[round - 1], kAnimations[kAnimRoundOneLeft], 1.0f);
        SetShown({m_RoundNumbers[round - 1]}, true);
    }
}

void ScreenGame::ShowSpecialRounds() {
    SetShown({m_RoundDouble, m_RoundTriple}, false);
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const i32 round = context ? context->m_RoundCounter : 0;
    Widget* banner = round == 3 ? m_RoundDouble : round == 4 ? m_RoundTriple : nullptr;
    if (!banner)
        return;
    PlayWidgetAnimation(banner, kAnimations[kAnimSuddenTripleDouble], 1.0f);
    SetShown({banner}, true);
}

void ScreenGame::ShowRoundWon() {
    SetShown({m_RoundWon, m_RoundWonGlow}, false);
    PlayWidgetAnimation(m_RoundWon, kAnimations[kAnimRoundWinner], 1.0f);
    PlayWidgetAnimation(m_RoundWonGlow, kAnimations[kAnimGlowroundwinner], 1.0f);
    SetShown({m_RoundWon, m_RoundWonGlow}, true);
}

void ScreenGame::ShowGameWon() {
    HideGameWon();
    const struct {
        Widget* widget;
        const char* animation;
    } parts[] = {
        {m_YouWinBase, kAnimations[kAnimYouWinBase]},
        {m_YouWinRadial1, kAnimations[kAnimLeftRadialBlur]},
        {m_YouWinRadial2, kAnimations[kAnimRightRadialBlur]},
        {m_YouWinParticles1, kAnimations[kAnimLeftParticles]},
        {m_YouWinParticles2, kAnimations[kAnimCenterParticles]},
        {m_YouWinParticles3, kAnimations[kAnimRightParticles]},
        {m_YouWinText1, kAnimations[kAnimYouText]},
        {m_YouWinText2, kAnimations[kAnimWinTest]},
    };
    for (const auto& part : parts)
        PlayWidgetAnimation(part.widget, part.animation, 1.0f);
    for (Widget* radial : {m_YouWinRadial1, m_YouWinRadial2})
        if (radial)
            radial->SetScale(AGVec2{1.5f, 1.5f});
    for (const auto& part : parts)
        SetShown({part.widget}, true);
}

void ScreenGame::FadeGameWon() {
    PlayWidgetAnimation(m_YouWinBase, kAnimations[kAnimFadeElementsdd], 1.0f);
    PlayWidgetAnimation(m_YouWinText1, kAnimations[kAnimYoutextoutdd], 1.0f);
    PlayWidgetAnimation(m_YouWinText2, kAnimations[kAnimWintextoutdd], 1.0f);
}

void ScreenGame::FadeGameWon20k() {
    PlayWidgetAnimation(m_YouWinBase, kAnimations[kAnimFadeElementsCc], 1.0f);
    PlayWidgetAnimation(m_YouWinText1, kAnimations[kAnimYoutextoutWithMoney], 1.0f);
    PlayWidgetAnimation(m_YouWinText2, kAnimations[kAnimWintextoutWithHmoney], 1.0f);
    PlayWidgetAnimation(m_YouWin20k, kAnimations[kAnimMoneytext], 1.0f);
    PlayWidgetAnimation(m_YouWin20kGlow, kAnimations[kAnimTextMoneyImpact], 1.0f);
    SetShown({m_YouWin20k, m_YouWin20kGlow}, true);
}

void ScreenGame::ShowGameLost() {
    SetShown({m_YouLoseBase, m_YouLoseText}, false);
    PlayWidgetAnimation(m_YouLoseBase, kAnimations[kAnimYouLoosePanel], 1.0f);
    PlayWidgetAnimation(m_YouLoseText, kAnimations[kAnimYouLooseText], 1.0f);
    SetShown({m_YouLoseBase, m_YouLoseText}, true);
}

void ScreenGame::ShowStrikes() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    // Reports "No family set!!" for a turn that belongs to no family.
    Family* family = context ? context->GetCurrentFamily() : nullptr;
    if (!family)
        return;
    if (QZCharacter* avatar = m_Game ? m_Game->GetViewportCharacter(family->m_Side != 0) : nullptr) {
        if (family->m_Side == 0)
            avatar->m_Behavior.LoseSmallFamilyRequest = 1;
        else
            avatar->m_Behavior.LoseSmallRequest = 1;
    }
    HideStrikes(*this);
    auto strike = [this](Widget* mark) {
        PlayWidgetAnimation(mark, kAnimations[kAnimStrike], 1.0f);
        SetShown({mark}, true);
    };
    if (family->m_Strikes == 1)
        strike(m_Strike1);
    if (family->m_Strikes == 2)
        for (Widget* mark : m_Strike2)
            strike(mark);
    if (family->m_Strikes == 3)
        for (Widget* mark : m_Strike3)
            strike(mark);
    // A face-off or a steal shows its single strike as well.
    if (context->m_GamePhase != PhaseRoundAnswers)
        strike(m_Strike1);
}

void ScreenGame::ShowFamilyName(u32 side) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    TString<char> text;
    if (side == 0 || (context && context->m_TwoPlayers == 1)) {
        const TString<char> name = Upper(ProfileName(side == 0 ? 0 : 1));
        text = name + (EndsWithS(name) ? "'" : "'S") + "    FAMILY";
    } else {
        const Family* computer = context ? context->m_ComputerFamily : nullptr;
        text = TString<char>("THE    ") + Upper(computer ? computer->m_Name : TString<char>());
    }
    SetShown({m_FamilyName, m_FamilyNameGlow}, false);
    PlayWidgetAnimation(m_FamilyName, kAnimations[kAnimTextFamilyName], 1.0f);
    PlayWidgetAnimation(m_FamilyNameGlow, kAnimations[kAnimTextFamilyNameImpact], 1.0f);
    SetLabel(m_FamilyName, text);
    SetLabel(m_FamilyNameGlow, text);
    SetShown({m_FamilyName, m_FamilyNameGlow}, true);
}

void ScreenGame::DressAvatar(bool left) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    QZCharacter* avatar = m_Game ? m_Game->GetViewportCharacter(!left) : nullptr;
    if (!context || !avatar)
        return;
    KG::CharacterManager* characters = KG::CharacterManager::Instance();
    const bool opponent = !left && context->m_TwoPlayers == 0;
    if (opponent)
        characters->LoadAppearance(context->GetOpponentAppearanceFile(), *avatar);
    i32& member = left ? context->m_LeftMemberIndex : context->m_RightMemberIndex;
    // Member 4 is nobody yet: there is no model to take.
    if (member < 0 || member > 3) {
        AGReport("ScreenGame : no family member to dress the %s avatar for", left ? "left" : "right");
        if (!opponent)
            context->NextFamilyMember(left);
        return;
    }
    if (!opponent) {
        KG::Appearance look;
        if (QZCharacter* contestant = m_Game->GetContestant((left ? 0 : 4) + member);
            contestant && characters->GetAppearance(*contestant, look))
            characters->ApplyAppearance(look, *avatar);
    }
    // After the look: applying one picks the set by gender again.
    switch (member) {
    case 0:
        avatar->SetCharacterMale1();
        break;
    case 1:
        avatar->SetCharacterMale2();
        break;
    case 2:
        avatar->SetCharacterFemale1();
        break;
    default:
        avatar->SetCharacterFemale2();
        break;
    }
    Label* tag = left ? m_LeftAvatarTag : m_RightAvatarTag;
    if (opponent) {
        SetLabel(tag, context->GetSecondFamilyMemberName());
        return;
    }
    bool male = false;
    const TString<char> name = ProfileName(left ? 0 : 1, &male);
    // The player's own avatar carries the bare name; the relatives are "<name>'s".
    const bool own = (member == 0 && male) || (member == 2 && !male);
    SetLabel(tag, own || name.IsEmpty() ? name : name + (EndsWithS(name) ? "'" : "'s"));
    context->NextFamilyMember(left);
}

void ScreenGame::ShowViewport(bool left) {
    if (m_Game)
        m_Game->HideAllContestants();
    QZCharacter* avatar = m_Game ? m_Game->GetViewportCharacter(!left) : nullptr;
    if (avatar)
        avatar->m_Behavior.IdleRequest = 1;
    bool& dressPending = left ? m_LeftAvatarDressPending : m_RightAvatarDressPending;
    if (dressPending) {
        DressAvatar(left);
        dressPending = false;
    }
    Widget* background = left ? m_Left3DViewportBG : m_Right3DViewportBG;
    Widget* top = left ? m_Left3DViewportTop : m_Right3DViewportTop;
    (left ? m_TrackLeftViewport : m_TrackRightViewport) = true;
    const char* slide = left ? kAnimations[kAnimAvatarLeft] : kAnimations[kAnimAvatarRight];
    PlayWidgetAnimation(background, slide, 1.0f);
    PlayWidgetAnimation(top, slide, 1.0f);
    SetShown({background, top}, true);
    if (avatar) {
        avatar->SetVisible(true);
        avatar->Synchronize = false;
    }
}

}  // namespace QZ2011
