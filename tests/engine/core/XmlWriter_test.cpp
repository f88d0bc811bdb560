#include "engine/core/XmlWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/BaseSavedGame.h"
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

TEST(XmlWriterTest, EveryFieldKindRoundTripsAsElementsAndAsAttributes) {
    for (bool attributes : {false, true}) {
        SCOPED_TRACE(attributes ? "attributes" : "elements");
        AllKinds original;
        original.attributes = attributes;
        const f32 colour[4] = {-1.25f, 0.5f, 1000.125f, 0.25f};
        memcpy(original.colour, colour, sizeof colour);
        original.position = AGVec3{-3.5f, 0.0f, 123456.75f};
        original.size = AGVec2{640.0f, -480.5f};
        original.flag = false;  // the default is true
        original.count = -2147483647 - 1;
        original.ratio = 1234567.123456;
        original.mask = 4000000000u;
        original.along = 2147483647;
        original.speed = 3.25f;
        original.name = "Ann & Bob <\"team\"> caf\xc3\xa9";
        original.inner.number = -5;
        original.inner.label = "inside";
        for (i32 i = 0; i < 3; ++i) {
            Inner item;
            item.number = i * 10;
            item.label = TString<char>::FromInt(i);
            original.list.push_back(item);
        }
        const std::string text = Write(original);
        AllKinds back;
        back.attributes = attributes;
        XmlReader reader;
        LogCapture log;
        ASSERT_EQ(reader.ReadText(text.c_str(), "root", back), XmlReader::ReadOk);
        EXPECT_TRUE(log.Lines().empty());
        EXPECT_EQ(memcmp(back.colour, colour, sizeof colour), 0);
        EXPECT_EQ(back.position.z, 123456.75f);
        EXPECT_EQ(back.size.y, -480.5f);
        EXPECT_FALSE(back.flag);
        EXPECT_EQ(back.count, original.count);
        EXPECT_EQ(back.ratio, original.ratio);
        EXPECT_EQ(back.mask, original.mask);
        EXPECT_EQ(back.along, original.along);
        EXPECT_EQ(back.speed, original.speed);
        EXPECT_EQ(back.name, original.name);
        EXPECT_EQ(back.inner.label, "inside");
        ASSERT_EQ(back.list.size(), 3u);
        EXPECT_EQ(back.list[2].number, 20);
        EXPECT_EQ(Write(back), text);
    }
}

TEST(XmlWriterTest, PrintsCompactTextAttributesAndItems) {
    struct Items : ISerializable {
        const char* itemName;
        explicit Items(const char* name) : itemName(name) {}
        void GetItemName(TString<char>& out) const override { out = itemName; }
        bool IsContainer() const override { return true; }
        void Serialize(ISerialization& s) override {
            i32 value = 4;
            s.SerializeInt("V", value, 0);
        }
    };
    struct Widget : ISerializable {
        i32 width = 320;
        AGVec2 margin{2.0f, -4.0f};
        u32 mask = 0xFFFFFFFFu;
        TString<char> name{"Panel"}, text{"body"};
        bool visible = true;
        double depth = 0.5;
        Items named{"row"}, bare{""};
        void Serialize(ISerialization& s) override {
            s.SerializeUInt("Mask", mask, 0);
            s.SerializeBool("Visible", visible, false);
            // Only doubles stay elements in attribute mode, as they are read.
            s.SetAttributeMode(true);
            s.SerializeInt("Width", width, 1);
            s.SerializeVec2("Margin", margin, AGVec2{});
            s.SerializeString("Name", name, TString<char>());
            s.SerializeBool("Visible", visible, false);
            s.SerializeDouble("Depth", depth, 0.0);
            s.SerializeString("", text, TString<char>());
            s.SerializeInt("", width, 1);  // an attribute needs a name: nothing is written
            s.SetAttributeMode(false);
            s.SerializeItem(named);
            s.SerializeItem(bare);
        }
    } widget;
    EXPECT_EQ(Write(widget),
              "<root Width=\"320\" Margin=\"2.000000,-4.000000\" Name=\"Panel\" Visible=\"true\">"
              "<Mask>4294967295</Mask><Visible>true</Visible><Depth>0.500000</Depth>body"
              "<row><V>4</V></row><V>4</V></root>");

    GameServices::KorvoGame::BaseSavedSettings settings;
    settings.Version = 1;
    settings.CurrentSavedGame = -1;
    settings.Clear();
    EXPECT_EQ(Write(settings), "<root><Version>1</Version><CurrentSavedGame>-1</CurrentSavedGame>"
                               "<SoundEffectsVolume>50</SoundEffectsVolume><MusicVolume>50</MusicVolume>"
                               "<VoiceVolume>50</VoiceVolume></root>");
    GameServices::KorvoGame::BaseSavedGame game;
    game.isUsed = true;
    game.SavedGameName = "Ann";
    EXPECT_EQ(Write(game), "<root><isUsed>true</isUsed><SavedGameName>Ann</SavedGameName></root>");
}

TEST(XmlWriterTest, OutputMustFitTheCallersSize) {
    Inner inner;
    inner.label = "abc";
    const std::string expected = Write(inner);
    const u32 length = u32(expected.size());
    XmlWriter writer;
    std::string out(length + 8, '#');
    u32 size = length;
    EXPECT_TRUE(writer.WriteText(inner, out.data(), size));
    EXPECT_EQ(out, expected + "########");
    LogCapture log;
    out.assign(length + 8, '#');
    size = length - 1;
    EXPECT_FALSE(writer.WriteText(inner, out.data(), size));
    EXPECT_EQ(size, length - 1);
    EXPECT_EQ(out, std::string(length + 8, '#'));
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"The result of the serialization is greater than allowed size"});
}
