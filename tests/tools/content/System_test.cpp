#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/core/AGLocalization.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/ActionManager.h"
#include "gameservices/widget/LayoutRecords.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/gameservices/game/RecordingDeviceSystem.h"
#include "tests/support/FileContents.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

using namespace GameServices;

namespace {

class SystemContent : public ::testing::Test {
protected:
    // The generators on the given data folder (the project's own sources by default).
    void Run(const std::string& data = TALLYVOX_CONTENT_SOURCES) {
        out = std::make_unique<content::Output>(
            data, std::vector<std::string>{"gsSystem.dir", "MenuXmls.dir", "gstrcsystem.dir"});
        content::GenerateSystem(*out);
        content::GenerateStrings(*out);
    }
    const std::string& Entry(const char* package, const char* name) const {
        return out->Packages().at(package).at(name).bytes;
    }
    // The layout a popup of the popups file uses, read through the engine's layout records.
    const Widget::sWidget* PopupWidget(const std::string& popups, const std::string& popup, const std::string& name) {
        const size_t at = popups.find("<Name>" + popup + "</Name>");
        const size_t open = popups.rfind("<Layout>", at) + 8;
        std::string file = popups.substr(open, popups.find('<', open) - open);
        for (char& c : file)
            c = char(tolower(c));
        window = Widget::sWindow();
        Utilities::XmlReader reader;
        EXPECT_EQ(reader.ReadText(Entry("gsSystem.dir", file.c_str()).c_str(), "UserControl", window), 0) << file;
        for (const Widget::sWidget& grid : window.m_Widgets)
            for (const Widget::sWidget& widget : grid.m_Children)
                if (widget.m_Name == name.c_str())
                    return &widget;
        return nullptr;
    }
    std::unique_ptr<content::Output> out;
    Widget::sWindow window;
};

TEST_F(SystemContent, RuntimeParametersGiveTheStartAndEveryPoolTheGameAsksFor) {
    Run();
    ASSERT_EQ(out->Errors(), std::vector<std::string>{});
    TempDir dir;
    dir.Write("runtimeparameters.xml", Entry("gsSystem.dir", "runtimeparameters.xml"));
    ScopedWorkingDir cwd(dir.Path());
    KorvoGame::RuntimeParameters* parameters = KorvoGame::RuntimeParameters::Instance();
    parameters->LoadRuntimeParameters("runtimeparameters.xml");
    TString<char> start;
    parameters->GetParameter(&start, "Game", "StartScreenId");
    EXPECT_EQ(start, "LevelStartup");
    EXPECT_FALSE(parameters->HasParameter("Game", "StartLevelId"));
    const std::pair<const char*, u32> counts[] = {{"NbPlayer", 1}, {"NbProfiles", 4}, {"MaxStreams", 8}, {"MaxSounds", 24}};
    for (const auto& [name, want] : counts) {
        u32 value = 0;
        parameters->GetParameter(&value, name[0] == 'N' ? "Game" : "Audio", name);
        EXPECT_EQ(value, want) << name;
    }
    for (const char* pool :
         {"FactorySetElement", "FactoryCamera", "FactoryLight", "FactoryProp", "FactoryCharacter", "FactoryAudioAsset",
          "FactoryVideoAsset", "FactoryRenderableModelData", "FactoryCollisionData", "FactoryCollisionObject",
          "FactoryCollisionShapeCircle", "FactoryCollisionShapeSphere", "FactoryCollisionShapeRectangle",
          "FactoryCollisionShapeBox", "FactoryCollisionShapeModel", "FactoryDeviceTriggerKey",
          "FactoryDeviceTriggerMove", "FactoryDeviceTriggerAccel", "FactoryEntityAnimationStoryboard",
          "FactoryEntityAnimation", "FactoryEntityAnimationKeyFrame", "FactoryEntityController",
          "FactoryEntityAnimations", "FactoryEngineAnimationSkin", "FactoryEngineAnimationModel",
          "FactoryEngineAnimationTexture", "FactoryEngineAnimationUV", "FactoryEngineAnimationCamera",
          "FactoryAGStateController", "FactoryAnimationHandler", "FactoryGsAvatar", "FactoryRenderableAvatarData"})
        EXPECT_GE(KorvoGame::GetFactoryCapacity(pool), 4u) << pool;
    KorvoGame::RuntimeParameters::Destroy();
}

TEST_F(SystemContent, EveryActionTheGameListensToBindsItsControls) {
    Run();
    ActionsFolder folder;
    folder.Write("actions.xml", Entry("gsSystem.dir", "actions.xml"));
    KorvoGame::RecordingDeviceSystem devices;
    KorvoGame::ActionManager manager;
    struct Listener {
        void On(Bridge::sActionData*) {}
        KorvoGame::ActionManagerDelegate<Listener> delegate{this, &Listener::On};
    } listener;
    LogCapture log;
    manager.SetActionContext("Default");
    using Calls = std::vector<std::string>;
    const std::pair<const char*, Calls> cases[] = {
        {"Click", {"+key mouseleft none"}},
        {"Moves", {"+move axis-all"}},
        {"EnterAnswer", {"+key keyaccept press"}},
        {"BuzzSinglePlayer", {"+key keyspacebar press", "+key mouseleft press"}},
        {"SkipSequence", {"+key keyright press", "+key mouseright press"}},
        {"UnPause", {"+key keyescape press"}},
        {"EnterAIAnswer", {}},
        {"NextLevel", {}},
        {"PreviousLevel", {}},
        {"LoadLevel", {}},
    };
    for (const auto& [action, calls] : cases) {
        manager.ListenAction(action, &listener.delegate);
        EXPECT_EQ(devices.Take(), calls) << action;
    }
    EXPECT_EQ(log.Lines(), std::vector<std::string>{});
}

TEST_F(SystemContent, PopupsFindTheirButtonsAndLabelsAndTheTableHoldsTheirTexts) {
    Run();
    ASSERT_EQ(out->Errors(), std::vector<std::string>{});
    // The buttons and labels the game binds, by popup.
    const struct {
        const char* package;
        const char* file;
        const char* popup;
        std::vector<const char*> buttons;
        const char* label;
    } cases[] = {
        {"gsSystem.dir", "popups.xml", "Pause", {}, nullptr},
        {"gsSystem.dir", "popups.xml", "DataCorruption", {"Button01", "Button02"}, nullptr},
        {"gsSystem.dir", "popups.xml", "WriteError", {"Button01"}, nullptr},
        {"gsSystem.dir", "popups.xml", "DeviceController", {}, "Message01"},
        {"MenuXmls.dir", "gameshowpopups.xml", "InGameMenu", {"ResumeGame", "ReturnMainMenu"}, nullptr},
        {"MenuXmls.dir", "gameshowpopups.xml", "InGameReturnPrompt", {"Confirm", "Cancel"}, nullptr},
        {"MenuXmls.dir", "gameshowpopups.xml", "VerifyProfileDelete", {"Confirm", "Cancel"}, nullptr},
        {"MenuXmls.dir", "gameshowpopups.xml", "PlayerNameNotAvailable", {"Confirm"}, nullptr},
        {"MenuXmls.dir", "gameshowpopups.xml", "VerifyQuit", {"Confirm", "Cancel"}, nullptr},
        {"MenuXmls.dir", "gameshowpopups.xml", "WaitingForDevice", {"Back"}, nullptr},
    };
    for (const auto& c : cases) {
        const std::string popups = Entry(c.package, c.file);
        EXPECT_EQ(popups.find("AutoClose=\"false\""), std::string::npos);  // every option closes its popup
        ASSERT_NE(popups.find("<Name>" + std::string(c.popup) + "</Name>"), std::string::npos) << c.popup;
        for (const auto& [name, type] : {std::pair{"Title", Widget::kLayoutLabel}, {"MainText", Widget::kLayoutLabel}}) {
            const Widget::sWidget* widget = PopupWidget(popups, c.popup, name);
            ASSERT_NE(widget, nullptr) << c.popup << " " << name;
            EXPECT_EQ(widget->m_Type, type);
        }
        for (const char* button : c.buttons) {
            const Widget::sWidget* widget = PopupWidget(popups, c.popup, button);
            ASSERT_NE(widget, nullptr) << c.popup << " " << button;
            EXPECT_EQ(widget->m_Type, Widget::kLayoutButton);
        }
        if (c.label) {
            EXPECT_NE(PopupWidget(popups, c.popup, c.label), nullptr) << c.popup;
        }
    }
    AGLocalization table;
    const std::string& bytes = Entry("gstrcsystem.dir", "gstrc_english.loc");
    AGMemBuffer buffer(bytes.data(), u32(bytes.size()));
    table.Load(&buffer, 0, false, false);
    ASSERT_NE(table.Find(Crc32Hash("GS_CONTROLLER_01")), nullptr);
    EXPECT_EQ(*table.Find(Crc32Hash("POPUP_QUIT")), "Quit");  // spaces around '=' dropped
}

TEST_F(SystemContent, BadSourceLinesAreErrorsWithTheirPlace) {
    const struct {
        const char* file;
        const char* text;
        const char* error;
    } cases[] = {
        {"content/runtime.txt", "Game NbPlayer\n", "content/runtime.txt:1: error: expected \"<Section> <Name> <Value>\""},
        {"content/runtime.txt", "A B 1\nA B 2\n", "content/runtime.txt:2: error: \"A\" \"B\" is given twice"},
        {"content/actions.txt", "Click key press mouseleft\n", "content/actions.txt:1: error: a trigger before any"},
        {"content/actions.txt", "context D\n#\nGo key press keyenter\n",
         "content/actions.txt:3: error: key name \"keyenter\" is not in the key table"},
        {"content/actions.txt", "context D\nGo key pressed q\n", "content/actions.txt:2: error: state \"pressed\""},
        {"content/actions.txt", "context D\nGo move - axis-forward\n", "content/actions.txt:2: error: a move trigger"},
        {"content/popups.txt", "layout L.xaml\npopup Popups.xml P 0 L.xaml T\n",
         "content/popups.txt:2: error: popup \"P\" has priority 0 and would never show"},
        {"content/popups.txt", "layout L.xaml button:A\npopup Popups.xml P 1 L.xaml T\noption B T\n",
         "content/popups.txt:3: error: popup \"P\" has option \"B\", which is no button of L.xaml"},
        {"content/popups.txt", "popup Popups.xml P 1 None.xaml T\n", "content/popups.txt:1: error: popup \"P\" uses layout"},
        {"content/popups.txt", "layout L.xaml\npopup Popups.xml P 1 L.xaml T\npopup GameShowPopUps.xml P 1 L.xaml T\n",
         "content/popups.txt:3: error: popup \"P\" is described twice"},
        {"content/popups.txt", "layout L.xaml\npopup Popups.xml P 1 L.xaml MISSING\n",
         "content/popups.txt:2: error: string id \"MISSING\" has no text"},
        {"strings/english.txt", "T = t\nno equals sign\n", "strings/english.txt:2: error: expected \"KEY = text\""},
        {"strings/english.txt", "T = t\n# c\nT=u\n", "strings/english.txt:3: error: string id \"T\" is defined twice"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const char* file : {"content/runtime.txt", "content/actions.txt", "content/popups.txt"})
            dir.Write(file, "");
        dir.Write("strings/english.txt", "T = t\n");
        dir.Write(c.file, c.text);
        Run(dir.Path());
        ASSERT_FALSE(out->Errors().empty()) << c.text;
        EXPECT_EQ(out->Errors()[0].rfind(c.error, 0), 0u) << out->Errors()[0];
    }
}

// Two builds of the xml step into fresh folders give the bytes the build wrote, and the
// sources under data/ are text only.
TEST(ContentTool, BuildsAreByteIdenticalAndTheSourcesAreText) {
    TempDir first, second;
    for (const TempDir* dir : {&first, &second}) {
        const std::string command = std::string(TALLYVOX_CONTENT_TOOL) + " build " + TALLYVOX_CONTENT_SOURCES + " " +
                                    dir->File("out") + " xml 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    namespace fs = std::filesystem;
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(first.File("out"))) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), first.File("out"));
        const std::string bytes = FileContents(entry.path().string());
        EXPECT_EQ(bytes, FileContents(second.File("out/" + relative.string()))) << relative;
        EXPECT_EQ(bytes, FileContents(std::string(TALLYVOX_BUILT_CONTENT "/") + relative.string())) << relative;
        ++files;
    }
    EXPECT_GT(files, 10u);

    FILE* listing = popen("git -C " TALLYVOX_CONTENT_SOURCES " ls-files -z . 2>/dev/null", "r");
    ASSERT_NE(listing, nullptr);
    std::string names;
    for (int c; (c = fgetc(listing)) != EOF;)
        names += char(c);
    if (pclose(listing) != 0 || names.empty())
        GTEST_SKIP() << "no git checkout";
    for (size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const std::string name = names.c_str() + at;
        const std::string bytes = FileContents(std::string(TALLYVOX_CONTENT_SOURCES) + "/" + name);
        for (const unsigned char c : bytes)
            if (c < 0x09) {
                ADD_FAILURE() << name << " holds a binary byte";
                break;
            }
    }
}

}  // namespace
