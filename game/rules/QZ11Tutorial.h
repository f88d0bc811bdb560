#pragma once
// The game mode of the tutorial level: the tutorial screen pages through the rules with the
// game's sound cues bound to the level; "SkipSequence" leaves it, and so does the screen's
// last step. Either way the match level of the chosen decade is asked for, once.
#include "engine/core/FDelegate.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/BaseMiniGame.h"

namespace QZ2011 {

class ScreenTutorial;

class QZ11Tutorial : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "QZ11_Tutorial";
    // Followed by "70", "80", "90" or "00".
    static constexpr const char* kMatchLevelPrefix = "QZ11_Game_Level_File_1_";

    QZ11Tutorial();
    ~QZ11Tutorial() override;

    // The base start, the sound cues bound to this level, the screen's skip event and
    // "SkipSequence" followed.
    void InitializeLevel() override;
    // The start undone in reverse, then the base clean-up.
    void CleanupLevel() override;

    // The screen jumps to its last step, once.
    void OnSkipSequence(GameServices::KorvoGame::TeamActionData* action);
    // The match level of the context's decade is asked for.
    void OnTutorialDone();

private:
    // The context's tutorial screen; null without one.
    static ScreenTutorial* Screen();

    FDelegate<QZ11Tutorial> m_DoneDelegate{this, &QZ11Tutorial::OnTutorialDone};
    GameServices::KorvoGame::TeamActionManagerDelegate<QZ11Tutorial> m_SkipDelegate{this,
                                                                                  &QZ11Tutorial::OnSkipSequence};
};

}  // namespace QZ2011
