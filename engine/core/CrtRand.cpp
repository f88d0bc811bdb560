#include "engine/core/CrtRand.h"

namespace {
u32 g_crtState = 1;
}

void CrtSrand(u32 seed) {
    g_crtState = seed;
}

u32 CrtRand() {
    g_crtState = g_crtState * 214013u + 2531011u;
    return (g_crtState >> 16) & 0x7FFFu;
}

u32 CrtRandIndex(u32 count) {
    return u32((u64(CrtRand()) * count) >> 15);
}
