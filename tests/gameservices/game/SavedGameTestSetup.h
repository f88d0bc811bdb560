#pragma once
// Popups that record what the saved-game manager shows and the answers it waits for, and the
// XML text it writes for a record.
#include <map>
#include <string>
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/XmlWriter.h"
#include "gameservices/game/SavedGameManager.h"

namespace savetest {

class Popups : public GameServices::KorvoGame::ISavedGamePopups {
public:
    bool ShowPopup(const TString<char>& name, u32 priority) override {
        shown.push_back(std::string(name.c_str()) + "@" + std::to_string(priority));
        return true;
    }
    void SetPopupButtonCallback(const TString<char>& popup, const TString<char>& button,
                                IDelegate* callback) override {
        callbacks[std::string(popup.c_str()) + "/" + button.c_str()] = callback;
    }
    void ClearPopupButtonCallback(const TString<char>& popup, const TString<char>& button) override {
        callbacks.erase(std::string(popup.c_str()) + "/" + button.c_str());
    }
    bool Press(const std::string& popup, const std::string& button) {
        auto it = callbacks.find(popup + "/" + button);
        if (it == callbacks.end())
            return false;
        it->second->Invoke();
        return true;
    }

    // "name@priority"
    std::vector<std::string> shown;
    std::map<std::string, IDelegate*> callbacks;
};

// The XML text of a record, as the saved-game manager writes it.
inline std::string TextOf(GameServices::Utilities::ISerializable& record, u32 capacity = 32768) {
    std::string text(capacity, '\0');
    u32 size = capacity;
    GameServices::Utilities::XmlWriter().WriteText(record, text.data(), size);
    text.resize(size);
    return text;
}

}  // namespace savetest
