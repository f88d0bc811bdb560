#pragma once
// The widget screen of the menus: hosts the menu pages, starts the menu music and tells the
// pages when the screen is first shown after its layout loaded.
#include "gameservices/widget/Screen.h"

namespace GameShow {

class CompositionManager;

class MenuScreen : public GameServices::Widget::BaseScreen<MenuScreen> {
public:
    static constexpr const char* kLayoutName = "MenuScreen";

    // The pages come from `manager` (the game's when null).
    explicit MenuScreen(CompositionManager* manager = nullptr);
    ~MenuScreen() override;

    // The layout, then the pages initialized on it; the next frame is the first show.
    void onLoad() override;
    // On the first frame after a load only: the menu music, the menu avatar shown, the
    // pages told that the screen is entered.
    void Process(u32 elapsed) override;
    // The pages let go of the layout's widgets before it goes.
    void onUnload() override;

    bool IsFirstShowPending() const { return m_FirstShow; }

private:
    CompositionManager& Manager() const;

    CompositionManager* m_Manager;
    bool m_FirstShow = false;
};

}  // namespace GameShow
