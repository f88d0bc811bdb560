#pragma once
// Spelling equivalences of the answer matcher. "graphtograph.bin" lists, for answer-side
// letter groups of up to five characters, the typed-side groups a player may write instead
// (ph -> f, c -> k, ...). Groups may hold the word-boundary mark "!". The pairs are kept as
// the set of HashText(answer group + "|" + typed group); they are directional.
#include <string_view>
#include <vector>

#include "engine/core/AGTypes.h"

class WordPairSet {
public:
    // An answer-side group: HashText(group + "|") and its longest typed group.
    struct Key {
        u32 hash = 0;
        u32 longestTyped = 0;
    };

    void Clear();
    // Replaces the contents with the given pair hashes and answer-side groups (duplicates
    // fold; a group given twice keeps its longest typed group).
    void Assign(std::vector<u32> pairHashes, const std::vector<Key>& keys);
    bool Contains(u32 pairHash) const { return m_pairs.Find(pairHash) != 0; }
    // The longest typed group of the pairs that start with this answer-side group (hash of
    // group + "|"), or 0 when none does.
    u32 LongestTyped(u32 keyHash) const { return m_keys.Find(keyHash); }
    bool IsEmpty() const { return m_pairCount == 0; }
    u32 Count() const { return m_pairCount; }

private:
    // Open addressing with linear probing from hash to a non-zero value; a value of 0 marks
    // a free slot.
    struct HashMap {
        void Assign(const std::vector<Key>& entries);
        u32 Find(u32 hash) const;

        std::vector<Key> slots;
        u32 mask = 0;
    };
    HashMap m_pairs;
    HashMap m_keys;
    u32 m_pairCount = 0;
};

// The one pair set that GraphemeDistance reads.
extern WordPairSet WordPairMap;

// Parses "graphtograph.bin" into WordPairMap, replacing what it held: u32 E, then E times
// {key line; u32 n; n typed-group lines}. Reading stops at the end of the data; a truncated
// file keeps the pairs read before the cut and is reported. Returns false when truncated.
bool LoadWordPairs(const void* bytes, u32 size);

// Number of equivalence replacements that turn the typed word B into the answer word A, both
// boundary-marked ("!" + word + "!"), or -1 when there is none. The search is depth first
// over prefix splits of 1..5 characters on each side (answer side outer, exact before
// equivalence) and returns the first way found, not the cheapest. Failed (A, B) positions
// are remembered, so the work grows with the product of the lengths; the question bank tool
// bounds the answer words, which bounds a whole answer check.
int GraphemeDistance(std::string_view a, std::string_view b);
