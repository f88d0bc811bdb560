// The wardrobe catalogue, and the wardrobe page over it with a menu avatar in the menu level.
#include "gameshow/WardrobeManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "gameservices/entities/Set.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PageButtons.h"
#include "gameshow/WardrobeComposition.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/gameshow/WardrobeTestSetup.h"
#include "tests/support/ByteDamage.h"
#include "tools/authoring/TrackWriter.h"

using namespace wardrobetest;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::ContainerFactory;
using GameServices::KorvoGame::OutfitPart;
using GameServices::KorvoGame::PartPool;
using namespace GameShow;
namespace W = GameServices::Widget;
namespace KG = GameServices::KorvoGame;
using pagetest::Add;
using pagetest::Click;

namespace {

TEST_F(WardrobeTest, EachLoaderReadsItsFileOnceAndNameListsCutTheLastExtension) {
    AddProfile(Look("AppearanceMale01", "Male1", 101, CharacterAssembly::kMale), "Ann");  // keyed without extension
    using Case = std::tuple<const char*, void (WardrobeManager::*)(), bool (WardrobeManager::*)() const>;
    for (const auto& [file, load, loaded] : {
             Case{"characterassemblies.xml", &WardrobeManager::LoadDefaultAssemblies,
                  &WardrobeManager::IsDefaultLoaded},
             Case{"unlockablecharacterassemblies.xml", &WardrobeManager::LoadUnlockableAssemblies,
                  &WardrobeManager::IsUnlockableLoaded},
             Case{"retailercharacterassemblies.xml", &WardrobeManager::LoadExtraAssemblies,
                  &WardrobeManager::IsExtraLoaded}}) {
        SCOPED_TRACE(file);
        WardrobeManager::Destroy();
        WardrobeManager& w = *WardrobeManager::Instance();
        const std::string path = dir.File(Korvo(file));
        const std::string text = FileContents(path);
        std::filesystem::remove(path);
        log.Clear();
        (w.*load)();
        EXPECT_TRUE(!(w.*loaded)() && log.Contains("Can not read the CharacterAssembly: "));
        WriteKorvo(file, text);
        (w.*load)();
        EXPECT_TRUE((w.*loaded)());

        // Read once: files that change afterwards are not read again.
        log.Clear();
        for (const char* part : {"male.xml", "female.xml", "ul_m1.xml", "ul_f1.xml", "ex_m.xml", "ex_f.xml", "ex_a.xml"})
            std::filesystem::remove(dir.File(Korvo(part)));
        (w.*load)();
        EXPECT_TRUE(log.Lines().empty());
        WriteCharacterFiles();
    }
    // An unreadable wardrobe is reported and leaves its entry empty.
    WardrobeManager::Destroy();
    std::filesystem::remove(dir.File(Korvo("ul_m1.xml")));
    wardrobe = WardrobeManager::Instance();
    wardrobe->LoadUnlockableAssemblies();
    const std::string path = pagetest::Lower(dir.File(Korvo("ul_m1.xml")));  // reported as read
    EXPECT_TRUE(wardrobe->IsUnlockableLoaded() && log.Contains("Can not read the Wardrobe file: " + path));
    // So does a type past the lists, or a slot with no profile.
    ContainerFactory<OutfitPart> parts;
    ContainerFactory<AnatomyPart> heads;
    for (const auto& [slot, type] : {std::pair{0u, 0u}, {0u, 4u}, {9u, 0u}}) {
        wardrobe->GetUnlockableOutfitParts(slot, type, parts);
        wardrobe->GetUnlockableAnatomyParts(slot, type, heads);
        EXPECT_TRUE(parts.empty() && heads.empty()) << slot << " " << type;
    }

    // The same cut names a new profile's thumbnail after its look, which the profile keeps.
    std::vector<TString<char>> names{"stale"};
    wardrobe->GetDefaultOutfitPartNames(true, "Male1", 0, names);
    EXPECT_TRUE(names.empty() && log.Contains("Load DefaultCharacterAssemblies.xml first."));

    LoadAll();
    log.Clear();
    using Row = std::tuple<bool, const char*, u32, bool, Names>;  // male, assembly, type, anatomy, names
    for (const auto& [male, assembly, type, anatomy, expected] : std::vector<Row>{
             {true, "Male1", 0, false, {"ChM_Top_Disco", "x.y", "Plain", "Shared"}},
             {true, "Male1", 3, true, {"ChM_Hair_Afro", "Shared_Hair"}},
             {false, "Female1", 3, true, {"ChF_Hair_Bob"}},
             {true, "Nobody", 0, false, {}},
             {true, "Male1", 4, false, {}},
             {true, "Male1", 4, true, {}}}) {
        names = {"stale"};
        anatomy ? wardrobe->GetDefaultAnatomyPartNames(male, assembly, type, names)
                : wardrobe->GetDefaultOutfitPartNames(male, assembly, type, names);
        EXPECT_EQ(NamesOf(names), expected) << assembly << " " << type << (anatomy ? " anatomy" : "");
    }

    for (auto [name, cut, key] : std::vector<std::tuple<const char*, const char*, const char*>>{
             {"x.y.mdl", "x.y", "x.y"}, {".mdl", ".mdl", ""}, {"a.", "a", "a"}}) {
        EXPECT_EQ(WardrobeManager::CutExtension(name), cut) << name;
        const GameShow::PlayerProfile* made = manager->CreateProfile(Look(name, "", 0, 0), "N");
        EXPECT_EQ(WardrobeManager::GetLookName(made->Appearance), key) << name;
        EXPECT_EQ(made->ThumbnailFilename, TString<char>("Thumbnail_") + key + ".png") << name;
    }
}

// A put-on frees the part worn before and takes the new one out of the scratch lists, which
// each search refills; a name found nowhere puts nothing on. Only the scratch lists and the
// worn parts hold parts from the pools.
TEST_F(WardrobeTest, PutOnsFreeThePreviousPart) {
    LoadAll();
    AddProfile(look, "Ann");  // Male1: "_pnk"
    const u32 outfitBase = PartPool<OutfitPart>().GetUsedCount();
    const u32 anatomyBase = PartPool<AnatomyPart>().GetUsedCount();
    const std::pair<const char*, int> names[] = {
        {"Shared_Hair", -1},   {"ChM_Top_Disco", 0}, {"ChM_Hair_Long", -1},     {"ChM_Sport", 3},
        {"ChM_Hair_Afro", -1}, {"ChM_Skates", 2},    {"ChM_Jersey_skin01", 0}, {"ChM_No_Eyewear", 3},
        {"ChM_Boots", 4},      {"Nothing", 1},       {"Nothing", -1}};
    for (const auto& [name, type] : names) {
        SCOPED_TRACE(name);
        type < 0 ? wardrobe->PutOnAnatomyPart(&avatar, name) : wardrobe->PutOnOutfitPart(&avatar, name, u32(type));
        const OutfitPart* outfit = wardrobe->GetCurrentOutfitPart();
        const AnatomyPart* hair = wardrobe->GetCurrentAnatomyPart();
        const auto& outfits = wardrobe->GetOutfitScratch();
        const auto& anatomy = wardrobe->GetAnatomyScratch();
        EXPECT_EQ(PartPool<OutfitPart>().GetUsedCount(), outfitBase + outfits.size() + (outfit ? 1 : 0));
        EXPECT_EQ(PartPool<AnatomyPart>().GetUsedCount(), anatomyBase + anatomy.size() + (hair ? 1 : 0));
        EXPECT_EQ(std::count(outfits.begin(), outfits.end(), outfit) + std::count(anatomy.begin(), anatomy.end(), hair), 0);
    }
    // The no-eyewear choice is made up, not searched, and leaves the eyewear customizable with no part
    // id; no search looks past the part types, and a part found under a type past them is not worn.
    const OutfitPart& eyewear = avatar.VolatileDatas.GetAppearance()->OutfitParts[3];
    EXPECT_TRUE(Worn(0) == "ChM_Jersey_skin01_pnk.mdl" && Worn(3) == "ChM_No_Eyewear" && Hair() == "ChM_Hair_Afro.mdl" &&
                log.Count("out of range") == 1 && log.Contains("outfit type 4 is out of range") &&
                eyewear.Customizable && eyewear.Id == 0u);
    EXPECT_TRUE(wardrobe->GetCurrentOutfitPart() == nullptr && wardrobe->GetCurrentAnatomyPart() == nullptr);

    // Without a look the extra search cannot pick a gender.
    GameServices::Entities::Character bare("Bare");
    log.Clear();
    wardrobe->PutOnOutfitPart(&bare, "ChM_Skates", 2);
    EXPECT_TRUE(log.Contains("No Appearance defined for this character") && !wardrobe->GetCurrentOutfitPart());
    wardrobe->PutOnOutfitPart(nullptr, "ChM_Skates", 2);
    wardrobe->PutOnAnatomyPart(nullptr, "ChM_Hair_Long");
    EXPECT_TRUE(!wardrobe->GetCurrentAnatomyPart() && !wardrobe->FindDefaultOutfitPart(nullptr, "ChM_Jeans") &&
                !wardrobe->FindDefaultAnatomyPart(nullptr, "ChM_Head"));
}

// Extra skin items take the current look's tone; unlocks record found items under the caller's
// type and report the rest.
TEST_F(WardrobeTest, ExtraSkinItemsTakeTheLooksTone) {
    LoadAll();
    const i32 ann = AddProfile(look, "Ann");  // Male1: "_pnk"
    ContainerFactory<OutfitPart> parts;
    for (const auto& [male, type, expected] : std::vector<std::tuple<bool, u32, Names>>{
             {true, 0, {"ChM_Jersey_skin01_pnk.mdl", "Shared.mdl", "ChM_Top_Gold.mdl"}},
             {true, 1, {"ChM_Shorts_SKIN01_pnk.mdl"}},
             {false, 0, {"ChF_Jersey_skin01_pnk.mdl"}},
             {true, 4, {}}}) {
        wardrobe->GetExtraOutfitParts(male, type, parts);
        EXPECT_EQ(NamesOf(parts), expected) << type;
    }
    // Asked, searched (with the tone), found ("" none), type (4 none).
    using Find = std::tuple<const char*, const char*, const char*, u32>;
    for (const auto& [asked, searched, found, type] : std::vector<Find>{
             {"ChM_Shorts_SKIN01", "ChM_Shorts_SKIN01_pnk", "ChM_Shorts_SKIN01_pnk.mdl", 1},
             {"ChM_Skates", "ChM_Skates", "ChM_Skates.mdl", 2},
             {"ChM_Jersey_skin01_pnk", "ChM_Jersey_skin01_pnk", "ChM_Jersey_skin01_pnk.mdl", 0},
             {"ChM_Jersey_skin01_wht", "ChM_Jersey_skin01_wht", "", 4}}) {
        TString<char> name = asked;
        const OutfitPart* part = wardrobe->FindExtraOutfitPart(true, name);
        EXPECT_TRUE(name == searched && std::string(part ? part->Name.c_str() : "") == found &&
                    wardrobe->GetExtraOutfitPartType(true, name) == type) << asked;
    }

    // A look outside the tone table: base + ".mdl".
    AddProfile(Look("Custom.xml", "Robot", 999, CharacterAssembly::kMale), "Bob");
    wardrobe->GetExtraOutfitParts(true, 0, parts);
    EXPECT_EQ(NamesOf(parts)[0], "ChM_Jersey_skin01.mdl");
    // No current profile counts as the first slot.
    manager->GetSettings()->CurrentSavedGame = -1;
    wardrobe->GetExtraOutfitParts(true, 0, parts);
    EXPECT_TRUE(NamesOf(parts)[0] == "ChM_Jersey_skin01_pnk.mdl" && GameShow::GetLookSuffix() == "_pnk");

    const i32 eve = AddProfile(Look("AppearanceFemale01.xml", "Female1", 201, CharacterAssembly::kFemale), "Eve");
    wardrobe->UnlockAnatomyPart("Shiny_Head", u32(ann), 3);
    for (const auto& [type, slot] : {std::pair{0u, ann}, {1u, ann}, {0u, eve}})
        wardrobe->UnlockOutfitPart("ChM_Top_Gold", type, u32(slot));
    wardrobe->UnlockAnatomyPart("ChM_Hair_Long.mdl", u32(ann), 3);
    EXPECT_EQ(std::count(log.Lines().begin(), log.Lines().end(), "Item was not found in the wardrobe: ChM_Top_Gold"), 2);

    const GameShow::PlayerProfile& annProfile = *manager->GetSlot(ann);
    const auto& hair = annProfile.UnlockedAnatomyParts.Parts[3];
    EXPECT_TRUE(hair.size() == 1 && hair[0].Name == "Shiny_Head.mdl" && hair[0].Id == 7u) << "a .mdl name is not found";
    const auto& tops = annProfile.UnlockedOutfitParts.Parts[0];
    EXPECT_TRUE(annProfile.UnlockedAnatomyParts.Parts[0].empty() && annProfile.UnlockedOutfitParts.Parts[1].empty() &&
                tops.size() == 1 && tops[0].Name == "ChM_Top_Gold.mdl");
    for (const auto& list : manager->GetSlot(eve)->UnlockedOutfitParts.Parts)
        EXPECT_TRUE(list.empty());
}

// Seeded random damage to the sample unlockable assemblies file and to the wardrobe and anatomy
// files of its first look: every load ends soundly and the catalogue stays usable.
TEST_F(WardrobeTest, DamagedAssembliesWardrobeAndAnatomyFilesLoadSoundly) {
    ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr);
    AddProfile(look, "Ann");
    const std::string files[] = {"UnlockableCharacterAssemblies.xml", "Wardrobe_Unlockable_AppearanceMale01.xml",
                                 "Anatomy_Unlockable_AppearanceMale01.xml"};
    std::string originals[3];
    // Stored where the loader looks for it, in lower case.
    auto store = [&](const std::string& file, const std::string& text) {
        profiletest::WriteInPlace(dir.File(Korvo(pagetest::Lower(file))), text, 4096, ' ');
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

class WardrobePage : public wardrobetest::WardrobeTest {
protected:
    void SetUp() override {
        stage.m_Characters.push_back(&avatar);
        level = &stage;  // where the profiles the fixture loads find the avatar
        WardrobeTest::SetUp();
        using authoring::Track;
        slide.Writer().Add(CompositionBase::kSlideAnimation, TypeKey::PrscAnimation,
                           authoring::PrscAnimationBytes(10, 100, Track::Vec2(), Track::Float(), Track::Vec2(),
                                                         Track::Color(), Track::UV()));
        slide.Mount();
        LoadAll();
        slot = AddProfile(look, "ANNA");
        wardrobe->UnlockAnatomyPart("ChM_Hair_Long", u32(slot), 3);
        wardrobe->UnlockOutfitPart("ChM_Top_Gold", 0, u32(slot));
        wardrobe->UnlockOutfitPart("ChM_Glasses_Star", 3, u32(slot));
        auto* root = Add<W::Panel>(&screen, WardrobeComposition::kName);
        for (const char* tab : {"tabhair", "tabglasses", "tabshirt", "tabpants", "tabshoes", "tablock"})
            tabs.push_back(Add<W::CheckBox>(root, tab));
        for (int k = 0; k < 12; ++k) {
            effects.push_back(Add<W::CheckBox>(root, "effect" + std::to_string(k)));
            bases.push_back(Add<W::Image>(root, "base" + std::to_string(k)));
            thumbs.push_back(Add<W::Image>(root, "thumb" + std::to_string(k)));
        }
        done = Add<W::Button>(root, "DoneButton");
        compositions.RegisterComposition(WardrobeComposition::kName, &page);
        page.Initialize(&screen, WardrobeComposition::kName);
        compositions.m_ReturnComposition = "compositionAwards";
    }
    void TearDown() override {
        page.Uninitialize();
        WardrobeTest::TearDown();
    }

    drawtest::TestPackage slide;
    GameServices::Entities::Set stage{"Menu"};
    i32 slot = -1;
    W::Panel screen{"MenuScreen"};
    std::vector<W::CheckBox*> tabs;
    std::vector<W::CheckBox*> effects;
    std::vector<W::Image*> bases;
    std::vector<W::Image*> thumbs;
    W::Button* done = nullptr;
    CompositionManager compositions;
    WardrobeComposition page;
};

// Each tab lists its defaults, then the profile's unlocked items; the glasses tab starts with
// the no-glasses choice of the avatar's gender; the last tab lists the extra items. Slots
// beyond the list are hidden and inactive.
TEST_F(WardrobePage, TabsListDefaultsThenUnlockedItems) {
    const Names hair = {"ChM_Hair_Afro", "Shared_Hair", "ChM_Hair_Long"};
    for (W::Image* thumb : thumbs)
        EXPECT_TRUE(thumb->Visible && !thumb->Synchronize) << "initialized, the pictures are shown with the grid";
    page.OnActivate(true);
    for (const auto& [tab, gender, names] : std::vector<std::tuple<i32, u8, Names>>{
             {0, KG::CharacterAssembly::kMale, hair},
             {1, KG::CharacterAssembly::kMale, {"ChM_No_Eyewear", "ChM_No_Eyewear", "ChM_Glasses", "ChM_Glasses_Star"}},
             {1, KG::CharacterAssembly::kFemale, {"ChF_No_Eyewear", "ChM_Glasses_Star"}},
             {2, KG::CharacterAssembly::kMale, {"ChM_Top_Disco", "x.y", "Plain", "Shared", "ChM_Top_Gold"}},
             {5, KG::CharacterAssembly::kMale,
              {"ChM_Sport", "ChM_Jersey_skin01", "Shared", "ChM_Top_Gold", "ChM_Shorts_SKIN01", "ChM_Skates"}}}) {
        SCOPED_TRACE(tab);
        avatar.VolatileDatas.GetAppearance()->Assembly.Gender = gender;
        page.SelectTab(tab == 0 ? 1 : 0);
        page.SelectTab(tab);
        EXPECT_EQ(NamesOf(page.GetShownNames()), names);
        for (size_t k = 0; k < 12; ++k) {
            EXPECT_EQ(std::pair(effects[k]->Visible && effects[k]->m_Enabled, bases[k]->Visible),
                      std::pair(k < names.size(), true)) << k;
            bases[k]->Visible = false;  // each tab shows the whole grid again
        }
    }
    // Without a current profile the lists are read for slot 0, whose unlocked items go on; a hidden
    // page builds no list.
    manager->GetSettings()->CurrentSavedGame = -1;
    page.SelectTab(0);
    page.OnActivate(false);
    page.SelectTab(1);
    EXPECT_EQ(NamesOf(page.GetShownNames()), hair);
    // Without a look on the avatar, or for a tab past the last, the grid stays.
    page.OnActivate(true);
    page.BuildItemList(i32(WardrobeComposition::kTabCount));
    KG::CharacterManager::Instance()->RemoveAppearance(avatar);
    log.Clear();
    page.SelectTab(2);
    EXPECT_TRUE(log.Contains("No Appearance defined for this character") && NamesOf(page.GetShownNames()) == hair);
}

// A press puts the item on as the tab's part; the same slot again puts nothing on; a slot past
// the list takes no press.
TEST_F(WardrobePage, PressesPutItemsOnAsTheTabsPart) {
    // The tab, the slot pressed, the avatar's try token after it (a tab with the pending token
    // starts no other try).
    const std::tuple<i32, i32, u32> presses[] = {{0, 2, 1}, {1, 3, 1}, {2, 4, 2}, {3, 0, 3}, {4, 0, 3}, {5, 0, 1}};
    page.OnActivate(true);
    for (const auto& [tab, slot, token] : presses) {
        page.SelectTab(tab);
        Click(effects[size_t(slot)]);
        EXPECT_EQ(std::pair(page.GetSelectedSlot(), avatar.GetBehaviorCharacter().tryToken), std::pair(slot, token))
            << tab;
    }
    // The hair, then the outfit; the extra item went on as the eyewear it is.
    EXPECT_EQ((Names{Hair(), Worn(0), Worn(1), Worn(2), Worn(3)}),
              (Names{"ChM_Hair_Long.mdl", "ChM_Top_Gold.mdl", "ChM_Jeans.mdl", "ChM_Boots.mdl", "ChM_Sport.mdl"}));

    // The same slot again: nothing put on.
    page.SelectTab(2);
    Click(effects[0]);
    avatarData.m_PartNames[4] = "kept";
    Click(effects[0]);
    EXPECT_EQ(Worn(0), "kept");
    // Another slot of the same tab takes the mark.
    Click(effects[1]);
    EXPECT_TRUE(IsButtonMarked(effects[1]) && !IsButtonMarked(effects[0]));

    page.SelectTab(3);
    Click(effects[5]);
    page.SelectTab(i32(WardrobeComposition::kTabCount));  // no such tab: tab 3 stays
    EXPECT_TRUE(IsButtonMarked(tabs[3]) && log.Contains("There is no wardrobe tab 6"));
    page.OnItemPressed(11);
    page.OnItemPressed(-1);
    EXPECT_EQ(page.GetSelectedSlot(), -1);

    // The avatar gone from the level: reported, nothing put on; the slot is ticked even when a press
    // the page ignored left its box ticked, so that this click unticked it.
    stage.m_Characters.clear();
    effects[0]->m_Checked = 1;
    Click(effects[0]);
    EXPECT_TRUE(log.Contains("can not find MenuAvatar") && page.GetSelectedSlot() == 0 && IsButtonMarked(effects[0]));
    page.Uninitialize();  // lets go of the slots
    page.Initialize(nullptr, WardrobeComposition::kName);  // and without its panel finds none
    for (W::CheckBox* slot : effects)
        EXPECT_EQ(slot->GetBehavior()->Event(W::kEventClick).Count(), 0u) << slot->Name.c_str();
    EXPECT_EQ(done->GetBehavior()->Event(W::kEventClick).Count(), 0u);
}

// Done keeps the avatar's look in the current profile and writes the save; without a current
// profile it writes nothing. Either way it goes back to the opener.
TEST_F(WardrobePage, DoneKeepsTheLookInTheCurrentProfileOnly) {
    // The profile is in slot 0, which a missing current slot must not stand for.
    ASSERT_EQ(slot, 0);
    for (bool current : {false, true}) {
        SCOPED_TRACE(current);
        page.OnActivate(true);
        EXPECT_TRUE(!IsButtonMarked(effects[4]) && page.GetSelectedSlot() == -1) << "each visit starts unselected";
        log.Clear();
        Click(effects[2]);
        Click(tabs[2]);
        EXPECT_EQ(log.Count(AudioManager::kButtonPressSound), 2u);
        Click(effects[4]);
        manager->GetSettings()->CurrentSavedGame = current ? slot : -1;
        KG::Appearance& worn = *avatar.VolatileDatas.GetAppearance();
        worn.Name = "Restyled.xml";
        worn.Assembly.Name = "Male2";
        worn.Assembly.Id = 102;
        worn.AnatomyParts[0].Name = "Head2.mdl";
        const std::string before = Contents();
        const u32 writes = manager->GetWriteCount();
        Click(done);
        EXPECT_TRUE(compositions.GetNextCompositionName() == "compositionAwards" &&
                    manager->GetWriteCount() == writes + (current ? 1u : 0u));
        const auto& kept = manager->GetSlot(slot)->AvatarDescription;
        EXPECT_EQ(kept.OutfitParts[0].Name == "ChM_Top_Gold.mdl" && kept.OutfitParts[0].Id == 61u &&
                      kept.AnatomyParts[3].Name == "ChM_Hair_Long.mdl" && kept.AnatomyParts[0].Name == "Head2.mdl",
                  current);
        EXPECT_EQ(kept.Name == "Restyled.xml" && kept.CharacterAssemblyName == "Male2" && kept.CharacterAssemblyId == 102,
                  current);
        // The parts keep their customizable flags, so the profile can be restyled again.
        EXPECT_TRUE(kept.OutfitParts[0].Customizable && kept.OutfitParts[3].Customizable && kept.AnatomyParts[3].Customizable);
        EXPECT_TRUE(current || Contents() == before);
        compositions.Reset();
        page.OnActivate(false);
    }
}

}  // namespace
