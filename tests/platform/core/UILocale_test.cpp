#include "platform/core/UILocale.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedEnv.h"

namespace {

TEST(UILocale, TakesTheFirstSetVariableInPriorityOrder) {
    ScopedEnv env;
    env.Unset("LANGUAGE").Unset("LC_ALL").Unset("LC_MESSAGES").Unset("LANG");
    EXPECT_EQ(platform::UILanguageTag(), "");

    env.Set("LANG", "fr_FR.UTF-8");
    EXPECT_EQ(platform::UILanguageTag(), "fr_FR.UTF-8");
    env.Set("LC_MESSAGES", "de_DE");
    EXPECT_EQ(platform::UILanguageTag(), "de_DE");
    env.Set("LC_ALL", "it_IT");
    EXPECT_EQ(platform::UILanguageTag(), "it_IT");
    env.Set("LANGUAGE", "ja_JP:en");
    EXPECT_EQ(platform::UILanguageTag(), "ja_JP");
}

TEST(UILocale, EmptyValuesAndEmptyListEntriesAreSkipped) {
    ScopedEnv env;
    env.Set("LANGUAGE", "").Set("LC_ALL", "").Unset("LC_MESSAGES").Set("LANG", "pl_PL");
    EXPECT_EQ(platform::UILanguageTag(), "pl_PL");
    env.Set("LANGUAGE", "::ru:en");
    EXPECT_EQ(platform::UILanguageTag(), "ru");
    env.Set("LANGUAGE", ":");
    EXPECT_EQ(platform::UILanguageTag(), "pl_PL");
}

}  // namespace
