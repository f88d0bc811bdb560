#include "gameservices/game/CharacterAssemblyManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/CharacterManager.h"
#include "tests/gameservices/game/CharacterTestSetup.h"

using namespace GameServices::KorvoGame;

namespace {

size_t CountLines(const LogCapture& log, const std::string& text) {
    size_t count = 0;
    for (const std::string& line : log.Lines())
        count += line.find(text) != std::string::npos;
    return count;
}

class CharacterAssemblyManagerTest : public CharacterFixture {};

}  // namespace

TEST_F(CharacterAssemblyManagerTest, AssembliesShareFilesGetIdsFromNamesAndCheckGender) {
    WriteAssemblies(
        Assembly("<Name>Dad</Name><Id>7</Id><Anatomy>Body.xml</Anatomy>"
                 "<Wardrobe>Shared.xml</Wardrobe><Gender>Male</Gender>") +
        Assembly("<Name>Mom</Name><Anatomy>Body.xml</Anatomy>"
                 "<Wardrobe>Shared.xml</Wardrobe><Gender>Female</Gender>"));
    WriteAnatomy("body.xml", Part(1, "round.mdl"));
    CharacterAssemblyManager* manager = CharacterAssemblyManager::Instance();
    manager->PreloadCharacterAssemblies();
    manager->PreloadCharacterAssemblies();

    // The missing wardrobe both assemblies name is read (and reported) once.
    EXPECT_EQ(CountLines(log, "Can not read the Wardrobe file: "), 1u);
    EXPECT_TRUE(log.Contains("shared.xml"));
    EXPECT_FALSE(log.Contains("Anatomy file"));

    CharacterAssembly mom;
    ASSERT_TRUE(manager->FindCharacterAssembly(Crc32Hash("Mom"), mom));
    EXPECT_EQ(mom.Gender, CharacterAssembly::kFemale);

    // Gender is case-sensitive: "male" is reported and the gender stays as it was.
    sCharacterAssembly_KorvoCity record;
    record.Gender = CharacterAssembly::kMale;
    log.Clear();
    GameServices::Utilities::XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root><Name>Kid</Name><Gender>male</Gender></root>", "root", record),
              0);
    EXPECT_EQ(record.Gender, CharacterAssembly::kMale);
    EXPECT_EQ(record.Id, Crc32Hash("Kid"));
    EXPECT_TRUE(log.Contains("the Gender for this Character assembly is not set correctly"));
}

TEST_F(CharacterAssemblyManagerTest, AssembliesSwitchedOffAreNotRead) {
    WriteAssemblies(Assembly("<Name>Dad</Name><Id>7</Id><Gender>Male</Gender>"));
    dir.Write("RuntimeParameters.xml",
              ParameterFile(ParameterItem("GameServices", "UseCharacterAssemblies", "false")));
    RuntimeParameters::Instance()->LoadRuntimeParameters(dir.File("RuntimeParameters.xml").c_str());
    CharacterAssemblyManager* manager = CharacterAssemblyManager::Instance();
    manager->PreloadCharacterAssemblies();
    EXPECT_FALSE(manager->AreAssembliesLoaded());
    CharacterAssembly dad;
    EXPECT_FALSE(manager->FindCharacterAssembly(7, dad));
    EXPECT_TRUE(log.Contains("You need to preload the character assemblies first"));
}

TEST_F(CharacterAssemblyManagerTest, PartPoolsRunDryAndIgnoreADoubleFree) {
    WriteDad();
    CharacterAssemblyManager* manager = CharacterAssemblyManager::Instance();
    manager->PreloadCharacterAssemblies();

    Appearance look;
    look.Assembly.Id = Crc32Hash("Dad");
    look.OutfitParts[OUTFIT_TOP].Customizable = true;
    GameServices::Entities::Character dad("Dad");
    ASSERT_TRUE(CharacterManager::Instance()->SetAppearance(dad, look));

    Factory<OutfitPart>& pool = PartPool<OutfitPart>();
    ASSERT_EQ(pool.GetMaxSize(), 100u);
    const u32 usedBefore = pool.GetUsedCount();
    // Fill the pool but one: the list stops at the exhausted pool.
    std::vector<OutfitPart*> taken;
    while (pool.GetUsedCount() + 1 < pool.GetMaxSize())
        taken.push_back(pool.Alloc());
    {
        ContainerFactory<OutfitPart> tops;
        log.Clear();
        manager->GetOutfitParts(dad, OUTFIT_TOP, tops);
        EXPECT_EQ(tops.size(), 1u);
        EXPECT_TRUE(log.Contains("m_NbUsedObject < m_MaxSize for OutfitParts"));
        EXPECT_EQ(pool.Alloc(), nullptr);  // the 101st
        tops.Clear();
        EXPECT_TRUE(tops.empty());
        EXPECT_EQ(pool.GetUsedCount(), pool.GetMaxSize() - 1);
        manager->GetOutfitParts(dad, OUTFIT_TOP, tops);
        ASSERT_EQ(tops.size(), 1u);
        tops.Recycle(tops[0]);
        EXPECT_TRUE(tops.empty());
        EXPECT_EQ(pool.GetUsedCount(), pool.GetMaxSize() - 1);
    }
    pool.Free(taken[0]);
    pool.Free(taken[0]);
    EXPECT_EQ(pool.GetUsedCount(), pool.GetMaxSize() - 2);
    for (size_t i = 1; i < taken.size(); ++i)
        pool.Free(taken[i]);
    EXPECT_EQ(pool.GetUsedCount(), usedBefore);
    CharacterManager::Instance()->RemoveAppearance(dad);
}
