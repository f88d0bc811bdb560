#pragma once
// The 15-bit generator that game logic and the particle system use where they draw "from the
// C runtime": the classic LCG x = x * 214013 + 2531011, returning bits 16..30 (0..32767),
// seeded 1 at start-up.
// It is its own state, so results do not depend on the platform's rand().
#include "engine/core/AGTypes.h"

inline constexpr u32 kCrtRandMax = 32767;

void CrtSrand(u32 seed);
u32 CrtRand();

// A start index in [0, count) from one draw: floor(r * count / 32768), always below count.
// count 0 gives 0.
u32 CrtRandIndex(u32 count);
