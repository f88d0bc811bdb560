// The character content built from the real sources, read back through the game's own
// records and the engine's loaders.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/CharacterAssemblyRecords.h"
#include "gameservices/minigame/BehaviorRecords.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/WardrobeManager.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/content/Generators.h"

namespace {

using namespace GameServices::KorvoGame;
using GameServices::Utilities::ISerializable;
using GameServices::Utilities::ISerialization;
using GameServices::Utilities::SerializableVector;

const std::string kData = TALLYVOX_CONTENT_DATA;

// Reads a record from the child element of "root".
template <typename T>
struct Under : ISerializable {
    explicit Under(const char* element) : name(element) {}
    void Serialize(ISerialization& s) override { s.SerializeObject(name, record, true); }
    const char* name;
    T record;
};

template <typename T>
T Read(const content::Output& out, const std::string& package, const std::string& entry, const char* element) {
    const auto& entries = out.Packages().at(package);
    const auto found = entries.find(content::EntryName(entry));
    EXPECT_NE(found, entries.end()) << entry;
    Under<T> under(element);
    GameServices::Utilities::XmlReader reader;
    if (found != entries.end()) {
        EXPECT_EQ(reader.ReadText(found->second.bytes.c_str(), "root", under), 0) << entry;
    }
    return under.record;
}

bool Has(const content::Output& out, const std::string& package, const std::string& entry) {
    return out.Packages().at(package).count(content::EntryName(entry)) != 0;
}

class Character : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const content::Group& group : content::Groups()) {
            auto& out = outputs[group.name];
            out = std::make_unique<content::Output>(kData, std::vector<std::string>(group.packages.begin(), group.packages.end()));
            if (std::string(group.name) == "xml")
                content::GenerateCharacterXml(*out);
            else if (std::string(group.name) == "art2d")
                content::GenerateCharacterArt(*out);
            else if (std::string(group.name) == "art3d")
                content::GenerateCharacter3D(*out);
        }
    }
    static const content::Output& Out(const char* group) { return *outputs.at(group); }
    static inline std::map<std::string, std::unique_ptr<content::Output>> outputs;
};

TEST_F(Character, TheRealSourcesBuildWithoutErrors) {
    for (const auto& [group, out] : outputs)
        EXPECT_EQ(out->Errors(), std::vector<std::string>()) << group;
    EXPECT_EQ(Out("xml").Packages().at("gameshowavatarxmls.dir").size(), 12u);
    size_t opponents = 0;
    for (const auto& [name, item] : Out("xml").Packages().at("CharactereXML.dir"))
        opponents += name.find("_appearanceopponent") != std::string::npos;
    EXPECT_EQ(opponents, 48u);
}

// Every look names its own file, an assembly of the default file, and parts whose ids its
// assembly's wardrobe and anatomy give under the same names.
TEST_F(Character, EveryLooksPartsAreInItsAssemblysWardrobe) {
    const auto& xml = Out("xml");
    auto assemblies = Read<SerializableVector<sCharacterAssembly_KorvoCity>>(xml, "CharactereXML.dir",
                                                                            "CharacterAssemblies.xml", "CharacterAssemblies");
    ASSERT_EQ(assemblies.size(), 12u);
    std::map<u32, sCharacterAssembly_KorvoCity> byId;
    for (const auto& a : assemblies.Items())
        byId[a.Id] = a;
    EXPECT_EQ(byId.begin()->first, 101u);
    EXPECT_EQ(byId.rbegin()->first, 206u);
    size_t looks = 0;
    for (const char* package : {"gameshowavatarxmls.dir", "CharactereXML.dir"})
        for (const auto& [entry, item] : xml.Packages().at(package)) {
            if (!entry.starts_with("appearance") && entry.find("_appearanceopponent") == std::string::npos)
                continue;
            ++looks;
            const auto look = Read<sAppearance_KorvoCity>(xml, package, entry, "Avatar_KorvoCity");
            EXPECT_EQ(authoring::LowerName(look.Name.c_str()), entry);
            ASSERT_TRUE(byId.count(look.CharacterAssemblyId)) << entry;
            const auto& assembly = byId[look.CharacterAssemblyId];
            EXPECT_EQ(look.CharacterAssemblyName, assembly.Name);
            EXPECT_EQ(assembly.Gender == CharacterAssembly::kMale, look.AnatomyParts[0].Name.SubString(0, 4) == "ChM_");
            const auto wardrobe = Read<sWardRobe_KorvoCity>(xml, "CharactereXML.dir", assembly.Wardrobe.c_str(), "WardRobe");
            const auto anatomy = Read<sAnatomy_KorvoCity>(xml, "CharactereXML.dir", assembly.Anatomy.c_str(), "AnatomyPart");
            for (u32 t = 0; t < 4; ++t) {
                auto named = [](const auto& list, const auto& entry) {
                    for (const auto& part : list.Items())
                        if (part.Id == entry.Id && part.Name == entry.Name)
                            return true;
                    return false;
                };
                EXPECT_TRUE(named(wardrobe.Parts[t], look.OutfitParts[t])) << entry << " outfit " << t;
                EXPECT_TRUE(named(anatomy.Parts[t], look.AnatomyParts[t])) << entry << " anatomy " << t;
                EXPECT_EQ(look.OutfitParts[t].Customizable, true);
                EXPECT_EQ(look.AnatomyParts[t].Customizable, t == ANATOMY_HAIRSTYLE);
            }
        }
    EXPECT_EQ(looks, 12u + 48u + 1u);
}

// The twenty titles the game grants, five groups of four; each unlocks, for every default
// look, an item of that look's unlockable assembly, of the stated type, with its picture.
TEST_F(Character, AwardsUnlockAnItemOfEveryDefaultLook) {
    const auto& xml = Out("xml");
    GameShow::sAwardList awards;
    GameServices::Utilities::XmlReader reader;
    ASSERT_EQ(reader.ReadText(xml.Packages().at("GlobalXml.dir").at("awards.xml").bytes.c_str(), "root", awards), 0);
    const std::set<std::string> titles = {
        "70s Pro", "80s Pro", "90s Pro", "00s Pro", "The Thief", "Board Cleaner", "The Double", "Survey Beast",
        "All About Money", "Faceoff Champ", "Until The End", "The Comeback", "The Beginner", "Top Player",
        "Beat Them All", "Time Is Nothing", "Good Start", "Faceoff Acolyte", "Time Is Money", "Points Vessel"};
    // The wardrobe keeps the award items by the look's key.
    const auto records = Read<SerializableVector<sCharacterAssembly_KorvoCity>>(
        xml, "CharactereXML.dir", "UnlockableCharacterAssemblies.xml", "CharacterAssemblies");
    std::map<std::string, sCharacterAssembly_KorvoCity> unlockable;
    for (const auto& record : records.Items())
        unlockable[record.Name.c_str()] = record;
    ASSERT_EQ(unlockable.size(), 12u);
    std::set<std::string> seen;
    ASSERT_EQ(awards.MetaAwards.size(), 5u);
    for (const auto& group : awards.MetaAwards.Items()) {
        ASSERT_EQ(group.Awards.size(), 4u) << group.Title.c_str();
        EXPECT_FALSE(titles.count(group.Title.c_str())) << "a group must not take an award's title";
        for (const auto& award : group.Awards.Items()) {
            seen.insert(award.Title.c_str());
            ASSERT_EQ(award.Unlockables.size(), 12u);
            for (const auto& item : award.Unlockables.Items()) {
                const std::string key = item.AppearanceName.c_str();
                const bool hair = item.Type == "Hair";
                static const std::map<std::string, u32> kTypes = {{"Top", 0}, {"Bottom", 1}, {"Footwear", 2}, {"Eyewear", 3}};
                ASSERT_TRUE(hair || kTypes.count(item.Type.c_str())) << item.Type.c_str();
                ASSERT_TRUE(unlockable.count(key)) << key;
                const auto& assembly = unlockable[key];
                EXPECT_EQ(assembly.Gender == CharacterAssembly::kMale, key.find("Male") != std::string::npos) << key;
                const auto anatomy = Read<sAnatomy_KorvoCity>(xml, "CharactereXML.dir", assembly.Anatomy.c_str(), "AnatomyPart");
                const auto wardrobe = Read<sWardRobe_KorvoCity>(xml, "CharactereXML.dir", assembly.Wardrobe.c_str(), "WardRobe");
                bool listed = false;
                if (hair) {
                    for (const auto& part : anatomy.Parts[3].Items())
                        listed = listed || part.Name == item.UnlockableModel;
                } else {
                    for (const auto& part : wardrobe.Parts[kTypes.at(item.Type.c_str())].Items())
                        listed = listed || part.Name == item.UnlockableModel;
                }
                EXPECT_TRUE(listed) << award.Title.c_str() << " " << key << " " << item.UnlockableModel.c_str();
                EXPECT_TRUE(Has(Out("art2d"), "general_globalgameassets.dir",
                                GameShow::AwardsComposition::GetThumbnailName(item.UnlockableModel).c_str()));
            }
        }
    }
    EXPECT_EQ(seen, titles);
}

// The actions the contestants and the menu avatar play, each a skin animation of a skeleton
// that the avatar package holds, ending where its animation ends.
TEST_F(Character, BehavioursDefineEveryActionOnPackagedSkins) {
    struct Case {
        const char* package;
        const char* file;
        const char* behaviour;
        std::vector<const char*> templates;
        std::vector<const char*> actions;
        size_t actionCount;
    };
    const Case cases[] = {
        {"GlobalXml.dir", "Behaviors.xml", "MaleAvatar",
         {"CharacterMale1", "CharacterMale2", "CharacterFemale1", "CharacterFemale2"},
         {"Salutation01", "Walk", "WaitForBuzz", "BuzzLeft", "BuzzRight", "WinSmallFamily", "WinBigFamily",
          "LoseBigFamily", "ThinkFamily", "ClapFamily1", "Pose70EasyM1", "Pose00FamilyF2", "Pose80HardF1"},
         19 + 64},
        {"MenuXmls.dir", "GameShowBehaviors.xml", "MenuAvatar", {"CharacterMale", "CharacterFemale"},
         {"Idle", "LoopBreak", "Try_All", "Try_Head", "Try_Top", "Try_Bottom"}, 6},
    };
    const auto& avatar = Out("art3d").Packages().at("gameshowavatar3d.dir");
    for (const Case& c : cases) {
        const auto root = Read<GameServices::MiniGame::sRootBehavior>(Out("xml"), c.package, c.file, "RootBehavior");
        ASSERT_EQ(root.Behaviors.size(), 1u);
        EXPECT_EQ(root.Behaviors[0].Name, c.behaviour);
        const auto& entities = root.Behaviors[0].Entities;
        ASSERT_EQ(entities.size(), c.templates.size());
        for (size_t t = 0; t < c.templates.size(); ++t) {
            EXPECT_EQ(entities[t].Name, c.templates[t]);
            std::set<std::string> names;
            for (const auto& action : entities[t].Actions.Items()) {
                names.insert(action.Name.c_str());
                EXPECT_EQ(action.ActionType, 0) << action.Name.c_str();
                ASSERT_EQ(action.Skin.Models.size(), 1u);
                EXPECT_EQ(action.Skin.Models[0].id, "all");
                EXPECT_TRUE(avatar.count(action.Skin.name.c_str())) << action.Skin.name.c_str();
                EXPECT_EQ(action.Transitions.Actions, "AllActions");
                const auto animation = avatar.find(content::EntryName(action.LoopAnimation.c_str()));
                ASSERT_NE(animation, avatar.end()) << action.LoopAnimation.c_str();
                AGSkinAnimation loaded;
                LoadBytes(loaded, animation->second.bytes);
                ASSERT_EQ(action.Keys.size(), 1u);
                EXPECT_EQ(action.Keys[0].Name, "endKey");
                EXPECT_EQ(f32(action.Keys[0].Frame), loaded.m_frameCount - 1) << action.Name.c_str();
            }
            EXPECT_EQ(names.size(), c.actionCount);
            for (const char* action : c.actions)
                EXPECT_TRUE(names.count(action)) << c.templates[t] << " " << action;
        }
    }
    const auto male = Read<GameServices::MiniGame::sRootBehavior>(Out("xml"), "GlobalXml.dir", "Behaviors.xml", "RootBehavior");
    ASSERT_EQ(male.Behaviors[0].Entities[0].Parameters.size(), 1u);
    EXPECT_EQ(male.Behaviors[0].Entities[0].Parameters[0].Value, "2000");
}

// Every item of the three assembly files has its model (skin-toned extra items in every tone
// of the wearer's suffix) and, for hair and outfit, the wardrobe's thumbnail with its sprite;
// every default look and computer family has its picture.
TEST_F(Character, ItemsHaveModelsAndPictures) {
    const auto& xml = Out("xml");
    const auto& models = Out("art3d");
    const auto& pictures = Out("art2d");
    auto picture = [&](const std::string& png) {
        // The widgets ask for the sprite by its lower-cased name.
        const std::string base = authoring::LowerName(png.substr(0, png.size() - 4));
        return Has(pictures, "general_globalgameassets.dir", png) &&
               Has(pictures, "general_globalgameassets.dir", base + ".spt") &&
               Has(pictures, "general_globalgameassets.dir", base + ".mat");
    };
    size_t items = 0;
    for (const char* file : {"CharacterAssemblies.xml", "UnlockableCharacterAssemblies.xml", "RetailerCharacterAssemblies.xml"}) {
        auto list = Read<SerializableVector<sCharacterAssembly_KorvoCity>>(xml, "CharactereXML.dir", file, "CharacterAssemblies");
        for (const auto& assembly : list.Items()) {
            std::vector<std::pair<TString<char>, bool>> names;  // name, has a thumbnail
            const auto wardrobe = Read<sWardRobe_KorvoCity>(xml, "CharactereXML.dir", assembly.Wardrobe.c_str(), "WardRobe");
            for (const auto& parts : wardrobe.Parts)
                for (const auto& part : parts.Items())
                    names.emplace_back(part.Name, true);
            if (!assembly.Anatomy.IsEmpty()) {
                const auto anatomy = Read<sAnatomy_KorvoCity>(xml, "CharactereXML.dir", assembly.Anatomy.c_str(), "AnatomyPart");
                for (u32 t = 0; t < 4; ++t)
                    for (const auto& part : anatomy.Parts[t].Items())
                        names.emplace_back(part.Name, t == ANATOMY_HAIRSTYLE);
            }
            for (const auto& [name, thumbnail] : names) {
                ++items;
                EXPECT_TRUE(Has(models, "gameshowavatar3d.dir", name.c_str())) << name.c_str();
                const TString<char> cut = GameShow::WardrobeManager::CutExtension(name);
                if (thumbnail) {
                    EXPECT_TRUE(picture(GameShow::AwardsComposition::GetThumbnailName(cut).c_str())) << name.c_str();
                }
                if (std::string(cut.c_str()).ends_with("skin01")) {
                    for (const char* tone : {"_pnk", "_dpnk", "_blk", "_yel", "_wht", "_brw"})
                        EXPECT_TRUE(Has(models, "gameshowavatar3d.dir", std::string(cut.c_str()) + tone + ".mdl"));
                }
            }
        }
    }
    EXPECT_GT(items, 300u);
    for (const char* gender : {"Male", "Female"})
        for (int n = 1; n <= 6; ++n)
            EXPECT_TRUE(picture("Thumbnail_Appearance" + std::string(gender) + "0" + std::to_string(n) + ".png"));
    for (const char* level : {"Easy", "Normal", "Hard"})
        for (const char* decade : {"70", "80", "90", "00"})
            EXPECT_TRUE(picture(std::string("Family_Big_") + level + decade + ".png"));
}

// A part model skinned by its skeleton in the rest pose (the bone offsets the animations
// carry, no turn) stays where it was modelled: the bind matrices match the bones.
TEST_F(Character, APartModelSkinsBackToItsRestPose) {
    const auto& avatar = Out("art3d").Packages().at("gameshowavatar3d.dir");
    for (const char* prefix : {"chm", "chf"}) {
        AGSkin skin;
        LoadBytes(skin, avatar.at(prefix == std::string("chm") ? "skel_male" : "skel_female").bytes);
        ASSERT_EQ(skin.BoneCount(), 15u);
        AGSkinAnimation idle;
        LoadBytes(idle, avatar.at(std::string(prefix) + "_idle.ska").bytes);
        ASSERT_EQ(idle.BoneCount(), 15u);
        EXPECT_EQ(idle.m_frameCount, 60.0f);
        for (u32 b = 0; b < 15; ++b) {
            skin.Bones()[idle.m_boneIndices[b]].position = idle.m_positions[b].Values()[0];
            skin.Bones()[idle.m_boneIndices[b]].rotation = AGQuat{};
        }
        skin.Update();
        const std::string cased = prefix == std::string("chm") ? "ChM" : "ChF";
        AGVertexBuffer vb;
        LoadBytes(vb, avatar.at(cased + "_Top_Disco_skin01_pnk.vb").bytes);
        ASSERT_EQ(vb.BoneCount(), 15u);
        // Skin-toned items differ by their tone only.
        EXPECT_NE(avatar.at(cased + "_Head01_skin01_pnk.vb").bytes, avatar.at(cased + "_Head01_skin01_blk.vb").bytes);
        ASSERT_EQ(vb.InfluenceCount(), vb.PositionCount());
        AGVertexBufferDynamic skinned;
        ASSERT_TRUE(skinned.Initialize(vb));
        skinned.Skin(vb, skin.Bones(), skin.BoneCount());
        for (u32 v = 0; v < vb.PositionCount(); v += 7) {
            EXPECT_NEAR(skinned.m_positions[v].x, vb.m_positions[v].x, 1e-3f);
            EXPECT_NEAR(skinned.m_positions[v].y, vb.m_positions[v].y, 1e-3f);
        }
    }
}

// Mounted, a part model loads with its skinned vertex buffer, its mesh and its material.
TEST_F(Character, APartModelLoadsFromTheMountedPackage) {
    drawtest::TestPackage package;
    for (const auto& [name, item] : Out("art3d").Packages().at("gameshowavatar3d.dir"))
        package.Writer().Add(name, item.typeId, item.bytes);
    package.Mount();
    for (const char* name : {"ChF_Bottom_Skirt_skin01_brw.mdl", "ChM_No_Eyewear.mdl"}) {
        auto* model = package.Get<AGModel>(TypeKey::Model, name);
        ASSERT_NE(model, nullptr);
        ASSERT_NE(model->GetVertexBuffer(), nullptr) << name;
        EXPECT_TRUE(model->GetVertexBuffer()->IsSkinned()) << name;
        EXPECT_NE(model->GetDynamicVertexBuffer(), nullptr) << name;
        ASSERT_EQ(model->MeshCount(), 1u) << name;
        EXPECT_TRUE(model->IsMeshDrawn(0)) << name;
        EXPECT_EQ(model->GetMesh(0)->VertexCount(), model->GetVertexBuffer()->PositionCount()) << name;
        ASSERT_NE(model->MaterialOfMesh(0), nullptr) << name;
        EXPECT_EQ(model->MaterialOfMesh(0)->SlotCount(), 1u) << name;
        package.GiveBack(TypeKey::Model, model);
    }
}

// A bad source line is reported with its file and line, and the rest still builds.
TEST_F(Character, BadSourceLinesAreReportedWithTheirLine) {
    struct Case {
        const char* file;
        const char* good;
        const char* bad;
        const char* message;
    };
    const Case cases[] = {
        {"content/characters.txt", "look AppearanceHost Male3  1 1 1  4  4 3 3  1", "look AppearanceHost Male3  1 1 1  4  9 3 3  1",
         "Top 9 is not in the wardrobe of \"Male3\""},
        {"content/characters.txt", "assembly Male6    106 Male   wht", "assembly Male6    1x6 Male   wht", "expected \"assembly"},
        {"content/behaviors.txt", "action MenuAvatar Try_Top    TryTop    once", "action MenuAvatar Try_Top    TryTop    twice",
         "malformed \"action\""},
        {"content/awards.txt", "| Hair_Topknot Hair_Bun", "| Hair_Topknot Hair_Afro", "needs a male and a female unlockable"},
        {"content/art/characters.txt", "anim Pose8     30", "anim Pose8     3O", "malformed \"anim\""},
        {"content/art/characters.txt", "wear Male   Hair_Crew          hair_short FF3A2816", "wear Male   Hair_Crew          hair_shrt FF3A2816",
         "malformed \"wear\""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const char* file : {"content/characters.txt", "content/behaviors.txt", "content/awards.txt", "content/art/characters.txt"}) {
            std::ifstream in(kData + "/" + file);
            std::stringstream text;
            text << in.rdbuf();
            std::string bytes = text.str();
            if (file == std::string(c.file)) {
                const size_t at = bytes.find(c.good);
                ASSERT_NE(at, std::string::npos) << c.good;
                bytes.replace(at, std::string(c.good).size(), c.bad);
            }
            dir.Write(file, bytes);
        }
        std::vector<std::string> packages;
        for (const content::Group& group : content::Groups())
            packages.insert(packages.end(), group.packages.begin(), group.packages.end());
        content::Output out(dir.Path(), packages);
        content::GenerateCharacterXml(out);
        content::GenerateCharacter3D(out);
        content::GenerateCharacterArt(out);
        const std::vector<std::string>& errors = out.Errors();
        ASSERT_FALSE(errors.empty()) << c.bad;
        EXPECT_NE(errors[0].find(std::string(c.file) + ":"), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
    }
}

}  // namespace
