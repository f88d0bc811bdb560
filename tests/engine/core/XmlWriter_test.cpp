#include "engine/core/XmlWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/XmlReader.h"
#include "tests/engine/core/XmlTestRecords.h"
#include "tests/support/LogCapture.h"

using GameServices::Utilities::ISerializable;
using GameServices::Utilities::ISerialization;
using GameServices::Utilities::XmlReader;
using GameServices::Utilities::XmlWriter;
using xmltest::AllKinds;
using xmltest::Inner;

namespace {

std::string Write(ISerializable& record) {
    XmlWriter writer;
    std::string out(4096, '\0');
    u32 size = u32(out.size());
    EXPECT_TRUE(writer.WriteText(record, out.data(), size));
    out.resize(size);
    return out;
}

}  // namespace

TEST(XmlWriterTest, EveryFieldKindRoundTrips) {
    AllKinds original;
    const f32 colour[4] = {-1.25f, 0.5f, 1000.125f, 0.000001f};
    memcpy(original.colour, colour, sizeof colour);
    original.position = AGVec3{-3.5f, 0.0f, 123456.75f};
    original.size = AGVec2{640.0f, -480.5f};
    original.count = -2147483647 - 1;
    original.ratio = 1234567.123456;
    original.mask = 4000000000u;
    original.along = 2147483647;
    original.speed = 3.141593f;
    original.name = "Ann & Bob <\"team\"> caf\xc3\xa9";
    original.inner.label = "inside";
    for (i32 i = 0; i < 3; ++i) {
        Inner item;
        item.number = i * 10;
        item.label = TString<char>::FromInt(i);
        original.list.push_back(item);
    }
    const std::string text = Write(original);
    AllKinds back;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText(text.c_str(), "root", back), XmlReader::ReadOk);
    // What was read prints the same text: every value survived, floats to six decimals.
    EXPECT_EQ(Write(back), text);
}

TEST(XmlWriterTest, PrintsCompactTextAndAttributes) {
    struct Widget : ISerializable {
        i32 width = 320;
        AGVec2 margin{2.0f, -4.0f};
        u32 mask = 0xFFFFFFFFu;
        TString<char> name{"Panel"};
        bool visible = true;
        double depth = 0.5;
        void Serialize(ISerialization& s) override {
            s.SerializeUInt("Mask", mask, 0);
            // Strings, booleans and doubles stay elements in attribute mode.
            s.SetAttributeMode(true);
            s.SerializeInt("Width", width, 1);
            s.SerializeVec2("Margin", margin, AGVec2{});
            s.SerializeString("Name", name, TString<char>());
            s.SerializeBool("Visible", visible, false);
            s.SerializeDouble("Depth", depth, 0.0);
            s.SetAttributeMode(false);
        }
    } widget;
    EXPECT_EQ(Write(widget),
              "<root Width=\"320\" Margin=\"2.000000,-4.000000\"><Mask>-1</Mask><Name>Panel</Name>"
              "<Visible>true</Visible><Depth>0.500000</Depth></root>");
}

TEST(XmlWriterTest, OutputMustFitTheCallersSize) {
    Inner inner;
    inner.label = "abc";
    const std::string expected = Write(inner);
    const u32 length = u32(expected.size());

    XmlWriter writer;
    std::string exact(length, '#');
    u32 size = length;
    EXPECT_TRUE(writer.WriteText(inner, exact.data(), size));
    EXPECT_EQ(exact, expected);

    LogCapture log;
    std::string tooSmall(length + 8, '#');
    size = length - 1;
    EXPECT_FALSE(writer.WriteText(inner, tooSmall.data(), size));
    EXPECT_EQ(size, length - 1);
    EXPECT_EQ(tooSmall, std::string(length + 8, '#'));
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"The result of the serialization is greater than allowed size"});
}
