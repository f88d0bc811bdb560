#include "engine/core/TString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/AGMemory.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/CrtRand.h"

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
    const struct { const char* a; const char* b; u32 n; int sign; } counted[] = {
        {"abc", "abd", 1, 0}, {"abc", "abd", 2, -1}, {"ab", "abc", 2, -1}, {"abc", "ab", 3, 1},
        {"", "", 4, 0},       {"", "a", 1, -1},      {"z", "a", 0, 0},     {"\xE9", "z", 1, 1}};
    for (const auto& c : counted) {
        const int result = S(c.a).Compare(S(c.b), c.n);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " " << c.b << " " << c.n;
    }
}

TEST(TString, AppendingOrAssigningItselfReadsNoFreedBytesAndLeaksNone) {
    const u64 heapBefore = GetHeapCounters().current;
    {
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
        EXPECT_TRUE(t.Data() == before && t == "xyz") << t.c_str();
        S big(std::string(5000, 'x').c_str());  // beyond the small-block pools, so counted
        big += "y";
        // The strings of an array start empty, whatever the block held before.
        void* used = AllocBlock(16 + 3 * sizeof(S));
        std::memset(used, 0x11, 16 + 3 * sizeof(S));
        FreeBlock(used);
        S* strings = NewTStringArray(3);
        ASSERT_TRUE(strings[0].Data() == nullptr && strings[0].IsEmpty() && strings[2].IsEmpty());
        strings[0] = strings[2] = big;  // the first and last are freed too
        DeleteTStringArray(strings);
    }
#ifndef TALLYVOX_SYSTEM_ALLOCATOR
    EXPECT_EQ(GetHeapCounters().current, heapBefore);
#else
    (void)heapBefore;
#endif
}

TEST(TString, PartsNumbersAndWidening) {
    S s("abcdef");
    EXPECT_EQ(s.SubString(4, 100), "ef");
    // No text, whatever the count, or none at all.
    EXPECT_TRUE(s.SubString(100, 2).IsEmpty() && S(nullptr, 3).IsEmpty() &&
                S(static_cast<const char*>(nullptr)).IsEmpty());
    S erased("Global.Xml.dir");
    erased.Erase(6, 1);
    erased.Erase(6, 3);
    EXPECT_EQ(erased, "Global.dir");
    erased.Erase(6);
    const char* kept = erased.c_str();
    erased.Erase(6, 1);  // at the end: nothing, the text is not even copied
    EXPECT_TRUE(erased == "Global" && erased.c_str() == kept);
    EXPECT_EQ(S::FromLong(-2147483647 - 1) + S::FromFloat(-0.25f) + S::FromInt(-42),
              "-2147483648-0.250000-42");
    EXPECT_LE(S::FromFloat(3.0e38f).Length(), 127u);  // bounded, never overflowing

    // Resize keeps what fits and zeroes the rest, whatever the allocator hands back.
    void* junk = AllocBlock(5);
    memset(junk, 'x', 5);
    FreeBlock(junk);
    S sized("ab");
    sized.Resize(4);
    EXPECT_EQ(std::string(sized.Data(), sized.Length() + 1), std::string("ab\0\0\0", 5));
    sized.Resize(1);
    EXPECT_EQ(sized, "a");
    sized.Resize(0);
    EXPECT_TRUE(sized.IsEmpty());

    AGWString w = WidenString(S("A\xE9"));
    EXPECT_EQ(std::u16string(w.c_str(), w.Length() + 1), std::u16string(u"A\uFFE9\0", 3));
    EXPECT_EQ(WidenString(S("")).Length(), 0u);
}

TEST(TString, CaseChangesTouchOnlyAsciiLettersAndSuffixTestNeverReadsBeforeTheString) {
    S mixed("az AZ@[`{09\xE9");
    EXPECT_EQ(S(mixed).ToUpper() + "|" + S(mixed).ToLower().c_str(), "AZ AZ@[`{09\xE9|az az@[`{09\xE9");
    const struct {
        const char* text;
        const char* suffix;
        u32 count;
        bool ends;
    } cases[] = {{"OWLS", "S", 1, true},  {"PINE", "S", 1, false}, {"prsc.anm", ".anm", 4, true},
                 {"x.anm", "xanm", 4, false}, {"S", "S", 1, true},   {"", "S", 1, false},
                 {"S", "SS", 2, false},       {"ab", "", 0, true}};
    for (const auto& c : cases)
        EXPECT_EQ(S(c.text).EndsWith(c.suffix, c.count), c.ends) << c.text << " / " << c.suffix;
}

TEST(Crc32Hash, KnownValuesAndSeededContinuation) {
    const u32 whole = Crc32Hash("vertexBuffer");
    EXPECT_EQ((std::vector<u32>{Crc32Hash("abc"), Crc32Hash(""), Crc32Hash(nullptr),
                                Crc32Hash("vertexBuffer", size_t(12), 0), Crc32Hash("Buffer", Crc32Hash("vertex"))}),
              (std::vector<u32>{0xCA6598D0u, 0, 0, whole, whole}));
}

TEST(CrtRand, IsTheClassicFifteenBitGeneratorAndAnIndexDrawStaysBelowTheCount) {
    CrtSrand(1);
    for (u32 v : {41u, 18467u, 6334u, 26500u, 19169u, 15724u, 11478u, 29358u})
        EXPECT_EQ(CrtRand(), v);
    // An index draw stays below the count even at the largest value. The seed whose next draw
    // is 32767: (0x7FFF0000 - increment) times the multiplier's inverse modulo 2^32 (Newton's
    // iteration).
    u32 inverse = 214013u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    const u32 seed = (0x7FFF0000u - 2531011u) * inverse;
    CrtSrand(seed);
    EXPECT_EQ(CrtRand(), 32767u);
    CrtSrand(seed);
    EXPECT_TRUE(CrtRandIndex(8) == 7u && CrtRandIndex(0) == 0u);
    CrtSrand(1);
}
