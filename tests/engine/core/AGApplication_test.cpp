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
    // Quotes are never part of an argument; an opening quote continues the argument and
    // a closing one ends it; an unterminated one runs to the end.
    EXPECT_EQ((std::vector<V>{Split("  lead   trail  "), Split("a\tb"), Split("ab\"cd ef\"gh"), Split("a\"\"b"),
                              Split("x \"y z"), Split(nullptr)}),
              (std::vector<V>{{"lead", "trail"}, {"a\tb"}, {"abcd ef", "gh"}, {"a", "b"}, {"x", "y z"}, {}}));
}

