#include "gameshow/WardrobeManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <random>

#include "gameshow/MenuCharacter.h"
#include "tests/gameshow/WardrobeTestSetup.h"
#include "tests/support/ByteDamage.h"

using namespace wardrobetest;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::ContainerFactory;
using GameServices::KorvoGame::OutfitPart;
using GameServices::KorvoGame::PartPool;
using GameShow::WardrobeManager;

namespace {

using Wardrobe = WardrobeTest;

TEST_F(Wardrobe, EachLoaderReadsItsFileOnceAndAgainAfterAFailedRead) {
    AddProfile(look, "Ann");
    struct Case {
        const char* file;
        void (WardrobeManager::*load)();
        bool (WardrobeManager::*loaded)() const;
    };
    const Case cases[] = {
        {"characterassemblies.xml", &WardrobeManager::LoadDefaultAssemblies, &WardrobeManager::IsDefaultLoaded},
        {"unlockablecharacterassemblies.xml", &WardrobeManager::LoadUnlockableAssemblies,
         &WardrobeManager::IsUnlockableLoaded},
        {"retailercharacterassemblies.xml", &WardrobeManager::LoadExtraAssemblies, &WardrobeManager::IsExtraLoaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WardrobeManager::Destroy();
        WardrobeManager& w = *WardrobeManager::Instance();
        const std::string path = dir.File(Korvo(c.file));
        const std::string text = FileContents(path);
        std::filesystem::remove(path);
        log.Clear();
        (w.*c.load)();
        EXPECT_FALSE((w.*c.loaded)());
        EXPECT_TRUE(log.Contains("Can not read the CharacterAssembly: "));
        WriteKorvo(c.file, text);
        (w.*c.load)();
        EXPECT_TRUE((w.*c.loaded)());

        // Read once: files that change afterwards are not read again.
        log.Clear();
        for (const char* part : {"male.xml", "female.xml", "ul_m1.xml", "ul_f1.xml", "ex_m.xml", "ex_f.xml", "ex_a.xml"})
            std::filesystem::remove(dir.File(Korvo(part)));
        (w.*c.load)();
        EXPECT_TRUE(log.Lines().empty());
        WriteCharacterFiles();
    }
}

TEST_F(Wardrobe, AnUnreadableWardrobeIsReportedAndLeavesItsEntryEmpty) {
    std::filesystem::remove(dir.File(Korvo("ul_m1.xml")));
    AddProfile(look, "Ann");
    wardrobe->LoadUnlockableAssemblies();
    EXPECT_TRUE(wardrobe->IsUnlockableLoaded());
    std::string path = dir.File(Korvo("ul_m1.xml"));
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    EXPECT_TRUE(log.Contains("Can not read the Wardrobe file: " + path));
    ContainerFactory<OutfitPart> parts;
    wardrobe->GetUnlockableOutfitParts(0, 0, parts);
    EXPECT_TRUE(parts.empty());
}

TEST_F(Wardrobe, NameListsCutTheLastExtensionAndUnknownAssembliesGiveNothing) {
    std::vector<TString<char>> names{"stale"};
    wardrobe->GetDefaultOutfitPartNames(true, "Male1", 0, names);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(log.Contains("Load DefaultCharacterAssemblies.xml first."));

    LoadAll();
    log.Clear();
    struct Case {
        bool male;
        const char* assembly;
        u32 type;
        bool anatomy;
        Names expected;
    };
    const std::vector<Case> cases = {
        {true, "Male1", 0, false, {"ChM_Top_Disco", "x.y", "Plain", "Shared"}},
        {true, "Male1", 3, true, {"ChM_Hair_Afro", "Shared_Hair"}},
        {false, "Female1", 3, true, {"ChF_Hair_Bob"}},
        {true, "Nobody", 0, false, {}},
        {true, "Male1", 4, false, {}},
    };
    for (const Case& c : cases) {
        names = {"stale"};
        if (c.anatomy)
            wardrobe->GetDefaultAnatomyPartNames(c.male, c.assembly, c.type, names);
        else
            wardrobe->GetDefaultOutfitPartNames(c.male, c.assembly, c.type, names);
        EXPECT_EQ(Strings(names), c.expected) << c.assembly << " " << c.type << (c.anatomy ? " anatomy" : "");
    }
    EXPECT_FALSE(log.Contains("Load DefaultCharacterAssemblies.xml first."));

    for (auto [name, cut, key] : std::vector<std::tuple<const char*, const char*, const char*>>{
             {"x.y.mdl", "x.y", "x.y"}, {".mdl", ".mdl", ""}, {"a.", "a", "a"}}) {
        EXPECT_EQ(WardrobeManager::CutExtension(name), cut) << name;
        Appearance named;
        named.Name = name;
        EXPECT_EQ(WardrobeManager::GetLookName(named), key) << name;
    }
}

TEST_F(Wardrobe, ExtraSkinItemsTakeTheCurrentLooksToneAndFindTheirType) {
    LoadAll();
    AddProfile(look, "Ann");  // Male1: "_pnk"
    ContainerFactory<OutfitPart> parts;
    struct Case {
        bool male;
        u32 type;
        Names expected;
    };
    for (const Case& c : std::vector<Case>{
             {true, 0, {"ChM_Jersey_skin01_pnk.mdl", "Shared.mdl", "ChM_Top_Gold.mdl"}},
             {true, 1, {"ChM_Shorts_SKIN01_pnk.mdl"}},
             {false, 0, {"ChF_Jersey_skin01_pnk.mdl"}},
             {true, 4, {}},
         }) {
        wardrobe->GetExtraOutfitParts(c.male, c.type, parts);
        EXPECT_EQ(NamesOf(parts), c.expected) << c.type;
    }

    struct Find {
        const char* name;
        const char* searched;
        const char* found;
        u32 type;
    };
    for (const Find& f : std::vector<Find>{
             {"ChM_Shorts_SKIN01", "ChM_Shorts_SKIN01_pnk", "ChM_Shorts_SKIN01_pnk.mdl", 1},
             {"ChM_Skates", "ChM_Skates", "ChM_Skates.mdl", 2},
             {"ChM_Jersey_skin01_pnk", "ChM_Jersey_skin01_pnk", "ChM_Jersey_skin01_pnk.mdl", 0},
             {"ChM_Jersey_skin01_wht", "ChM_Jersey_skin01_wht", nullptr, 4},
         }) {
        TString<char> name = f.name;
        const OutfitPart* part = wardrobe->FindExtraOutfitPart(true, name);
        EXPECT_EQ(name, f.searched);
        EXPECT_EQ(part ? part->Name.c_str() : "", std::string(f.found ? f.found : "")) << f.name;
        EXPECT_EQ(wardrobe->GetExtraOutfitPartType(true, name), f.type) << f.name;
    }

    // A look outside the tone table: base + ".mdl".
    AddProfile(Look("Custom.xml", "Robot", 999, CharacterAssembly::kMale), "Bob");
    wardrobe->GetExtraOutfitParts(true, 0, parts);
    EXPECT_EQ(NamesOf(parts)[0], "ChM_Jersey_skin01.mdl");
    // No current profile counts as the first slot.
    manager->GetSettings()->CurrentSavedGame = -1;
    wardrobe->GetExtraOutfitParts(true, 0, parts);
    EXPECT_EQ(NamesOf(parts)[0], "ChM_Jersey_skin01_pnk.mdl");
    EXPECT_EQ(GameShow::GetLookSuffix(), "_pnk");
}

TEST_F(Wardrobe, UnlocksRecordFoundItemsUnderTheCallersTypeAndReportTheRest) {
    LoadAll();
    const i32 ann = AddProfile(look, "Ann");
    const i32 eve = AddProfile(Look("AppearanceFemale01.xml", "Female1", 201, CharacterAssembly::kFemale), "Eve");
    wardrobe->UnlockAnatomyPart("Shiny_Head", u32(ann), 3);
    wardrobe->UnlockOutfitPart("ChM_Top_Gold", 0, u32(ann));
    wardrobe->UnlockOutfitPart("ChM_Top_Gold", 1, u32(ann));
    wardrobe->UnlockOutfitPart("ChM_Top_Gold", 0, u32(eve));
    wardrobe->UnlockAnatomyPart("ChM_Hair_Long.mdl", u32(ann), 3);
    EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), "Item was not found in the wardrobe: ChM_Top_Gold"), 2);

    const GameShow::PlayerProfile& annProfile = *manager->GetSlot(ann);
    const auto& hair = annProfile.UnlockedAnatomyParts.Parts[3];
    ASSERT_EQ(hair.size(), 1u) << "the hair name with its extension is not found";
    EXPECT_TRUE(hair[0].Name == "Shiny_Head.mdl" && hair[0].Id == 7u);
    EXPECT_TRUE(annProfile.UnlockedAnatomyParts.Parts[0].empty() && annProfile.UnlockedOutfitParts.Parts[1].empty());
    ASSERT_EQ(annProfile.UnlockedOutfitParts.Parts[0].size(), 1u);
    EXPECT_EQ(annProfile.UnlockedOutfitParts.Parts[0][0].Name, "ChM_Top_Gold.mdl");
    for (const auto& list : manager->GetSlot(eve)->UnlockedOutfitParts.Parts)
        EXPECT_TRUE(list.empty());
}

// A put-on frees the part worn before and takes the new one out of the scratch lists, which
// each search refills; a name found nowhere puts nothing on. Only the scratch lists and the
// worn parts hold parts from the pools.
TEST_F(Wardrobe, PutOnsFreeThePreviousPartAndANameFoundNowherePutsNothingOn) {
    LoadAll();
    AddProfile(look, "Ann");
    const u32 outfitBase = PartPool<OutfitPart>().GetUsedCount();
    const u32 anatomyBase = PartPool<AnatomyPart>().GetUsedCount();
    const std::pair<const char*, int> names[] = {{"ChM_Hair_Afro", -1}, {"ChM_Top_Disco", 0},     {"ChM_Hair_Long", -1},
                                                 {"ChM_Sport", 3},      {"Shared_Hair", -1},      {"ChM_Skates", 2},
                                                 {"ChM_Jersey_skin01", 0}, {"Nothing", 1},        {"Nothing", -1}};
    for (const auto& [name, type] : names) {
        SCOPED_TRACE(name);
        if (type < 0)
            wardrobe->PutOnAnatomyPart(&avatar, name);
        else
            wardrobe->PutOnOutfitPart(&avatar, name, u32(type));
        const OutfitPart* outfit = wardrobe->GetCurrentOutfitPart();
        const AnatomyPart* hair = wardrobe->GetCurrentAnatomyPart();
        EXPECT_EQ(PartPool<OutfitPart>().GetUsedCount(),
                  outfitBase + wardrobe->GetOutfitScratch().size() + (outfit ? 1 : 0));
        EXPECT_EQ(PartPool<AnatomyPart>().GetUsedCount(),
                  anatomyBase + wardrobe->GetAnatomyScratch().size() + (hair ? 1 : 0));
        for (const OutfitPart* part : wardrobe->GetOutfitScratch())
            EXPECT_NE(part, outfit);
        for (const AnatomyPart* part : wardrobe->GetAnatomyScratch())
            EXPECT_NE(part, hair);
    }
    EXPECT_TRUE(Worn(0) == "ChM_Jersey_skin01_pnk.mdl" && Hair() == "Shared_Hair.mdl");
    EXPECT_TRUE(wardrobe->GetCurrentOutfitPart() == nullptr && wardrobe->GetCurrentAnatomyPart() == nullptr);

    // Without a look the extra search cannot pick a gender.
    GameServices::Entities::Character bare("Bare");
    log.Clear();
    wardrobe->PutOnOutfitPart(&bare, "ChM_Skates", 2);
    EXPECT_TRUE(log.Contains("No Appearance defined for this character"));
    EXPECT_EQ(wardrobe->GetCurrentOutfitPart(), nullptr);
    wardrobe->PutOnOutfitPart(nullptr, "ChM_Skates", 2);
    wardrobe->PutOnAnatomyPart(nullptr, "ChM_Hair_Long");
    EXPECT_EQ(wardrobe->GetCurrentAnatomyPart(), nullptr);
}

// Seeded random damage to the sample unlockable assemblies file and to the wardrobe and anatomy
// files of its first look: every load ends soundly and the catalogue stays usable.
TEST_F(Wardrobe, DamagedAssembliesWardrobeAndAnatomyFilesLoadSoundly) {
    ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr);
    AddProfile(look, "Ann");
    const std::string files[] = {"UnlockableCharacterAssemblies.xml", "Wardrobe_Unlockable_AppearanceMale01.xml",
                                 "Anatomy_Unlockable_AppearanceMale01.xml"};
    std::string originals[3];
    // Stored where the loader looks for it, in lower case.
    auto store = [&](std::string file, const std::string& text) {
        std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        profiletest::WriteInPlace(dir.File(Korvo(file)), text, 4096, ' ');
    };
    for (int f = 0; f < 3; ++f) {
        originals[f] = FileContents(std::string(std::getenv("TALLYVOX_DATA")) + "/characters/" + files[f]);
        store(files[f], originals[f]);
    }
    u32 outfitBase = 0, anatomyBase = 0;
    // A fresh catalogue over the files as they are now, then every operation on it; only the
    // lists asked for, the scratch lists and the worn parts hold parts from the pools.
    auto loadAndUse = [&] {
        WardrobeManager::Destroy();
        WardrobeManager& w = *WardrobeManager::Instance();
        w.LoadUnlockableAssemblies();
        ContainerFactory<OutfitPart> outfits;
        ContainerFactory<AnatomyPart> anatomy;
        for (u32 type = 0; type < 4; ++type) {
            w.GetUnlockableOutfitParts(0, type, outfits);
            w.GetUnlockableAnatomyParts(0, type, anatomy);
        }
        w.UnlockOutfitPart("ChM_Top_Tuxedo", 0, 0);
        w.UnlockAnatomyPart("ChM_Hair_Pompadour", 0, 3);
        w.PutOnOutfitPart(&avatar, "ChM_Top_Leisure_skin01_pnk", 0);
        w.PutOnAnatomyPart(&avatar, "ChM_Hair_Long_skin01_pnk");
        ASSERT_EQ(PartPool<OutfitPart>().GetUsedCount(),
                  outfitBase + outfits.size() + w.GetOutfitScratch().size() + (w.GetCurrentOutfitPart() ? 1 : 0));
        ASSERT_EQ(PartPool<AnatomyPart>().GetUsedCount(),
                  anatomyBase + anatomy.size() + w.GetAnatomyScratch().size() + (w.GetCurrentAnatomyPart() ? 1 : 0));
    };
    // Undamaged, the sample items are found.
    loadAndUse();
    EXPECT_TRUE(Hair() == "ChM_Hair_Long_skin01_pnk.mdl" && Worn(0) == "ChM_Top_Leisure_skin01_pnk.mdl");
    WardrobeManager::Destroy();
    outfitBase = PartPool<OutfitPart>().GetUsedCount();
    anatomyBase = PartPool<AnatomyPart>().GetUsedCount();

    std::mt19937 rng(3030);
    for (int f = 0; f < 3 && !HasFatalFailure(); ++f) {
        SCOPED_TRACE(files[f]);
        for (int round = 0; round < 5000 && !HasFatalFailure(); ++round) {
            std::string bytes = originals[f];
            DamageBytes(bytes, rng, 1 + int(rng() % 4));
            store(files[f], bytes);
            log.Clear();
            loadAndUse();
        }
        store(files[f], originals[f]);
    }
}

}  // namespace
