// The character generators: the avatar models skin back to their rest pose, and bad source
// lines are told with their place. What the real sources build is held by the content checker.
#include <gtest/gtest.h>

#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

const std::string kData = TALLYVOX_CONTENT_DATA;

// A part model skinned by its skeleton in the rest pose (the bone offsets the animations
// carry, no turn) stays where it was modelled: the bind matrices match the bones.
TEST(Character, APartModelSkinsBackToItsRestPoseAndBadSourceLinesAreReportedWithTheirLine) {
    std::vector<std::string> packages;
    for (const content::Group& group : content::Groups())
        packages.insert(packages.end(), group.packages.begin(), group.packages.end());
    content::Output art3d(kData, packages);
    content::GenerateCharacter3D(art3d);
    const auto& avatar = art3d.Packages().at("gameshowavatar3d.dir");
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

    // A bad source line is reported with its file and line, and the rest still builds.
    struct Case {
        const char* file;
        const char* good;
        const char* bad;
        const char* message;
    };
    const Case cases[] = {
        {"content/characters.txt", "look AppearanceHost Male3  1 1 1  4  4 3 3  0", "look AppearanceHost Male3  1 1 1  4  9 3 3  0",
         "Top 9 is not in the wardrobe of \"Male3\""},
        {"content/characters.txt", "look AppearanceHost Male3  1 1 1  4", "look AppearanceHost Male3  1 1 1  0",
         "1 first, eyewear 0 none"},
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
            std::string bytes = FileContents(kData + "/" + file);
            if (file == std::string(c.file)) {
                const size_t at = bytes.find(c.good);
                ASSERT_NE(at, std::string::npos) << c.good;
                bytes.replace(at, std::string(c.good).size(), c.bad);
            }
            dir.Write(file, bytes);
        }
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
