#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/XmlReader.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "game/presentation/screens/QZ11DecadeSelector.h"
#include "game/presentation/screens/QZ11DifficultySelector.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/presentation/screens/ScreenLoad.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/LayoutRecords.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetManager.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/ConnectionErrorComposition.h"
#include "gameshow/CreditsComposition.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/KeyboardComposition.h"
#include "gameshow/NumberOfPlayerComposition.h"
#include "gameshow/OptionsComposition.h"
#include "gameshow/ProfilesComposition.h"
#include "gameshow/WardrobeComposition.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"
#include "tools/content/InterfaceArt.h"
#include "tools/content/InterfaceLayout.h"

using namespace GameServices::Widget;
using GameServices::Utilities::SerializableVector;

namespace {

const std::string kData = TALLYVOX_SOURCE_DATA;

// The widgets of a layout by name (a name used twice keeps its first place) with their kind
// and the name of the panel that holds them.
struct Found {
    i32 type;
    std::string panel;
    const sWidget* record;
};
void Collect(const SerializableVector<sWidget>& widgets, const std::string& panel, std::map<std::string, Found>& out) {
    for (const sWidget& w : widgets) {
        out.emplace(w.m_Name.c_str(), Found{w.m_Type, panel, &w});
        Collect(w.m_Children, w.m_Name.c_str(), out);
    }
}

// "a{0..3}b" -> a0b .. a3b; other names unchanged.
std::vector<std::string> Names(const std::string& pattern) {
    const size_t open = pattern.find('{'), dots = pattern.find(".."), close = pattern.find('}');
    if (open == std::string::npos)
        return {pattern};
    std::vector<std::string> names;
    for (int n = std::stoi(pattern.substr(open + 1)); n <= std::stoi(pattern.substr(dots + 2)); ++n)
        names.push_back(pattern.substr(0, open) + std::to_string(n) + pattern.substr(close + 1));
    return names;
}

class InterfaceContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xml = new content::Output(kData, {"MenuXmls.dir"});
        content::GenerateMenuXml(*xml);
        art = new content::Output(kData,
                                  {"Global2D.dir", "general_globalgameassets.dir", "specific_globalgameassets.dir"});
        content::GenerateInterfaceArt(*art);
    }
    static void TearDownTestSuite() {
        delete xml;
        delete art;
    }
    // The widgets of a generated layout; the window read through the engine's layout records.
    std::map<std::string, Found> Layout(const std::string& file, sWindow& window) {
        const auto& entries = xml->Packages().at("MenuXmls.dir");
        EXPECT_TRUE(entries.count(file)) << file;
        GameServices::Utilities::XmlReader reader;
        EXPECT_TRUE(entries.count(file) && reader.ReadText(entries.at(file).bytes.c_str(), "UserControl", window) ==
                                               GameServices::Utilities::XmlReader::ReadOk);
        std::map<std::string, Found> found;
        Collect(window.m_Widgets, "", found);
        return found;
    }
    bool Has(const std::string& package, const std::string& entry) {
        return art->Packages().at(package).count(entry) > 0;
    }
    static content::Output* xml;
    static content::Output* art;
};
content::Output* InterfaceContent::xml = nullptr;
content::Output* InterfaceContent::art = nullptr;

TEST_F(InterfaceContent, TheRealSourcesBuildWithoutErrors) {
    for (const content::Output* out : {xml, art})
        EXPECT_EQ(out->Errors(), std::vector<std::string>{});
    EXPECT_EQ(xml->Packages().at("MenuXmls.dir").size(), 6u);
    EXPECT_TRUE(art->Loose().count("LICENSES/fonts-dejavu-core.txt"));
}

TEST_F(InterfaceContent, TheInGameLayoutHoldsEveryBoundNameWithTheKindTheScreenNeeds) {
    QZ2011::ScreenGame screen;
    const auto contract = screen.WidgetContract();
    ASSERT_FALSE(contract.empty());
    sWindow window;
    const auto found = Layout("screengame.xaml", window);
    EXPECT_EQ(window.m_Width, 800);
    using Kind = QZ2011::ScreenGame::WidgetKind;
    const std::map<Kind, i32> types = {{Kind::Text, kLayoutLabel},
                                       {Kind::Button, kLayoutButton},
                                       {Kind::Keyboard, kLayoutSoftKeyboard},
                                       {Kind::Window, kLayoutResizableWindow}};
    for (const auto& entry : contract) {
        const auto at = found.find(entry.name.c_str());
        ASSERT_NE(at, found.end()) << entry.name.c_str();
        if (types.count(entry.kind)) {
            EXPECT_EQ(at->second.type, types.at(entry.kind)) << entry.name.c_str();
        }
    }
    EXPECT_EQ(found.at("SoftKeyboardWidget").record->m_Values.UInt("MaxEntryTextChar"), 24u);
    for (const char* side : {"left", "right"})
        EXPECT_EQ(found.at(std::string(side) + "3DViewport").type, kLayoutViewPort3D);
}

TEST_F(InterfaceContent, EveryMenuPageHoldsTheNamesItLooksUpUnderItsRootPanel) {
    using namespace GameShow;
    const std::vector<std::pair<const char*, std::vector<std::string>>> pages = {
        {"MenuRoot", {"playerName", "playerScore", "WardrobeButton", "TagPanel"}},
        {CompositionManager::kMainMenu,
         {"singlePlayerButton", "profileButton", "optionsButton", "exitButton", "awardsButton"}},
        {BasicLookComposition::kName, {"effect{0..11}", "DoneButton"}},
        {ConnectionErrorComposition::kName, {"text", "cancelButton"}},
        {KeyboardComposition::kName, {"softkeyboard", "BackButton", "DoneButton"}},
        {OptionsComposition::kName,
         {"FullScreenCheckBox", "MultiSamplingCheckBox", "sliderSfx", "sliderMusic", "sliderVoice", "DoneButton",
          "CreditsButton"}},
        {ProfilesComposition::kName,
         {"profile{1..4}Checkbox", "profile{1..4}Name", "imageProfile{1..4}", "baseImageProfile{1..4}",
          "baseImage{1..4}", "DeleteProfileButton", "NewProfileButton", "DoneButton"}},
        {NumberOfPlayerComposition::kName, {"NumberOfPlayer_Btn{2..4}", "BackButton"}},
        {CreditsComposition::kName, {"CreditsScroll", "BackButton"}},
        {AwardsComposition::kName,
         {"group{1..5}Button", "group{1..5}Image", "group{1..5}", "progressLabel", "BackButton"}},
        {GroupAwardsComposition::kName,
         {"title", "iconAward", "awardName{1..4}", "awardDescription{1..4}", "awardPanel{1..4}", "awardPrize{1..4}",
          "awardMedal{1..4}", "awardGlow{1..4}", "BackButton"}},
        {CompositionManager::kWardrobe,
         {"tabhair", "tabglasses", "tabshirt", "tabpants", "tabshoes", "tablock", "effect{0..11}", "thumb{0..11}",
          "base{0..11}", "DoneButton"}},
        {QZ2011::QZ11DecadeSelector::kName, {"Button70s", "Button80s", "Button90s", "Button00s", "BackButton"}},
        {QZ2011::QZ11DifficultySelector::kName,
         {"EasyButton", "NormalButton", "HardButton", "BackButton", "ImgEasy", "ImgNormal", "ImgHard"}},
    };
    // Kinds the pages cast to.
    const std::map<std::string, i32> kinds = {
        {"softkeyboard", kLayoutSoftKeyboard}, {"CreditsScroll", kLayoutScrollText},
        {"sliderSfx", kLayoutSliderTrackBar},  {"ImgHard", kLayoutImage},
        {"imageProfile3", kLayoutImage},       {"awardPrize2", kLayoutImage},
        {"iconAward", kLayoutImage},           {"awardName4", kLayoutLabel},
        {"effect11", kLayoutCheckBox}};
    sWindow window;
    Layout("menuscreen.xaml", window);
    ASSERT_EQ(window.m_Widgets.size(), 1u);
    const sWidget& root = window.m_Widgets[0];
    size_t names = 0;
    for (const auto& [page, patterns] : pages) {
        std::map<std::string, Found> found;
        const SerializableVector<sWidget>* children = &root.m_Children;
        if (root.m_Name != page)
            for (const sWidget& w : root.m_Children)
                if (w.m_Name == page && w.m_Type == kLayoutGrid)
                    children = &w.m_Children;
        ASSERT_TRUE(root.m_Name == page || children != &root.m_Children) << page;
        Collect(*children, page, found);
        for (const std::string& pattern : patterns)
            for (const std::string& name : Names(pattern)) {
                ++names;
                ASSERT_TRUE(found.count(name)) << page << " " << name;
                if (kinds.count(name)) {
                    EXPECT_EQ(found.at(name).type, kinds.at(name)) << name;
                }
            }
    }
    EXPECT_EQ(names + pages.size() - 1, 175u);  // the page roots and the names under them
}

TEST_F(InterfaceContent, TheWidgetBuilderBuildsEveryLayoutWithoutAReport) {
    TempDir dir;
    GameServices::Bridge::FileSystem::Destroy();
    GameServices::Bridge::FileSystem::SetRootPath((dir.Path() + "/").c_str());
    for (const auto& [file, item] : xml->Packages().at("MenuXmls.dir")) {
        if (!file.ends_with(".xaml"))
            continue;
        dir.Write("-xml/screen/" + file, item.bytes);
        LogCapture log;
        std::unique_ptr<Panel> panel(WidgetManager::Instance().BuildPanel(nullptr, file.c_str(), true));
        ASSERT_TRUE(panel);
        EXPECT_FALSE(panel->m_Children.empty()) << file;
        EXPECT_EQ(log.Lines(), std::vector<std::string>{}) << file;
    }
    GameServices::Bridge::FileSystem::Destroy();
}

TEST_F(InterfaceContent, EveryStringIdOfTheLayoutsHasItsText) {
    std::set<std::string> keys;
    const content::SourceFile strings(kData, "strings/english.txt");
    for (const content::SourceLine& line : strings.Lines())
        if (line.fields.size() >= 3 && line.fields[1] == "=")
            keys.insert(line.fields[0]);
    size_t ids = 0;
    for (const auto& [file, item] : xml->Packages().at("MenuXmls.dir")) {
        if (!file.ends_with(".xaml"))
            continue;
        sWindow window;
        for (const auto& [name, found] : Layout(file, window))
            for (const std::string& id : {std::string(found.record->m_StringId.c_str()),
                                          found.type == kLayoutSoftKeyboard
                                              ? std::string(found.record->m_Values.Text("StringIdSpaceBar").c_str())
                                              : std::string()})
                if (!id.empty()) {
                    ++ids;
                    EXPECT_TRUE(keys.count(id)) << file << " " << name << " " << id;
                }
    }
    EXPECT_GT(ids, 30u);
}

TEST_F(InterfaceContent, TheOtherScreensHoldTheirNamesAndTheFlowListsTheFive) {
    using QZ2011::ScreenTutorial;
    std::vector<std::string> tutorial = {"TutorialLogo"};
    for (const char* const* words : {ScreenTutorial::kDecades, ScreenTutorial::kPageWords})
        for (int i = 0; i < 4; ++i)
            for (const char* tail : {"", "Reflection"})
                tutorial.push_back(std::string(words == ScreenTutorial::kDecades ? "TutorialDecade" : "Tutorial") +
                                   words[i] + tail);
    const std::vector<std::pair<std::string, std::vector<std::string>>> screens = {
        {QZ2011::ScreenStartup::kName, {"Disclaimer", "Splash", "SplashText"}},
        {QZ2011::ScreenLoad::kName, {"LoadingBG", "LoadingLogo", "LoadingReflection"}},
        {ScreenTutorial::kName, tutorial}};
    for (const auto& [screen, names] : screens) {
        sWindow window;
        std::string file = screen + ".xaml";
        for (char& c : file)
            c = char(std::tolower(c));
        const auto found = Layout(file, window);
        EXPECT_EQ(window.m_Name, screen.c_str());
        for (const std::string& name : names)
            EXPECT_TRUE(found.count(name)) << screen << " " << name;
    }
    const std::string flow = xml->Packages().at("MenuXmls.dir").at("sketch.flow").bytes;
    for (const char* screen : {"ScreenStartup", "ScreenLoad", "MenuScreen", "ScreenTutorial", "ScreenGame"})
        EXPECT_NE(flow.find(std::string("<DisplayName>") + screen + "</DisplayName>\n      <FileName>" + screen +
                            ".xaml</FileName>"),
                  std::string::npos)
            << screen;
}

TEST_F(InterfaceContent, FontsAndWidgetAnimationsLoadThroughTheEngine) {
    const auto& global = art->Packages().at("Global2D.dir");
    size_t animations = 0, fonts = 0;
    for (const auto& [name, item] : global) {
        AGMemBuffer buffer;
        buffer.SetWindow(reinterpret_cast<const u8*>(item.bytes.data()), u32(item.bytes.size()));
        if (name.ends_with(".anm")) {
            ++animations;
            AGPrscAnimation animation;
            animation.Load(&buffer, 0, false, true);
            EXPECT_GE(animation.m_frameCount, 10.0f) << name;
            EXPECT_LE(animation.m_frameCount, 45.0f) << name;
            EXPECT_FLOAT_EQ(animation.m_frameRate, 30.0f) << name;
        } else if (name.ends_with(".fon")) {
            ++fonts;
            AGFont font;
            font.Load(&buffer, 0, false, true);
            EXPECT_GT(font.GetGlyph('A').width, 0u) << name;
            EXPECT_GT(font.GetGlyph(0x20AC).width, 0u) << name;
            for (const char* part : {".mat", "_slot", ".png"})
                EXPECT_TRUE(global.count(name.substr(0, name.size() - 4) + part)) << name << part;
        }
    }
    EXPECT_EQ(animations, 54u);
    EXPECT_EQ(fonts, 11u);
    // A widget without a font name gets one too.
    EXPECT_TRUE(global.count(RenderingSystemWidget::GetFontFileName("").c_str()));
    // The size in the header, the key inside.
    const std::string& bytes = global.at("impactwhite22.fon").bytes;
    AGMemBuffer buffer;
    buffer.SetWindow(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size()));
    AGFont font;
    font.Load(&buffer, 0, false, true);
    EXPECT_EQ(font.GetHeaderValue(0), 22u);
    EXPECT_STREQ(font.GetName().c_str(), "impactwhite22");
}

TEST_F(InterfaceContent, ThePicturesTheCodeSetsHaveTheirMaterialAndTexture) {
    const std::vector<std::pair<std::string, std::string>> pictures = {
        {"general_globalgameassets.dir", GameShow::GroupAwardsComposition::kUnlockedPanel},
        {"general_globalgameassets.dir", GameShow::GroupAwardsComposition::kLockedPanel},
        {"general_globalgameassets.dir", GameShow::GroupAwardsComposition::kLockedPrize},
        {"general_globalgameassets.dir", GameShow::ProfilesComposition::kBaseImage},
        {"general_globalgameassets.dir", GameShow::ProfilesComposition::kSelectedImage},
        {"general_globalgameassets.dir", "Icon_Award5"},
        {"specific_globalgameassets.dir", "Tutorial_24_Reflection.png"},
        {"Global2D.dir", "cursor.png"}};
    for (const auto& [package, image] : pictures) {
        const content::ImageFiles files = content::ImageFilesOf(image);
        for (const std::string& file : {files.material, files.slot, files.texture, files.sprites[0]})
            EXPECT_TRUE(Has(package, file)) << image << " " << file;
    }
    EXPECT_EQ(content::ImageFilesOf("Profile_Base.png").material, "profile_base.mat");
    EXPECT_TRUE(Has("Global2D.dir", "cursor.spt"));
}

TEST(InterfaceSources, BadLayoutRecordsAreReportedWithTheirLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"grid A 0 0 10 10\n", ":2: error: grid without \"end\""},
        {"end\n", ":2: error: \"end\" without an open grid"},
        {"nostyle A 0 0 1 1\n", ":2: error: unknown style \"nostyle\""},
        {"style s Wobble\n", ":2: error: expected: style <name> <Kind or style>"},
        {"style s Label\ns A 0 0 1\n", ":3: error: expected: s <Name> <x> <y> <width> <height>"},
        {"style s Label\ns A{3..1} 0 0 1 1\n", ":3: error: bad name range \"A{3..1}\""},
        {"style s Label\ns A{1..3} 0 0 1 1 Text={a|b}\n", ":3: error: \"{a|b}\" has no choice for A3"},
        {"style s Label Text=\"open\n", ":2: error: unclosed quote"},
        {"style s Label\ns A 0 0 1 1 nokey\n", ":3: error: \"nokey\" is not key=value"},
        {"style s Label \\\n", ":2: error: the record goes on past the end of the file"},
    };
    for (const auto& [records, message] : cases) {
        TempDir dir;
        dir.Write("l.txt", "screen S 800 600\n" + records);
        content::Output out(dir.Path(), {});
        content::ReadLayout(content::SourceFile(dir.Path(), "l.txt"), out);
        ASSERT_EQ(out.Errors().size(), 1u) << records;
        EXPECT_EQ(out.Errors()[0].rfind("l.txt" + message, 0), 0u) << out.Errors()[0];
    }
}

TEST(InterfaceSources, RangesPlaceTheirWidgetsAndPickTheirChoices) {
    TempDir dir;
    dir.Write("l.txt",
              "screen S 800 600\nstyle s Label TextColor=#FF000000\nstyle b s Text=\"a & b\"\n"
              "grid G 1 2 30 40\n b Cell{1..3}x 10 20 5 6 \\\n each=2,100,50 Text=\"{n}: {p|q|r}\"\nend\n");
    content::Output out(dir.Path(), {});
    const content::Layout layout = content::ReadLayout(content::SourceFile(dir.Path(), "l.txt"), out);
    ASSERT_TRUE(out.Errors().empty());
    const std::string xaml = content::LayoutXaml(layout);
    for (const char* expected :
         {"x:Name=\"S\" Width=\"800\" Height=\"600\"",
          "<Grid Name=\"G\" Margin=\"1,2,0,0\" Width=\"30\" Height=\"40\">",
          "<GsWidgetLibrary:Label Name=\"Cell1x\" Margin=\"10,20,0,0\" Width=\"5\" Height=\"6\" "
          "TextColor=\"#FF000000\" Text=\"1: p\"/>",
          "Name=\"Cell2x\" Margin=\"110,20,0,0\"", "Name=\"Cell3x\" Margin=\"10,70,0,0\"", "Text=\"3: r\""})
        EXPECT_NE(xaml.find(expected), std::string::npos) << expected << "\n" << xaml;
}

TEST(InterfaceSources, ALayoutPictureOrFontWithoutItsSourceIsAnError) {
    TempDir dir;
    dir.Write("content/layouts/flow.txt", "S S.xaml Navigation 0 0\n");
    dir.Write("content/layouts/s.txt",
              "screen S 800 600\nstyle l Label TextFontName=nofont.fon\nstyle i Image\n"
              "l A 0 0 1 1\ni B 0 0 1 1 ImageDefault=nopic.png\ni C 0 0 1 1 ImageDefault=Own_1.png\n");
    dir.Write("content/fonts.txt", "license /usr/share/doc/fonts-dejavu-core/copyright\n");
    dir.Write("content/animations.txt", "");
    dir.Write("content/art/interface.txt", "elsewhere own_\n");
    content::Output out(dir.Path(), {"Global2D.dir"});
    content::GenerateInterfaceArt(out);
    EXPECT_EQ(out.Errors(),
              (std::vector<std::string>{
                  "content/layouts/s.txt: error: image \"nopic.png\" has no recipe in content/art/interface.txt",
                  "content/layouts/s.txt: error: font \"nofont.fon\" is not in content/fonts.txt"}));
}

TEST(InterfaceSources, BadRecipesAndMovesAreRefused) {
    content::Output out("", {});
    content::FontSet fonts(out);
    std::vector<uint32_t> argb;
    std::string error, bytes;
    const std::vector<std::vector<std::string>> recipes = {{"solid"},
                                                           {"solid", "FF00"},
                                                           {"panel", "FF000000", "FF000000", "FF000000", "2"},
                                                           {"digit", "FFFFFFFF", "0", "12"},
                                                           {"blur", "FF000000"},
                                                           {"text", "FFFFFFFF", "00000000", "nofont", "x"}};
    for (const auto& recipe : recipes)
        EXPECT_FALSE(content::DrawRecipe(recipe, 8, 8, fonts, argb, error)) << recipe[0];
    ASSERT_TRUE(content::DrawRecipe({"digit", "FFFFFFFF", "FF000000", "1"}, 16, 32, fonts, argb, error)) << error;
    // A one: right-hand segments lit, left-hand column dark.
    EXPECT_EQ(argb[size_t(8) * 16 + 3], 0xFF000000u);
    EXPECT_EQ(argb[size_t(8) * 16 + 12], 0xFFFFFFFFu);
    // A clear panel fill leaves only its frame.
    ASSERT_TRUE(content::DrawRecipe({"panel", "00000000", "00000000", "FF00FF00", "2", "0"}, 8, 8, fonts, argb, error));
    EXPECT_EQ(argb[0], 0xFF00FF00u);
    EXPECT_EQ(argb[4 * 8 + 4], 0u);
    for (const auto& move : std::vector<std::vector<std::string>>{
             {"1", "fadein"}, {"20", "wobble"}, {"20", "slide", "5"}, {"20", "pop", "1", "2"}})
        EXPECT_FALSE(content::AnimationBytes(move, bytes, error)) << move[1];
    ASSERT_TRUE(content::AnimationBytes({"20", "slide", "0", "300"}, bytes, error));
    AGMemBuffer buffer;
    buffer.SetWindow(reinterpret_cast<const u8*>(bytes.data()), u32(bytes.size()));
    AGPrscAnimation animation;
    animation.Load(&buffer, 0, false, true);
    AGVec2 start{};
    ASSERT_TRUE(animation.m_position.Evaluate(0.0f, start));
    EXPECT_FLOAT_EQ(start.y, -300.0f);  // 300 pixels down, stored upwards
}

}  // namespace
