#include "questions/GraphemeEquivalences.h"

#include <algorithm>
#include <cstring>

#include "engine/core/AGLog.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"

WordPairSet WordPairMap;

void WordPairSet::Clear() {
    m_slots.clear();
    m_mask = 0;
    m_count = 0;
    m_hasZero = false;
}

void WordPairSet::Assign(std::vector<u32> hashes) {
    Clear();
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    m_count = u32(hashes.size());
    if (hashes.empty())
        return;
    size_t capacity = 16;
    while (capacity < hashes.size() * 4)
        capacity *= 2;
    m_slots.assign(capacity, 0);
    m_mask = u32(capacity - 1);
    for (u32 h : hashes) {
        if (h == 0) {
            m_hasZero = true;
            continue;
        }
        u32 i = h & m_mask;
        while (m_slots[i] != 0)
            i = (i + 1) & m_mask;
        m_slots[i] = h;
    }
}

bool WordPairSet::Contains(u32 hash) const {
    if (hash == 0)
        return m_hasZero;
    if (m_slots.empty())
        return false;
    for (u32 i = hash & m_mask; m_slots[i] != 0; i = (i + 1) & m_mask)
        if (m_slots[i] == hash)
            return true;
    return false;
}

bool LoadWordPairs(const void* bytes, u32 size) {
    LineReader reader(bytes, size);
    std::vector<u32> hashes;
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
    WordPairMap.Assign(std::move(hashes));
    return complete;
}

namespace {

class GraphemeSearch {
public:
    GraphemeSearch(std::string_view a, std::string_view b, std::vector<u8>& failed)
        : m_a(a), m_b(b), m_failed(failed) {
        m_stride = b.size() + 1;
        m_failed.assign((a.size() + 1) * m_stride, 0);
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
        u8& failed = m_failed[pa * m_stride + pb];
        if (failed)
            return -1;

        const char* a = m_a.data() + pa;
        const char* b = m_b.data() + pb;
        size_t maxI = std::min<size_t>(5, ra);
        size_t maxJ = std::min<size_t>(5, rb);
        bool pairs = !WordPairMap.IsEmpty();
        u32 keyHash = 0;
        for (size_t i = 1; i <= maxI; ++i) {
            keyHash = HashTextStep(keyHash, u8(a[i - 1]));
            u32 pairHash = HashTextStep(keyHash, u8('|'));
            for (size_t j = 1; j <= maxJ; ++j) {
                pairHash = HashTextStep(pairHash, u8(b[j - 1]));
                // A rest already known to fail is skipped without a call.
                if (m_failed[(pa + i) * m_stride + pb + j])
                    continue;
                if (i == j && memcmp(a, b, i) == 0) {
                    int r = Run(pa + i, pb + j);
                    if (r >= 0)
                        return r;
                    continue;  // the equivalence would search the same rests again
                }
                if (pairs && WordPairMap.Contains(pairHash)) {
                    int r = Run(pa + i, pb + j);
                    if (r >= 0)
                        return r + 1;
                }
            }
        }
        failed = 1;
        return -1;
    }

private:
    std::string_view m_a;
    std::string_view m_b;
    std::vector<u8>& m_failed;
    size_t m_stride = 0;
};

}  // namespace

int GraphemeDistance(std::string_view a, std::string_view b) {
    // Equal words always succeed first along the one-character exact splits.
    if (a == b)
        return 0;
    if (a.size() > 5 * b.size() + 1 || b.size() > 5 * a.size() + 1)
        return -1;
    thread_local std::vector<u8> failed;
    GraphemeSearch search(a, b, failed);
    return search.Run(0, 0);
}
