#pragma once
// Seeded random damage to a binary file image, for tests of bounded readers: flipped bits,
// extreme little-endian words (counts, sizes, offsets, float specials), cuts and inserted
// bytes.
#include <cstdint>
#include <iterator>
#include <random>
#include <string>

inline void DamageBytes(std::string& bytes, std::mt19937& rng, int changes) {
    static const uint32_t kWords[] = {0, 1, 3, 12, 20, 0x7FFF, 0xFFFF, 0x7FFFFFFF,
                                      0xFFFFFFF0, 0xFFFFFFFF, 0x7F800000, 0xFFC00000};
    for (int c = 0; c < changes && !bytes.empty(); ++c) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 4) {
        case 0:
            bytes[at] = char(bytes[at] ^ (1 << (rng() % 8)));
            break;
        case 1: {
            const uint32_t w = kWords[rng() % std::size(kWords)];
            for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
                bytes[at + i] = char(w >> (8 * i));
            break;
        }
        case 2:
            bytes.resize(at);
            break;
        default:
            bytes.insert(bytes.begin() + long(at), char(rng()));
            break;
        }
    }
}
