// The stage generators on the real sources: the level list and level files read through the
// engine's records, each decade's stage holds what the match looks up, the behaviours name
// art that exists, the art loads through the engine's providers; bad lines are reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "engine/core/XmlReader.h"
#include "engine/graphics/AGLight.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/sLevel.h"
#include "gameservices/minigame/BehaviorRecords.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/content/Generators.h"

namespace {

using namespace GameServices;

const std::string kData = TALLYVOX_STAGE_DATA;
constexpr const char* kDecades[] = {"70", "80", "90", "00"};

// A record read from the named child of the document's root.
template <typename T>
struct Under : Utilities::ISerializable {
    explicit Under(const char* n) : name(n) {}
    void Serialize(Utilities::ISerialization& s) override { s.SerializeObject(name, record, true); }
    const char* name;
    T record;
};

template <typename T>
T Read(const std::string& text, const char* element) {
    Under<T> under(element);
    Utilities::XmlReader reader;
    EXPECT_EQ(reader.ReadText(text.c_str(), "root", under), Utilities::XmlReader::ReadOk) << element;
    return under.record;
}

class StageContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xml = new content::Output(kData, {"GlobalXml.dir"});
        content::GenerateStageXml(*xml);
        art = new content::Output(kData, {"Global3D.dir"});
        content::GenerateStage3D(*art);
    }
    static void TearDownTestSuite() {
        delete xml;
        delete art;
    }
    static const std::string& Xml(const std::string& name) { return xml->Packages().at("GlobalXml.dir").at(name).bytes; }
    static bool InArt(const std::string& name) { return art->Packages().at("Global3D.dir").count(name) > 0; }
    static KorvoGame::sLevel Level(const std::string& file) { return Read<KorvoGame::sLevel>(Xml(file), "Level"); }
    static MiniGame::sRootBehavior Behaviors(const std::string& file) {
        return Read<MiniGame::sRootBehavior>(Xml(file), "RootBehavior");
    }

    static content::Output* xml;
    static content::Output* art;
};
content::Output* StageContent::xml = nullptr;
content::Output* StageContent::art = nullptr;

TEST_F(StageContent, LevelListNamesTwelveLevelFilesThatRead) {
    EXPECT_EQ(xml->Errors(), std::vector<std::string>{});
    EXPECT_EQ(art->Errors(), std::vector<std::string>{});
    const auto list = Read<KorvoGame::sLevelTransitions>(Xml("levels.xml"), "LevelTransitions");
    ASSERT_EQ(list.Levels.size(), 12u);
    const struct {
        size_t index;
        const char *id, *file, *screen;
    } rows[] = {{0, "LevelStartup", "LevelStartup", "ScreenStartup"},
                {1, "GameShowMenu", "GameShowMenu", "MenuScreen"},
                {3, "QZ11_Game_Level1", "QZ11_Game_Level1", ""},
                {7, "QZ11_Tutorial", "QZ11_Tutorial_00", "ScreenTutorial"},
                {8, "QZ11_Game_Level2", "QZ11_Game_Level_File_1_70", "ScreenGame"}};
    for (const auto& row : rows) {
        const auto& level = list.Levels[row.index];
        EXPECT_EQ(std::string(level.LevelNameId.c_str()), row.id);
        EXPECT_EQ(std::string(level.LevelFileName.c_str()), row.file);
        EXPECT_EQ(std::string(level.RunningSceenId.c_str()), row.screen);
    }
    for (const auto& entry : list.Levels) {
        EXPECT_EQ(std::string(entry.LoadingSceenId.c_str()), "ScreenLoad");
        const KorvoGame::sLevel level = Level(authoring::LowerName(entry.LevelFileName.c_str()) + ".xml");
        ASSERT_FALSE(level.ComponentLevels.empty()) << entry.LevelFileName.c_str();
        const auto& cursors = level.ComponentLevels[0];
        EXPECT_EQ(std::string(cursors.Name.c_str()), "PlayerCursors");
        EXPECT_EQ(std::string(cursors.LoadingMode.c_str()), "loadinlayer");
        ASSERT_EQ(cursors.Props.size(), 2u);
        EXPECT_EQ(std::string(cursors.Props[1].Name.c_str()), "PlayerCursor1");
        EXPECT_EQ(std::string(cursors.Props[1].EngineDataFileName.c_str()), "cursor.spt");
        // The cursors' camera sees the screen as widgets do: every component "auto", the up
        // vector too (an absent one is (0, 1, 0) and mirrors the pointer through the centre).
        ASSERT_EQ(cursors.Cameras.size(), 1u);
        const auto& eye = cursors.Cameras[0];
        EXPECT_TRUE(eye.Orthographic);
        for (const auto* component : {&eye.PositionX, &eye.LookAtZ, &eye.UpX, &eye.UpY, &eye.UpZ})
            EXPECT_STREQ(component->c_str(), "auto") << entry.LevelFileName.c_str();
        EXPECT_FALSE(level.Cameras.empty());
    }
    const KorvoGame::sLevel menu = Level("gameshowmenu.xml");
    ASSERT_EQ(menu.Characters.size(), 1u);
    EXPECT_EQ(std::string(menu.Characters[0].Kind.c_str()) + "/" + menu.Characters[0].Outfit.c_str(),
              "MenuCharacter/AppearanceMale02.xml");
}

TEST_F(StageContent, EachDecadeHoldsWhatTheMatchLooksUp) {
    const std::map<std::string, std::vector<std::string>> dressing = {
        {"70", {"board_screenlogo"}},
        {"80", {"board_screenlogo", "desk_side_top_left", "desk_side_top_right"}},
        {"90", {"wall_lights_3_intro", "tv_screen_right", "windows_color_03", "lights_board", "spotmobil_top_reflect_02",
                "lightbeam_mobil_wide_08"}},
        {"00", {"board_score_screens", "wall_top_color_2", "floor_tiles_gradient", "arches_lights_3_right"}}};
    const std::map<std::string, size_t> stageProps = {{"70", 2}, {"80", 4}, {"90", 30}, {"00", 18}};
    for (const char* decade : kDecades) {
        const std::string file = std::string("qz11_game_level_file_1_") + decade + ".xml";
        const KorvoGame::sLevel level = Level(file);
        std::map<std::string, std::string> kindOf;
        std::map<std::string, size_t> perKind;
        for (const auto& prop : level.Props) {
            kindOf[prop.Name.c_str()] = prop.Kind.c_str();
            ++perKind[prop.Kind.c_str()];
        }
        EXPECT_EQ(perKind["StageProps"], stageProps.at(decade)) << decade;
        EXPECT_EQ(perKind["Board"], 16u);
        EXPECT_EQ(perKind["ScoreBoard"] + perKind["ScoreDesk"] + perKind["BuzzerLight"], 7u);
        for (const char* name : {"board_block_08", "board_block_dt_06", "board_block_empty_02", "board_screen10_b",
                                 "box_position_m4_left01", "box_position_m1_left", "box_position_fastmoney",
                                 "crowd_12", "host_desk", "board_lights_ingame", "buzzer_top_right"})
            EXPECT_EQ(kindOf.count(name), 1u) << decade << " " << name;
        EXPECT_EQ(kindOf["board_lights_intro"], "StageProps");
        for (const std::string& name : dressing.at(decade)) {
            EXPECT_EQ(kindOf[name], "StageProps") << decade << " " << name;
            EXPECT_NE(Xml(file).find("<TemplateBehavior>" + name + "<"), std::string::npos) << name;
        }
        EXPECT_EQ(kindOf.count("desk_digit_0") + kindOf.count("board_side_single_02"), decade == std::string("80") ? 2u : 0u);
        for (const auto& prop : level.Props) {
            const std::string name = prop.Name.c_str();
            const std::map<std::string, std::array<int, 3>> placed = {
                {"board_block_04", {-110, 140, -600}}, {"crowd_12", {375, 20, 640}}, {"box_position_m3_left", {460, 40, -60}}};
            if (placed.count(name)) {
                EXPECT_EQ((std::array<int, 3>{prop.PositionX, prop.PositionY, prop.PositionZ}), placed.at(name)) << name;
            }
        }
        ASSERT_EQ(level.SetElements.size(), 1u);
        EXPECT_EQ(std::string(level.SetElements[0].Name.c_str()), std::string("Stage") + decade);
        EXPECT_EQ(level.Cameras.size(), 10u);
        EXPECT_EQ(std::string(level.Cameras[0].Name.c_str()) + (level.Cameras[0].Activate ? "+" : ""), "cam_wide+");
        EXPECT_EQ(level.Lights.size(), 3u);
        ASSERT_EQ(level.Characters.size(), 9u);
        EXPECT_EQ(std::string(level.Characters[0].Outfit.c_str()) + " " + level.Characters[0].Animation.AnimationFile.c_str() +
                      " " + level.Characters[0].Animation.Skin.Name.c_str(),
                  "AppearanceHost.xml chm_talk.ska skel_male");
        EXPECT_EQ(std::string(level.Characters[8].Name.c_str()) + level.Characters[8].Kind.c_str(),
                  "contestant_right_4QZCharacter");
        ASSERT_EQ(level.ComponentLevels.size(), 3u);
        EXPECT_EQ(std::string(level.ComponentLevels[2].Characters[0].Name.c_str()), "avatar_face_right");
    }
    // The decade's tuning: one more in the later decades.
    for (const char* key : {"<BuzzerSpeed_Easy70>4<", "<Steal_Hard70>7<", "<questionRoundTime>25<",
                            "<String_FamilyName_Medium70>Brask<"})
        EXPECT_NE(Xml("qz11_game_level_file_1_70.xml").find(key), std::string::npos) << key;
    EXPECT_NE(Xml("qz11_game_level_file_1_00.xml").find("<AnswerDifficulty_Hard00>4<"), std::string::npos);
    EXPECT_EQ(Xml("qz11_game_level_file_1_00.xml").find("_Easy70>"), std::string::npos);
}

TEST_F(StageContent, BehavioursNameArtThatExists) {
    std::map<std::string, const MiniGame::sBehaviorEntity*> templates;
    const auto stage = Behaviors("stagebehaviors.xml");
    const auto score = Behaviors("scorebehaviors.xml");
    const auto cameras = Behaviors("camerasbehaviors.xml");
    for (const auto* file : {&stage, &score, &cameras})
        for (const auto& behavior : file->Behaviors)
            for (const auto& entity : behavior.Entities) {
                templates[std::string(behavior.Name.c_str()) + "/" + entity.Name.c_str()] = &entity;
                for (const auto& action : entity.Actions) {
                    const std::string name = action.ActionType == 1 ? action.LoopAnimation.c_str()
                                                                    : action.MaterialName.c_str();
                    EXPECT_TRUE(action.ActionType == 4 || InArt(content::EntryName(name))) << name;
                }
            }
    EXPECT_EQ(templates.size(), 17u + 1 + 2 + 50 + 1);  // board, light, score, stage props, camera
    const struct {
        const char *entity, *action, *key;
        int frame;
    } keys[] = {{"Board/Block_09", "BlockFront", "StartIFL", 6},
                {"StageBehavior/wall_2", "AnimIFL", "KeyPause", 2},
                {"StageBehavior/desk_side_top_right", "AnimIFL", "KeyPause", 1},
                {"StageBehavior/tv_screen_left", "AnimIFL", "empty", 1},
                {"StageBehavior/board_score_screens", "AnimIFL", "logo", 0},
                {"Camera/AnimatedCamera", "CameraAnimation", "KeyEnd", 89}};
    for (const auto& row : keys) {
        ASSERT_EQ(templates.count(row.entity), 1u) << row.entity;
        const auto& action = templates[row.entity]->Actions[0];
        EXPECT_EQ(std::string(action.Name.c_str()), row.action);
        bool found = false;
        for (const auto& key : action.Keys)
            found = found || (std::string(key.Name.c_str()) == row.key && key.Frame == row.frame);
        EXPECT_TRUE(found) << row.entity << " " << row.key;
    }
    EXPECT_EQ(templates["ScoreBehavior/DeskScore"]->Actions.size(), 3u);
}

TEST_F(StageContent, ModelsCamerasAndLightsLoadThroughTheEngine) {
    TempDir dir;
    ASSERT_TRUE(art->Write(dir.Path(), false, ""));
    ResourceEnvironment env(false);
    GraphicsStartup::RegisterProviders(env.Resources());
    PcDirectory package;
    package.Mount((dir.Path() + "/Global3D.dir").c_str(), false);
    const auto get = [&](u32 type, const std::string& name) {
        return GetOrLoadResource(env.Provider(type), authoring::NameId(name), 0, false, true);
    };
    for (const char* decade : kDecades) {
        const KorvoGame::sLevel level = Level(std::string("qz11_game_level_file_1_") + decade + ".xml");
        std::vector<std::string> models = {std::string("stage") + decade + ".mdl"};
        for (const auto& prop : level.Props)
            models.push_back(prop.EngineDataFileName.c_str());
        for (const std::string& name : models) {
            auto* model = static_cast<AGModel*>(get(TypeKey::Model, name));
            ASSERT_NE(model, nullptr) << name;
            ASSERT_GE(model->MeshCount(), 1u) << name;
            ASSERT_NE(model->MaterialOfMesh(0), nullptr) << name;
            EXPECT_EQ(model->MaterialOfMesh(0)->SlotCount(), 1u) << name;
            env.Provider(TypeKey::Model)->Release(model);
        }
        for (const auto& camera : level.Cameras) {
            auto* cam = static_cast<PCCam*>(get(TypeKey::Camera, camera.EngineDataFileName.c_str()));
            ASSERT_NE(cam, nullptr) << camera.Name.c_str();
            EXPECT_EQ(cam->GetEye().z, std::stof(camera.PositionZ.c_str())) << camera.Name.c_str();
            env.Provider(TypeKey::Camera)->Release(cam);
        }
    }
    // Flip-books step their textures; a box of a model maps to its own vertices.
    for (const auto& [name, frames] : std::map<std::string, u32>{{"digit_unit.slot", 11}, {"buzzer_light.slot", 2},
                                                                  {"tv_screen.slot", 2}, {"wall.slot", 4}}) {
        auto* slot = static_cast<AGTextureSlot*>(get(TypeKey::TextureSlot, name));
        ASSERT_NE(slot, nullptr) << name;
        EXPECT_EQ(slot->TextureCount(), frames) << name;
        EXPECT_TRUE(slot->IsFlipBook()) << name;
        env.Provider(TypeKey::TextureSlot)->Release(slot);
    }
    const std::string& mesh = art->Packages().at("Global3D.dir").at("screen_digits_2.mesh").bytes;
    ASSERT_GT(mesh.size(), 30u);
    EXPECT_EQ(uint8_t(mesh[28]) | uint8_t(mesh[29]) << 8, 48);  // the first index of the third box
    for (const char* name : {"light_key.lgt", "light_fill.lgt", "light_back.lgt", "board_block_flip.prs"})
        EXPECT_TRUE(InArt(name)) << name;
    package.Unmount();
}

TEST_F(StageContent, BadSourceLinesAreReportedWithTheirLine) {
    const struct {
        const char *file, *line, *message;
        bool art;
    } cases[] = {
        {"content/levels.txt", "level A B C bogus", "unknown level recipe", false},
        {"content/levels.txt", "family 70 Easy 4 4 1 4 10 A B C D E", "five numbers 0 to 9", false},
        {"content/stage.txt", "all crowd_{03..01} - crowd@.mdl 0 0 0", "bad name range", false},
        {"content/stage.txt", "70 odd - none.mdl 0 0 0", "which no model recipe makes", false},
        {"content/stage.txt", "70 odd Board marker.mdl 0 0 0 behavior", "takes a behaviour template", false},
        {"content/stage.txt", "70 odd - marker.mdl 0 0 zero", "needs decades, name", false},
        {"content/cameras.txt", "show cam_x 1 0 0 0 0 0 0 40 0 0 0 0 0 0 40", "bad camera numbers", false},
        {"content/art/stage.txt", "material odd sparkle 000000", "unknown material recipe", true},
        {"content/art/stage.txt", "model odd nothing 1 1 1", "unknown material", true},
        {"content/art/stage.txt", "material marker solid show.digit", "defined twice", true},
        {"content/art/stage.txt", "palette show odd=12345", "<role>=<rrggbb>", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        int lines = 0;
        for (const char* source : {"content/levels.txt", "content/stage.txt", "content/cameras.txt",
                                   "content/art/stage.txt"}) {
            std::ifstream in(kData + "/" + source);
            std::stringstream text;
            text << in.rdbuf();
            std::string bytes = text.str();
            if (source == std::string(c.file)) {
                lines = int(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
                bytes += std::string(c.line) + "\n";
            }
            dir.Write(source, bytes);
        }
        content::Output out(dir.Path(), {"GlobalXml.dir", "Global3D.dir"});
        c.art ? content::GenerateStage3D(out) : content::GenerateStageXml(out);
        const std::string where = std::string(c.file) + ":" + std::to_string(lines);
        bool found = false;
        for (const std::string& error : out.Errors())
            found = found || (error.rfind(where, 0) == 0 && error.find(c.message) != std::string::npos);
        EXPECT_TRUE(found) << c.line << "\n" << ::testing::PrintToString(out.Errors());
    }
}

}  // namespace
