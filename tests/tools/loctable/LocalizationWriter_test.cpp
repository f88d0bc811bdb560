#include "tools/authoring/LocalizationWriter.h"

#include <gtest/gtest.h>

#include "tests/support/FileContents.h"

using namespace authoring;

namespace {

std::string FromHex(const char* hex) {
    std::string bytes;
    for (const char* p = hex; p[0] && p[1]; p += 2) {
        while (*p == ' ')
            ++p;
        bytes.push_back(char(std::stoi(std::string(p, 2), nullptr, 16)));
    }
    return bytes;
}

}  // namespace

// The tool builds the sample table byte for byte; source lines, comments and errors.
TEST(LocalizationWriter, TheToolBuildsTheSampleTableByteForByteAndReadsSourceLinesCommentsAndErrors) {
    const std::string table = FileContents(TALLYVOX_SAMPLE_STRINGS);
    const std::string golden = FromHex(
        "00000000000000000000000007000000"
        "e83d311e4e616d6520736f6d657468696e672070656f706c652074616b6520746f207468652062656163680059d13b97"
        "5375626d69740082b32b6e537061636500d843f5e7436f6e6669726d0075f1adfb"
        "5375626d6974207468697320616e737765723f00680cde3259657300f7e636e34e6f00");
    ASSERT_EQ(golden.size(), 132u);
    EXPECT_EQ(table, golden);

    LocalizationEntries entries;
    std::string error;
    ASSERT_TRUE(ParseLocalizationSource("# titles\r\n\n  KEY_A = a=b \r\nEMPTY=\nLAST=x", entries, error));
    const LocalizationEntries want = {{"KEY_A", " a=b "}, {"EMPTY", ""}, {"LAST", "x"}};
    EXPECT_EQ(entries, want);

    const std::string bad[] = {"OK=1\nno equals sign\n", "OK=1\n =text\n", std::string("OK=1\nZ=a\0b", 11)};
    for (const std::string& source : bad) {
        entries.clear();
        error.clear();
        EXPECT_FALSE(ParseLocalizationSource(source, entries, error)) << source;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
        EXPECT_EQ(entries.size(), 1u);
    }
}
