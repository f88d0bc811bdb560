#pragma once
// The connection error page: the layout's message in "text" and a "cancelButton" that
// closes the page without leading anywhere.
#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace GameShow {

class ConnectionErrorComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionConnectionError";
    // The widgets under the page's root panel.
    static constexpr const char* kWidgets[] = {"cancelButton", "text"};

    ConnectionErrorComposition() = default;
    ~ConnectionErrorComposition() override;

    // "cancelButton" and "text" (each missing one reported); then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    void Uninitialize() override;

    // Guard and click sound, then the page hides.
    void OnCancelClick();

private:
    FDelegate<ConnectionErrorComposition> m_CancelDelegate{this, &ConnectionErrorComposition::OnCancelClick};
    GameServices::Widget::Widget* m_CancelButton = nullptr;
    GameServices::Widget::Widget* m_Text = nullptr;
};

}  // namespace GameShow
