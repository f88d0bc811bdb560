#pragma once
// A temporary game folder with the level XML folder, and the test pools.
#include <gtest/gtest.h>

#include <string>

#include "gameservices/bridge/FileSystem.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

// A level of every record kind: a package (the records after it are elements again), two
// cameras (the second orthographic), a light, a floor, a prop with a model animation and one
// of kind "buzzer", a character with an outfit and a skin animation, a component level read
// from "board.xml" with its own camera and prop, one without cameras, a sound and a video.
inline const char kStudioLevel[] =
    "<root><Level><Packages><Package name=\"studio.dir\"/></Packages>"
    "<Cameras><item><Name>Main</Name><PositionX>10</PositionX><LookAtY>-4.5"
    "</LookAtY><FieldOfView>45</FieldOfView><ViewPortWidth>Auto</ViewPortWidth><ViewPortHeight>"
    "300</ViewPortHeight><Activate>true</Activate><Animation mode=\"loop\" speed=\"2\"/>"
    "<ApplicationData><Score>5</Score></ApplicationData></item>"
    "<item><Name>Side</Name><Orthographic>true</Orthographic></item></Cameras>"
    "<Lights><item><Name>Key</Name><LightType>Direction</LightType><Position>0,0,0</Position>"
    "<Target>0,3,4</Target><Color>1,0.5,0</Color><Ambient>0,1,0</Ambient><Diffuse>0,0,1</Diffuse>"
    "<Specular>1,1,1</Specular><Intensity>2</Intensity><Intens>3</Intens><HotSize>4</HotSize>"
    "<FallSize>5</FallSize><Range>6</Range><AttenuationK2>0.5</AttenuationK2></item></Lights>"
    "<SetElements><item><Kind>Floor</Kind><Name>Ground</Name><PositionY>-2</PositionY>"
    "<Scale>3</Scale><RotationX>10</RotationX><RotationY>20</RotationY><RotationZ>30</RotationZ>"
    "<Visible>true</Visible></item></SetElements>"
    "<Props><item><Name>Desk</Name><EngineDataFileName>desk.MDL</EngineDataFileName>"
    "<Animation type=\"ModelAnimation\" mode=\"once\" speed=\"0.5\"><AnimationFile>open.anm"
    "</AnimationFile></Animation><PositionX>1.5</PositionX><PositionY>2</PositionY>"
    "<Visible>false</Visible><Collidable>true</Collidable><Depictors><Collision>"
    "<BoundaryScale>2</BoundaryScale><BoundaryOffsetX>1</BoundaryOffsetX><BoundaryOffsetY>-2"
    "</BoundaryOffsetY><BoundaryOffsetZ>3</BoundaryOffsetZ><EntityShape>Model</EntityShape>"
    "</Collision></Depictors></item>"
    "<item><Kind>buzzer</Kind><Name>Buzzer</Name><Activate>false</Activate></item></Props>"
    "<Characters><item><Name>Host</Name><Outfit>host.xml</Outfit><PositionZ>5</PositionZ>"
    "<RotationY>90</RotationY><Collidable>true</Collidable><Animation type=\"SkinAnimation\" mode=\"once\"><AnimationFile>"
    "wave.anm</AnimationFile><Skin name=\"Body\"><Model id=\"torso\"/></Skin></Animation>"
    "</item></Characters><ComponentLevels>"
    "<ComponentLevel name=\"Board\" filename=\"board.xml\" loadingMode=\"LoadInLayer\" "
    "zIndex=\"3\"/><ComponentLevel name=\"Overlay\" loadingMode=\"loadinlevel\"><Props>"
    "<item><Name>Badge</Name><Scale>2</Scale></item></Props></ComponentLevel></ComponentLevels>"
    "<AudioAssets><item><Name>Theme</Name><EngineDataFileName>theme.snd</EngineDataFileName>"
    "</item></AudioAssets><VideoAssets><item><Name>Intro</Name></item></VideoAssets>"
    "</Level></root>";

inline const char kBoardLevel[] =
    "<root><ComponentLevel><Cameras><item><Name>BoardCam</Name></item></Cameras><Props><item>"
    "<Name>Tile</Name></item></Props></ComponentLevel></root>";

// A level-transitions entry.
inline std::string Entry(const std::string& name, const std::string& file, const std::string& status,
                         int id) {
    return "<item><LevelNameId>" + name + "</LevelNameId><LevelFileName>" + file +
           "</LevelFileName><Status>" + status + "</Status><LevelTransitionId>" +
           std::to_string(id) + "</LevelTransitionId></item>";
}

// A level-transitions file of the given entries.
inline std::string TransitionsFile(const std::string& items) {
    return "<root><LevelTransitions><Levels>" + items + "</Levels></LevelTransitions></root>";
}

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

    // "studio.xml" and "board.xml", as given or as changed.
    void WriteStudio(const std::string& level = kStudioLevel,
                     const std::string& board = kBoardLevel) const {
        WriteLevelFile("studio.xml", level);
        WriteLevelFile("board.xml", board);
    }

    TempDir dir;
    LogCapture log;
};
