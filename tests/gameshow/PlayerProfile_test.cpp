#include "gameshow/PlayerProfile.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/XmlReader.h"
#include "tests/gameshow/ProfileTestSetup.h"

using namespace GameShow;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::OutfitPart;
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
    PlayerProfile Filled() {
        PlayerProfile profile;
        profile.isUsed = true;
        profile.SavedGameName = "ANNA";
        profile.Id = 3;
        profile.Score = 4000000000u;
        profile.ThumbnailFilename = "Thumbnail_AppearanceFemale01.png";
        auto& description = profile.AvatarDescription;
        description.Name = "AppearanceFemale01.xml";
        description.CharacterAssemblyName = "Female1";
        description.CharacterAssemblyId = 201;
        description.AnatomyParts[GameServices::KorvoGame::ANATOMY_HAIRSTYLE] = {"hair2.mdl", 12, true};
        description.OutfitParts[GameServices::KorvoGame::OUTFIT_BOTTOM] = {"skirt.mdl", 40, true};
        description.OutfitParts[GameServices::KorvoGame::OUTFIT_EYEWEAR] = {"specs.mdl", 9, false};
        OutfitPart top;
        top.Name = "ChF_Top_Disco_skin01_dpnk.mdl";
        top.Id = 40;
        profile.UnlockOutfitPart(GameServices::KorvoGame::OUTFIT_TOP, top);
        AnatomyPart hair;
        hair.Name = "curls.mdl";
        hair.Id = 7;
        profile.UnlockAnatomyPart(GameServices::KorvoGame::ANATOMY_HAIRSTYLE, hair);
        profile.SetAttribute<int>("FamilyTopRandNum1", -3);
        profile.SetAttribute<float>("Ratio", 0.25f);
        profile.SetAttribute<bool>("Award", true);
        profile.SetAttribute<TString<char>>("Motto", TString<char>("a < b & c"));
        return profile;
    }
};

}  // namespace

TEST_F(Records, AProfileAndTheSettingsReadBackAsWritten) {
    PlayerProfile written = Filled();
    const std::string text = TextOf(written);
    // The file name is derived from the number, whatever a file says.
    EXPECT_NE(text.find("<AppearanceFilename>Appearance3.xml</AppearanceFilename>"), std::string::npos);
    std::string otherName = text;
    otherName.replace(otherName.find("Appearance3.xml"), 15, "Elsewhere9.xml");

    for (const std::string& source : {text, otherName}) {
        PlayerProfile read;
        Read(source, read);
        EXPECT_EQ(TextOf(read), text);
        EXPECT_EQ(read.Id, 3);
        EXPECT_EQ(read.Score, 4000000000u);
        int value = 0;
        EXPECT_TRUE(read.GetAttribute<int>("FamilyTopRandNum1", value));
        EXPECT_EQ(value, -3);
        TString<char> motto;
        EXPECT_TRUE(read.GetAttribute<TString<char>>("Motto", motto));
        EXPECT_EQ(motto, "a < b & c");
        // A used profile's description is put on its live look, assembly included; part ids
        // are not.
        EXPECT_EQ(read.Appearance.Name, "AppearanceFemale01.xml");
        EXPECT_EQ(read.Appearance.Assembly.Name, "Female1");
        EXPECT_EQ(read.Appearance.Assembly.Gender, GameServices::KorvoGame::CharacterAssembly::kFemale);
        const auto& bottom = read.Appearance.OutfitParts[GameServices::KorvoGame::OUTFIT_BOTTOM];
        EXPECT_EQ(bottom.Name, "skirt.mdl");
        EXPECT_TRUE(bottom.Customizable);
        EXPECT_EQ(bottom.Id, 0u);
        EXPECT_EQ(read.Appearance.AnatomyParts[GameServices::KorvoGame::ANATOMY_HAIRSTYLE].Name, "hair2.mdl");
        EXPECT_FALSE(read.Appearance.OutfitParts[GameServices::KorvoGame::OUTFIT_EYEWEAR].Customizable);
    }

    Settings settings;
    settings.CurrentSavedGame = 2;
    settings.MusicVolume = 7;
    settings.VoiceVolume = 8;
    settings.SoundEffectsVolume = 9;
    settings.Version = 5;
    settings.SetAttribute<int>("CurrectQuestionDecade70", 12);
    settings.SetAttribute<float>("Gain", -1.5f);
    settings.SetAttribute<bool>("Seen", true);
    settings.SetAttribute<TString<char>>("Last", TString<char>("Bo"));
    Settings settingsRead;
    Read(TextOf(settings), settingsRead);
    EXPECT_EQ(TextOf(settingsRead), TextOf(settings));
    EXPECT_EQ(settingsRead.CurrentSavedGame, 2);
    EXPECT_EQ(settingsRead.Version, 5u);
    EXPECT_EQ(settingsRead.MusicVolume + settingsRead.VoiceVolume * 10 + settingsRead.SoundEffectsVolume * 100, 987u);
}

TEST_F(Records, AnUnusedSlotLeavesTheLiveLookAlone) {
    PlayerProfile written = Filled();
    written.isUsed = false;
    PlayerProfile read;
    read.Appearance.Name = "Kept.xml";
    read.Appearance.OutfitParts[GameServices::KorvoGame::OUTFIT_BOTTOM].Name = "kept.mdl";
    Read(TextOf(written), read);
    EXPECT_EQ(read.AvatarDescription.Name, "AppearanceFemale01.xml");
    EXPECT_EQ(read.Appearance.Name, "Kept.xml");
    EXPECT_EQ(read.Appearance.OutfitParts[GameServices::KorvoGame::OUTFIT_BOTTOM].Name, "kept.mdl");
    EXPECT_TRUE(read.Appearance.Assembly.Name.IsEmpty());
}

TEST_F(Records, MissingElementsKeepTheirFieldsOrTakeTheirDefaults) {
    PlayerProfile read = Filled();
    read.isUsed = false;
    log.Clear();
    Read("<root><isUsed>false</isUsed><SavedGameName>BO</SavedGameName></root>", read);
    EXPECT_EQ(read.Id, 0);
    EXPECT_EQ(read.Score, 0u);
    EXPECT_TRUE(read.ThumbnailFilename.IsEmpty());
    // Mandatory records and lists are reported and kept.
    EXPECT_EQ(read.AvatarDescription.Name, "AppearanceFemale01.xml");
    EXPECT_EQ(read.UnlockedOutfitParts.Parts[GameServices::KorvoGame::OUTFIT_TOP].size(), 1u);
    EXPECT_EQ(read.IntAttributes.size(), 1u);
    for (const char* element : {"Appearance", "UnlockedAnatomyParts", "UnlockedOutfitParts", "CustomAttributesInt",
                                "CustomAttributesString"})
        EXPECT_TRUE(log.Contains(element)) << element;
}

// Get takes the first entry of a name and leaves the caller's value without one; set
// replaces the first in place or appends, so the list keeps the order of first setting.
TEST_F(Records, AttributesGetTheFirstMatchAndSetInPlaceOrAppend) {
    PlayerProfile profile;
    AttributeList<int>& ints = profile.IntAttributes;
    ints.push_back({"A", 1});
    ints.push_back({"B", 2});
    ints.push_back({"A", 3});
    struct Get {
        const char* name;
        bool found;
        int value;
    } gets[] = {{"A", true, 1}, {"B", true, 2}, {"a", false, 99}, {"", false, 99}, {"AB", false, 99}};
    for (const Get& g : gets) {
        int value = 99;
        EXPECT_EQ(profile.GetAttribute<int>(g.name, value), g.found) << g.name;
        EXPECT_EQ(value, g.value) << g.name;
    }
    profile.SetAttribute<int>("A", 10);
    profile.SetAttribute<int>("C", 30);
    profile.SetAttribute<int>("B", 20);
    profile.SetAttribute<int>("C", 31);
    std::string order;
    for (const CustomAttribute<int>& a : ints)
        order += std::string(a.Name.c_str()) + "=" + std::to_string(a.Value) + " ";
    EXPECT_EQ(order, "A=10 B=20 A=3 C=31 ");

    // Each type has its own list.
    profile.SetAttribute<bool>("A", true);
    profile.SetAttribute<float>("A", 2.5f);
    profile.SetAttribute<TString<char>>("A", TString<char>("x"));
    float f = 0;
    bool b = false;
    TString<char> s;
    EXPECT_TRUE(profile.GetAttribute<float>("A", f) && profile.GetAttribute<bool>("A", b) &&
                profile.GetAttribute<TString<char>>("A", s));
    EXPECT_EQ(f, 2.5f);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, "x");
    EXPECT_EQ(ints.size(), 4u);
    EXPECT_EQ(profile.FloatAttributes.size() + profile.BoolAttributes.size() + profile.StringAttributes.size(), 3u);
}

TEST_F(Records, DeclaredNamesAreTestedExactly) {
    CustomAttributeDecoratorManager registry;
    registry.AddAttribute("FamilyTopRandNum1");
    registry.AddAttribute("FamilyTopRandNum1");
    registry.AddAttribute("AwardB");
    EXPECT_EQ(registry.GetAttributes().size(), 2u);
    struct Case {
        const char* name;
        bool declared;
    } cases[] = {{"FamilyTopRandNum1", true}, {"AwardB", true},  {"familytoprandnum1", false},
                 {"FamilyTopRandNum", false}, {"FamilyTopRandNum10", false}, {"", false}};
    for (const Case& c : cases)
        EXPECT_EQ(registry.HasAttribute(c.name), c.declared) << c.name;
}

TEST_F(Records, UnlockingKeepsOneEntryPerName) {
    PlayerProfile profile;
    struct Step {
        u32 category;
        const char* name;
        u32 id;
    } steps[] = {{0, "cap.mdl", 1}, {0, "cap.mdl", 1}, {0, "cap.mdl", 2}, {0, "hat.mdl", 2},
                 {3, "cap.mdl", 1}, {4, "cap.mdl", 1}};
    for (const Step& s : steps) {
        AnatomyPart anatomy;
        OutfitPart outfit;
        anatomy.Name = outfit.Name = s.name;
        anatomy.Id = outfit.Id = s.id;
        profile.UnlockAnatomyPart(s.category, anatomy);
        profile.UnlockOutfitPart(s.category, outfit);
    }
    const auto& heads = profile.UnlockedAnatomyParts.Parts[0];
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[0].Id, 1u);
    EXPECT_EQ(heads[1].Name, "hat.mdl");
    EXPECT_EQ(profile.UnlockedOutfitParts.Parts[0].size(), 2u);
    EXPECT_EQ(profile.UnlockedAnatomyParts.Parts[3].size(), 1u);
    EXPECT_EQ(profile.UnlockedOutfitParts.Parts[3].size(), 1u);
    EXPECT_TRUE(log.Contains("category 4 is out of range"));
}

TEST_F(Records, ClearingKeepsWhatIdentifiesTheRecord) {
    PlayerProfile profile = Filled();
    profile.Appearance.Name = "Live.xml";
    profile.Clear();
    EXPECT_EQ(profile.Id, 3);
    EXPECT_EQ(profile.Score, 4000000000u);
    EXPECT_EQ(profile.SavedGameName, "ANNA");
    EXPECT_TRUE(profile.isUsed);
    EXPECT_EQ(profile.ThumbnailFilename, "Thumbnail_AppearanceFemale01.png");
    EXPECT_EQ(profile.Appearance.Name, "Live.xml");
    EXPECT_EQ(profile.AvatarDescription.Name, "AppearanceFemale01.xml");
    for (u32 c = 0; c < 4; ++c)
        EXPECT_TRUE(profile.UnlockedAnatomyParts.Parts[c].empty() && profile.UnlockedOutfitParts.Parts[c].empty());
    EXPECT_TRUE(profile.IntAttributes.empty() && profile.FloatAttributes.empty() && profile.BoolAttributes.empty() &&
                profile.StringAttributes.empty());

    Settings settings;
    EXPECT_EQ(settings.CurrentSavedGame, -1);
    EXPECT_EQ(settings.Version, 1u);
    settings.CurrentSavedGame = 2;
    settings.Version = 6;
    settings.MusicVolume = settings.VoiceVolume = settings.SoundEffectsVolume = 3;
    settings.SetAttribute<int>("A", 1);
    settings.SetAttribute<TString<char>>("S", TString<char>("s"));
    settings.Clear();
    EXPECT_EQ(settings.CurrentSavedGame, 2);
    EXPECT_EQ(settings.Version, 6u);
    EXPECT_EQ(settings.MusicVolume, 50u);
    EXPECT_EQ(settings.VoiceVolume, 50u);
    EXPECT_EQ(settings.SoundEffectsVolume, 50u);
    EXPECT_TRUE(settings.IntAttributes.empty() && settings.StringAttributes.empty());
    EXPECT_EQ(settings.GetDefaultLooks().size(), 12u);
}

TEST_F(Records, TheDefaultLooksAreTheTwelveOfTheTableWhateverTheDocumentHolds) {
    const char* const looks[] = {"Male01", "Male02", "Female01", "Female02", "Male03", "Male04",
                                 "Female03", "Female04", "Male05", "Male06", "Female05", "Female06"};
    Settings settings;
    Read("<root><Version>1</Version><DefaultLooks><item><AppearanceFilename>X.xml</AppearanceFilename></item>"
         "</DefaultLooks></root>",
         settings);
    const std::string text = TextOf(settings);
    EXPECT_EQ(text.find("Appearance"), std::string::npos);
    ASSERT_EQ(settings.GetDefaultLooks().size(), std::size(looks));
    for (size_t i = 0; i < std::size(looks); ++i) {
        EXPECT_EQ(settings.GetDefaultLooks()[i].AppearanceFilename, ("Appearance" + std::string(looks[i]) + ".xml").c_str());
        EXPECT_EQ(settings.GetDefaultLooks()[i].ThumbnailFilename,
                  ("Thumbnail_Appearance" + std::string(looks[i]) + ".png").c_str());
    }
}
