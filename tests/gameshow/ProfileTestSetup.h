#pragma once
// A profile manager over a save file in a temporary folder: the save-file manager and a
// saved-game manager with recording popups, "NbProfiles" in the runtime parameters, and two
// character assemblies ("Male1" id 101, "Female1" id 201) for the avatar descriptions.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/gameservices/game/SavedGameTestSetup.h"

namespace profiletest {

using GameServices::KorvoGame::SavedGameManager;

constexpr u32 kSaveSize = 32768;

using savetest::SaveBytes, savetest::TextOf;

// The bytes padded to `size` with `pad` and written over the file in place (created if need be):
// the fuzz tests' readers ignore the padding, and truncating a file each round costs most.
inline void WriteInPlace(const std::string& file, std::string bytes, size_t size, char pad) {
    bytes.resize(size, pad);
    FILE* out = std::fopen(file.c_str(), std::filesystem::exists(file) ? "r+b" : "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

// One "SavedGame" element; `id` empty leaves the "Id" element out.
inline std::string SlotText(bool used, const std::string& name, const std::string& id,
                            const std::string& extra = "") {
    return "<SavedGame><isUsed>" + std::string(used ? "true" : "false") + "</isUsed><SavedGameName>" + name +
           "</SavedGameName><Score>0</Score>" + (id.empty() ? "" : "<Id>" + id + "</Id>") +
           "<ThumbnailFilename/><Appearance><Name>AppearanceFemale01.xml</Name>"
           "<CharacterAssembly_Id>201</CharacterAssembly_Id></Appearance>"
           "<UnlockedAnatomyParts><head/><eye_left/><eye_right/><Hairstyle/></UnlockedAnatomyParts>"
           "<UnlockedOutfitParts><Eyewear/><Tops/><Bottoms/><Footwear/></UnlockedOutfitParts>"
           "<CustomAttributesInt>" + extra + "</CustomAttributesInt><CustomAttributesFloat/>"
           "<CustomAttributesBool/><CustomAttributesString/></SavedGame>";
}

// The parts of a look or a description, anatomy then outfit: each customizable flag ("C" or
// "-"), then each name and id.
template <typename Look>
std::string Parts(const Look& look) {
    std::string flags, names;
    const auto add = [&](const auto& list) {
        for (const auto& part : list) {
            flags += part.Customizable ? 'C' : '-';
            names += std::string(" ") + part.Name.c_str() + "/" + std::to_string(part.Id);
        }
    };
    add(look.AnatomyParts);
    add(look.OutfitParts);
    return flags + names;
}

// A slot numbered by its index per name, used when the name is not empty, then unused slots up
// to `count`.
inline std::string SlotsText(const std::vector<std::string>& names, size_t count = 0) {
    std::string slots;
    for (size_t i = 0; i < std::max(names.size(), count); ++i) {
        const std::string name = i < names.size() ? names[i] : "";
        slots += SlotText(!name.empty(), name, std::to_string(i));
    }
    return slots;
}

inline std::string DocumentText(int current, const std::string& slots, int version = 1) {
    return "<root><Settings><Version>" + std::to_string(version) + "</Version><CurrentSavedGame>" +
           std::to_string(current) +
           "</CurrentSavedGame><SoundEffectsVolume>50</SoundEffectsVolume><MusicVolume>50</MusicVolume>"
           "<VoiceVolume>50</VoiceVolume><CustomAttributesInt/><CustomAttributesFloat/><CustomAttributesBool/>"
           "<CustomAttributesString/></Settings><SavedGames>" + slots + "</SavedGames></root>";
}

// One character assembly, and the assemblies file of the items.
inline std::string Assembly(const std::string& name, int id, const std::string& file, const char* gender) {
    return "<item><Name>" + name + "</Name><Id>" + std::to_string(id) + "</Id><Anatomy>" + file +
           "</Anatomy><Wardrobe>" + file + "</Wardrobe><Gender>" + gender + "</Gender></item>";
}
inline std::string Assemblies(const std::string& items) {
    return "<root><CharacterAssemblies>" + items + "</CharacterAssemblies></root>";
}

class ProfileTest : public savetest::SaveFileTest {
protected:
    void SetUp() override {
        SaveFileTest::SetUp();
        GameServices::Bridge::FileSystem::Destroy();
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        dir.Write("CharacterAssemblies.xml", Assemblies(Assembly("Male1", 101, "male.xml", "Male") +
                                                         Assembly("Female1", 201, "female.xml", "Female")));
        GameServices::KorvoGame::CharacterAssemblyManager::Destroy();
        const std::filesystem::path cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());  // the assemblies are read from the working folder
        GameServices::KorvoGame::CharacterAssemblyManager::Instance()->LoadCharacterAssemblies();
        std::filesystem::current_path(cwd);
        SetProfileCount(4);
        NewManager();
    }
    void TearDown() override {
        GameShow::PlayerProfileManager::Destroy();
        GameServices::KorvoGame::CharacterAssemblyManager::Destroy();
        GameServices::Bridge::FileSystem::Destroy();
        SaveFileTest::TearDown();
    }

    void SetProfileCount(int count) {
        const std::string file = dir.Write(
            "RuntimeParameters.xml", "<root><RuntimeParameters><item><Section>Game</Section><Name>NbProfiles</Name>"
                                     "<Value>" + std::to_string(count) + "</Value></item></RuntimeParameters></root>");
        GameServices::KorvoGame::RuntimeParameters::Instance()->LoadRuntimeParameters(file.c_str());
    }
    // A fresh profile manager and saved-game manager, as at start-up.
    GameShow::PlayerProfileManager* NewManager() {
        GameShow::PlayerProfileManager::Destroy();
        saves = std::make_unique<SavedGameManager>();
        saves->SetSaveSize(kSaveSize);
        saves->SetPopups(&popups);
        popups.shown.clear();
        manager = GameShow::PlayerProfileManager::Instance();
        manager->SetServices({saves.get(), teams, teamActions, level});
        manager->Initialize();
        return manager;
    }
    // A fresh manager that loads the save file.
    GameShow::PlayerProfileManager* Load() { NewManager()->LoadProfiles(); return manager; }
    void Store(const std::string& text) const { std::ofstream(path, std::ios::binary) << SaveBytes(text); }

    std::unique_ptr<SavedGameManager> saves;
    GameShow::PlayerProfileManager* manager = nullptr;
    GameServices::KorvoGame::TeamRegistry* teams = nullptr;
    GameServices::KorvoGame::TeamActionManager* teamActions = nullptr;
    GameServices::Entities::Set* level = nullptr;
};

}  // namespace profiletest
