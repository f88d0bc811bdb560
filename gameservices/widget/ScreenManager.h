#pragma once
// The one service that knows every screen and popup: it switches the current screen by name,
// keeps the open popups, gives the focus to the one of highest priority and pauses the game
// while any popup is open. Screens come from the game and from the navigation file
// ("Sketch.Flow"), popups from "Popups.xml".
#include <memory>
#include <vector>

#include "engine/core/SerializableVector.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/IModule.h"
#include "gameservices/game/IPopupService.h"
#include "gameservices/game/SavedGameServices.h"
#include "gameservices/widget/Popup.h"

namespace GameServices::Widget {

class Panel;
class Screen;

struct sSketchFlowScreenPosition : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& serialization) override;
    f32 m_X = 0.0f;
    f32 m_Y = 0.0f;
};

struct sSketchFlowScreen : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& serialization) override;
    TString<char> m_DisplayName;
    TString<char> m_FileName;
    TString<char> m_Type;
    sSketchFlowScreenPosition m_Position;
};

struct sSketchFlowConnection : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& serialization) override;
    TString<char> m_Type;
    TString<char> m_Source;
    TString<char> m_Target;
};

struct sSketchFlow : Utilities::ISerializable {
    void Serialize(Utilities::ISerialization& serialization) override;
    Utilities::SerializableVector<sSketchFlowScreen> m_Screens;
    Utilities::SerializableVector<sSketchFlowConnection> m_Connections;
};

// Sets the paused flag of every Emitter3D of the tree.
void PauseEmitters(Panel* panel, bool paused);

class ScreenManager : public KorvoGame::IModule,
                      public KorvoGame::IScreenChangeService,
                      public KorvoGame::IPopupService,
                      public KorvoGame::ISavedGamePopups {
public:
    static constexpr u32 kPopupPoolSize = 20;
    // The navigation file (screens and their layouts) and the framework's popups file.
    static constexpr const char* kNavigationFile = "Sketch.Flow";
    static constexpr const char* kPopupsFile = "Popups.xml";

    // The game's manager: made on first use, kept for the whole run. Game screens register
    // with it.
    static ScreenManager& Instance();
    ScreenManager() = default;
    ScreenManager(const ScreenManager&) = delete;
    ScreenManager& operator=(const ScreenManager&) = delete;
    // Closes the open popups; the pool deletes every popup once; the owned screens go.
    ~ScreenManager() override;

    // Refreshes the popups when they changed, a screen is current, the level runs and no
    // screen change is pending; then switches to the pending screen.
    void Update(u32 dt) override;
    // Unloads the current screen, drops the file's screens, resets the game's, reloads the
    // navigation and popups files and loads the next level's running screen.
    void Reset() override;
    bool IsPausable() const override { return false; }

    void RegisterScreen(Screen* screen);
    void UnregisterScreen(Screen* screen);
    Screen* FindScreen(const TString<char>& name) const;
    Screen* GetCurrentScreen() const { return m_CurrentScreen; }
    // Unknown names are reported; the current screen and the pending flag stay.
    void SwitchScreen(const TString<char>& name);
    void SetPendingScreen(const TString<char>& name) override;
    void CloseCurrentScreen() override;
    bool IsScreenChangePending() const { return m_ScreenChangePending != 0; }

    // Null, reported, for an unknown name. Showing an open popup only returns it.
    Popup* ShowPopup(const TString<char>& name) override;
    bool ShowPopup(const TString<char>& name, u32 priority) override;
    void HidePopup(const TString<char>& name) override;
    void HidePopupEntity(Popup* popup);
    void RefreshPopups();
    Popup* FindPopup(const TString<char>& name) const;
    Popup* GetTopPopup() const { return m_TopPopup; }
    const std::vector<Popup*>& GetOpenPopups() const { return m_OpenPopups; }
    const std::vector<Popup*>& GetRegisteredPopups() const { return m_RegisteredPopups; }
    // Popups handed out by the pool: a closed popup goes back to it (and stays registered).
    u32 GetPopupsInUse() const { return m_PopupPool ? m_PopupPool->GetUsedCount() : 0; }
    void SetPopupButtonCallback(const TString<char>& popup, const TString<char>& button,
                                IDelegate* callback) override;
    void ClearPopupButtonCallback(const TString<char>& popup,
                                  const TString<char>& button) override;

    // "Sketch.Flow" of the screen-layout folder.
    void ReadNavigationFile(sSketchFlow& flow);
    void LoadNavigation();
    // Reads the layout of every registered screen once: one that cannot be read is a fatal
    // report, found at start rather than on a blank page the player cannot leave.
    void CheckScreenLayouts();
    void RegisterConnection(const sSketchFlowConnection& connection);
    // Closes the open and closing popups, drops the old pool, then reads "Popups.xml".
    void LoadPopups();
    // Closes every open and waiting popup and empties those lists (game end).
    void ClosePopups() { DropPopups(); }
    void ReadPopupsFile(const TString<char>& name);

    const std::vector<Screen*>& GetRegisteredScreens() const { return m_RegisteredScreens; }
    const std::vector<Screen*>& GetOwnedScreens() const { return m_OwnedScreens; }

private:
    void ClosePopup(Popup* popup);
    void ResumeGame();
    // Closes every open and closing popup and empties the popup lists.
    void DropPopups();

    std::vector<Screen*> m_RegisteredScreens;
    std::vector<Screen*> m_OwnedScreens;
    Screen* m_CurrentScreen = nullptr;
    TString<char> m_PendingScreen;
    u8 m_ScreenChangePending = 0;
    std::vector<Popup*> m_RegisteredPopups;
    std::vector<Popup*> m_OpenPopups;
    std::vector<Popup*> m_ClosingPopups;
    u8 m_PopupsChanged = 0;
    Popup* m_TopPopup = nullptr;
    std::unique_ptr<Entities::EntityFactory<Popup>> m_PopupPool;
};

}  // namespace GameServices::Widget
