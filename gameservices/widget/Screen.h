#pragma once
// A full interface screen: an entity that owns the root panel built from its layout file,
// with the panels of its composition screens attached, while it is loaded.
#include <vector>

#include "engine/core/FDelegate.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"

namespace GameServices::Entities {
class Set;
}

namespace GameServices::Widget {

class Screen : public Entities::Entity {
public:
    Screen();
    // A loaded screen is unloaded first, so its panels and frame delegate go with it.
    ~Screen() override;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool IsA(const u32& typeId) const override;
    // Deletes the root panel, empties the compositions and gives the controllers back.
    void Reset() override;
    // Builds the root panel and the compositions' panels, placed at their positions, and
    // runs ProcessFrame every frame.
    virtual void onLoad();
    virtual void Process(u32 elapsed) { (void)elapsed; }
    // Stops the frame processing, lets the renderer go, then Reset.
    virtual void onUnload();
    // Process, then every controller's update with the elapsed milliseconds.
    void ProcessFrame(u32 elapsed);
    // A controller animating this screen's widgets: updated every frame, handed back on Reset.
    void AddController(Entities::Behavior* controller);
    // How Reset hands a controller back to its pool: set by the layer that owns the pools while
    // they exist (without one, Reset only forgets the controllers).
    static void SetControllerRelease(void (*release)(Entities::Behavior*));
    bool IsLoaded() const { return m_Loaded; }

    u8 m_OwnedByGame = 0;
    u8 m_PopupLock = 1;
    // 0 navigation screen, 1 composition screen.
    u32 m_Kind = 0;
    Panel* m_RootPanel = nullptr;
    TString<char> m_ScreenName;
    f32 m_X = 0.0f;
    f32 m_Y = 0.0f;
    TString<char> m_LayoutFile;
    // Not owned.
    std::vector<Screen*> m_Compositions;
    // Not owned: handed back through the controller release.
    std::vector<Entities::Behavior*> m_Controllers;
    Entities::Set* m_CurrentLevel = nullptr;

private:
    bool m_Loaded = false;
    KorvoGame::GameFlowManager* m_ProcessSource = nullptr;
    ProcessDelegate<Screen> m_ProcessDelegate{this, &Screen::ProcessFrame};
};

// A screen of the game: owned by it and registered by name.
template <typename T>
class BaseScreen : public Screen {
public:
    explicit BaseScreen(const TString<char>& name) {
        m_OwnedByGame = 1;
        m_ScreenName = name;
        ScreenManager::Instance().RegisterScreen(this);
    }
    ~BaseScreen() override { ScreenManager::Instance().UnregisterScreen(this); }
};

}  // namespace GameServices::Widget
