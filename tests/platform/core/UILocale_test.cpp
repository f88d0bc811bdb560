#include "platform/core/UILocale.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedEnv.h"

TEST(UILocale, TakesTheFirstSetVariableInPriorityOrderAndSkipsEmptyEntries) {
    ScopedEnv env;
    env.Unset("LANGUAGE").Unset("LC_ALL").Unset("LC_MESSAGES").Unset("LANG");
    EXPECT_EQ(platform::UILanguageTag(), "");
    const struct {
        const char* variable;
        const char* value;
        const char* tag;
    } steps[] = {{"LANG", "fr_FR.UTF-8", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE", "de_DE"}, {"LC_ALL", "", "de_DE"},
                 {"LC_ALL", "it_IT", "it_IT"},          {"LANGUAGE", "ja_JP:en", "ja_JP"}, {"LANGUAGE", "::ru:en", "ru"},
                 {"LANGUAGE", ":", "it_IT"}};
    for (const auto& step : steps) {
        env.Set(step.variable, step.value);
        EXPECT_EQ(platform::UILanguageTag(), step.tag) << step.variable << "=" << step.value;
    }
}
