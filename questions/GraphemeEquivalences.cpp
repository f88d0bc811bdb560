#include "questions/GraphemeEquivalences.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"

WordPairSet WordPairMap;

void WordPairSet::Clear() {
    m_pairs = {};
    m_keys = {};
    m_pairCount = 0;
}

void WordPairSet::Assign(std::vector<u32> pairHashes, const std::vector<Key>& keys) {
    std::sort(pairHashes.begin(), pairHashes.end());
    pairHashes.erase(std::unique(pairHashes.begin(), pairHashes.end()), pairHashes.end());
    std::vector<Key> pairs;
    for (u32 h : pairHashes)
        pairs.push_back({h, 1});
    m_pairs.Assign(pairs);
    m_keys.Assign(keys);
    m_pairCount = u32(pairHashes.size());
}

void WordPairSet::HashMap::Assign(const std::vector<Key>& entries) {
    *this = {};
    if (entries.empty())
        return;
    size_t capacity = 16;
    while (capacity < entries.size() * 4)
        capacity *= 2;
    slots.assign(capacity, Key{});
    mask = u32(capacity - 1);
    for (const Key& e : entries) {
        if (e.longestTyped == 0)
            continue;
        u32 i = e.hash & mask;
        while (slots[i].longestTyped != 0 && slots[i].hash != e.hash)
            i = (i + 1) & mask;
        slots[i].hash = e.hash;
        slots[i].longestTyped = std::max(slots[i].longestTyped, e.longestTyped);
    }
}

u32 WordPairSet::HashMap::Find(u32 hash) const {
    if (slots.empty())
        return 0;
    for (u32 i = hash & mask; slots[i].longestTyped != 0; i = (i + 1) & mask)
        if (slots[i].hash == hash)
            return slots[i].longestTyped;
    return 0;
}

bool LoadWordPairs(const void* bytes, u32 size) {
    LineReader reader(bytes, size);
    std::vector<u32> hashes;
    std::vector<WordPairSet::Key> keys;
    u32 entries = reader.ReadU32();
    for (u32 e = 0; e < entries && !reader.Failed(); ++e) {
        const char* key = reader.CutLine();
        u32 n = reader.ReadU32();
        if (reader.Failed())
            break;
        // key + "|" hashed once; each typed group continues from it.
        u32 keyHash = 0;
        for (const char* k = key; *k; ++k)
            keyHash = HashTextStep(keyHash, u8(*k));
        keyHash = HashTextStep(keyHash, u8('|'));
        WordPairSet::Key group{keyHash, 0};
        for (u32 i = 0; i < n; ++i) {
            const char* typed = reader.CutLine();
            if (!typed)
                break;
            u32 h = keyHash;
            u32 length = 0;
            for (const char* t = typed; *t; ++t, ++length)
                h = HashTextStep(h, u8(*t));
            hashes.push_back(h);
            // An empty typed group is never taken (groups hold 1..5 characters).
            group.longestTyped = std::max(group.longestTyped, length);
        }
        keys.push_back(group);
    }
    bool complete = !reader.Failed();
    if (!complete)
        AGReport("graphtograph.bin is truncated: kept %u word pairs", u32(hashes.size()));
    WordPairMap.Assign(std::move(hashes), std::move(keys));
    return complete;
}

namespace {

// Working tables of one search: the failed (A, B) positions, and per A position the groups
// that start there. Each search takes a new generation instead of clearing the tables, so no
// call pays for positions it never reaches; 64 bits of generations never wrap.
class SearchTables {
public:
    // The answer-side groups of 1..5 characters at one position: HashText(group + "|") and
    // the longest typed group of the pairs it starts (0: none).
    struct Groups {
        u64 generation = 0;
        u32 pairSeed[6] = {};
        u32 longestTyped[6] = {};
    };

    void Begin(size_t aSize, size_t bSize) {
        size_t cells = (aSize + 1) * (bSize + 1);
        if (m_failed.size() < cells)
            m_failed.resize(cells, 0);
        if (m_groups.size() < aSize + 1)
            m_groups.resize(aSize + 1);
        ++m_generation;
    }
    bool Failed(size_t cell) const { return m_failed[cell] == m_generation; }
    void AddFailed(size_t cell) { m_failed[cell] = m_generation; }

    const Groups& GroupsAt(std::string_view a, size_t pa) {
        Groups& g = m_groups[pa];
        if (g.generation == m_generation)
            return g;
        g.generation = m_generation;
        u32 keyHash = 0;
        for (size_t i = 1; i <= 5; ++i) {
            g.longestTyped[i] = 0;
            if (pa + i > a.size())
                continue;
            keyHash = HashTextStep(keyHash, u8(a[pa + i - 1]));
            g.pairSeed[i] = HashTextStep(keyHash, u8('|'));
            g.longestTyped[i] = WordPairMap.LongestTyped(g.pairSeed[i]);
        }
        return g;
    }

private:
    std::vector<u64> m_failed;
    std::vector<Groups> m_groups;
    u64 m_generation = 0;
};

class GraphemeSearch {
public:
    GraphemeSearch(std::string_view a, std::string_view b, SearchTables& tables)
        : m_a(a), m_b(b), m_stride(b.size() + 1), m_tables(tables) {
        m_tables.Begin(a.size(), b.size());
    }

    int Run(size_t pa, size_t pb) {
        size_t ra = m_a.size() - pa;
        size_t rb = m_b.size() - pb;
        if (ra == 0)
            return (rb == 0 || (rb == 1 && m_b[pb] == '!')) ? 0 : -1;
        if (rb == 0)
            return (ra == 1 && m_a[pa] == '!') ? 0 : -1;
        // Every step takes 1..5 characters from each side and only a lone "!" may be left
        // over, so a rest more than five times the other's (plus one) can never match.
        if (ra > 5 * rb + 1 || rb > 5 * ra + 1)
            return -1;

        const char* a = m_a.data() + pa;
        const char* b = m_b.data() + pb;
        size_t maxI = std::min<size_t>(5, ra);
        size_t maxJ = std::min<size_t>(5, rb);
        size_t same = 0;  // length of the common start, as far as a group reaches
        while (same < maxI && same < maxJ && a[same] == b[same])
            ++same;
        const SearchTables::Groups& groups = m_tables.GroupsAt(m_a, pa);
        for (size_t i = 1; i <= maxI; ++i) {
            if (groups.longestTyped[i] == 0) {
                // A group that starts no pair can only be taken as it is.
                if (i <= same) {
                    int r = Step(pa + i, pb + i);
                    if (r >= 0)
                        return r;
                }
                continue;
            }
            // Typed groups longer than the group's pairs take, and than an exact step, are
            // never taken.
            const size_t lastJ = std::min(maxJ, std::max<size_t>(groups.longestTyped[i], i <= same ? i : 0));
            u32 pairHash = groups.pairSeed[i];
            for (size_t j = 1; j <= lastJ; ++j) {
                pairHash = HashTextStep(pairHash, u8(b[j - 1]));
                const bool exact = i == j && i <= same;
                if (!exact && !WordPairMap.Contains(pairHash))
                    continue;
                int r = Step(pa + i, pb + j);
                if (r >= 0)
                    return exact ? r : r + 1;
                // After an exact step the equivalence would search the same rests again.
            }
        }
        m_tables.AddFailed(pa * m_stride + pb);
        return -1;
    }

private:
    // A rest already known to fail is not searched again.
    int Step(size_t pa, size_t pb) { return m_tables.Failed(pa * m_stride + pb) ? -1 : Run(pa, pb); }

    std::string_view m_a;
    std::string_view m_b;
    size_t m_stride = 0;
    SearchTables& m_tables;
};

}  // namespace

int GraphemeDistance(std::string_view a, std::string_view b) {
    // Equal words always succeed first along the one-character exact splits.
    if (a == b)
        return 0;
    thread_local SearchTables tables;
    GraphemeSearch search(a, b, tables);
    return search.Run(0, 0);
}
