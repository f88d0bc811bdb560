#pragma once
// Popups that record what the saved-game manager shows and the answers it waits for, the XML
// text it writes for a record, and a save file in a temporary data folder.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "engine/core/FDelegate.h"
#include "engine/core/PCSavegameManager.h"
#include "engine/core/XmlWriter.h"
#include "gameservices/game/SavedGameManager.h"
#include "tests/support/FileContents.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

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

// The 24-byte header ("Gs", two zero bytes, length, CRC-32, a 12-byte name) and the text.
inline std::string SaveBytes(const std::string& text, std::string name = "") {
    name.resize(12, '\0');
    std::string bytes = "Gs" + std::string(10, '\0') + name;
    const u32 words[] = {u32(text.size()), Crc32Hash(text.data(), u32(text.size()), 0)};
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < 4; ++i)
            bytes[4 + 4 * w + i] = char(words[w] >> (8 * i));
    return bytes + text;
}

// The save file of a data folder made for the test, the current one while the test runs.
class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("XDG_DATA_HOME", dir.Path());
        savesFile = std::make_unique<PCSavegameManager>("Tallyvox");
        PCSavegameManager::SetInstance(savesFile.get());
        path = savesFile->GetPath().c_str();
    }
    void TearDown() override { PCSavegameManager::SetInstance(nullptr); }
    std::string Contents() const { return FileContents(path); }

    TempDir dir;
    ScopedEnv env;
    LogCapture log;
    std::unique_ptr<PCSavegameManager> savesFile;
    std::string path;
    Popups popups;
};

}  // namespace savetest
