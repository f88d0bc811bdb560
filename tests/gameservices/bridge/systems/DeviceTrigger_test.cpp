#include "gameservices/bridge/systems/DeviceTrigger.h"

#include <gtest/gtest.h>

#include "tests/support/LogCapture.h"

using namespace GameServices::Bridge;

TEST(KeyNameTable, TheBuiltInNamesAndUnknownNames) {
    KeyNameTable names;
    names.Build();
    EXPECT_EQ(names.Count(), 107u);
    const struct {
        const char* name;
        i32 code;
    } cases[] = {
        {"keyaccept", 83}, {"keycancel", 18}, {"keyescape", 18}, {"mouseleft", 2},
        {"cbmouseprimary", 2}, {"cbmousesecondary", 4}, {"mousewheel", 3}, {"q", 84},
        {"m", 109}, {"key1", 61}, {"key0", 70}, {"keyf1", 19}, {"keyf12", 30},
        {"keyspacebar", 80}, {"keybackspace", 73}, {"keypagedown", 39}, {"wiiup", 7},
        {"wiihome", 17}, {"xboxup", 118}, {"xboxleftleft", 133}, {"xboxrightdown", 140},
        {"xboxrtrigger", 142}, {"xboxbig", 128}, {"xboxy", 132}, {"default1", 1},
        {"KeyAccept", 83},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names.CodeOf(c.name), c.code) << c.name;
    EXPECT_EQ(names.Count(), 107u);
    EXPECT_EQ(names.CodeOf("keyenter"), 0);
    EXPECT_EQ(names.Count(), 108u);
}

TEST(DeviceTriggerWords, StateFiltersAndAxes) {
    LogCapture log;
    for (const char* word : {"Press", "PRESS", "press"})
        EXPECT_EQ(ParseStateFilter(word), u32(kStatePress)) << word;
    EXPECT_EQ(ParseStateFilter("Release"), u32(kStateRelease));
    EXPECT_EQ(ParseStateFilter("None"), u32(kStateNone));
    EXPECT_EQ(ParseStateFilter(""), u32(kStateNone));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(ParseStateFilter("Pressed"), u32(kStateNone));
    EXPECT_TRUE(log.Contains("invalid state filterPressed"));

    const char* axes[] = {"axis-up", "AXIS-DOWN", "axis-left", "axis-right", "axis-foward",
                          "axis-back", "axis-all"};
    for (u32 i = 0; i < 7; ++i)
        EXPECT_EQ(ParseAxis(axes[i]), i + 1) << axes[i];
    EXPECT_EQ(ParseAxis("axis-forward"), u32(kAxisNone));
    EXPECT_EQ(ParseAxis(""), u32(kAxisNone));
}
