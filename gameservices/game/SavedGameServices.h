#pragma once
// What the saved-game slots need of subsystems built on top of them: the saved-game document
// (the player profiles and settings) and the screen manager's answer popups. Those
// subsystems implement these interfaces.
#include "engine/core/BaseSavedGame.h"
#include "engine/core/ISerializable.h"
#include "engine/core/TString.h"

class IDelegate;

namespace GameServices::KorvoGame {

// The document stored in the save file, serialized under the root "root". Clear removes
// every saved game and resets the settings.
class ISavedFile : public Utilities::ISerializable {
public:
    virtual BaseSavedSettings& GetSettings() = 0;
    virtual u32 GetSavedGameCount() const = 0;
    // Null past the end.
    virtual BaseSavedGame* GetSavedGame(u32 index) = 0;
    // Appends a default saved game.
    virtual void AddSavedGame() = 0;
};

// The popups that ask the player how to go on after a save problem.
class ISavedGamePopups {
public:
    virtual ~ISavedGamePopups() = default;
    // Shows the registered popup of that name with the priority (the highest open one is
    // topmost and takes the input). False when no popup of that name is registered.
    virtual bool ShowPopup(const TString<char>& popupName, u32 priority) = 0;
    // Binds the delegate (borrowed) to the named option button of the popup.
    virtual void SetPopupButtonCallback(const TString<char>& popupName,
                                        const TString<char>& buttonName, IDelegate* callback) = 0;
    virtual void ClearPopupButtonCallback(const TString<char>& popupName,
                                          const TString<char>& buttonName) = 0;
};

}  // namespace GameServices::KorvoGame
