#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/PartPools.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/game/rules/MatchStage.h"
#include "tools/authoring/PackageWriter.h"

using namespace QZ2011;
using namespace match_stage;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::Appearance;
using GameServices::KorvoGame::CharacterManager;
using GameServices::KorvoGame::OutfitPart;
using GameServices::KorvoGame::PartPool;
using GameShow::PlayerProfile;
using GameShow::PlayerProfileManager;

namespace {

// Part kinds of the test wardrobes, in avatar-description order of the dressed ones.
constexpr const char* kTop = "Top";
constexpr const char* kBottom = "Bottom";
constexpr const char* kShoes = "Shoes";
constexpr const char* kHair = "Hair";

// "<assembly>_<kind><i>.mdl": item i of a list, id i + 1.
std::string ItemName(const std::string& assembly, const char* kind, int i) {
    return assembly + "_" + kind + std::to_string(i) + ".mdl";
}

struct Assembly { std::string name; unsigned id; bool male; int tops, bottoms, shoes, hairs; };

// Four-member families use these; "Tiny" has short lists.
const Assembly kAssemblies[] = {
    {"Male3", 103, true, 10, 4, 3, 5},    {"Male4", 104, true, 10, 4, 3, 5}, {"Female3", 203, false, 10, 4, 3, 5},
    {"Female4", 204, false, 10, 4, 3, 5}, {"Tiny", 301, true, 1, 2, 0, 3}};

const Assembly& AssemblyNamed(const std::string& name) {
    for (const Assembly& assembly : kAssemblies)
        if (assembly.name == name)
            return assembly;
    return kAssemblies[0];
}

std::string List(const char* element, const std::string& assembly, const char* kind, int count) {
    std::string items;
    for (int i = 0; i < count; ++i)
        items += "<item><Id>" + std::to_string(i + 1) + "</Id><Name>" + ItemName(assembly, kind, i) + "</Name></item>";
    return std::string("<") + element + ">" + items + "</" + element + ">";
}

// The file of the computer family of the decade ("70".."00", easy) that contestant i wears;
// "" for no decade.
std::string Opponent(const char* decade, int i) {
    if (!decade)
        return "";
    return std::string(decade) + "s_F1_AppearanceOpponent" + (i % 4 < 2 ? "Male0" : "Female0") +
           std::to_string(i % 2 + 1) + ".xml";
}

class FamiliesTest : public MatchStageTest {
protected:
    // The character files are in place before the game starts: it reads the assemblies once.
    void SetUp() override {
        std::filesystem::current_path(home.Path());
        std::string records;
        for (const Assembly& a : kAssemblies) {
            records += "<item><Name>" + a.name + "</Name><Id>" + std::to_string(a.id) + "</Id><Anatomy>anatomy_" +
                       a.name + ".xml</Anatomy><Wardrobe>wardrobe_" + a.name + ".xml</Wardrobe><Gender>" +
                       (a.male ? "Male" : "Female") + "</Gender></item>";
            home.Write(Character("wardrobe_" + a.name + ".xml"),
                       "<root><WardRobe>" + List("Eyewear", a.name, "Glasses", 1) +
                           List("Tops", a.name, kTop, a.tops) + List("Bottoms", a.name, kBottom, a.bottoms) +
                           List("Footwear", a.name, kShoes, a.shoes) + "</WardRobe></root>");
            home.Write(Character("anatomy_" + a.name + ".xml"),
                       "<root><AnatomyPart>" + List("head", a.name, "Head", 1) + List("eye_left", a.name, "EyeL", 1) +
                           List("eye_right", a.name, "EyeR", 1) + List("Hairstyle", a.name, kHair, a.hairs) +
                           "</AnatomyPart></root>");
        }
        home.Write("CharacterAssemblies.xml", "<root><CharacterAssemblies>" + records + "</CharacterAssemblies></root>");
        for (const char* file : {"AppearanceMale03.xml", "AppearanceMale04.xml", "AppearanceMale07.xml",
                                 "AppearanceMale0.xml"})
            WriteLook(file, "Male3");
        for (const char* file : {"AppearanceFemale03.xml", "AppearanceFemale04.xml", "AppearanceFemale0.xml"})
            WriteLook(file, "Female4");
        WriteLook("ShortName.xml", "Male3", 0, "M.x");
        WriteLook("FiveChars.xml", "Male3", 0, "3.xml");
        WriteLook("TinyLook.xml", "Tiny");
        // The computer families of the 70s and the 00s, easy: their own items, worn at index 1.
        for (const char* decade : {"70", "00"})
            for (const char* member : {"Male01", "Male02", "Female01", "Female02"})
                WriteLook(std::string(decade) + "s_F1_AppearanceOpponent" + member + ".xml",
                          member[0] == 'M' ? "Male4" : "Female3", 1);
        MatchStageTest::SetUp();
        profiles()->Initialize();
    }
    void TearDown() override {
        MatchStageTest::TearDown();
        PlayerProfileManager::Destroy();
        std::filesystem::current_path(m_Cwd);
    }

    static std::string Character(const std::string& file) {
        return "-xml/korvocity/" + authoring::LowerName(file);
    }
    // A look of the assembly wearing item `worn` of each list (a file part of id 0 where the
    // list is empty), named `name` (the file name unless given).
    void WriteLook(const std::string& file, const std::string& assembly, int worn = 0, const std::string& name = "") {
        const Assembly& a = AssemblyNamed(assembly);
        struct Field { const char* prefix; const char* kind; int count; bool customizable; };
        const Field fields[] = {{"Head", "Head", 1, false},     {"EyeLeft", "EyeL", 1, false},
                                {"EyeRight", "EyeR", 1, false}, {"Hairstyle", kHair, a.hairs, true},
                                {"Top", kTop, a.tops, true},    {"Bottom", kBottom, a.bottoms, true},
                                {"Footwear", kShoes, a.shoes, true}, {"Eyewear", "Glasses", 1, true}};
        std::string text = "<Name>" + (name.empty() ? file : name) + "</Name><CharacterAssembly_Name>" + assembly +
                           "</CharacterAssembly_Name><CharacterAssembly_Id>" + std::to_string(a.id) +
                           "</CharacterAssembly_Id>";
        for (const Field& f : fields) {
            const int index = f.count ? std::min(worn, f.count - 1) : -1;
            const std::string p = f.prefix;
            text += "<" + p + "_Name>" + (index >= 0 ? ItemName(assembly, f.kind, index) : assembly + "_file.mdl") +
                    "</" + p + "_Name><" + p + "_Id>" + std::to_string(index + 1) + "</" + p + "_Id><" + p +
                    "_Customizable>" + (f.customizable ? "true" : "false") + "</" + p + "_Customizable>";
        }
        home.Write(Character(file), "<root><Avatar_KorvoCity>" + text + "</Avatar_KorvoCity></root>");
    }

    static PlayerProfileManager* profiles() { return PlayerProfileManager::Instance(); }
    // Player 1 plays slot 0 of a two-slot document, wearing the look of that file.
    PlayerProfile* SelectPlayerOne(const std::string& look) {
        GameServices::KorvoGame::CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
        auto* document = profiles()->GetSavedFile();
        while (document->GetSavedGameCount() < 2)
            document->AddSavedGame();
        PlayerProfile* profile = document->GetSavedGame(0);
        profile->isUsed = true;
        profile->SavedGameName = "ANNA";
        GameServices::KorvoGame::AppearanceManager::Instance()->LoadAvatarDescription(look.c_str(),
                                                                                     profile->Appearance);
        profiles()->SelectProfile(0);
        return profile;
    }
    int Stored(const PlayerProfile& profile, const std::string& name) {
        int value = -1;
        profile.GetAttribute<int>(name.c_str(), value);
        return value;
    }
    // The look a character wears; an empty one without.
    static Appearance Worn(const GameServices::Entities::Character* character) {
        const Appearance* look = character ? character->VolatileDatas.GetAppearance() : nullptr;
        return look ? *look : Appearance();
    }
    static std::string LookName(const GameServices::Entities::Character* character) {
        return Worn(character).Name.c_str();
    }
    static std::string Top(const GameServices::Entities::Character* character) {
        return Worn(character).OutfitParts[0].Name.c_str();
    }
    // Puts the item of that kind on the character's look directly (no pick).
    static void Wear(GameServices::Entities::Character* character, int outfitType, const std::string& name) {
        Appearance look = Worn(character);
        if (outfitType < 0)
            look.AnatomyParts[GameServices::KorvoGame::ANATOMY_HAIRSTYLE].Name = name.c_str();
        else
            look.OutfitParts[outfitType].Name = name.c_str();
        CharacterManager::Instance()->SetAppearance(*character, look);
    }
    // Replaces a contestant's look with the one of a file.
    static void Dress(GameServices::Entities::Character* character, const std::string& file) {
        CharacterManager::Instance()->RemoveAppearance(*character);
        CharacterManager::Instance()->LoadAppearance(file.c_str(), *character);
    }
    u32 PartsInUse() const { return PartPool<OutfitPart>().GetUsedCount() + PartPool<AnatomyPart>().GetUsedCount(); }

    std::filesystem::path m_Cwd = std::filesystem::current_path();
};

}  // namespace

// Who wears which file: player 1's avatar on left member 1 (a man) or 3 (a woman), relatives in
// the files of the look digit and its partner digit (none for a digit outside 1..6 or a name
// too short to hold one), and the computer family of the decade and difficulty on the right.
TEST_F(FamiliesTest, EachFamilyWearsTheFilesOfItsLooks) {
    const std::string m3 = "AppearanceMale03.xml", f4 = "AppearanceFemale04.xml", f0 = "AppearanceFemale0.xml";
    const std::string m4 = "AppearanceMale04.xml", f3 = "AppearanceFemale03.xml";
    // left: left members 1-4; opponents: the decade of the right family's files (none: no look).
    struct Case { const char* playerLook; u32 decade, difficulty; std::vector<std::string> left;
                  const char* opponents; u8 male; };
    const Case cases[] = {
        {"AppearanceMale03.xml", 0, 0, {m3, m3, f4, f4}, "70", 1},
        {"AppearanceFemale03.xml", 0, 0, {m4, m4, f3, f3}, "70", 0},
        {"AppearanceMale07.xml", 3, 0, {"AppearanceMale07.xml", "AppearanceMale07.xml", f0, f0}, "00", 1},
        {"ShortName.xml", 4, 0, {"M.x", "AppearanceMale0.xml", f0, f0}, nullptr, 1},
        // Five characters are enough to hold a digit.
        {"FiveChars.xml", 4, 0, {"3.xml", m3, f4, f4}, nullptr, 1},
        {"AppearanceMale03.xml", 0, 3, {m3, m3, f4, f4}, nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.playerLook) + " " + std::to_string(c.decade) + "/" + std::to_string(c.difficulty));
        SelectPlayerOne(c.playerLook);
        context.m_PlayerOneMale = 1 - c.male;
        context.m_Difficulty = c.difficulty;
        StageLevel level;
        level.decade = int(c.decade);
        log.Clear();
        Enter(level);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(LookName(Member(i)), i < 4 ? c.left[size_t(i)] : Opponent(c.opponents, i)) << Contestant(i);
            EXPECT_FALSE(Member(i)->Visible) << Contestant(i);
        }
        EXPECT_EQ(context.m_PlayerOneMale, c.male);
        // The computer family is not dressed: it wears its files' items (index 1).
        for (int i = 4; i < 8 && c.opponents; ++i)
            EXPECT_EQ(Top(Member(i)), ItemName(i < 6 ? "Male4" : "Female3", kTop, 1)) << Contestant(i);
        EXPECT_EQ(Values(Face(true)->GetRotationY(), Face(false)->GetRotationY()), Values(160, 200));
        EXPECT_EQ(std::vector<QZCharacter*>(
                      {match().GetContestant(4), match().GetContestant(-1), match().GetContestant(8)}),
                  std::vector<QZCharacter*>({Member(4), nullptr, nullptr}));
    }
}

// The relatives are dressed after their references: each kind's part is another than the
// reference's. The twelve family-look names are registered, every start index the set-up used
// is stored in player 1's profile, and the save is asked for once.
TEST_F(FamiliesTest, RelativesAreDressedAfterTheirReferencesAndTheStartsAreKept) {
    // Member numbers 1-3 are, for a man, left members 2, 3 and 4 after left members 1, 1 and 3;
    // for a woman left members 1, 2 and 4 after left members 3, 1 and 3.
    struct Case { const char* look; int targets[3]; int references[3]; };
    const Case cases[] = {{"AppearanceMale03.xml", {1, 2, 3}, {0, 0, 2}},
                          {"AppearanceFemale03.xml", {0, 1, 3}, {2, 0, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.look);
        PlayerProfile* player = SelectPlayerOne(c.look);
        player->Clear();
        const u32 writes = profiles()->GetWriteCount();
        Enter(StageLevel());
        EXPECT_EQ(profiles()->GetWriteCount(), writes + 1);
        for (const char* name : QZ11Game::FamilyLookNames()) {
            EXPECT_TRUE(profiles()->HasAttribute(TString<char>(name))) << name;
            EXPECT_GE(Stored(*player, name), 0) << name;
        }
        for (int k = 0; k < 3; ++k) {
            const Appearance target = Worn(Member(c.targets[k])), reference = Worn(Member(c.references[k]));
            for (int type = 0; type < 3; ++type)
                EXPECT_NE(target.OutfitParts[type].Name, reference.OutfitParts[type].Name) << k << " " << type;
            EXPECT_NE(target.AnatomyParts[3].Name, reference.AnatomyParts[3].Name) << k;
        }
    }
}

// The same player meets the same family at the next match: the stored starts win over new
// draws and the relatives wear the same items.
TEST_F(FamiliesTest, TheNextMatchReusesTheStoredStarts) {
    PlayerProfile* player = SelectPlayerOne("AppearanceFemale03.xml");
    GameServices::Bridge::SeedRandom(5, 6, 7, 8);
    Enter(StageLevel());
    std::map<std::string, int> starts;
    for (const char* name : QZ11Game::FamilyLookNames())
        starts[name] = Stored(*player, name);
    std::vector<std::string> tops;
    for (int i = 0; i < 4; ++i)
        tops.push_back(Top(Member(i)));
    GameServices::Bridge::SeedRandom(91, 92, 93, 94);
    Enter(StageLevel());
    for (const char* name : QZ11Game::FamilyLookNames())
        EXPECT_EQ(Stored(*player, name), starts[name]) << name;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Top(Member(i)), tops[size_t(i)]) << i;
}

// The start index: a draw never starts on the last two candidates, a stored index inside the
// list is used, one outside it is drawn again and stored; lists of fewer than three start at 0
// without a draw. The scan skips the reference's item.
TEST_F(FamiliesTest, PicksStartFromTheStoredOrDrawnIndex) {
    PlayerProfile* player = SelectPlayerOne("AppearanceMale03.xml");
    Enter(StageLevel());
    QZCharacter* target = Member(1);
    QZCharacter* reference = Member(0);
    Wear(reference, 0, ItemName("Male3", kTop, 4));
    const u32 parts = PartsInUse();

    // Ten tops, no stored value: starts 0..7, each stored.
    std::set<int> drawn;
    for (u32 seed = 1; seed <= 120; ++seed) {
        GameServices::Bridge::SeedRandom(seed, 362436069u, 521288629u, 88675123u);
        player->IntAttributes.Clear();
        OutfitPart chosen;
        ASSERT_TRUE(match().PickFamilyOutfitPart(0, nullptr, target, 1, chosen));
        const int start = Stored(*player, "FamilyTopRandNum1");
        drawn.insert(start);
        EXPECT_TRUE(chosen.Name == ItemName("Male3", kTop, start).c_str() && chosen.Id == u32(start + 1));
    }
    EXPECT_EQ(std::vector<int>(drawn.begin(), drawn.end()), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    // kept: the start kept in the profile afterwards (-1: a new draw in 0..7).
    struct Case { int stored, kept, chosen; };
    // The reference wears top 4.
    const Case cases[] = {{4, 4, 5}, {0, 0, 0}, {9, 9, 9}, {10, -1, -1}, {-1, -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        player->SetAttribute<int>("FamilyTopRandNum1", c.stored);
        OutfitPart chosen;
        ASSERT_TRUE(match().PickFamilyOutfitPart(0, reference, target, 1, chosen));
        const int kept = Stored(*player, "FamilyTopRandNum1");
        EXPECT_TRUE(c.kept >= 0 ? kept == c.kept : kept >= 0 && kept <= 7);
        EXPECT_EQ(chosen.Name, ItemName("Male3", kTop, c.kept >= 0 ? c.chosen : kept == 4 ? 5 : kept).c_str());
    }
    // Member numbers outside 1..3 draw and keep nothing.
    player->IntAttributes.Clear();
    OutfitPart chosen;
    EXPECT_TRUE(match().PickFamilyOutfitPart(0, reference, target, 4, chosen));
    EXPECT_TRUE(player->IntAttributes.empty());
    EXPECT_EQ(PartsInUse(), parts);
}

// Short lists: one or two candidates start at 0 without a draw and still choose; a scan that
// reaches the end wraps round; a list of only excluded items, and an empty list, choose
// nothing, and the member keeps the part of its file. No pick leaves a part out of its pool.
TEST_F(FamiliesTest, ShortAndEmptyListsKeepTheFilesPart) {
    PlayerProfile* player = SelectPlayerOne("AppearanceMale03.xml");
    Enter(StageLevel());
    QZCharacter* target = Member(1);
    QZCharacter* reference = Member(0);
    Dress(target, "TinyLook.xml");
    Dress(reference, "TinyLook.xml");
    const u32 parts = PartsInUse();
    player->IntAttributes.Clear();
    GameServices::Bridge::SeedRandom(3, 1, 4, 1);
    const u32 next = [] {
        GameServices::Bridge::SeedRandom(3, 1, 4, 1);
        return GameServices::Bridge::RandomRange(0, 1000000);
    }();
    GameServices::Bridge::SeedRandom(3, 1, 4, 1);

    // One top (the reference wears another): chosen, start 0.
    Wear(reference, 0, "other.mdl");
    OutfitPart top;
    ASSERT_TRUE(match().PickFamilyOutfitPart(0, reference, target, 2, top));
    EXPECT_EQ(top.Name, ItemName("Tiny", kTop, 0).c_str());
    // Two bottoms, the reference in the first: the second.
    OutfitPart bottom;
    ASSERT_TRUE(match().PickFamilyOutfitPart(1, reference, target, 2, bottom));
    EXPECT_EQ(bottom.Name, ItemName("Tiny", kBottom, 1).c_str());
    EXPECT_EQ(Stored(*player, "FamilyTopRandNum2") + Stored(*player, "FamilyBottomRandNum2"), 0);
    // No draw was taken or asked for with an empty range.
    EXPECT_EQ(GameServices::Bridge::RandomRange(0, 1000000), next);
    EXPECT_EQ(LogCount("min Greater than max"), 0u);

    // Three hairstyles from stored start 2, the reference wearing the last: the scan wraps to the first.
    player->SetAttribute<int>("FamilyHairRandNum2", 2);
    Wear(reference, -1, ItemName("Tiny", kHair, 2));
    AnatomyPart hair;
    ASSERT_TRUE(match().PickFamilyHairstyle(reference, target, 2, hair));
    EXPECT_EQ(hair.Name, ItemName("Tiny", kHair, 0).c_str());
    EXPECT_EQ(Stored(*player, "FamilyHairRandNum2"), 2);
    // No shoes at all: nothing, and the stored start is left alone.
    player->SetAttribute<int>("FamilyShoesRandNum2", 6);
    OutfitPart shoes;
    EXPECT_FALSE(match().PickFamilyOutfitPart(2, reference, target, 2, shoes));
    EXPECT_EQ(Stored(*player, "FamilyShoesRandNum2"), 6);
    // Glasses have no family-look name: nothing is stored, and the reference's glasses (the
    // only ones) are skipped.
    const size_t stored = player->IntAttributes.size();
    OutfitPart glasses;
    EXPECT_FALSE(match().PickFamilyOutfitPart(3, reference, target, 2, glasses));
    EXPECT_EQ(player->IntAttributes.size(), stored);

    // Dressed: the picks that chose went on, the others kept the file's parts.
    Dress(target, "TinyLook.xml");
    match().DressFamilyMember(2, target, reference);
    const Appearance dressed = Worn(target);
    EXPECT_EQ(std::vector<std::string>({dressed.OutfitParts[0].Name.c_str(), dressed.OutfitParts[1].Name.c_str(),
                                        dressed.OutfitParts[2].Name.c_str(), dressed.AnatomyParts[3].Name.c_str()}),
              std::vector<std::string>({ItemName("Tiny", kTop, 0), ItemName("Tiny", kBottom, 1), "Tiny_file.mdl",
                                        ItemName("Tiny", kHair, 0)}));
    EXPECT_EQ(PartsInUse(), parts);

    // A missing target or a target without a look chooses nothing.
    OutfitPart none;
    EXPECT_FALSE(match().PickFamilyOutfitPart(0, reference, nullptr, 1, none));
    EXPECT_FALSE(match().PickFamilyHairstyle(reference, nullptr, 1, hair));
    CharacterManager::Instance()->RemoveAppearance(*target);
    EXPECT_FALSE(match().PickFamilyOutfitPart(0, reference, target, 1, none));
    match().DressFamilyMember(1, target, reference);
    match().DressFamilyMember(1, nullptr, reference);
    EXPECT_EQ(PartsInUse(), parts);
}

// Whose items a pick avoids: on the right (a two-player match's relatives of player 2) the
// reference's and every left member's; on the left in a single-player match only the
// reference's, whatever the right family wears.
TEST_F(FamiliesTest, TheRightFamilyAvoidsTheLeftFamilysItems) {
    PlayerProfile* player = SelectPlayerOne("AppearanceMale03.xml");
    Enter(StageLevel());
    for (int i = 0; i < 8; ++i)
        Dress(Member(i), "AppearanceMale03.xml");
    // The left family wears tops 4..7, the right reference top 3, another right member top 8.
    for (int i = 0; i < 4; ++i)
        Wear(Member(i), 0, ItemName("Male3", kTop, 4 + i));
    Wear(Member(4), 0, ItemName("Male3", kTop, 3));
    Wear(Member(6), 0, ItemName("Male3", kTop, 8));
    player->SetAttribute<int>("FamilyTopRandNum1", 3);

    struct Case { bool left; u32 twoPlayers; int reference, chosen; };
    const Case cases[] = {
        {false, 1, 4, 8},  // right: skips 3 (reference), 4..7 (left family); 8 is another right member's
        {true, 0, 4, 4},   // left, single player: skips 3 only
        {true, 0, 0, 3},   // left, the reference on the left: nothing of the right family matters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.left) + " " + std::to_string(c.reference));
        match().SetDressingLeftFamily(c.left);
        context.m_TwoPlayers = c.twoPlayers;
        OutfitPart chosen;
        ASSERT_TRUE(match().PickFamilyOutfitPart(0, Member(c.reference), Member(5), 1, chosen));
        EXPECT_EQ(chosen.Name, ItemName("Male3", kTop, c.chosen).c_str());
    }
    context.m_TwoPlayers = 0;
}

// A two-player match: both profiles are renamed for the in-game tags and go with the save,
// player 2's avatar (a woman) stands on right member 3 with her relatives in the files of her
// look and partner digits, and the right family's relatives are dressed. Without player 2's
// profile the set-up reports it, renames player 1 only and gives the right family the computer
// family's looks; without player 1's profile the left family wears them too.
TEST_F(FamiliesTest, ATwoPlayerMatchStagesPlayerTwosFamilyOrReportsItsMissingProfile) {
    for (bool withTwo : {false, true}) {
        SCOPED_TRACE(withTwo);
        PlayerProfile* one = SelectPlayerOne("AppearanceMale03.xml");
        PlayerProfile* two = profiles()->GetSavedFile()->GetSavedGame(1);
        if (withTwo) {
            two->isUsed = true;
            two->SavedGameName = "BERT";
            GameServices::KorvoGame::AppearanceManager::Instance()->LoadAvatarDescription("AppearanceFemale03.xml",
                                                                                         two->Appearance);
            profiles()->AssignPlayer(1, 1);
        }
        context.m_TwoPlayers = 1;
        context.m_PlayerTwoMale = 7;
        log.Clear();
        Enter(StageLevel());
        EXPECT_EQ(LogCount("No profile was found assigned to player id = 1") > 0, !withTwo);
        EXPECT_TRUE(one->SavedGameName == "PLAYER 1" && (two->SavedGameName == "PLAYER 2") == withTwo);
        EXPECT_EQ(context.m_PlayerTwoMale, withTwo ? 0 : 7);
        EXPECT_EQ(match().GetPlayerTwoAvatar(), withTwo ? Member(6) : nullptr);
        for (int i = 0; i < 8; ++i) {
            const std::string two = i < 6 ? "AppearanceMale04.xml" : "AppearanceFemale03.xml";
            EXPECT_EQ(LookName(Member(i)), i < 2 ? "AppearanceMale03.xml" : i < 4 ? "AppearanceFemale04.xml"
                                           : withTwo ? two : Opponent("70", i))
                << Contestant(i);
        }
    }
    // Every right relative is dressed: none wears its reference's top.
    EXPECT_NE(Top(Member(4)), Top(Member(6)));
    EXPECT_NE(Top(Member(5)), Top(Member(4)));
    EXPECT_NE(Top(Member(7)), Top(Member(6)));

    context.m_TwoPlayers = 0;
    PlayerProfileManager::Destroy();
    profiles()->Initialize();
    log.Clear();
    Enter(StageLevel());
    EXPECT_GE(LogCount("No profile was found assigned to player id = 0"), 1u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(LookName(Member(i)), Opponent("70", i)) << Contestant(i);
}
