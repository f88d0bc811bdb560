#pragma once
// A popup: a small window over the current screen, built from its layout when it first takes
// the focus, with a title, a main text, message labels and option buttons whose callbacks and
// texts come from the popups file.
#include <utility>
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/game/IPopupService.h"

namespace GameServices::Widget {

class Panel;
class ScreenManager;

class Popup : public Entities::Entity, public KorvoGame::IPopup {
public:
    struct Option {
        // Borrowed.
        std::vector<IDelegate*> m_Callbacks;
        TString<char> m_Name;
        TString<char> m_Text;
        u8 m_AutoClose = 0;
    };

    // The labels of a popup's layout that show its main text and its title.
    static constexpr const char* kTextLabels[] = {"MainText", "Title"};

    Popup() = default;
    ~Popup() override;
    Popup(const Popup&) = delete;
    Popup& operator=(const Popup&) = delete;

    bool IsA(const u32& typeId) const override;
    // Deletes the panel.
    void Reset() override;
    // Builds the panel as a root panel that continues the draw order, binds it, and hands it
    // to the renderer.
    virtual void onLoad();
    // Lets the renderer go, deletes the panel and fires the closed event. Harmless when the
    // popup was never loaded.
    virtual void Close();
    // Binds the texts, the option buttons and the message labels of the panel just built.
    void Build();
    // Appends the delegate (borrowed) to the named option's callbacks; a missing option is
    // reported.
    void AddButtonCallback(const TString<char>& button, IDelegate* callback);
    void RemoveButtonCallback(const TString<char>& button);
    void SetMessageText(const TString<char>& name, const TString<char>& text) override;
    void SetDisplayValue(u32 value) override { m_DisplayValue = value; }
    // Hides this popup through its screen manager.
    void CloseDelegate();

    FHandler m_ClosedEvent;
    u8 m_Loaded = 0;
    u8 m_InputLocked = 0;
    Panel* m_Panel = nullptr;
    u32 m_Priority = 0;
    TString<char> m_Title;
    TString<char> m_MainText;
    TString<char> m_Layout;
    std::vector<Option> m_Options;
    std::vector<std::pair<TString<char>, TString<char>>> m_Messages;
    FDelegate<Popup> m_CloseDelegate{this, &Popup::CloseDelegate};
    u32 m_DisplayValue = 0;
    // The manager that read it; borrowed.
    ScreenManager* m_Manager = nullptr;
};

}  // namespace GameServices::Widget
