#include "engine/core/TString.h"

#include <gtest/gtest.h>

using S = TString<char>;

TEST(TString, OrderIsBytewiseWithPrefixFirst) {
    const S ordered[] = {S(), S("ab"), S("abc"), S("abd"), S("z"), S("\xE9")};
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_LT(ordered[i].Compare(ordered[i + 1]), 0) << i;
        EXPECT_GT(ordered[i + 1].Compare(ordered[i]), 0) << i;
        EXPECT_TRUE(ordered[i] < ordered[i + 1]) << i;
    }
    EXPECT_EQ(S("abc").Compare(S("abc")), 0);

    // Counted: n + 1 units at most, the shorter string's terminator included.
    const struct {
        const char* a;
        const char* b;
        u32 n;
        int sign;
    } counted[] = {{"abc", "abd", 1, 0}, {"abc", "abd", 2, -1}, {"abd", "abc", 9, 1},
                   {"ab", "abc", 1, 0},  {"ab", "abc", 2, -1},  {"abc", "ab", 3, 1},
                   {"", "", 4, 0},       {"a", "", 1, 1},       {"", "a", 1, -1},
                   {"z", "a", 0, 0},     {"\xE9", "z", 1, 1}};
    for (const auto& c : counted) {
        const int result = S(c.a).Compare(S(c.b), c.n);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " " << c.b << " " << c.n;
    }
}

TEST(TString, AppendingOrAssigningItselfReadsNoFreedBytes) {
    S s("abc");
    s += s.c_str();
    EXPECT_EQ(s, "abcabc");
    s += s;
    EXPECT_EQ(s, "abcabcabcabc");
    S t("hello");
    t.Append(t.c_str() + 1, 3);
    EXPECT_EQ(t, "helloell");
    t = t.c_str() + 5;
    EXPECT_EQ(t, "ell");
    // Equal lengths are copied in place.
    const char* before = t.Data();
    t = "xyz";
    EXPECT_EQ(t.Data(), before);
}

TEST(TString, EqualityIsExactAndCountedComparisonStaysInTheCount) {
    S s("abc");
    EXPECT_TRUE(s == "abc");
    EXPECT_FALSE(s == "ab");
    EXPECT_FALSE(s == "abcd");
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_TRUE(s.Equals(unterminated, 3));
    EXPECT_FALSE(s.Equals(unterminated, 2));
    EXPECT_TRUE(S() == "");
}

TEST(TString, PartsNumbersAndWidening) {
    S s("abcdef");
    EXPECT_EQ(s.SubString(4, 100), "ef");
    EXPECT_TRUE(s.SubString(100, 2).IsEmpty());
    S erased("Global.Xml.dir");
    erased.Erase(6, 4);
    EXPECT_EQ(erased, "Global.dir");
    erased.Erase(6);
    EXPECT_EQ(erased, "Global");
    EXPECT_EQ(S::FromLong(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(S::FromFloat(1.5f), "1.500000");
    EXPECT_EQ(S::FromFloat(-0.25f), "-0.250000");
    EXPECT_EQ(S::FromInt(-42), "-42");
    EXPECT_LE(S::FromFloat(3.0e38f).Length(), 127u);  // bounded, never overflowing

    AGWString w = WidenString(S("A\xE9"));
    ASSERT_EQ(w.Length(), 2u);
    EXPECT_EQ(w[0], char16_t('A'));
    EXPECT_EQ(w[1], char16_t(0xFFE9));
    EXPECT_EQ(w.c_str()[2], 0);
}
