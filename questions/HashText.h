#pragma once
// The text hash of the question bank: question ids, word pairs, answer words, dictionary
// keys and completion keys are all keyed by it. It is the reflected CRC-32 of the name ids
// (start value 0, no final inversion), so a null or empty text hashes to 0.
#include <string_view>

#include "engine/core/Crc32Hash.h"

u32 HashText(const char* text);

inline u32 HashText(std::string_view text) {
    return Crc32Hash(text.data(), text.size(), 0);
}

// One CRC step, for hashes built up piece by piece (key + "|" + typed group).
inline u32 HashTextStep(u32 crc, u8 byte) {
    return (crc >> 8) ^ crc32_detail::kTable.v[(crc ^ byte) & 0xFFu];
}
