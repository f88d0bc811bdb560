#pragma once
// The game mode of the start-up level, the program's opening: the disclaimer for five seconds,
// the three intro videos one after the other with short gaps, then the splash, which waits
// for a click before asking for the menus. A clip shows on the screen's video widget, which
// finds the level's video asset only when it is built: the screen's widgets are built again
// once the asset exists.
#include "engine/core/FDelegate.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/BaseMiniGame.h"

namespace GameServices::KorvoGame {
struct Timer;
}
namespace GameServices::Widget {
class Widget;
}

namespace QZ2011 {

class ScreenStartup;

class QZStartup : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "LevelStartup";
    static constexpr const char* kMenuLevel = "GameShowMenu";
    static constexpr const char* kVideoAsset = "video";
    // The start-up screen's widget that shows the clips (its VideoAssetName is kVideoAsset).
    static constexpr const char* kVideoWidget = "IntroVideo";
    static constexpr const char* kVideos[3] = {"Varnel800x600.vid", "Tolvane800x600.vid", "KorvoLogo.vid"};
    static constexpr u32 kDisclaimerMs = 5000;
    static constexpr u32 kGapMs = 150;
    // The splash: the last step, the only one that takes a click.
    static constexpr i32 kSplashStep = 5;

    explicit QZStartup(const TString<char>& levelName);
    ~QZStartup() override;

    // The base registration, then the video-ended listener.
    void RegisterLevelDelegates() override;
    // The cursor hidden, devices 0..1, the step timer running for the disclaimer, clicks heard.
    void InitializeLevel() override;
    // Undoes the start in reverse, then the base clean-up.
    void CleanupLevel() override;

    // The step timer fired: the next part of the opening.
    void OnStep();
    // The video shown ended: it goes, and the next step follows a gap.
    void OnVideoEnded();
    // At the splash only: the menus are asked for.
    void OnClick(GameServices::KorvoGame::TeamActionData* action);

    i32 GetStep() const { return m_Step; }
    bool IsSplashShown() const { return m_SplashShown; }
    const GameServices::KorvoGame::Timer* GetTimer() const { return m_Timer; }

private:
    // The running timer counts from 0 towards ms.
    void RestartTimer(u32 ms);
    void StopTimer();
    // Creates and plays the step's video; one that cannot be started counts as ended.
    void StartVideo(const char* file);
    // The context's start-up screen; its widgets are null while it is not loaded.
    ScreenStartup* Screen() const;
    // The loaded screen's clip widget; null without one.
    GameServices::Widget::Widget* VideoWidget() const;

    GameServices::KorvoGame::TeamActionManagerDelegate<QZStartup> m_ClickDelegate{this, &QZStartup::OnClick};
    FDelegate<QZStartup> m_StepDelegate{this, &QZStartup::OnStep};
    FDelegate<QZStartup> m_VideoEndedDelegate{this, &QZStartup::OnVideoEnded};
    GameServices::KorvoGame::Timer* m_Timer = nullptr;
    i32 m_Step = 0;
    bool m_SplashShown = false;
};

}  // namespace QZ2011
