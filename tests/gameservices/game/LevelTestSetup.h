#pragma once
// A temporary game folder with the level XML folder, and the test pools.
#include <gtest/gtest.h>

#include <string>

#include "gameservices/bridge/FileSystem.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

class LevelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        using namespace GameServices;
        Bridge::FileSystem::Destroy();
        Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
        RegisterTestPools(dir);
    }
    void TearDown() override { GameServices::Bridge::FileSystem::Destroy(); }

    // A file of the level XML folder.
    void WriteLevelFile(const std::string& name, const std::string& text) const {
        dir.Write("-xml/levels/" + name, text);
    }
    // The level file name + ".xml" with the given children of its "Level" element.
    void WriteLevel(const std::string& name, const std::string& children) const {
        WriteLevelFile(name + ".xml", "<root><Level>" + children + "</Level></root>");
    }

    TempDir dir;
    LogCapture log;
};
