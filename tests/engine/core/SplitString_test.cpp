#include "engine/core/SplitString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SplitStringTest, EverySeparatorEndsAPiece) {
    using V = std::vector<std::string>;
    const struct {
        const char* text;
        const char* separators;
        V pieces;
    } cases[] = {{"a,,b", ",", {"a", "", "b"}}, {",a,", ",", {"", "a", ""}},
                 {"a, b", ", ", {"a", "", "b"}}, {"a,b", "", {"a,b"}}, {"", ",", {}}};
    for (const auto& c : cases) {
        AGArray<TString<char>> parts;
        SplitString(TString<char>(c.text), parts, TString<char>(c.separators), 3);
        V out;
        for (const auto& part : parts) {
            EXPECT_EQ(part.Tag(), 3);
            out.emplace_back(part.c_str());
        }
        EXPECT_EQ(out, c.pieces) << c.text;
    }
}
