#include "engine/core/XmlReader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "engine/core/BaseSavedGame.h"
#include "engine/core/PcDirectory.h"
#include "engine/core/XmlWriter.h"
#include "tests/engine/core/XmlTestRecords.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

using GameServices::Utilities::ISerializable;
using GameServices::Utilities::ISerialization;
using GameServices::Utilities::XmlReader;
using xmltest::AllKinds;
using xmltest::Inner;

namespace {

// Reads AllKinds from <root>body</root>.
AllKinds Read(const std::string& body) {
    AllKinds r;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText(("<root>" + body + "</root>").c_str(), "root", r), XmlReader::ReadOk);
    return r;
}

// A layout- or level-style record: its tag, attributes and text, then every child element as
// an item.
struct Node : ISerializable {
    TString<char> tag, name, text;
    AGVec3 position;
    i32 width = 0;
    u32 depth = 0;
    std::vector<std::unique_ptr<Node>> children;
    struct Children : ISerializable {
        Node* owner = nullptr;
        void Serialize(ISerialization& s) override {
            if (owner->depth >= 8)
                return;
            owner->children.push_back(std::make_unique<Node>());
            owner->children.back()->depth = owner->depth + 1;
            owner->children.back()->Serialize(s);
        }
        void GetItemName(TString<char>& out) const override { out = ""; }
        bool IsContainer() const override { return true; }
    };
    void Serialize(ISerialization& s) override {
        s.GetElementName(tag);
        s.SetAttributeMode(true);
        s.SerializeString("Name", name, TString<char>());
        s.SerializeVec3("Position", position, AGVec3{});
        s.SetAttributeMode(false);
        s.SerializeString("", text, TString<char>());
        Children list;
        list.owner = this;
        s.SerializeItem(list);
        s.SetAttributeMode(true);
        s.SerializeInt("Width", width, -1);
        s.SetAttributeMode(false);
    }
};

}  // namespace

TEST(XmlReaderTest, FieldsTakeDefaultsWordsAndNumberPrefixes) {
    LogCapture log;
    AllKinds r = Read("<Count></Count><Speed/><Name></Name><Position></Position>");
    EXPECT_FLOAT_EQ(r.colour[3], 0.4f);
    EXPECT_FLOAT_EQ(r.position.z, 3.0f);
    EXPECT_EQ(r.count, 7);
    EXPECT_FLOAT_EQ(r.speed, 2.5f);
    EXPECT_EQ(r.name, "nobody");
    EXPECT_EQ(r.inner.number, 0);  // an absent object is left as it was
    EXPECT_TRUE(log.Lines().empty());

    EXPECT_TRUE(Read("<Flag>TRUE</Flag>").flag);
    EXPECT_FALSE(Read("<Flag>1</Flag>").flag);
    EXPECT_FALSE(Read("<Flag>yes</Flag>").flag);
    // Numbers read their longest prefix and saturate.
    EXPECT_FLOAT_EQ(Read("<Speed>1.5abc</Speed>").speed, 1.5f);
    EXPECT_FLOAT_EQ(Read("<Speed>abc</Speed>").speed, 0.0f);
    EXPECT_EQ(Read("<Count>12abc</Count>").count, 12);
    EXPECT_EQ(Read("<Count>99999999999999999999</Count>").count, 2147483647);
    EXPECT_EQ(Read("<Count>-99999999999</Count>").count, -2147483647 - 1);
    EXPECT_EQ(Read("<Mask>4294967295</Mask>").mask, 0xFFFFFFFFu);
    EXPECT_EQ(Read("<Mask>12abc</Mask>").mask, 12u);
    EXPECT_TRUE(log.Lines().empty());
    // A negative or oversized number is no u32: the default, with a report.
    for (const char* bad : {"-1", "-7", "4294967296", "99999999999999999999999"}) {
        log.Clear();
        EXPECT_EQ(Read(std::string("<Mask>") + bad + "</Mask>").mask, 9u) << bad;
        EXPECT_EQ(log.Lines(), std::vector<std::string>{std::string("\"") + bad +
                                                        "\" is not an unsigned 32-bit number"});
    }
    EXPECT_FLOAT_EQ(Read("<Speed>-1e300</Speed>").speed, -FLT_MAX);
    EXPECT_FLOAT_EQ(Read("<Speed>1e300</Speed>").speed, FLT_MAX);
    EXPECT_TRUE(std::isinf(Read("<Speed>1e999</Speed>").speed));
    EXPECT_TRUE(std::isinf(Read("<Ratio>1e999</Ratio>").ratio));

    // In attribute mode every typed field but a double reads its attribute.
    AllKinds a;
    a.attributes = true;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root Ratio=\"3.5\" Count=\"4\" Flag=\"false\">"
                              "<Ratio>0.75</Ratio><Count>9</Count><Name>elem</Name></root>",
                              "root", a),
              XmlReader::ReadOk);
    EXPECT_EQ(a.ratio, 0.75);
    EXPECT_EQ(a.count, 4);
    EXPECT_FALSE(a.flag);
    EXPECT_EQ(a.name, "nobody");
}

TEST(XmlReaderTest, VectorsTakeTheirComponentsInOrder) {
    LogCapture log;
    AllKinds r = Read("<Position>1,2,3,4</Position><Size>7, 8</Size>");
    EXPECT_FLOAT_EQ(r.position.x, 1.0f);
    EXPECT_FLOAT_EQ(r.position.z, 3.0f);
    EXPECT_FLOAT_EQ(r.size.y, 8.0f);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "failed to extract the vec3");

    r = Read("<Position>9</Position>");
    EXPECT_FLOAT_EQ(r.position.x, 9.0f);
    EXPECT_FLOAT_EQ(r.position.y, 2.0f);  // the missing components keep the default
}

TEST(XmlReaderTest, ListsAreClearedWhenPresentAndKeptWhenAbsent) {
    AllKinds r;
    r.list.push_back(Inner());
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root><Count>3</Count></root>", "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.list.size(), 1u);
    ASSERT_EQ(reader.ReadText("<root><List></List></root>", "root", r), XmlReader::ReadOk);
    EXPECT_TRUE(r.list.empty());
    ASSERT_EQ(reader.ReadText("<root><List><item><Number>4</Number></item><Other/>"
                              "<item><Label>b</Label></item></List><Count>5</Count></root>",
                              "root", r),
              XmlReader::ReadOk);
    // Items run from the first one of the item name through every following sibling.
    ASSERT_EQ(r.list.size(), 3u);
    EXPECT_EQ(r.list[0].number, 4);
    EXPECT_EQ(r.list[2].label, "b");
    EXPECT_EQ(r.count, 5);  // the reader is back at the root after the list
}

TEST(XmlReaderTest, NamedItemsStartAtTheFirstElementOfTheirName) {
    struct Values : ISerializable {
        std::vector<i32> values;
        void GetItemName(TString<char>& out) const override { out = "row"; }
        bool IsContainer() const override { return true; }
        void Serialize(ISerialization& s) override {
            i32 v = 0;
            s.SerializeInt("V", v, -1);
            values.push_back(v);
        }
    };
    struct Owner : ISerializable {
        Values rows;
        i32 after = 0;
        void Serialize(ISerialization& s) override {
            s.SerializeItem(rows);
            s.SerializeInt("After", after, 0);
        }
    } owner;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root><other><V>9</V></other><row><V>4</V></row><row><V>5</V></row>"
                              "<After>3</After></root>",
                              "root", owner),
              XmlReader::ReadOk);
    EXPECT_EQ(owner.rows.values, (std::vector<i32>{4, 5, -1}));
    EXPECT_EQ(owner.after, 3);
}

TEST(XmlReaderTest, OnlyAMissingMandatoryObjectIsReported) {
    struct Holder : ISerializable {
        Inner need, may;
        bool needFound = false, mayFound = false;
        void Serialize(ISerialization& s) override {
            s.SerializeObject("Need", need, true);
            needFound = s.WasFound();
            s.SerializeObject("May", may, false);
            mayFound = s.WasFound();
        }
    } record;
    XmlReader reader;
    LogCapture log;
    ASSERT_EQ(reader.ReadText("<root><May><Number>2</Number></May></root>", "root", record),
              XmlReader::ReadOk);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Mandatory Field is missing :Need"});
    EXPECT_FALSE(record.needFound);
    EXPECT_TRUE(record.mayFound);
    EXPECT_EQ(record.may.number, 2);
    log.Clear();
    ASSERT_EQ(reader.ReadText("<root><Need><Number>1</Number></Need></root>", "root", record),
              XmlReader::ReadOk);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_TRUE(record.needFound);
    EXPECT_FALSE(record.mayFound);
    EXPECT_EQ(record.need.number, 1);
}

TEST(XmlReaderTest, SerializeItemReadsChildrenAndRestoresTheElement) {
    Node root;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<Grid Name=\"top\" Width=\"10\"><Button Name=\"\"/><Grid Width=\"5\">"
                              "<Label Name=\"l\"/></Grid></Grid>",
                              "Grid", root),
              XmlReader::ReadOk);
    EXPECT_EQ(root.name, "top");
    EXPECT_EQ(root.width, 10);  // read after the items, from the restored element
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0]->tag, "Button");
    EXPECT_EQ(root.children[1]->width, 5);
    ASSERT_EQ(root.children[1]->children.size(), 1u);
    EXPECT_EQ(root.children[1]->children[0]->name, "l");

    LogCapture log;
    XmlReader idle;
    Node::Children orphan;
    idle.SerializeItem(orphan);  // no document: reported, nothing read
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST(XmlReaderTest, ReadTextProducesEachResultCode) {
    const struct {
        const char* text;
        i32 code;
    } cases[] = {{"<other><Number>2</Number></other>", XmlReader::ReadNoRoot},
                 {"   \n ", XmlReader::ReadEmpty},
                 {"<root><Number>2</Label></root>", XmlReader::ReadEndTagError},
                 {"<root><Number a='2></Number></root>", XmlReader::ReadParseError},
                 {"<root><Number>2</Number>", XmlReader::ReadParseError}};
    Inner r;
    r.number = 5;
    XmlReader reader;
    for (const auto& c : cases)
        EXPECT_EQ(reader.ReadText(c.text, "root", r), c.code) << c.text;
    EXPECT_EQ(r.number, 5);  // failures leave the record untouched
    EXPECT_EQ(reader.ReadText("<root><Number>2</Number></root>", "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.number, 2);
}

TEST(XmlReaderTest, UnterminatedBytesAreCopiedBeforeParsing) {
    const std::string text = "<root><Number>31</Number></root>";
    std::unique_ptr<char[]> bytes(new char[text.size()]);  // no terminator after them
    memcpy(bytes.get(), text.data(), text.size());
    Inner r;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText(bytes.get(), u32(text.size()), "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.number, 31);
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
    // Comments, CDATA and empty elements do not count as nesting.
    std::string nested = "<?xml version='1.0'?><root>";
    for (int i = 0; i < 300; ++i)
        nested += "<!-- <b> --><c/><![CDATA[<d>]]><e q='<f>' r=\"<g>\">text</e><h />";
    EXPECT_EQ(reader.ReadText((nested + "<Number>6</Number></root>").c_str(), "root", r),
              XmlReader::ReadOk);
    EXPECT_EQ(r.number, 6);
    // 256 levels are the limit.
    for (int depth : {256, 257}) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        EXPECT_EQ(reader.ReadText(text.c_str(), "a", r),
                  depth == 256 ? XmlReader::ReadOk : XmlReader::ReadParseError)
            << depth;
    }
}

TEST(XmlReaderTest, ReadFileFromDiskLowerCasesTheName) {
    TempDir dir;
    dir.Write("levels.xml", "<root><Intro><Number>12</Number></Intro><Number>1</Number></root>");
    const std::string upper = dir.Path() + "/Levels.XML";
    XmlReader reader;
    Inner r, intro, untouched;
    ASSERT_TRUE(reader.ReadFile(upper.c_str(), r, "root"));
    EXPECT_EQ(r.number, 1);
    ASSERT_TRUE(reader.ReadFileElement(upper.c_str(), "Intro", intro, "root"));
    EXPECT_EQ(intro.number, 12);
    EXPECT_FALSE(reader.ReadFileElement(upper.c_str(), "Outro", untouched, "root"));
    EXPECT_FALSE(reader.ReadFile((dir.Path() + "/missing.xml").c_str(), untouched, "root"));
}

TEST(XmlReaderTest, PackageModeReadsTheEntryOfTheLowerCasedName) {
    TempDir dir;
    ResourceEnvironment env(false);
    // The entry's bytes end without a zero byte; the reader must not run past them.
    authoring::PackageWriter writer;
    writer.Add("levels.xml", 0, "<root><Number>21</Number></root>");
    ASSERT_TRUE(writer.WriteFolder(dir.File("Xml.dir")));
    dir.Write("Levels.xml", "<root><Number>1</Number></root>");  // the disk copy is not used
    PcDirectory package;
    package.Mount(dir.File("Xml.dir").c_str(), false);

    XmlReader::SetPackageMode(true);
    XmlReader reader;
    Inner r, missing;
    const bool read = reader.ReadFile("Levels.xml", r, "root");
    const bool readMissing = reader.ReadFile("Actions.xml", missing, "root");
    XmlReader::SetPackageMode(false);
    package.Unmount();

    ASSERT_TRUE(read);
    EXPECT_EQ(r.number, 21);
    EXPECT_FALSE(readMissing);
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

const char kLevelDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- level -->\n<root>\n"
    "  <Title>Studio &amp; stage &#x41;&#66;</Title>\n"
    "  <Spawns><Spawn><Number>1</Number><Label>left</Label></Spawn><Spawn/></Spawns>\n"
    "  <Scene Name=\"stage\" Position=\"0,1.5,-2\">\n"
    "    <Prop Name=\"desk\"><Light Position=\"1,2,3,4\"/></Prop>\n"
    "    <Camera Name=\"main\"><![CDATA[<not an element>]]></Camera>\n"
    "    <Group Width='3'><Prop/><Prop Name='a'/><Prop Name=\"b\"/></Group>\n"
    "  </Scene>\n</root>\n";

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
        switch (Next(state) % 6) {
        case 0:
            text[at] = char(Next(state));
            break;
        case 1:
            text.insert(at, kTokens[Next(state) % std::size(kTokens)]);
            break;
        case 2:
            text.erase(at, 1 + Next(state) % 16);
            break;
        case 3:
            text.insert(at, text.substr(at, 1 + Next(state) % 64));
            break;
        case 4:
            if (Next(state) % 4 == 0)
                text.resize(at);
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
    save.settings.Clear();
    for (int i = 0; i < 4; ++i) {
        BaseSavedGame game;
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
        Node level;
        XmlReader reader;
        ASSERT_EQ(reader.ReadText(saved.data(), u32(saved.size()), "root", check), XmlReader::ReadOk);
        ASSERT_EQ(reader.ReadText(kLevelDocument, "root", level), XmlReader::ReadOk);
        ASSERT_EQ(level.children.size(), 3u);
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
        SaveLike saveRecord;
        Node levelRecord;
        ISerializable& record = i % 2 ? static_cast<ISerializable&>(saveRecord) : levelRecord;
        const i32 result = reader.ReadText(bytes.get(), u32(text.size()), "root", record);
        ASSERT_GE(result, XmlReader::ReadOk);
        ASSERT_LE(result, XmlReader::ReadParseError);
        parsed += result == XmlReader::ReadOk;
        log.Clear();
    }
    // The mutations must leave some documents readable and break others.
    EXPECT_GT(parsed, 250);
    EXPECT_LT(parsed, 4500);
}
