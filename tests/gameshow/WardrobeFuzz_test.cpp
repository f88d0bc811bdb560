// Seeded random damage to the sample unlockable assemblies file and to the wardrobe and
// anatomy files it names: every load ends soundly and the catalogue stays usable.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/gameshow/WardrobeTestSetup.h"
#include "tests/support/ByteDamage.h"

using namespace wardrobetest;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::ContainerFactory;
using GameServices::KorvoGame::OutfitPart;
using GameServices::KorvoGame::PartPool;
using GameShow::WardrobeManager;

namespace {

using WardrobeFuzz = WardrobeTest;

std::string Sample(const std::string& name) {
    return FileContents(std::string(std::getenv("TALLYVOX_DATA")) + "/characters/" + name);
}

TEST_F(WardrobeFuzz, DamagedAssembliesWardrobeAndAnatomyFilesLoadSoundly) {
    ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr);
    AddProfile(look, "Ann");
    // Two looks of the sample assemblies: fewer files to read each round.
    const std::string assemblies = Sample("UnlockableCharacterAssemblies.xml");
    const size_t male02 = assemblies.find("<item><Name>AppearanceMale02");
    const size_t female01 = assemblies.find("<item><Name>AppearanceFemale01");
    const size_t female02 = assemblies.find("<item><Name>AppearanceFemale02");
    ASSERT_TRUE(male02 != std::string::npos && female01 != std::string::npos && female02 != std::string::npos);
    const std::string files[] = {"UnlockableCharacterAssemblies.xml", "Wardrobe_Unlockable_AppearanceMale01.xml",
                                 "Anatomy_Unlockable_AppearanceMale01.xml"};
    const std::string originals[] = {assemblies.substr(0, male02) + assemblies.substr(female01, female02 - female01) +
                                         "</CharacterAssemblies></root>",
                                     Sample(files[1]), Sample(files[2])};
    auto store = [&](const std::string& file, std::string text) {
        std::string name = file;
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        // Padded with spaces to one size and written in place: truncating each round costs most.
        text.resize(4096, ' ');
        FILE* out = std::fopen(dir.File(Korvo(name)).c_str(), "r+b");
        if (!out)
            out = std::fopen(dir.File(Korvo(name)).c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    };
    for (const char* other : {"Wardrobe_Unlockable_AppearanceFemale01.xml", "Anatomy_Unlockable_AppearanceFemale01.xml"})
        store(other, Sample(other));
    for (int f = 0; f < 3; ++f)
        store(files[f], originals[f]);
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
    ASSERT_TRUE(WardrobeManager::Instance()->IsUnlockableLoaded());
    EXPECT_EQ(Hair(), "ChM_Hair_Long_skin01_pnk.mdl");
    EXPECT_EQ(Worn(0), "ChM_Top_Leisure_skin01_pnk.mdl");
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
