#include "questions/GraphemeEquivalences.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"

WordPairSet WordPairMap;

void WordPairSet::Clear() {
    m_pairs = {};
    m_keys = {};
}

void WordPairSet::Assign(std::vector<u32> pairHashes, std::vector<u32> keyHashes) {
    m_pairs.Assign(std::move(pairHashes));
    m_keys.Assign(std::move(keyHashes));
}

void WordPairSet::HashSet::Assign(std::vector<u32> hashes) {
    *this = {};
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    count = u32(hashes.size());
    if (hashes.empty())
        return;
    size_t capacity = 16;
    while (capacity < hashes.size() * 4)
        capacity *= 2;
    slots.assign(capacity, 0);
    mask = u32(capacity - 1);
    for (u32 h : hashes) {
        if (h == 0) {
            hasZero = true;
            continue;
        }
        u32 i = h & mask;
        while (slots[i] != 0)
            i = (i + 1) & mask;
        slots[i] = h;
    }
}

bool WordPairSet::HashSet::Contains(u32 hash) const {
    if (hash == 0)
        return hasZero;
    if (slots.empty())
        return false;
    for (u32 i = hash & mask; slots[i] != 0; i = (i + 1) & mask)
        if (slots[i] == hash)
            return true;
    return false;
}

bool LoadWordPairs(const void* bytes, u32 size) {
    LineReader reader(bytes, size);
    std::vector<u32> hashes;
    std::vector<u32> keys;
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
        if (n > 0)
            keys.push_back(keyHash);
        for (u32 i = 0; i < n; ++i) {
            const char* typed = reader.CutLine();
            if (!typed)
                break;
            u32 h = keyHash;
            for (const char* t = typed; *t; ++t)
                h = HashTextStep(h, u8(*t));
            hashes.push_back(h);
        }
    }
    bool complete = !reader.Failed();
    if (!complete)
        AGReport("graphtograph.bin is truncated: kept %u word pairs", u32(hashes.size()));
    WordPairMap.Assign(std::move(hashes), std::move(keys));
    return complete;
}

namespace {

// Failed (A, B) positions of one search. Each search takes a new generation instead of
// clearing the table, so no call pays for positions it never reaches.
class FailedPositions {
public:
    void Begin(size_t cells) {
        if (m_marks.size() < cells)
            m_marks.resize(cells, 0);
        if (++m_generation == 0) {
            std::fill(m_marks.begin(), m_marks.end(), 0);
            m_generation = 1;
        }
    }
    bool Has(size_t cell) const { return m_marks[cell] == m_generation; }
    void Add(size_t cell) { m_marks[cell] = m_generation; }

private:
    std::vector<u32> m_marks;
    u32 m_generation = 0;
};

class GraphemeSearch {
public:
    GraphemeSearch(std::string_view a, std::string_view b, FailedPositions& failed)
        : m_a(a), m_b(b), m_stride(b.size() + 1), m_failed(failed) {
        m_failed.Begin((a.size() + 1) * m_stride);
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
        const size_t cell = pa * m_stride + pb;
        if (m_failed.Has(cell))
            return -1;

        const char* a = m_a.data() + pa;
        const char* b = m_b.data() + pb;
        size_t maxI = std::min<size_t>(5, ra);
        size_t maxJ = std::min<size_t>(5, rb);
        size_t same = 0;  // length of the common start, as far as a group reaches
        while (same < maxI && same < maxJ && a[same] == b[same])
            ++same;
        bool pairs = !WordPairMap.IsEmpty();
        u32 keyHash = 0;
        for (size_t i = 1; i <= maxI; ++i) {
            keyHash = HashTextStep(keyHash, u8(a[i - 1]));
            u32 pairHash = HashTextStep(keyHash, u8('|'));
            if (!pairs || !WordPairMap.HasKey(pairHash)) {
                // A group that starts no pair can only be taken as it is.
                if (i <= same && !m_failed.Has(cell + i * m_stride + i)) {
                    int r = Run(pa + i, pb + i);
                    if (r >= 0)
                        return r;
                }
                continue;
            }
            for (size_t j = 1; j <= maxJ; ++j) {
                pairHash = HashTextStep(pairHash, u8(b[j - 1]));
                const bool exact = i == j && i <= same;
                if (!exact && !WordPairMap.Contains(pairHash))
                    continue;
                // A rest already known to fail is skipped without a call.
                if (m_failed.Has(cell + i * m_stride + j))
                    continue;
                int r = Run(pa + i, pb + j);
                if (r >= 0)
                    return exact ? r : r + 1;
                // After an exact step the equivalence would search the same rests again.
            }
        }
        m_failed.Add(cell);
        return -1;
    }

private:
    std::string_view m_a;
    std::string_view m_b;
    size_t m_stride = 0;
    FailedPositions& m_failed;
};

}  // namespace

int GraphemeDistance(std::string_view a, std::string_view b) {
    // Equal words always succeed first along the one-character exact splits.
    if (a == b)
        return 0;
    if (a.size() > 5 * b.size() + 1 || b.size() > 5 * a.size() + 1)
        return -1;
    thread_local FailedPositions failed;
    GraphemeSearch search(a, b, failed);
    return search.Run(0, 0);
}
