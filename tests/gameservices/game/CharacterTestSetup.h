#pragma once
// A temporary game folder holding "CharacterAssemblies.xml" (read from the working
// directory) and the character folder of wardrobe, anatomy and avatar-description files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

class CharacterFixture : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace GameServices;
        m_cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
        Bridge::FileSystem::Destroy();
        Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        KorvoGame::CharacterAssemblyManager::Destroy();
        LoadCapacities(dir, {});
    }
    void TearDown() override {
        GameServices::KorvoGame::CharacterAssemblyManager::Destroy();
        GameServices::Bridge::FileSystem::Destroy();
        std::filesystem::current_path(m_cwd);
    }

    static std::string Assembly(const std::string& fields) { return "<item>" + fields + "</item>"; }
    void WriteAssemblies(const std::string& items) const {
        dir.Write("CharacterAssemblies.xml",
                  "<root><CharacterAssemblies>" + items + "</CharacterAssemblies></root>");
    }
    // Lists of "<item><Id>..</Id><Name>..</Name></item>" entries, by element name.
    static std::string Part(unsigned id, const std::string& name) {
        return "<item><Id>" + std::to_string(id) + "</Id><Name>" + name + "</Name></item>";
    }
    void WriteWardrobe(const std::string& name, const std::string& tops,
                       const std::string& bottoms = "", const std::string& footwear = "",
                       const std::string& eyewear = "") const {
        dir.Write("-xml/korvocity/" + name,
                  "<root><WardRobe><Eyewear>" + eyewear + "</Eyewear><Tops>" + tops +
                      "</Tops><Bottoms>" + bottoms + "</Bottoms><Footwear>" + footwear +
                      "</Footwear></WardRobe></root>");
    }
    void WriteAnatomy(const std::string& name, const std::string& heads,
                      const std::string& hairstyles = "") const {
        dir.Write("-xml/korvocity/" + name,
                  "<root><AnatomyPart><head>" + heads +
                      "</head><eye_left></eye_left><eye_right></eye_right><Hairstyle>" +
                      hairstyles + "</Hairstyle></AnatomyPart></root>");
    }

    // The assembly "Dad" (no Id) with its wardrobe, three tops among its parts, and anatomy.
    void WriteDad() const {
        WriteAssemblies(Assembly("<Name>Dad</Name><Anatomy>body.xml</Anatomy>"
                                 "<Wardrobe>dad.xml</Wardrobe><Gender>Male</Gender>"));
        WriteWardrobe("dad.xml", Part(3, "shirt.mdl") + Part(7, "polo.mdl") + Part(8, "vest.mdl"),
                      Part(4, "jeans.mdl"), Part(5, "boots.mdl"), Part(6, "glasses.mdl"));
        WriteAnatomy("body.xml", Part(1, "head.mdl"), Part(2, "curls.mdl"));
    }

    TempDir dir;
    LogCapture log;

private:
    std::filesystem::path m_cwd;
};
