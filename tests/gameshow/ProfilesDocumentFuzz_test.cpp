// Seeded random damage to the text of a profiles document whose header still matches it, so
// that every damaged text reaches the reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/ByteDamage.h"

using profiletest::DocumentText;
using profiletest::SlotText;

namespace {

class ProfilesDocumentFuzz : public profiletest::ProfileTest {
protected:
    // The save bytes zero-padded to one size, written over the file in place: the reader
    // ignores what follows the text, and truncating a file each round costs more than
    // everything else.
    void StoreInPlace(const std::string& text) {
        std::string bytes = profiletest::SaveBytes(text);
        bytes.resize(8192, '\0');
        FILE* file = std::fopen(path.c_str(), "r+b");
        if (!file)
            file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    // What a load left: "" when it is one of the two sound outcomes.
    std::string Judge(const std::string& stored) {
        GameShow::PlayerProfileManager::Document& document = *manager->GetSavedFile();
        if (!popups.shown.empty()) {
            if (popups.shown != std::vector<std::string>{"DataCorruption"})
                return "popup " + popups.shown[0];
            if (document.GetSavedGameCount() != 0 || manager->GetProfile(0))
                return "slots kept from a corrupt save";
            // Nothing may replace the bad file before the player has answered.
            GameServices::KorvoGame::Appearance look;
            manager->CreateProfile(look, "X");
            manager->SelectProfile(0);
            manager->WriteSavedGame();
            return Contents() == stored ? "" : "a corrupt save was overwritten";
        }
        if (document.GetSavedGameCount() != 4)
            return "slot count " + std::to_string(document.GetSavedGameCount());
        for (u32 slot = 0; slot < 4; ++slot)
            if (document.GetSavedGame(slot)->Id != i32(slot))
                return "slot " + std::to_string(slot) + " has Id " + std::to_string(document.GetSavedGame(slot)->Id);
        const i32 current = document.GetSettings().CurrentSavedGame;
        if (current != -1 && !document.IsUsedSlot(current))
            return "current slot " + std::to_string(current);
        if (manager->GetPlayerSlot(0) != current)
            return "player 0 plays slot " + std::to_string(manager->GetPlayerSlot(0));
        return "";
    }
};

}  // namespace

TEST_F(ProfilesDocumentFuzz, DamagedDocumentsLoadSoundlyOrAreLeftForThePlayer) {
    const std::string attributes = "<item><Name>FamilyTopRandNum1</Name><Value>3</Value></item>"
                                   "<item><Name>AwardWins</Name><Value>12</Value></item>";
    const std::string text =
        DocumentText(1, SlotText(true, "ANNA", "0", attributes) + SlotText(true, "BO", "1") + SlotText(false, "", "2") +
                            SlotText(false, "", "3"));
    std::mt19937 rng(20261207);
    int sound = 0, corrupt = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string damaged = text;
        DamageBytes(damaged, rng, 1 + int(rng() % 3));
        StoreInPlace(damaged);
        const std::string stored = Contents();
        NewManager();
        log.Clear();
        manager->LoadProfiles();
        const std::string fault = Judge(stored);
        if (!fault.empty()) {
            ADD_FAILURE() << "round " << round << ": " << fault << "\n" << damaged;
            break;
        }
        ++(popups.shown.empty() ? sound : corrupt);
    }
    // Both outcomes were met.
    EXPECT_GT(sound, 100);
    EXPECT_GT(corrupt, 100);
}
