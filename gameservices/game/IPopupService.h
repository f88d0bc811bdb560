#pragma once
// What the game services need of the screen manager's popups. The user interface implements
// these.
#include "engine/core/TString.h"

namespace GameServices::KorvoGame {

// A shown popup.
class IPopup {
public:
    virtual ~IPopup() = default;
    virtual void SetDisplayValue(u32 value) = 0;
    // Replaces the text of the named entry of the popup's message list.
    virtual void SetMessageText(const TString<char>& entry, const TString<char>& text) = 0;
};

class IPopupService {
public:
    virtual ~IPopupService() = default;
    // The shown popup; null (reported by the service) when no popup has that name.
    virtual IPopup* ShowPopup(const TString<char>& name) = 0;
    virtual void HidePopup(const TString<char>& name) = 0;
};

}  // namespace GameServices::KorvoGame
