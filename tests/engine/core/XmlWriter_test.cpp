#include "engine/core/XmlWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/XmlReader.h"
#include "tests/engine/core/XmlTestRecords.h"
#include "tests/support/LogCapture.h"

using GameServices::Utilities::XmlReader;
using GameServices::Utilities::XmlWriter;
using GameServices::Utilities::ISerializable;
using GameServices::Utilities::ISerialization;
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

AllKinds Filled() {
    AllKinds r;
    const f32 colour[4] = {-1.25f, 0.5f, 1000.125f, 0.000001f};
    memcpy(r.colour, colour, sizeof colour);
    r.position = AGVec3{-3.5f, 0.0f, 123456.75f};
    r.size = AGVec2{640.0f, -480.5f};
    r.flag = false;
    r.count = -2147483647 - 1;
    r.ratio = 1234567.123456;
    r.mask = 4000000000u;
    r.along = 2147483647;
    r.speed = 3.141593f;
    r.name = "Ann & Bob <\"team\"> caf\xc3\xa9";
    r.inner.number = 42;
    r.inner.label = "inside";
    for (i32 i = 0; i < 3; ++i) {
        Inner item;
        item.number = i * 10;
        item.label = TString<char>::FromInt(i);
        r.list.push_back(item);
    }
    return r;
}

}  // namespace

TEST(XmlWriterTest, EveryFieldKindRoundTrips) {
    AllKinds original = Filled();
    std::string text = Write(original);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.rfind("<root>", 0), 0u);

    AllKinds back;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText(text.c_str(), "root", back), XmlReader::ReadOk);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(back.colour[i], original.colour[i], 1e-6) << i;
    EXPECT_FLOAT_EQ(back.position.x, -3.5f);
    EXPECT_FLOAT_EQ(back.position.y, 0.0f);
    EXPECT_FLOAT_EQ(back.position.z, 123456.75f);
    EXPECT_FLOAT_EQ(back.size.x, 640.0f);
    EXPECT_FLOAT_EQ(back.size.y, -480.5f);
    EXPECT_FALSE(back.flag);
    EXPECT_EQ(back.count, original.count);
    EXPECT_NEAR(back.ratio, 1234567.123456, 1e-6);
    EXPECT_EQ(back.mask, 4000000000u);
    EXPECT_EQ(back.along, 2147483647);
    EXPECT_NEAR(back.speed, 3.141593f, 1e-6);
    EXPECT_EQ(back.name, original.name);
    EXPECT_EQ(back.inner.number, 42);
    EXPECT_EQ(back.inner.label, "inside");
    ASSERT_EQ(back.list.size(), 3u);
    for (i32 i = 0; i < 3; ++i) {
        EXPECT_EQ(back.list[i].number, i * 10);
        EXPECT_EQ(back.list[i].label, TString<char>::FromInt(i));
    }
}

TEST(XmlWriterTest, PrintsTheTextFormsCompactly) {
    Inner inner;
    inner.number = -5;
    inner.label = "x";
    EXPECT_EQ(Write(inner), "<root><Number>-5</Number><Label>x</Label></root>");

    struct Numbers : ISerializable {
        u32 u = 0xFFFFFFFFu;
        f32 f = 1.5f;
        AGVec2 v{1.0f, -2.0f};
        bool b = true;
        void Serialize(ISerialization& s) override {
            s.SerializeUInt("U", u, 0);
            s.SerializeFloat("F", f, 0);
            s.SerializeVec2("V", v, AGVec2{});
            s.SerializeBool("B", b, false);
        }
    } numbers;
    EXPECT_EQ(Write(numbers),
              "<root><U>-1</U><F>1.500000</F><V>1.000000,-2.000000</V><B>true</B></root>");
}

TEST(XmlWriterTest, AttributeModeWritesNumbersAndVectorsAsAttributes) {
    struct Widget : ISerializable {
        i32 width = 0;
        AGVec2 margin;
        TString<char> name;
        bool visible = false;
        double depth = 0.0;
        void Serialize(ISerialization& s) override {
            s.SetAttributeMode(true);
            s.SerializeInt("Width", width, 1);
            s.SerializeVec2("Margin", margin, AGVec2{});
            s.SerializeString("Name", name, TString<char>());
            s.SerializeBool("Visible", visible, false);
            s.SerializeDouble("Depth", depth, 0.0);
            s.SetAttributeMode(false);
        }
    } widget;
    widget.width = 320;
    widget.margin = AGVec2{2.0f, 4.0f};
    widget.name = "Panel";
    widget.visible = true;
    widget.depth = 0.5;
    std::string text = Write(widget);
    EXPECT_EQ(text,
              "<root Width=\"320\" Margin=\"2.000000,4.000000\"><Name>Panel</Name>"
              "<Visible>true</Visible><Depth>0.500000</Depth></root>");

    // Reading in attribute mode takes strings and booleans from attributes, so the
    // element-written ones fall back to their defaults; doubles are elements both ways.
    Widget back;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText(text.c_str(), "root", back), XmlReader::ReadOk);
    EXPECT_EQ(back.width, 320);
    EXPECT_FLOAT_EQ(back.margin.y, 4.0f);
    EXPECT_TRUE(back.name.IsEmpty());
    EXPECT_FALSE(back.visible);
    EXPECT_DOUBLE_EQ(back.depth, 0.5);
}

TEST(XmlWriterTest, OutputMustFitTheCallersSize) {
    Inner inner;
    inner.number = 1;
    inner.label = "abc";
    const std::string expected = Write(inner);
    const u32 length = u32(expected.size());

    XmlWriter writer;
    std::string exact(length, '#');
    u32 size = length;
    EXPECT_TRUE(writer.WriteText(inner, exact.data(), size));
    EXPECT_EQ(size, length);
    EXPECT_EQ(exact, expected);

    LogCapture log;
    std::string tooSmall(length + 8, '#');
    size = length - 1;
    EXPECT_FALSE(writer.WriteText(inner, tooSmall.data(), size));
    EXPECT_EQ(size, length - 1);
    EXPECT_EQ(tooSmall, std::string(length + 8, '#'));
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "The result of the serialization is greater than allowed size");
}

TEST(XmlWriterTest, SerializeItemAndEmptyNameStringNestUnderTheItemName) {
    struct Text : ISerializable {
        TString<char> value;
        void Serialize(ISerialization& s) override { s.SerializeString("", value, TString<char>()); }
        void GetItemName(TString<char>& out) const override { out = "Line"; }
    } line;
    line.value = "hello";
    struct Holder : ISerializable {
        Text* line = nullptr;
        void Serialize(ISerialization& s) override { s.SerializeItem(*line); }
    } holder;
    holder.line = &line;
    EXPECT_EQ(Write(holder), "<root><Line>hello</Line></root>");
}
