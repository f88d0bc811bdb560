#include "questions/GraphemeEquivalences.h"

#include <gtest/gtest.h>

#include <string>

#include "questions/HashText.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Timing.h"

namespace {

class GraphemeDistanceTest : public ::testing::Test {
protected:
    void TearDown() override { WordPairMap.Clear(); }
    void UsePairs(const std::vector<TestPair>& pairs) {
        std::string bytes = WordPairBytes(pairs);
        ASSERT_TRUE(LoadWordPairs(bytes.data(), u32(bytes.size())));
    }
};

using V = std::vector<int>;

// GraphemeDistance of each (answer word, typed word).
V Distances(const std::vector<std::pair<std::string, std::string>>& words) {
    V out;
    for (const auto& [a, b] : words)
        out.push_back(GraphemeDistance(a, b));
    return out;
}

}  // namespace

// Without pairs only equal words match; a lone mark may be left over on either side.
TEST_F(GraphemeDistanceTest, WithoutPairsOnlyEqualWordsMatch) {
    EXPECT_EQ(Distances({{"!phone!", "!phone!"}, {"!phone!", "!fone!"}, {"", "!"}, {"!", ""}, {"", "!!"},
                         {"!towel!", "!towel"}, {"!towel", "!towel!"}}),
              (V{0, -1, 0, 0, -1, 0, 0}));
}

TEST_F(GraphemeDistanceTest, PairsCountOneReplacementEach) {
    // Pairs are directional and only they change lengths; the group "ie!" absorbs the final
    // mark of the answer side; a->x is tried before ab->xy and leads on to b->y: 2, not 1.
    UsePairs({{"ph", {"f"}}, {"ie!", {"y"}}, {"a", {"x"}}, {"b", {"y"}}, {"ab", {"xy"}}});
    EXPECT_EQ(Distances({{"!phone!", "!fone!"}, {"!fone!", "!phone!"}, {"!phh!", "!ph!"}, {"!phosphor!", "!fosfor!"},
                         {"!cookie!", "!cooky"}, {"!cookie!", "!cooky!"}, {"!ab!", "!xy!"}}),
              (V{1, -1, -1, 2, 1, 1, 2}));
    // x->ab leads to a dead end; the rest after xy->a is another position and still matches.
    UsePairs({{"x", {"ab"}}, {"xy", {"a"}}});
    EXPECT_EQ(GraphemeDistance("!xyb!", "!ab!"), 1);
}

TEST_F(GraphemeDistanceTest, GroupsReachFiveCharacters) {
    // A group listed twice keeps both lists.
    UsePairs({{"ough!", {"o!"}}, {"k", {"qwxyz"}}, {"k", {"c"}}});
    EXPECT_EQ(Distances({{"!through!", "!thro!"}, {"!kite!", "!qwxyzite!"}, {"!kite!", "!cite!"}}), (V{1, 1, 1}));
    // Five characters for one, and a lone mark left over: the most one side may outrun the other.
    UsePairs({{"bcdef", {"!"}}, {"!", {"bcdef"}}});
    EXPECT_EQ(Distances({{"!abcdef!", "!a!"}, {"!a!", "!abcdef!"}}), (V{1, 1}));
}

TEST_F(GraphemeDistanceTest, LongAdversarialWordsFinishQuickly) {
    // Runs of a's regroup in many ways, so without remembering failed positions a late
    // mismatch explores an exponential number of splits.
    std::vector<TestPair> pairs;
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j)
            if (i != j)
                pairs.push_back({std::string(i, 'a'), {std::string(j, 'a')}});
    UsePairs(pairs);
    const std::string a = "!" + std::string(57, 'a') + "x!";
    int d = 0;
    EXPECT_LT(BestOfMs(5, [&] { d = GraphemeDistance(a, "!" + std::string(57, 'a') + "z!"); }), 1.0 * TimingScale());
    EXPECT_EQ(d, -1);
    // Seven surplus a's need at least two regroupings (a group drops at most four).
    EXPECT_GE(GraphemeDistance(a, "!" + std::string(50, 'a') + "x!"), 2);
}

TEST_F(GraphemeDistanceTest, LoadingFindsEveryPair) {
    // Many groups, so that hashes share table slots.
    std::vector<TestPair> many;
    for (int n = 0; n < 200; ++n)
        many.push_back({std::to_string(n * 7919 % 1000) + "xy", {std::string(3, char('a' + n % 26))}});
    UsePairs(many);
    for (const TestPair& p : many) {
        EXPECT_TRUE(WordPairMap.Contains(HashText(p.key + "|" + p.typed[0]))) << p.key;
        EXPECT_EQ(WordPairMap.LongestTyped(HashText(p.key + "|")), 3u) << p.key;
    }
}

TEST_F(GraphemeDistanceTest, LoadingReplacesThePairs) {
    // A pair listed again counts once, wherever it stands; a group listed without typed
    // groups starts no pair.
    UsePairs({{"ph", {"f"}}, {"c", {"k"}}, {"ph", {"f"}}, {"x", {}}});
    EXPECT_EQ(WordPairMap.Count(), 2u);
    EXPECT_EQ(WordPairMap.LongestTyped(HashText("x|")), 0u);
    UsePairs({{"ph", {"f"}}});
    EXPECT_EQ(WordPairMap.Count(), 1u);
    std::string bytes = WordPairBytes({{"c", {"k", "s"}}, {"ck", {"k"}}}, "\n");
    // Cut inside the second entry's key line: the first entry's pairs stay.
    LogCapture log;
    EXPECT_FALSE(LoadWordPairs(bytes.data(), 4 + 2 + 4 + 2 + 2 + 1));
    EXPECT_TRUE(log.Contains("graphtograph.bin is truncated"));
    EXPECT_EQ(GraphemeDistance("!cat!", "!sat!"), 1);
    EXPECT_EQ(GraphemeDistance("!phone!", "!fone!"), -1);
}

TEST_F(GraphemeDistanceTest, AHugeCountStopsAtTheDataEnd) {
    ByteWriter huge;
    huge.U32(0xFFFFFFFFu).Text("c\n").U32(0xFFFFFFFFu).Text("k\n");
    EXPECT_FALSE(LoadWordPairs(huge.Str().data(), u32(huge.Size())));
    EXPECT_EQ(GraphemeDistance("!cat!", "!kat!"), 1);
    WordPairMap.Clear();
    EXPECT_TRUE(WordPairMap.IsEmpty());
    EXPECT_EQ(WordPairMap.LongestTyped(HashText("c|")), 0u) << "clearing drops the answer-side groups too";
    EXPECT_FALSE(WordPairMap.Contains(HashText("c|k")));
}
