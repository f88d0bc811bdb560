#include "engine/core/TString.h"

#include <gtest/gtest.h>

#include <cstring>

using S = TString<char>;

TEST(TString, OrderIsBytewiseWithPrefixFirst) {
    S ab("ab"), abc("abc"), abd("abd"), empty;
    EXPECT_LT(ab.Compare(abc), 0);
    EXPECT_LT(abc.Compare(abd), 0);
    EXPECT_LT(ab.Compare(abd), 0);
    EXPECT_GT(abd.Compare(ab), 0);
    EXPECT_EQ(abc.Compare(S("abc")), 0);
    EXPECT_TRUE(ab < abc && abc < abd);
    EXPECT_LT(empty.Compare(ab), 0);
    EXPECT_GT(ab.Compare(empty), 0);
    EXPECT_EQ(empty.Compare(S()), 0);
    // Bytes compare unsigned: a high byte sorts after ASCII.
    EXPECT_GT(S("\xE9").Compare(S("z")), 0);
}

TEST(TString, AppendingItselfDoublesTheText) {
    S s("abc");
    s += s.c_str();
    EXPECT_EQ(s, "abcabc");
    EXPECT_EQ(s.Length(), 6u);
    s += s;
    EXPECT_EQ(s, "abcabcabcabc");
    // A part of itself.
    S t("hello");
    t.Append(t.c_str() + 1, 3);
    EXPECT_EQ(t, "helloell");
    // Assigning a part of itself.
    t = t.c_str() + 5;
    EXPECT_EQ(t, "ell");
}

TEST(TString, EqualityIsExact) {
    S s("abc");
    EXPECT_TRUE(s == "abc");
    EXPECT_FALSE(s == "ab");
    EXPECT_FALSE(s == "abcd");
    EXPECT_FALSE(s == "ABC");
    // A counted comparison reads no further than the count.
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_TRUE(s.Equals(unterminated, 3));
    EXPECT_FALSE(s.Equals(unterminated, 2));
    EXPECT_TRUE(S().Equals(nullptr, 0));
    EXPECT_TRUE(S() == "");
    EXPECT_STREQ(S().c_str(), "");
}

TEST(TString, SubString) {
    S s("abcdef");
    EXPECT_EQ(s.SubString(2), "cdef");
    EXPECT_EQ(s.SubString(2, 3), "cde");
    EXPECT_EQ(s.SubString(4, 100), "ef");
    EXPECT_EQ(s.SubString(0, 0), "");
    EXPECT_TRUE(s.SubString(6).IsEmpty());
    EXPECT_TRUE(s.SubString(100, 2).IsEmpty());
    EXPECT_TRUE(S().SubString(0).IsEmpty());
}

TEST(TString, EraseCutsAtTheLastDot) {
    S name("GlobalXml.dir");
    const char* dot = strrchr(name.c_str(), '.');
    name.Erase(u32(dot - name.c_str()));
    EXPECT_EQ(name, "GlobalXml");
    S s("abcdef");
    s.Erase(1, 2);
    EXPECT_EQ(s, "adef");
    s.Erase(10, 1);
    EXPECT_EQ(s, "adef");
}

TEST(TString, NumberFormatting) {
    EXPECT_EQ(S::FromInt(-42), "-42");
    EXPECT_EQ(S::FromLong(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(S::FromUnsigned(4294967295u), "4294967295");
    EXPECT_EQ(S::FromFloat(1.5f), "1.500000");
    EXPECT_EQ(S::FromFloat(-0.25f), "-0.250000");
    // Formatting is bounded: a huge value is cut, never overflowing.
    S big = S::FromFloat(3.0e38f);
    EXPECT_GT(big.Length(), 30u);
    EXPECT_LE(big.Length(), 127u);
}

TEST(TString, WideningSignExtendsEachByte) {
    AGWString w = WidenString(S("A\xE9"));
    ASSERT_EQ(w.Length(), 2u);
    EXPECT_EQ(w[0], u'A');
    EXPECT_EQ(w[1], char16_t(0xFFE9));
    EXPECT_EQ(w.c_str()[2], 0);
    EXPECT_TRUE(WidenString(S()).IsEmpty());
}

TEST(TString, EqualLengthAssignmentKeepsTheBuffer) {
    S s("abc");
    const char* before = s.Data();
    s = "xyz";
    EXPECT_EQ(s.Data(), before);
    EXPECT_EQ(s, "xyz");
    s = "longer";
    EXPECT_EQ(s, "longer");
}

TEST(TString, StringArrayDestroysItsStrings) {
    S* array = NewTStringArray(3);
    ASSERT_NE(array, nullptr);
    array[0] = "one";
    array[2] = "three";
    EXPECT_TRUE(array[1].IsEmpty());
    DeleteTStringArray(array);  // leak checkers see the strings freed
}
