#include "engine/core/XmlReader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "engine/core/NumberText.h"
#include "engine/core/PcDirectory.h"
#include "tests/engine/core/XmlTestRecords.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

using GameServices::Utilities::XmlReader;
using namespace xmltest;  // the records, and the serialization names they use

namespace {

AllKinds Read(const std::string& body) {
    AllKinds r;
    XmlReader reader;
    EXPECT_EQ(reader.ReadText(("<root>" + body + "</root>").c_str(), "root", r), XmlReader::ReadOk);
    return r;
}

// A layout-style record: its tag, attributes and text, then every child element as an item.
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

TEST(XmlReaderTest, FieldsTakeDefaultsWordsNumberPrefixesAndVectorComponents) {
    LogCapture log;
    AllKinds r = Read("<Count></Count><Speed/><Name></Name><Position>9</Position>");
    // Missing vector components keep the default.
    EXPECT_EQ((std::vector<f32>{r.colour[3], r.position.x, r.position.y, f32(r.count), r.speed}),
              (std::vector<f32>{0.4f, 9.0f, 2.0f, 7.0f, 2.5f}));
    // An absent object is left as it was.
    EXPECT_TRUE(r.name == "nobody" && r.inner.number == 0);
    EXPECT_EQ(std::pair(Read("<Flag>TRUE</Flag>").flag, Read("<Flag>1</Flag>").flag), std::pair(true, false));
    // Numbers read their longest prefix and saturate.
    const std::pair<const char*, i32> counts[] = {
        {"12abc", 12}, {"99999999999999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& [text, count] : counts)
        EXPECT_EQ(Read(std::string("<Count>") + text + "</Count>").count, count) << text;
    EXPECT_EQ(Read("<Mask>4294967295</Mask>").mask, 0xFFFFFFFFu);
    u32 none = 5;
    EXPECT_TRUE(ParseInt32(nullptr) == 0 && ParseUInt32(nullptr, none) && none == 0);  // no text reads as 0
    // Finite doubles beyond a float's range, up to the largest, saturate; infinities stay.
    const std::pair<const char*, f32> speeds[] = {{"1.5abc", 1.5f}, {"abc", 0.0f}, {"-1e300", -FLT_MAX},
                                                   {"1.7976931348623157e308", FLT_MAX},
                                                   {"-1.7976931348623157e308", -FLT_MAX}, {"-1e999", -INFINITY}};
    for (const auto& [text, speed] : speeds)
        EXPECT_EQ(Read(std::string("<Speed>") + text + "</Speed>").speed, speed) << text;
    EXPECT_TRUE(std::isinf(Read("<Ratio>1e999</Ratio>").ratio) && log.Lines().empty());
    // A negative or oversized number is no u32: the default, with a report.
    for (const char* bad : {"-1", "4294967296", "99999999999999999999999"}) {
        log.Clear();
        EXPECT_EQ(Read(std::string("<Mask>") + bad + "</Mask>").mask, 9u) << bad;
        EXPECT_EQ(log.Lines(), std::vector<std::string>{std::string("\"") + bad +
                                                        "\" is not an unsigned 32-bit number"});
    }
    log.Clear();
    r = Read("<Colour>1,2,3,4,5</Colour><Position>1,2,3,4</Position><Size>7, 8, 9</Size>");
    EXPECT_EQ((std::vector<f32>{r.colour[3], r.position.z, r.size.y}), (std::vector<f32>{4, 3, 8}));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"failed to extract the vec4", "failed to extract the vec3",
                                                     "failed to extract the vec2"}));

    // In attribute mode every typed field but a double reads its attribute.
    AllKinds a;
    a.attributes = true;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root Ratio=\"3.5\" Count=\"4\" Flag=\"false\">"
                              "<Ratio>0.75</Ratio><Count>9</Count><Name>elem</Name></root>",
                              "root", a),
              XmlReader::ReadOk);
    EXPECT_EQ(std::make_tuple(a.ratio, a.count, a.flag, std::string(a.name.c_str())),
              std::make_tuple(0.75, 4, false, std::string("nobody")));
}

TEST(XmlReaderTest, ItemsListsAndMandatoryObjects) {
    AllKinds r;
    r.list.push_back(Inner());
    XmlReader reader;
    ASSERT_EQ(reader.ReadText("<root><Count>3</Count></root>", "root", r), XmlReader::ReadOk);
    EXPECT_EQ(r.list.size(), 1u);  // kept when absent
    ASSERT_EQ(reader.ReadText("<root><List><item><Number>4</Number></item><Other/>"
                              "<item><Label>b</Label></item></List><Count>5</Count></root>",
                              "root", r),
              XmlReader::ReadOk);
    // Items run from the first one of the item name through every following sibling.
    ASSERT_EQ(r.list.size(), 3u);
    // The reader is back at the root after the list.
    EXPECT_EQ(std::pair(std::string(r.list[2].label.c_str()), r.count), std::pair(std::string("b"), 5));

    struct Holder : ISerializable {
        xmltest::SerializableVector<Inner> rows;
        Inner need, may;
        bool needFound = false, mayFound = false;
        void Serialize(ISerialization& s) override {
            s.SerializeItem(rows);
            s.SerializeObject("Need", need, true);
            needFound = s.WasFound();
            s.SerializeObject("May", may, false);
            mayFound = s.WasFound();
        }
    } holder;
    holder.rows.SetItemName("row");
    LogCapture log;
    ASSERT_EQ(reader.ReadText("<root><other><Number>9</Number></other><row><Number>4</Number></row>"
                              "<row><Number>5</Number></row><May><Number>2</Number></May></root>",
                              "root", holder),
              XmlReader::ReadOk);
    ASSERT_EQ(holder.rows.size(), 3u);  // the items run on through the following sibling
    EXPECT_EQ((std::vector<i32>{holder.rows[0].number, holder.rows[1].number, holder.rows[2].number}),
              (std::vector<i32>{4, 5, 2}));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"Mandatory Field is missing :Need"});
    EXPECT_TRUE(!holder.needFound && holder.mayFound && holder.may.number == 2);
    log.Clear();
    XmlReader idle;
    Node::Children orphan;
    idle.SerializeItem(orphan);  // no document: reported, nothing read
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST(XmlReaderTest, ResultCodesNestingLimitAndUnterminatedBytes) {
    const struct {
        std::string text;
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
        EXPECT_EQ(reader.ReadText(c.text.c_str(), "root", r), c.code) << c.text.substr(0, 40);
    EXPECT_EQ(r.number, 5);  // failures leave the record untouched
    // 256 levels are the limit, refused without recursing; comments, CDATA, empty elements and
    // elements closed before do not count as nesting.
    for (int depth : {256, 257, 100000}) {
        std::string text = "<x></x>";  // a closed element before counts for nothing
        for (int i = 0; i < depth; ++i)
            text += "<root x='/>'>";
        for (int i = 0; i < depth && depth < 1000; ++i)
            text += "</root>";
        EXPECT_EQ(reader.ReadText(text.c_str(), "root", r),
                  depth == 256 ? XmlReader::ReadOk : XmlReader::ReadParseError)
            << depth;
    }
    std::string nested = "<?xml version='1.0'?><root>";
    for (int i = 0; i < 300; ++i)
        nested += "<!-- <b> --><c/><![CDATA[<d>]]><e q='<f>' r=\"<g>\">text</e><h />";
    nested += "<Number>6</Number></root>";
    // The bytes end without a terminator: the reader copies them first.
    std::unique_ptr<char[]> bytes(new char[nested.size()]);
    memcpy(bytes.get(), nested.data(), nested.size());
    EXPECT_TRUE(reader.ReadText(bytes.get(), u32(nested.size()), "root", r) == XmlReader::ReadOk && r.number == 6);
}

TEST(XmlReaderTest, FilesComeFromDiskOrInPackageModeFromTheEntryOfTheLowerCasedName) {
    TempDir dir;
    dir.Write("levels.xml", "<root><Intro><Number>12</Number></Intro><Number>1</Number></root>");
    const std::string upper = dir.Path() + "/Levels.XML";
    XmlReader reader;
    Inner r, intro, untouched;
    ASSERT_TRUE(reader.ReadFile(upper.c_str(), r, "root"));
    ASSERT_TRUE(reader.ReadFileElement(upper.c_str(), "Intro", intro, "root"));
    EXPECT_EQ(std::make_pair(r.number, intro.number), std::make_pair(1, 12));
    // An element not there, and no element or root name.
    const std::pair<const char*, const char*> refused[] = {{"Outro", "root"}, {nullptr, "root"},
                                                           {"Intro", nullptr}};
    for (const auto& [element, root] : refused)
        EXPECT_FALSE(reader.ReadFileElement(upper.c_str(), element, untouched, root)) << (root ? root : "-");
    EXPECT_TRUE(!reader.ReadFile(nullptr, untouched, "root") && !reader.ReadFile(dir.File("missing.xml").c_str(), untouched, "root") && untouched.number == 0);

    ResourceEnvironment env(false);
    // The entry's bytes end without a zero byte; the reader must not run past them.
    authoring::PackageWriter writer;
    writer.Add("levels.xml", 0, "<root><Number>21</Number></root>");
    ASSERT_TRUE(writer.WriteFolder(dir.File("Xml.dir")));
    PcDirectory package;
    package.Mount(dir.File("Xml.dir").c_str(), false);
    XmlReader::SetPackageMode(true);
    const bool read = reader.ReadFile("Levels.xml", r, "root");
    const bool readMissing = reader.ReadFile("Actions.xml", untouched, "root");
    XmlReader::SetPackageMode(false);
    package.Unmount();
    EXPECT_EQ(std::tuple(read, r.number, readMissing), std::tuple(true, 21, false));
}

// Seeded random damage to a document: every read returns a result code, and sanitizer runs
// catch any read past the bytes.
TEST(XmlReaderTest, RandomlyDamagedDocumentsReadSafely) {
    const std::string document =
        "<?xml version=\"1.0\"?>\n<!-- level -->\n<root><Title>Studio &amp; stage &#x41;&#66;</Title>\n"
        "<Scene Name=\"stage\" Position=\"0,1.5,-2\"><Prop Name=\"desk\"><Light Position=\"1,2,3,4\"/></Prop>\n"
        "<Camera Name=\"main\"><![CDATA[<not an element>]]></Camera><Group Width='3'><Prop/><Prop Name='a'/>"
        "</Group></Scene></root>\n";
    static const char* const kTokens[] = {"<", ">", "</", "/>", "\"", "'", "&", "&#x", "<!--",
                                          "-->", "<![CDATA[", "]]>", "=", ",", "<root>", "</root>"};
    std::mt19937 rng(0x5EEDF00D);
    LogCapture log;
    i32 parsed = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string text = document;
        for (u32 e = 1 + rng() % 4; e > 0 && !text.empty(); --e) {
            const size_t at = rng() % text.size();
            switch (rng() % 5) {
            case 0: text[at] = char(rng()); break;
            case 1: text.insert(at, kTokens[rng() % std::size(kTokens)]); break;
            case 2: text.erase(at, 1 + rng() % 16); break;
            case 3: text.insert(at, text.substr(at, 1 + rng() % 64)); break;
            default: text.resize(at); break;
            }
        }
        std::unique_ptr<char[]> bytes(new char[text.size() + 1]);
        memcpy(bytes.get(), text.data(), text.size());
        XmlReader reader;
        Node record;
        const i32 result = reader.ReadText(bytes.get(), u32(text.size()), "root", record);
        ASSERT_TRUE(result >= XmlReader::ReadOk && result <= XmlReader::ReadParseError) << result;
        parsed += result == XmlReader::ReadOk;
        log.Clear();
    }
    EXPECT_TRUE(parsed > 150 && parsed < 2850) << parsed;
    // Undamaged, an unnamed string field is the element's own text.
    XmlReader reader;
    Node record;
    ASSERT_TRUE(reader.ReadText(document.c_str(), "root", record) == XmlReader::ReadOk && !record.children.empty());
    EXPECT_EQ(record.children[0]->text, "Studio & stage AB");
}
