#include "gameshow/PlayerProfile.h"

#include <gtest/gtest.h>

#include "engine/core/XmlReader.h"
#include "tests/gameshow/ProfileTestSetup.h"

using namespace GameShow;
namespace KG = GameServices::KorvoGame;
using profiletest::TextOf;

namespace {

class Records : public profiletest::ProfileTest {
protected:
    template <typename Record>
    void Read(const std::string& text, Record& record) {
        GameServices::Utilities::XmlReader reader;
        ASSERT_EQ(reader.ReadText(text.c_str(), "root", record), 0);
    }

    // A used profile with something in every saved field.
    static PlayerProfile Filled() {
        PlayerProfile profile;
        profile.isUsed = true;
        profile.SavedGameName = "ANNA";
        profile.Id = 3;
        profile.Score = 4000000000u;
        profile.ThumbnailFilename = "Thumbnail_AppearanceFemale01.png";
        KG::sAppearance_KorvoCity& description = profile.AvatarDescription;
        description.Name = "AppearanceFemale01.xml";
        description.CharacterAssemblyId = 201;
        const char* const parts[] = {"head.mdl", "eyeL.mdl", "eyeR.mdl", "hair.mdl",
                                     "top.mdl",  "skirt.mdl", "shoes.mdl", "glasses.mdl"};
        for (u32 t = 0; t < 4; ++t) {
            description.AnatomyParts[t] = {parts[t], 10 + t, t == KG::ANATOMY_HAIRSTYLE};
            description.OutfitParts[t] = {parts[4 + t], 20 + t, t != KG::OUTFIT_EYEWEAR};
        }
        // Unlocked parts are kept once per name, with the first id; a category past the lists
        // is reported.
        KG::OutfitPart top;
        KG::AnatomyPart curls;
        curls.Name = "curls.mdl";
        const std::pair<const char*, u32> tops[] = {
            {"ChF_Top_Disco_skin01_dpnk.mdl", 40}, {"ChF_Top_Disco_skin01_dpnk.mdl", 41}, {"ChF_Top_Crop.mdl", 42}};
        for (const auto& [name, id] : tops) {
            top.Name = name;
            top.Id = id;
            profile.UnlockOutfitPart(KG::OUTFIT_TOP, top);
            profile.UnlockAnatomyPart(KG::ANATOMY_HAIRSTYLE, curls);
        }
        profile.UnlockOutfitPart(4, top);
        profile.UnlockAnatomyPart(4, curls);
        profile.SetAttribute<int>("FamilyTopRandNum1", -3);
        profile.SetAttribute<float>("Ratio", 0.25f);
        profile.SetAttribute<bool>("Award", true);
        profile.SetAttribute<TString<char>>("Motto", TString<char>("a < b & c"));
        return profile;
    }
};

}  // namespace

// Written and read back, a profile keeps every saved field and its attributes of each type.
TEST_F(Records, AProfileReadsBackAsItWasWritten) {
    PlayerProfile profile = Filled();
    const std::string text = TextOf(profile);
    PlayerProfile copy;
    Read(text, copy);
    EXPECT_EQ(TextOf(copy), text);
    // Each attribute list is written and read (equal texts alone would not show a list skipped both ways).
    int family = 0;
    float ratio = 0;
    bool award = false;
    TString<char> motto;
    EXPECT_TRUE(copy.GetAttribute<int>("FamilyTopRandNum1", family) && copy.GetAttribute<float>("Ratio", ratio) &&
                copy.GetAttribute<bool>("Award", award) && copy.GetAttribute<TString<char>>("Motto", motto));
    EXPECT_EQ(std::to_string(family) + " " + std::to_string(ratio) + " " + std::to_string(award) + " " + motto.c_str(),
              "-3 0.250000 1 a < b & c");
    EXPECT_EQ(copy.Score, 4000000000u);
    const auto& tops = copy.UnlockedOutfitParts.Parts[KG::OUTFIT_TOP];
    EXPECT_EQ(std::vector<size_t>({tops.size(), tops[0].Id, copy.UnlockedAnatomyParts.Parts[KG::ANATOMY_HAIRSTYLE].size()}),
              std::vector<size_t>({2, 40, 1}));
    EXPECT_TRUE(log.Contains("category 4 is out of range"));

    // A document read again holds the file's slots once, each numbered by its slot.
    PlayerProfileManager::Document document;
    const std::string file =
        profiletest::DocumentText(-1, profiletest::SlotText(true, "ANNA", "3") + profiletest::SlotText(false, "", "0"));
    for (int read = 0; read < 2; ++read)
        Read(file, document);
    ASSERT_EQ(document.GetSavedGameCount(), 2u);
    EXPECT_EQ(document.GetSavedGame(0)->Id, 0) << "the file's 3 gives way to the slot";
    EXPECT_EQ(document.GetSavedGame(1)->Id, 1);
    EXPECT_EQ(document.GetSavedGame(0)->SavedGameName, "ANNA");
}

TEST_F(Records, ClearingKeepsWhatIdentifiesTheRecord) {
    PlayerProfile profile = Filled();
    profile.Clear();
    EXPECT_EQ(std::string(profile.SavedGameName.c_str()) + " " + std::to_string(profile.Id) + " " +
                  std::to_string(profile.Score) + " " + profile.ThumbnailFilename.c_str() + " " +
                  profile.AvatarDescription.Name.c_str(),
              "ANNA 3 4000000000 Thumbnail_AppearanceFemale01.png AppearanceFemale01.xml");
    EXPECT_TRUE(profile.isUsed);
    EXPECT_TRUE(profile.UnlockedOutfitParts.Parts[KG::OUTFIT_TOP].empty() &&
                profile.UnlockedAnatomyParts.Parts[KG::ANATOMY_HAIRSTYLE].empty());
    EXPECT_TRUE(profile.IntAttributes.empty() && profile.FloatAttributes.empty() && profile.BoolAttributes.empty() &&
                profile.StringAttributes.empty());
    // New settings: no current slot, every volume at half, version 1.
    const Settings fresh;
    EXPECT_EQ(std::vector<i64>({fresh.CurrentSavedGame, fresh.SoundEffectsVolume, fresh.MusicVolume,
                                fresh.VoiceVolume, fresh.Version}),
              std::vector<i64>({-1, 50, 50, 50, 1}));
}
