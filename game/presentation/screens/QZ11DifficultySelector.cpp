#include "game/presentation/screens/QZ11DifficultySelector.h"

#include "game/QZ2011GameContext.h"
#include "game/presentation/screens/MenuPageSupport.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/PlayerProfileManager.h"

namespace QZ2011 {

namespace {

using GameServices::Widget::Widget;

constexpr const char* kDecadeTexts[QZ11DifficultySelector::kDecadeCount] = {"70", "80", "90", "00"};
constexpr const char* kDifficultyWords[] = {"EASY", "NORMAL", "HARD"};
constexpr const char* kImageWords[QZ11DifficultySelector::kDifficultyCount] = {"Easy", "Normal", "Hard"};

// The decade's two-character text; null outside the four decades.
const char* DecadeText(u32 decade) { return decade < std::size(kDecadeTexts) ? kDecadeTexts[decade] : nullptr; }

}  // namespace

void QZ11DifficultySelector::Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) {
    MenuPage::BindSelector(*this, screenPanel, name, kWidgets, m_Widgets, m_Delegates, m_WardrobeButton,
                           m_WardrobeDelegate);
}

void QZ11DifficultySelector::Uninitialize() {
    MenuPage::UnbindSelector(*this, m_Widgets, m_Delegates, m_WardrobeButton, m_WardrobeDelegate);
}

void QZ11DifficultySelector::OnActivate(bool show) {
    if (show) {
        SetFamilyImages();
        MenuPage::PlaceProfileBar(GetManager(), false);
    }
    CompositionBase::OnActivate(show);
}

void QZ11DifficultySelector::SetFamilyImages() {
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || !DecadeText(context->m_Decade)) {
        AGReport("Initialize difficulty without specify decade!!!");
        return;
    }
    // A widget of another kind under an image's name is left alone.
    for (u32 i = 0; i < kDifficultyCount; ++i)
        if (auto* image = dynamic_cast<GameServices::Widget::Image*>(m_Widgets[kImgEasy + i]))
            image->SetImage(FamilyImage(i, context->m_Decade));
}

TString<char> QZ11DifficultySelector::FamilyImage(u32 difficulty, u32 decade) {
    const char* text = DecadeText(decade);
    if (!text || difficulty >= kDifficultyCount)
        return TString<char>();
    return TString<char>("Family_Big_") + kImageWords[difficulty] + text + ".png";
}

void QZ11DifficultySelector::ChooseDifficulty(u32 difficulty) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context) {
        AGReport("QZ11DifficultySelector: no game to start a match in");
        return;
    }
    context->m_Difficulty = difficulty;
    StartMatch();
}

void QZ11DifficultySelector::StartMatch() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    // Every award, prize and banner of the match goes to player one's profile: no match
    // without one.
    const i32 slot = profiles->GetCurrentSlot();
    if (slot == -1) {
        AGReport("QZ11DifficultySelector: no current profile, the match is not started");
        return;
    }
    TString<char> level = kLevelPrefix;
    if (const char* decade = DecadeText(context->m_Decade))
        level += decade;
    AGReport("%s\n", BuildStartMessage().c_str());
    profiles->AssignPlayer(0, slot);
    GameServices::KorvoGame::GameFlowManager* flow = context->GetGameFlowManager();
    GameServices::KorvoGame::LevelTransitionController* controller = flow ? flow->GetController() : nullptr;
    if (flow)
        flow->SetNextLevel(level, controller ? controller->GetCurrent() : nullptr, false);
}

TString<char> QZ11DifficultySelector::BuildStartMessage() const {
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    TString<char> message = "RUNNING DECADE ";
    if (const char* decade = context ? DecadeText(context->m_Decade) : nullptr)
        message += TString<char>(decade) + " ";
    message += "WITH DIFFICULTY LEVEL ";
    if (context && context->m_Difficulty < std::size(kDifficultyWords))
        message += kDifficultyWords[context->m_Difficulty];
    return message;
}

void QZ11DifficultySelector::onBackClicked() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, kDecadePage);
}

void QZ11DifficultySelector::onWardrobeClicked() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GameShow::CompositionManager& manager = GetManager();
    manager.m_ReturnComposition = kName;
    manager.SetNextComposition(this, GameShow::CompositionManager::kWardrobe);
}

}  // namespace QZ2011
