#include "engine/core/XmlWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/XmlReader.h"
#include "tests/engine/core/XmlTestRecords.h"
#include "tests/support/LogCapture.h"

using GameServices::Utilities::XmlReader;
using GameServices::Utilities::XmlWriter;
using namespace xmltest;  // the records, and the serialization names they use

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
        AllKinds original, back;
        original.attributes = back.attributes = attributes;
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
        original.list.Items().assign(3, original.inner);
        original.list[2].number = 20;
        const std::string text = Write(original);
        XmlReader reader;
        LogCapture log;
        ASSERT_EQ(reader.ReadText(text.c_str(), "root", back), XmlReader::ReadOk);
        EXPECT_TRUE(log.Lines().empty() && memcmp(back.colour, colour, sizeof colour) == 0);
        const auto numbers = [](const AllKinds& k) {
            return std::vector<double>{k.position.z, k.size.y, double(k.flag), double(k.count), k.ratio,
                                       double(k.mask), double(k.along), k.speed};
        };
        EXPECT_EQ(numbers(back), numbers(original));
        EXPECT_TRUE(back.name == original.name && back.inner.label == "inside");
        EXPECT_EQ(Write(back), text);  // the list too
    }
}

TEST(XmlWriterTest, OutputMustFitTheCallersSize) {
    Inner inner;
    inner.label = "abc";
    const std::string expected = Write(inner);
    const u32 length = u32(expected.size());
    XmlWriter writer;
    writer.SerializeObject("Inner", inner, false);  // no document: nothing happens
    std::string out(length + 8, '#');
    u32 size = length;
    EXPECT_TRUE(writer.WriteText(inner, out.data(), size) && out == expected + "########") << out;
    LogCapture log;
    out.assign(length + 8, '#');
    size = length - 1;
    EXPECT_FALSE(writer.WriteText(inner, out.data(), size));
    EXPECT_EQ(std::pair(size, out), std::pair(length - 1, std::string(length + 8, '#')));
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"The result of the serialization is greater than allowed size"});
}
