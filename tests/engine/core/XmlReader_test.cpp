#include "engine/core/XmlReader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/BaseSavedGame.h"
#include "engine/core/XmlWriter.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PcDirectory.h"
#include "tests/engine/core/XmlTestRecords.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using GameServices::Utilities::XmlReader;
using GameServices::Utilities::ISerializable;
using GameServices::Utilities::ISerialization;
using xmltest::AllKinds;
using xmltest::Inner;

namespace {

// Reads AllKinds from <root>body</root>.
AllKinds Read(const std::string& body, i32* result = nullptr) {
    AllKinds r;
    XmlReader reader;
    std::string text = "<root>" + body + "</root>";
    i32 code = reader.ReadText(text.c_str(), "root", r);
    if (result)
        *result = code;
    return r;
}

}  // namespace

TEST(XmlReaderTest, AbsentAndEmptyFieldsTakeTheirDefaults) {
    LogCapture log;
    AllKinds r = Read("<Count></Count><Speed/><Name></Name><Position></Position>");
    EXPECT_FLOAT_EQ(r.colour[3], 0.4f);
    EXPECT_FLOAT_EQ(r.position.z, 3.0f);
    EXPECT_FLOAT_EQ(r.size.y, 5.0f);
    EXPECT_TRUE(r.flag);
    EXPECT_EQ(r.count, 7);
    EXPECT_DOUBLE_EQ(r.ratio, 0.25);
    EXPECT_EQ(r.mask, 9u);
    EXPECT_EQ(r.along, 11);
    EXPECT_FLOAT_EQ(r.speed, 2.5f);
    EXPECT_EQ(r.name, "nobody");
    EXPECT_EQ(r.inner.number, 0);  // an absent object is left as it was
    EXPECT_TRUE(log.Lines().empty());
}

TEST(XmlReaderTest, BooleansAreTrueOnlyForTheWordTrue) {
    EXPECT_TRUE(Read("<Flag>TRUE</Flag>").flag);
    EXPECT_TRUE(Read("<Flag>True</Flag>").flag);
    EXPECT_FALSE(Read("<Flag>1</Flag>").flag);
    EXPECT_FALSE(Read("<Flag>yes</Flag>").flag);
    EXPECT_FALSE(Read("<Flag>truely</Flag>").flag);
}

TEST(XmlReaderTest, NumbersReadTheirLongestPrefixAndSaturate) {
    EXPECT_FLOAT_EQ(Read("<Speed>1.5abc</Speed>").speed, 1.5f);
    EXPECT_FLOAT_EQ(Read("<Speed>  -2e1</Speed>").speed, -20.0f);
    EXPECT_FLOAT_EQ(Read("<Speed>abc</Speed>").speed, 0.0f);
    EXPECT_EQ(Read("<Count>12abc</Count>").count, 12);
    EXPECT_EQ(Read("<Count>+8</Count>").count, 8);
    EXPECT_EQ(Read("<Count>99999999999999999999</Count>").count, 2147483647);
    EXPECT_EQ(Read("<Count>-99999999999</Count>").count, -2147483647 - 1);
    EXPECT_EQ(Read("<Mask>-1</Mask>").mask, 0xFFFFFFFFu);
    EXPECT_EQ(Read("<Mask>4294967295</Mask>").mask, 0xFFFFFFFFu);
    EXPECT_EQ(Read("<Mask>99999999999</Mask>").mask, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(Read("<Speed>1e300</Speed>").speed, FLT_MAX);
    EXPECT_FLOAT_EQ(Read("<Speed>-1e300</Speed>").speed, -FLT_MAX);
    EXPECT_TRUE(std::isinf(Read("<Ratio>1e999</Ratio>").ratio));
}

TEST(XmlReaderTest, NumbersIgnoreTheProcessLocale) {
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!setlocale(LC_NUMERIC, "de_DE.UTF-8") && !setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    AllKinds r = Read("<Speed>1.5</Speed><Position>0.5,1.5,2.5</Position>");
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_FLOAT_EQ(r.speed, 1.5f);
    EXPECT_FLOAT_EQ(r.position.z, 2.5f);
}

TEST(XmlReaderTest, VectorsTakeTheirComponentsInOrder) {
    {
        LogCapture log;
        AllKinds r = Read("<Position>1,2,3,4</Position><Size>7, 8</Size>");
        EXPECT_FLOAT_EQ(r.position.x, 1.0f);
        EXPECT_FLOAT_EQ(r.position.y, 2.0f);
        EXPECT_FLOAT_EQ(r.position.z, 3.0f);
        EXPECT_FLOAT_EQ(r.size.y, 8.0f);
        ASSERT_EQ(log.Lines().size(), 1u);
        EXPECT_EQ(log.Lines()[0], "failed to extract the vec3");
    }
    LogCapture log;
    AllKinds r = Read("<Position>9</Position><Colour>1,2,3,4,5</Colour><Size>1,2,3</Size>");
    EXPECT_FLOAT_EQ(r.position.x, 9.0f);
    EXPECT_FLOAT_EQ(r.position.y, 2.0f);  // the missing components keep the default
    EXPECT_FLOAT_EQ(r.position.z, 3.0f);
    EXPECT_FLOAT_EQ(r.colour[3], 4.0f);
    EXPECT_TRUE(log.Contains("failed to extract the vec4"));
    EXPECT_TRUE(log.Contains("failed to extract the vec2"));
}

TEST(XmlReaderTest, ListsAreClearedWhenPresentAndKeptWhenAbsent) {
    AllKinds r;
    r.list.push_back(Inner());
    r.list.push_back(Inner());
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root><Count>3</Count></root>", "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.list.size(), 2u);
    ASSERT_EQ(reader.ReadText("<root><List></List></root>", "root", r), XmlReader::ReadOk);
    EXPECT_TRUE(r.list.empty());
    ASSERT_EQ(reader.ReadText("<root><List><item><Number>4</Number></item><Other/>"
                              "<item><Label>b</Label></item></List><Count>5</Count></root>",
                              "root", r),
              XmlReader::ReadOk);
    // Items run from the first one of the item name through every following sibling.
    ASSERT_EQ(r.list.size(), 3u);
    EXPECT_EQ(r.list[0].number, 4);
    EXPECT_EQ(r.list[0].label, "none");
    EXPECT_EQ(r.list[1].number, -1);
    EXPECT_EQ(r.list[2].label, "b");
    EXPECT_EQ(r.count, 5);  // the reader is back at the root after the list
}

TEST(XmlReaderTest, MandatoryObjectsAreReportedAndFoundIsTracked) {
    struct Holder : ISerializable {
        Inner a, b;
        bool foundA = false, foundB = false;
        void Serialize(ISerialization& s) override {
            s.SerializeObject("A", a, true);
            foundA = s.WasFound();
            s.SerializeObject("B", b, true);
            foundB = s.WasFound();
        }
    } holder;
    holder.b.number = 77;
    LogCapture log;
    XmlReader reader;
    // A's own missing sub-fields do not make A count as missing.
    ASSERT_EQ(reader.ReadText("<root><A><Number>3</Number></A></root>", "root", holder),
              XmlReader::ReadOk);
    EXPECT_TRUE(holder.foundA);
    EXPECT_FALSE(holder.foundB);
    EXPECT_EQ(holder.a.number, 3);
    EXPECT_EQ(holder.b.number, 77);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "Mandatory Field is missing :B");
}

TEST(XmlReaderTest, SerializeItemReadsChildrenAndRestoresTheElement) {
    // A layout-style record: attributes, then every child element as an item.
    struct Node : ISerializable {
        TString<char> tag, name;
        std::vector<std::unique_ptr<Node>> children;
        i32 width = 0;
        struct Children : ISerializable {
            Node* owner = nullptr;
            void Serialize(ISerialization& s) override {
                owner->children.push_back(std::make_unique<Node>());
                owner->children.back()->Serialize(s);
            }
            void GetItemName(TString<char>& out) const override { out = ""; }
            bool IsContainer() const override { return true; }
        };
        void Serialize(ISerialization& s) override {
            s.GetElementName(tag);
            s.SetAttributeMode(true);
            s.SerializeString("Name", name, TString<char>());
            s.SetAttributeMode(false);
            Children list;
            list.owner = this;
            s.SerializeItem(list);
            s.SetAttributeMode(true);
            s.SerializeInt("Width", width, -1);
            s.SetAttributeMode(false);
        }
    } root;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<Grid Name=\"top\" Width=\"10\"><Button Name=\"\"/><Grid Width=\"5\">"
                              "<Label Name=\"l\"/></Grid></Grid>",
                              "Grid", root),
              XmlReader::ReadOk);
    EXPECT_EQ(root.tag, "Grid");
    EXPECT_EQ(root.name, "top");
    EXPECT_EQ(root.width, 10);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0]->tag, "Button");
    EXPECT_TRUE(root.children[0]->name.IsEmpty());  // a present empty attribute is empty text
    EXPECT_EQ(root.children[1]->width, 5);
    ASSERT_EQ(root.children[1]->children.size(), 1u);
    EXPECT_EQ(root.children[1]->children[0]->name, "l");

    LogCapture log;
    XmlReader idle;
    Node::Children orphan;
    idle.SerializeItem(orphan);  // no document: reported, nothing read
    EXPECT_EQ(log.Lines().size(), 1u);
    TString<char> tag("x");
    idle.GetElementName(tag);
    EXPECT_TRUE(tag.IsEmpty());
}

TEST(XmlReaderTest, ReadTextProducesEachResultCode) {
    Inner r;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText("<root><Number>2</Number></root>", "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.number, 2);
    r.number = 5;
    EXPECT_EQ(reader.ReadText("<other><Number>2</Number></other>", "root", r),
              XmlReader::ReadNoRoot);
    EXPECT_EQ(reader.ReadText("", "root", r), XmlReader::ReadEmpty);
    EXPECT_EQ(reader.ReadText("   \n ", "root", r), XmlReader::ReadEmpty);
    EXPECT_EQ(reader.ReadText("<root><Number>2</Label></root>", "root", r),
              XmlReader::ReadEndTagError);
    EXPECT_EQ(reader.ReadText("<root><Number a='2></Number></root>", "root", r),
              XmlReader::ReadParseError);
    EXPECT_EQ(reader.ReadText("<root><Number>2</Number>", "root", r), XmlReader::ReadParseError);
    EXPECT_EQ(reader.ReadText("<root><!-- open", "root", r), XmlReader::ReadParseError);
    EXPECT_EQ(r.number, 5);  // failures leave the record untouched
}

TEST(XmlReaderTest, UnterminatedBytesAreCopiedBeforeParsing) {
    const std::string text = "<root><Number>31</Number></root>";
    // Exactly the document's bytes, no terminator after them.
    std::unique_ptr<char[]> bytes(new char[text.size()]);
    memcpy(bytes.get(), text.data(), text.size());
    Inner r;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText(bytes.get(), u32(text.size()), "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.number, 31);
    // A zero byte ends the text early.
    const char withZero[] = "<root><Number>8</Number></root>\0<junk";
    EXPECT_EQ(reader.ReadText(withZero, u32(sizeof withZero - 1), "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.number, 8);
}

TEST(XmlReaderTest, DeepNestingIsRefusedWithoutRecursing) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a x='/>'>";
    Inner r;
    LogCapture log;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText(deep.c_str(), "a", r), XmlReader::ReadParseError);
    EXPECT_EQ(log.Lines().size(), 1u);

    std::string nested = "<root>";
    for (int i = 0; i < 100; ++i)
        nested += "<a><!-- <b> --><c/><![CDATA[<d>]]>";
    for (int i = 0; i < 100; ++i)
        nested += "</a>";
    nested += "<Number>6</Number></root>";
    EXPECT_EQ(reader.ReadText(nested.c_str(), "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.number, 6);
}

TEST(XmlReaderTest, ReadFileFromDiskLowerCasesTheName) {
    TempDir dir;
    const std::string path = dir.Write("levels.xml",
                                       "<root><Intro><Number>12</Number></Intro>"
                                       "<Number>1</Number></root>");
    std::string upper = dir.Path() + "/Levels.XML";
    XmlReader reader;
    Inner r;
    ASSERT_TRUE(reader.ReadFile(upper.c_str(), r, "root"));
    EXPECT_EQ(r.number, 1);
    Inner intro;
    ASSERT_TRUE(reader.ReadFileElement(upper.c_str(), "Intro", intro, "root"));
    EXPECT_EQ(intro.number, 12);
    Inner untouched;
    untouched.number = 99;
    EXPECT_FALSE(reader.ReadFileElement(upper.c_str(), "Outro", untouched, "root"));
    EXPECT_FALSE(reader.ReadFile(upper.c_str(), untouched, "other"));
    EXPECT_FALSE(reader.ReadFile((dir.Path() + "/missing.xml").c_str(), untouched, "root"));
    dir.Write("broken.xml", "<root><Number>3</Number>");
    EXPECT_FALSE(reader.ReadFile((dir.Path() + "/broken.xml").c_str(), untouched, "root"));
    EXPECT_EQ(untouched.number, 99);
}

namespace {

void PutU32(std::string& out, u32 v) {
    out.append(reinterpret_cast<const char*>(&v), 4);
}

// A folder package "<dir>/Xml.dir" holding the files under their names as given.
std::string WriteFolderPackage(const TempDir& dir,
                               const std::vector<std::pair<std::string, std::string>>& files) {
    std::string index(12, '\0');
    PutU32(index, u32(files.size()));
    for (const auto& [name, bytes] : files) {
        PutU32(index, Crc32Hash(name.c_str()));
        index += name;
        index += '\0';
        PutU32(index, 0);
        PutU32(index, 0);
        dir.Write("Xml/" + name, bytes);
    }
    dir.Write("Xml/Xml.hdr", index);
    return dir.Path() + "/Xml.dir";
}

}  // namespace

TEST(XmlReaderTest, PackageModeReadsTheEntryOfTheLowerCasedName) {
    TempDir dir;
    const std::string levels = "<root><Number>21</Number><Label>from package</Label></root>";
    // The file's bytes end without a zero byte; the reader must not run past them.
    const std::string mount = WriteFolderPackage(dir, {{"levels.xml", levels}});
    dir.Write("Levels.xml", "<root><Number>1</Number></root>");  // the disk copy is not used

    AGResourceManager resources;
    AGResourceManager::SetInstance(&resources);
    resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    PcDirectory package;
    package.Mount(mount.c_str(), false);
    XmlReader::SetPackageMode(true);

    XmlReader reader;
    Inner r;
    const bool read = reader.ReadFile("Levels.xml", r, "root");
    Inner missing;
    missing.number = 3;
    const bool readMissing = reader.ReadFile("Actions.xml", missing, "root");

    XmlReader::SetPackageMode(false);
    package.Unmount();
    AGResourceManager::SetInstance(nullptr);

    ASSERT_TRUE(read);
    EXPECT_EQ(r.number, 21);
    EXPECT_EQ(r.label, "from package");
    EXPECT_FALSE(readMissing);
    EXPECT_EQ(missing.number, 3);
}

namespace {

using GameServices::KorvoGame::BaseSavedGame;
using GameServices::KorvoGame::BaseSavedSettings;
using GameServices::Utilities::SerializableVector;
using GameServices::Utilities::XmlWriter;

struct SaveLike : ISerializable {
    BaseSavedSettings settings;
    SerializableVector<BaseSavedGame> games;
    void Serialize(ISerialization& s) override {
        s.SerializeObject("Settings", settings, true);
        s.SerializeObject("SavedGames", games, true);
    }
};

// Entities with attributes and nested children, read the way layouts and levels are.
struct LevelNode : ISerializable {
    TString<char> kind, name;
    AGVec3 position;
    f32 colour[4] = {};
    bool visible = false;
    u32 depth = 0;
    std::vector<LevelNode> children;
    struct Children : ISerializable {
        LevelNode* owner = nullptr;
        void Serialize(ISerialization& s) override {
            if (owner->depth >= 8)
                return;
            owner->children.emplace_back();
            owner->children.back().depth = owner->depth + 1;
            owner->children.back().Serialize(s);
        }
        void GetItemName(TString<char>& out) const override { out = ""; }
    };
    void Serialize(ISerialization& s) override {
        static constexpr f32 kWhite[4] = {1, 1, 1, 1};
        s.GetElementName(kind);
        s.SetAttributeMode(true);
        s.SerializeString("Name", name, TString<char>());
        s.SerializeVec3("Position", position, AGVec3{});
        s.SerializeVec4("Colour", colour, kWhite);
        s.SerializeBool("Visible", visible, true);
        s.SetAttributeMode(false);
        Children list;
        list.owner = this;
        s.SerializeItem(list);
    }
};

struct Level : ISerializable {
    TString<char> title;
    double gravity = 0;
    SerializableVector<Inner> spawns;
    LevelNode scene;
    void Serialize(ISerialization& s) override {
        s.SerializeString("Title", title, TString<char>());
        s.SerializeDouble("Gravity", gravity, 9.8);
        spawns.SetItemName("Spawn");
        s.SerializeObject("Spawns", spawns, false);
        s.SerializeObject("Scene", scene, true);
    }
};

const char kLevelDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- level -->\n"
    "<root>\n"
    "  <Title>Studio &amp; stage &#x41;&#66;</Title>\n"
    "  <Gravity>9.81</Gravity>\n"
    "  <Spawns><Spawn><Number>1</Number><Label>left</Label></Spawn>"
    "<Spawn><Number>2</Number></Spawn></Spawns>\n"
    "  <Scene Name=\"stage\" Position=\"0,1.5,-2\" Colour='1,0.5,0.25,1'>\n"
    "    <Prop Name=\"desk\" Visible=\"TRUE\"><Light Position=\"1,2,3,4\"/></Prop>\n"
    "    <Camera Name=\"main\"><![CDATA[<not an element>]]></Camera>\n"
    "    <Group><Prop/><Prop Name='a'/><Prop Name=\"b\" Visible=\"false\"/></Group>\n"
    "  </Scene>\n"
    "</root>\n";

u32 Next(u64& state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return u32(state >> 11);
}

std::string Mutate(const std::string& original, u64& state) {
    static const char* const kTokens[] = {"<", ">", "</", "/>", "\"", "'", "&", "&#x", "&#",
                                          "<!--", "-->", "<![CDATA[", "]]>", "=", ",", "<?",
                                          "<root>", "</root>", "<a"};
    std::string text = original;
    const u32 edits = 1 + Next(state) % 4;
    for (u32 e = 0; e < edits && !text.empty(); ++e) {
        const size_t at = Next(state) % text.size();
        switch (Next(state) % 7) {
        case 0:
            text[at] = char(Next(state));
            break;
        case 1:
            text.insert(at, kTokens[Next(state) % (sizeof kTokens / sizeof kTokens[0])]);
            break;
        case 2:
            text.erase(at, 1 + Next(state) % 16);
            break;
        case 3: {
            const size_t length = 1 + Next(state) % 64;
            text.insert(at, text.substr(at, length));
            break;
        }
        case 4:
            if (Next(state) % 4 == 0)
                text.resize(at);
            break;
        case 5:
            text[at] = char('0' + Next(state) % 10);
            break;
        default:
            text[at] = '\0';
            break;
        }
    }
    return text;
}

}  // namespace

TEST(XmlReaderTest, RandomMutationsOfDocumentsReadSafely) {
    SaveLike save;
    save.settings.Version = 3;
    save.settings.Clear();
    for (int i = 0; i < 4; ++i) {
        BaseSavedGame game;
        game.isUsed = i % 2 == 0;
        game.SavedGameName = TString<char>("Player ") + TString<char>::FromInt(i);
        save.games.push_back(game);
    }
    std::string saved(4096, '\0');
    u32 size = u32(saved.size());
    XmlWriter writer;
    ASSERT_TRUE(writer.WriteText(save, saved.data(), size));
    saved.resize(size);

    {
        SaveLike check;
        Level level;
        XmlReader reader;
        ASSERT_EQ(reader.ReadText(saved.data(), u32(saved.size()), "root", check), XmlReader::ReadOk);
        ASSERT_EQ(check.games.size(), 4u);
        ASSERT_EQ(reader.ReadText(kLevelDocument, "root", level), XmlReader::ReadOk);
        EXPECT_EQ(level.title, "Studio & stage AB");
        ASSERT_EQ(level.spawns.size(), 2u);
        ASSERT_EQ(level.scene.children.size(), 3u);
        EXPECT_EQ(level.scene.children[2].children.size(), 3u);
    }

    LogCapture log;  // mutated vectors report; keep the output quiet
    u64 state = 0x5EEDF00DULL;
    i32 parsed = 0;
    for (int i = 0; i < 5000; ++i) {
        const std::string text = Mutate(i % 2 ? saved : std::string(kLevelDocument), state);
        // An exact-size heap copy, so that any read past the bytes is caught.
        std::unique_ptr<char[]> bytes(new char[text.size() + 1]);
        memcpy(bytes.get(), text.data(), text.size());
        XmlReader reader;
        i32 result;
        if (i % 2) {
            SaveLike record;
            result = reader.ReadText(bytes.get(), u32(text.size()), "root", record);
        } else {
            Level record;
            result = reader.ReadText(bytes.get(), u32(text.size()), "root", record);
        }
        ASSERT_GE(result, XmlReader::ReadOk);
        ASSERT_LE(result, XmlReader::ReadParseError);
        parsed += result == XmlReader::ReadOk;
        log.Clear();
    }
    // The mutations must leave some documents readable and break others.
    EXPECT_GT(parsed, 250);
    EXPECT_LT(parsed, 4500);
}
