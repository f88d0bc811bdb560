#pragma once
// A profile manager over a save file in a temporary folder: the save-file manager and a
// saved-game manager with recording popups, "NbProfiles" in the runtime parameters, and two
// character assemblies ("Male1" id 101, "Female1" id 201) for the avatar descriptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "engine/core/PCSavegameManager.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/gameservices/game/SavedGameTestSetup.h"
#include "tests/support/FileContents.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace profiletest {

using GameServices::KorvoGame::SavedGameManager;

constexpr u32 kSaveSize = 32768;

using savetest::Popups, savetest::TextOf;

// The 24-byte header ("Gs", two zero bytes, length, CRC-32, name) and the text.
inline std::string SaveBytes(const std::string& text) {
    std::string bytes = "Gs" + std::string(22, '\0');
    const u32 words[] = {u32(text.size()), Crc32Hash(text.data(), u32(text.size()), 0)};
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < 4; ++i)
            bytes[4 + 4 * w + i] = char(words[w] >> (8 * i));
    return bytes + text;
}

// The bytes padded to `size` with `pad` and written over the file in place (created if need be):
// the fuzz tests' readers ignore the padding, and truncating a file each round costs most.
inline void WriteInPlace(const std::string& file, std::string bytes, size_t size, char pad) {
    bytes.resize(size, pad);
    FILE* out = std::fopen(file.c_str(), "r+b");
    if (!out)
        out = std::fopen(file.c_str(), "wb");
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

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("XDG_DATA_HOME", dir.Path());
        savesFile = std::make_unique<PCSavegameManager>("Tallyvox");
        PCSavegameManager::SetInstance(savesFile.get());
        path = savesFile->GetPath().c_str();
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
        PCSavegameManager::SetInstance(nullptr);
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
    GameShow::PlayerProfileManager* Load() {
        NewManager();
        manager->LoadProfiles();
        return manager;
    }
    void Store(const std::string& text) const { std::ofstream(path, std::ios::binary) << SaveBytes(text); }
    std::string Contents() const { return FileContents(path); }

    TempDir dir;
    ScopedEnv env;
    LogCapture log;
    std::unique_ptr<PCSavegameManager> savesFile;
    std::unique_ptr<SavedGameManager> saves;
    Popups popups;
    std::string path;
    GameShow::PlayerProfileManager* manager = nullptr;
    GameServices::KorvoGame::TeamRegistry* teams = nullptr;
    GameServices::KorvoGame::TeamActionManager* teamActions = nullptr;
    GameServices::Entities::Set* level = nullptr;
};

}  // namespace profiletest
