// Seeded random damage to the sample unlockable assemblies file and to the wardrobe and
// anatomy files it names: every load ends soundly and the catalogue stays usable.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/gameshow/WardrobeTestSetup.h"
#include "tests/support/ByteDamage.h"

using namespace wardrobetest;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::ContainerFactory;
using GameServices::KorvoGame::OutfitPart;
using GameServices::KorvoGame::PartPool;
using GameShow::WardrobeManager;

namespace {

class WardrobeFuzz : public WardrobeTest {
protected:
    static std::string Sample(const std::string& name) {
        return FileContents(std::string(std::getenv("TALLYVOX_DATA")) + "/characters/" + name);
    }
    static std::string Lower(std::string name) {
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return name;
    }

    // The text padded with spaces (which the reader skips) to one size and written over the
    // file in place: truncating a file each round costs more than everything else.
    void StoreInPlace(const std::string& name, std::string text) {
        text.resize(kFileSize, ' ');
        const std::string path = dir.File(Korvo(name));
        FILE* file = std::fopen(path.c_str(), "r+b");
        if (!file)
            file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
        std::fclose(file);
    }
    static constexpr size_t kFileSize = 4096;

    // A fresh catalogue over the files as they are now, then every operation on it.
    void LoadAndUse() {
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
    }

    u32 outfitBase = 0;
    u32 anatomyBase = 0;
};

TEST_F(WardrobeFuzz, DamagedAssembliesWardrobeAndAnatomyFilesLoadSoundly) {
    ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr);
    AddProfile(look, "Ann");
    const std::string files[] = {
        "UnlockableCharacterAssemblies.xml",
        "Wardrobe_Unlockable_AppearanceMale01.xml",
        "Anatomy_Unlockable_AppearanceMale01.xml",
    };
    // Two looks of the sample file: fewer files to read each round.
    const std::string sample = Sample(files[0]);
    const size_t male02 = sample.find("<item><Name>AppearanceMale02");
    const size_t female01 = sample.find("<item><Name>AppearanceFemale01");
    const size_t female02 = sample.find("<item><Name>AppearanceFemale02");
    ASSERT_TRUE(male02 != std::string::npos && female01 != std::string::npos && female02 != std::string::npos);
    const std::string originals[] = {
        sample.substr(0, male02) + sample.substr(female01, female02 - female01) + "  </CharacterAssemblies>\n</root>\n",
        Sample(files[1]),
        Sample(files[2]),
    };
    for (const char* other : {"Wardrobe_Unlockable_AppearanceFemale01.xml", "Anatomy_Unlockable_AppearanceFemale01.xml"})
        WriteKorvo(Lower(other), Sample(other));
    for (int f = 0; f < 3; ++f) {
        ASSERT_LT(originals[f].size(), kFileSize);
        StoreInPlace(Lower(files[f]), originals[f]);
    }
    // Undamaged, the sample items are found.
    LoadAndUse();
    ASSERT_TRUE(WardrobeManager::Instance()->IsUnlockableLoaded());
    EXPECT_EQ(Hair(), "ChM_Hair_Long_skin01_pnk.mdl");
    EXPECT_EQ(Worn(0), "ChM_Top_Leisure_skin01_pnk.mdl");
    WardrobeManager::Destroy();
    outfitBase = PartPool<OutfitPart>().GetUsedCount();
    anatomyBase = PartPool<AnatomyPart>().GetUsedCount();

    std::mt19937 rng(3030);
    for (int f = 0; f < 3; ++f) {
        SCOPED_TRACE(files[f]);
        for (int round = 0; round < 5000; ++round) {
            std::string bytes = originals[f];
            DamageBytes(bytes, rng, 1 + int(rng() % 4));
            StoreInPlace(Lower(files[f]), bytes);
            log.Clear();
            LoadAndUse();
            if (HasFatalFailure())
                return;
        }
        StoreInPlace(Lower(files[f]), originals[f]);
    }
}

}  // namespace
