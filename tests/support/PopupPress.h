#pragma once
// A press of a popup's button as its layout wires it: the popup closes itself first when the
// option closes it, then the option's callbacks run. Fails the test when the popup or the
// button is missing.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/FDelegate.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/ScreenManager.h"

inline void PressPopupButton(GameServices::Widget::ScreenManager& screens, const std::string& popupName,
                             const std::string& button) {
    GameServices::Widget::Popup* popup = screens.FindPopup(popupName.c_str());
    ASSERT_NE(popup, nullptr) << popupName;
    for (const GameServices::Widget::Popup::Option& option : popup->m_Options) {
        if (option.m_Name != button.c_str())
            continue;
        if (option.m_AutoClose)
            screens.HidePopupEntity(popup);
        for (IDelegate* callback : option.m_Callbacks)
            callback->Invoke();
        return;
    }
    FAIL() << "no button " << button << " in " << popupName;
}
