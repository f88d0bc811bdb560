#include "engine/core/SplitString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const char* text, const char* separators, u8 tag = 0) {
    AGArray<TString<char>> parts;
    SplitString(TString<char>(text), parts, TString<char>(separators), tag);
    std::vector<std::string> out;
    for (const auto& part : parts) {
        EXPECT_EQ(part.Tag(), tag);
        out.emplace_back(part.c_str());
    }
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(SplitStringTest, EverySeparatorEndsAPiece) {
    EXPECT_EQ(Split("a,b", ","), (V{"a", "b"}));
    EXPECT_EQ(Split("a,,b", ","), (V{"a", "", "b"}));
    EXPECT_EQ(Split(",a,", ","), (V{"", "a", ""}));
    EXPECT_EQ(Split("a, b", ", "), (V{"a", "", "b"}));
    EXPECT_EQ(Split("a,b", "", 3), (V{"a,b"}));
    EXPECT_TRUE(Split("", ",").empty());
}
