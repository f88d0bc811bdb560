#include "engine/core/AGApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const char* text) {
    AGArray<TString<char>> list;
    list.Add("stale");  // the list is emptied first
    SplitCommandLine(list, text);
    std::vector<std::string> out;
    for (const auto& s : list)
        out.emplace_back(s.c_str());
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(SplitCommandLine, SpacesSeparateAndQuotesGroup) {
    EXPECT_EQ(Split("  lead   trail  "), (V{"lead", "trail"}));
    EXPECT_EQ(Split("a\tb"), (V{"a\tb"}));
    // Quotes are never part of an argument; an opening quote continues the argument and
    // a closing one ends it; an unterminated one runs to the end.
    EXPECT_EQ(Split("ab\"cd ef\"gh"), (V{"abcd ef", "gh"}));
    EXPECT_EQ(Split("a\"\"b"), (V{"a", "b"}));
    EXPECT_EQ(Split("x \"y z"), (V{"x", "y z"}));
    EXPECT_EQ(Split(nullptr), V{});
}

