#include "gameshow/PlayerProfileManager.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "engine/core/XmlReader.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/ByteDamage.h"

using namespace GameShow;
namespace KG = GameServices::KorvoGame;
using GameServices::Entities::BaseTeamMember;
using profiletest::DocumentText;
using profiletest::SlotText;
using profiletest::SlotsText;

namespace {

class Profiles : public profiletest::ProfileTest {
protected:
    using Document = PlayerProfileManager::Document;

    // The save file as a fresh document reads it.
    Document* Reread() {
        reread = std::make_unique<PlayerProfileManager::Document>();
        KG::SavedGameManager reader;
        reader.LoadSavedGame(reread.get(), 4);
        return reread.get();
    }
    // Whether a load ended in one of the two sound outcomes: a corrupt save put to the player
    // and left as it is, or four slots numbered by their index with a used or no current slot.
    bool LoadedSoundly(const std::string& stored) {
        Document& document = *manager->GetSavedFile();
        if (!popups.shown.empty()) {
            if (popups.shown != std::vector<std::string>{"DataCorruption@900"} || document.GetSavedGameCount() != 0 ||
                manager->GetProfile(0))
                return false;
            // Nothing may replace the bad file before the player has answered.
            manager->CreateProfile(KG::Appearance(), "X");
            manager->SelectProfile(0);
            manager->WriteSavedGame();
            return Contents() == stored;
        }
        bool numbered = document.GetSavedGameCount() == 4;
        for (u32 slot = 0; numbered && slot < 4; ++slot)
            numbered = document.GetSavedGame(slot)->Id == i32(slot);
        const i32 current = document.GetSettings().CurrentSavedGame;
        return numbered && (current == -1 || document.IsUsedSlot(current)) && manager->GetPlayerSlot(0) == current;
    }
    std::unique_ptr<Document> reread;

    template <typename Record>
    void Read(const std::string& text, Record& record) {
        ASSERT_EQ(GameServices::Utilities::XmlReader().ReadText(text.c_str(), "root", record), 0);
    }
};

}  // namespace

// A current slot outside the document or naming an unused slot reads as none: no player is
// mapped, and operations on slots outside the document report and write nothing. Settings start
// and clear to their defaults.
TEST_F(Profiles, DocumentSlotsAndFreshSettings) {
    for (int current : {7, 1, -1}) {
        SCOPED_TRACE(current);
        widget_test::Counter loaded;
        Store(DocumentText(current, SlotsText({"ANNA", "", "BO", ""})));
        NewManager();
        manager->GetProfilesLoadedEvent().AddDelegate(&loaded.delegate);
        log.Clear();
        manager->LoadProfiles();
        EXPECT_EQ(std::vector<i32>({manager->GetSettings()->CurrentSavedGame, manager->GetCurrentSlot(),
                                    manager->GetPlayerSlot(0), log.Contains("not a used slot"), i32(loaded.count),
                                    manager->IsLoaded(), i32(manager->GetLoadedProfiles().size())}),
                  std::vector<i32>({-1, -1, -1, current != -1, 1, 1, 2}));

        const std::string before = Contents();
        const u32 writes = manager->GetWriteCount();
        for (i32 slot : {-1, 4, 7}) {
            manager->SelectProfile(slot);
            manager->DeleteProfile(slot);
        }
        EXPECT_TRUE(log.Contains("There is no profile slot 7") && manager->GetWriteCount() == writes &&
                    Contents() == before && !manager->IsProfileChosen());
    }
    // Without a saved-game manager a load drops the profiles and the current slot it had; a
    // manager with no document yet has no current slot either.
    Store(DocumentText(0, SlotsText({"ANNA"}, 4)));
    Load()->SetServices({});
    manager->LoadProfiles();
    EXPECT_TRUE(manager->GetLoadedProfiles().empty() && manager->GetCurrentSlot() == -1 && manager->IsLoaded());
    GameShow::PlayerProfileManager::Destroy();
    manager = GameShow::PlayerProfileManager::Instance();
    const PlayerProfile drawn[5];  // numbered round the four profiles
    manager->SetAttributeValue("Award", 1);
    EXPECT_TRUE(manager->GetCurrentSlot() == -1 && !manager->IsLoaded() &&
                log.Contains("No profiles document to keep Award in") && drawn[3].Id == 3 && drawn[4].Id == 0);

    // A document read again holds the file's slots once, each numbered by its slot; a saved game
    // reset by name starts afresh in its slot.
    PlayerProfileManager::Document document;
    const std::string file =
        profiletest::DocumentText(-1, profiletest::SlotText(true, "ANNA", "3") + profiletest::SlotText(false, "", "0"));
    for (int read = 0; read < 2; ++read)
        Read(file, document);
    ASSERT_EQ(document.GetSavedGameCount(), 2u);
    EXPECT_TRUE(document.GetSavedGame(0)->Id == 0 && document.GetSavedGame(1)->Id == 1) << "the file's 3 gives way";
    EXPECT_TRUE(document.GetSavedGame(0)->SavedGameName == "ANNA" && document.FindSavedGame("")->Id == 1);
    EXPECT_TRUE(document.ResetSavedGame("ANNA") == document.GetSavedGame(0) && !document.IsUsedSlot(0));

    // New settings, and changed settings cleared: no current slot, every volume at half, version 1,
    // no attributes.
    Settings fresh;
    for (int cleared = 0; cleared < 2; ++cleared) {
        EXPECT_EQ(std::vector<i64>({fresh.CurrentSavedGame, fresh.SoundEffectsVolume, fresh.MusicVolume,
                                    fresh.VoiceVolume, fresh.Version}),
                  std::vector<i64>({-1, 50, 50, 50, 1}));
        fresh.SoundEffectsVolume = fresh.MusicVolume = fresh.VoiceVolume = 9;
        fresh.SetAttribute<int>("FamilyHairRandNum2", 4);
        fresh.Clear();
    }
    int kept = 0;
    EXPECT_FALSE(fresh.GetAttribute<int>("FamilyHairRandNum2", kept));
}

TEST_F(Profiles, AProfileReadsBackAsWrittenAndClears) {
    // Written and read back, a profile keeps every saved field and its attributes of each type;
    // cleared, it keeps what identifies it.
    // A used profile with something in every saved field.
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
    const std::pair<const char*, u32> topUnlocks[] = {
        {"ChF_Top_Disco_skin01_dpnk.mdl", 40}, {"ChF_Top_Disco_skin01_dpnk.mdl", 41}, {"ChF_Top_Crop.mdl", 42}};
    for (const auto& [name, id] : topUnlocks) {
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
    const std::string text = profiletest::TextOf(profile);
    PlayerProfile copy;
    Read(text, copy);
    EXPECT_EQ(profiletest::TextOf(copy), text);
    // Each attribute list is written and read (equal texts alone would not show a list skipped both ways);
    // a name of another list is not found and leaves the value.
    int family = 0;
    float ratio = 0;
    bool award = false;
    TString<char> motto;
    EXPECT_TRUE(copy.GetAttribute<int>("FamilyTopRandNum1", family) && copy.GetAttribute<float>("Ratio", ratio) &&
                copy.GetAttribute<bool>("Award", award) && copy.GetAttribute<TString<char>>("Motto", motto) &&
                !copy.GetAttribute<int>("Ratio", family));
    EXPECT_EQ(std::to_string(family) + " " + std::to_string(ratio) + " " + std::to_string(award) + " " + motto.c_str() +
                  " " + std::to_string(copy.Score),
              "-3 0.250000 1 a < b & c 4000000000");
    // The live look takes the read flags and names, anatomy then outfit.
    EXPECT_EQ(profiletest::Parts(copy.Appearance), "---CCCC- head.mdl/0 eyeL.mdl/0 eyeR.mdl/0 hair.mdl/0 top.mdl/0 "
                                                    "skirt.mdl/0 shoes.mdl/0 glasses.mdl/0");
    const auto& tops = copy.UnlockedOutfitParts.Parts[KG::OUTFIT_TOP];
    const auto& hair = copy.UnlockedAnatomyParts.Parts[KG::ANATOMY_HAIRSTYLE];
    EXPECT_EQ(std::vector<size_t>({tops.size(), tops[0].Id, hair.size()}), std::vector<size_t>({2, 40, 1}));
    EXPECT_TRUE(log.Contains("category 4 is out of range"));

    // Clearing keeps what identifies the record.
    profile.Clear();
    EXPECT_EQ(std::string(profile.SavedGameName.c_str()) + " " + std::to_string(profile.Id) + " " +
                  std::to_string(profile.Score) + " " + profile.ThumbnailFilename.c_str() + " " +
                  profile.AvatarDescription.Name.c_str(),
              "ANNA 3 4000000000 Thumbnail_AppearanceFemale01.png AppearanceFemale01.xml");
    EXPECT_TRUE(profile.isUsed && profile.UnlockedOutfitParts.Parts[KG::OUTFIT_TOP].empty() &&
                profile.UnlockedAnatomyParts.Parts[KG::ANATOMY_HAIRSTYLE].empty() && profile.IntAttributes.empty() &&
                profile.FloatAttributes.empty() && profile.BoolAttributes.empty() && profile.StringAttributes.empty());
}

TEST_F(Profiles, DeletingAndStoredValues) {
    Store(DocumentText(0, SlotsText({"ANNA", "BO", "", ""})));
    Load();
    manager->GetSlot(1)->Score = 70;
    manager->GetSlot(1)->SetAttribute<int>("FamilyHairRandNum2", 4);
    PlayerProfile* created = manager->CreateProfile(KG::Appearance(), "CY");  // not among the loaded ones
    created->Score = 5;
    created->SetAttribute<int>("FamilyHairRandNum2", 4);
    // {slot, loaded profiles, score and attributes after, writes}: only a loaded profile is cleared;
    // the delete writes twice.
    const std::vector<std::vector<size_t>> cases = {{2, 2, 5, 1, 2}, {1, 1, 0, 0, 2}};
    for (const auto& c : cases) {
        const u32 writes = manager->GetWriteCount();
        const i32 slot = i32(c[0]);
        manager->DeleteProfile(slot);
        EXPECT_FALSE(manager->GetSlot(slot)->isUsed || Reread()->GetSavedGame(u32(slot))->isUsed);
        EXPECT_EQ((std::vector<size_t>{size_t(slot), manager->GetLoadedProfiles().size(), manager->GetSlot(slot)->Score,
                                       manager->GetSlot(slot)->IntAttributes.size(), manager->GetWriteCount() - writes}),
                  c);
    }
    EXPECT_EQ(manager->GetLoadedProfiles(), std::vector<PlayerProfile*>{manager->GetSlot(0)});

    // The question bank's settings: names go to the registry, values to the settings' integer
    // attributes, written with the save.
    QZ2011::IPlayerSettings& settings = *manager;
    settings.AddIntegerAttributeName("CurrectQuestionDecade70");
    int value = -1;
    settings.GetAttributeValue("CurrectQuestionDecade70", value);
    EXPECT_TRUE(settings.HasAttribute("CurrectQuestionDecade70") && value == -1);
    settings.SetAttributeValue("CurrectQuestionDecade70", 40);
    settings.SetAttributeValue("CurrectQuestionDecade70", 41);
    settings.GetAttributeValue("CurrectQuestionDecade70", value);
    static_cast<QZ2011::ISavedGameWriter&>(*manager).WriteSavedGame();
    int saved = 0;
    EXPECT_TRUE(Reread()->GetSettings().GetAttribute<int>("CurrectQuestionDecade70", saved) && saved == 41 &&
                value == 41 && manager->GetSlot(0)->IntAttributes.empty());

    // Achievement values live on the player's profile; an undeclared name is reported and
    // still stored.
    manager->AddAttribute("FamilyTopRandNum1");
    // The player, the name, the report (null: none), whether the value is stored.
    using Case = std::tuple<i32, const char*, const char*, bool>;
    for (const auto& [player, name, report, written] :
         {Case{0, "FamilyTopRandNum1", nullptr, true},
          Case{0, "FamilyTopRandNum2", "This achievement doesn't exist.", true},
          Case{1, "FamilyTopRandNum1", "No profile was found assigned to player id = 1", false}}) {
        SCOPED_TRACE(name);
        log.Clear();
        manager->GetSlot(0)->IntAttributes.Clear();
        SetAchievementValue(player, name, 6);
        int read = 2;
        EXPECT_TRUE(GetAchievementValue(player, name, read) == written && read == (written ? 6 : 2) &&
                    manager->GetSlot(0)->IntAttributes.size() == (written ? 1u : 0u));
        EXPECT_TRUE(report ? log.Contains(report) : log.Lines().empty());
    }
    SetAchievementFlag(0, "FamilyTopRandNum1");
    bool flag = false;
    EXPECT_TRUE(GetAchievementFlag(0, "FamilyTopRandNum1", flag) && flag);

}

TEST_F(Profiles, ACorruptSaveIsPutToThePlayer) {
    // A corrupt save is put to the player: the document holds no slot until the player answers,
    // every lookup handles that, and nothing is written over the file.
    // Another version, three slots, no document.
    for (const std::string& text : {DocumentText(0, SlotsText({"ANNA", "", "", ""}), 2),
                                    DocumentText(0, SlotsText({"ANNA", "", ""})), std::string("<root><Settings>")}) {
        SCOPED_TRACE(text);
        Store(text);
        const std::string bad = Contents();
        widget_test::Counter loaded;
        NewManager();
        manager->GetProfilesLoadedEvent().AddDelegate(&loaded.delegate);
        manager->LoadProfiles();
        EXPECT_TRUE(!popups.shown.empty() && loaded.count == 1 && manager->GetSettings()->CurrentSavedGame == -1);
        EXPECT_EQ(manager->CreateProfile(KG::Appearance(), "CY"), nullptr);
        manager->DeleteProfile(0);
        manager->SetAttributeValue("CurrectQuestionDecade70", 3);
        std::vector<TString<char>> names{"stale"};
        manager->GetUnlockedOutfitPartNames(0, 0, names);
        EXPECT_TRUE(names.empty() && LoadedSoundly(bad));  // selecting and writing leave the file too
    }

    // Seeded random damage to the text of a document whose header still matches it, so that every
    // damaged text reaches the reader.
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
        profiletest::WriteInPlace(path, profiletest::SaveBytes(damaged), 8192, '\0');
        const std::string stored = Contents();
        NewManager();
        log.Clear();
        manager->LoadProfiles();
        if (!LoadedSoundly(stored)) {
            ADD_FAILURE() << "round " << round << ":\n" << damaged;
            break;
        }
        ++(popups.shown.empty() ? sound : corrupt);
    }
    // Both outcomes were met.
    EXPECT_TRUE(sound > 100 && corrupt > 100) << sound << " sound, " << corrupt << " corrupt";

}

TEST_F(Profiles, DevicesBindTheMemberOfTheirIndex) {
    // A device takes the team member whose index is its id; an id with no member is ignored.
    KG::TeamRegistry registry;
    auto* family = new GameServices::Entities::Team();
    registry.AddTeam(family, KG::TeamRegistry::kPlayersTeamId);
    for (int i = 0; i < 2; ++i)
        registry.AddMember(family->m_Members.emplace_back(new BaseTeamMember()));
    KG::ActionManager actions;
    KG::DeviceManager devices;
    KG::TeamActionManager slots(actions, devices);
    teams = &registry;
    teamActions = &slots;
    NewManager();
    // Subscribed once however often initialized, and gone with the manager.
    const size_t listeners = KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count();
    manager->Initialize();
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count(), listeners);
    PlayerProfileManager::Destroy();
    EXPECT_TRUE(KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count() == listeners - 1 &&
                KG::TeamActionManager::GetMemberDeviceLostEvent().Count() == listeners - 1);
    NewManager();
    for (i32 id : {-1, 2, 9, 1, 0}) {
        GameServices::Bridge::DeviceInfos infos{id, nullptr};
        KG::TeamActionManager::GetFreeDeviceConnectedEvent().Fire(infos);
        for (i32 m = 0; m < 2; ++m) {
            const bool bound = m == 1 ? id < 2 && id >= 0 : id == 0;
            EXPECT_EQ(family->m_Members[size_t(m)]->m_Active, bound) << id;
            EXPECT_EQ(family->m_Members[size_t(m)]->m_DeviceId, bound ? m : -1) << id;
            EXPECT_EQ(slots.GetMember(m), bound ? family->m_Members[size_t(m)] : nullptr) << id;
        }
    }
    KG::TeamActionManager::GetMemberDeviceLostEvent().Fire(family->m_Members[1]);
    EXPECT_TRUE(family->m_Members[1]->m_Active == 0 && slots.GetMember(1) == nullptr);
    KG::TeamActionManager::GetMemberDeviceLostEvent().Fire(nullptr);
    teams = nullptr;
    teamActions = nullptr;
    NewManager();
}
