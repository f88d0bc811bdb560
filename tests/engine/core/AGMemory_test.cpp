#include "engine/core/AGMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// The pools' tests: skipped in a build with the system allocator.
class AGMemory : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef TALLYVOX_SYSTEM_ALLOCATOR
        GTEST_SKIP() << "built with the system allocator";
#endif
    }
};

TEST_F(AGMemory, SizeClassesStepBySixteenUpTo248BytesAndAFreedBlockComesBackFirst) {
    const std::pair<size_t, int> cases[] = {{0, 0},    {8, 0},    {9, 1},   {24, 1},
                                            {121, 8}, {233, 15}, {kLargestPooledSize, kPoolClassCount - 1},
                                            {kLargestPooledSize + 1, -1}};
    for (const auto& [size, poolClass] : cases) {
        void* p = AllocBlock(size);
        EXPECT_EQ(BlockPoolClass(p), poolClass) << size;
        FreeBlock(p);
    }
    // std::string grows inside the shared C++ runtime: its operator new is ours too.
    std::string text(300, 'x');
    EXPECT_EQ(BlockRequestedSize(text.data()), 301u);
    // 25..40 bytes share a class; its freed block comes back first, cleared for AllocZeroed.
    void* block = AllocBlock(40);
    memset(block, 0xFF, 40);
    FreeBlock(block);
    u8* again = static_cast<u8*>(AllocZeroed(25));
    EXPECT_TRUE(again == block && std::count(again, again + 25, 0) == 25);
    FreeBlock(again);
}

TEST_F(AGMemory, ReallocCopiesTheSmallerSizeAndKeepsTheOldBlockOnFailure) {
    // Two neighbouring slots of one class: a copy past the first block's own size would bring
    // the second one's bytes along.
    std::vector<u8*> slots;
    u8* block = nullptr;
    u8* neighbour = nullptr;
    for (int i = 0; i < 600 && !block; ++i) {
        slots.push_back(static_cast<u8*>(AllocBlock(40)));
        for (u8* other : slots)
            if (slots.back() == other + 48)
                block = other, neighbour = slots.back();
            else if (other == slots.back() + 48)
                block = slots.back(), neighbour = other;
    }
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 40; ++i) {
        block[i] = u8(i + 1);
        neighbour[i] = u8(0xC0 + i);
    }
    std::vector<u8> want(40);
    memcpy(want.data(), block, 40);
    u8* grown = static_cast<u8*>(ReallocBlock(block, 1000));
    ASSERT_TRUE(grown && BlockRequestedSize(grown) == 1000u);
    EXPECT_EQ(memcmp(grown, want.data(), 40), 0);
    EXPECT_NE(memcmp(grown + 48, neighbour, 40), 0) << "copied beyond the old block";
    grown = static_cast<u8*>(ReallocBlock(grown, 30));
    EXPECT_EQ(memcmp(grown, want.data(), 30), 0);
    grown = static_cast<u8*>(ReallocBlock(grown, 300));
    for (u8* p : slots)
        if (p != block)
            FreeBlock(p);

    // A size whose header field would overflow is refused before anything is allocated.
    const AGHeapCounters before = GetHeapCounters();
    EXPECT_EQ((std::vector<void*>{ReallocBlock(grown, SIZE_MAX), AllocBlock(SIZE_MAX >> 3), AllocZeroed(SIZE_MAX)}),
              std::vector<void*>(3, nullptr));
    EXPECT_TRUE(GetHeapCounters().current == before.current && grown[0] == 1u);
    FreeBlock(grown);
}

// Allocates 248-byte blocks (the last class, 64 per chunk) until one growth of the pool has
// happened; returns the heap bytes it took and the blocks handed out before and with it.
u64 GrowLastClass(std::vector<void*>& taken) {
    for (;;) {
        const u64 before = GetHeapCounters().current;
        taken.push_back(AllocBlock(kLargestPooledSize));
        if (const u64 now = GetHeapCounters().current; now != before)
            return now - before;
    }
}

TEST_F(AGMemory, EachPoolGrowthCarvesAFullChunkKeptInAddressOrder) {
    const int last = kPoolClassCount - 1;
    const size_t area = 64 * 256 + 16;
    std::vector<void*> taken;
    taken.reserve(1024);  // no heap traffic of its own between the growths
    GrowLastClass(taken);
    taken.clear();
    // Heap blocks of a chunk's size, freed top first between growths, leave holes between the
    // chunks, so that later chunks are linked in the middle of the list.
    void* holes[3];
    for (void*& hole : holes)
        hole = AllocBlock(area + 8);
    for (int growth = 0; growth < 6; ++growth) {
        if (growth < 3)
            FreeBlock(holes[2 - growth]);
        const size_t from = taken.size();
        // The whole chunk every time: a growth that succeeds keeps its blocks per refill.
        EXPECT_EQ(GrowLastClass(taken), area + 8 + 16) << growth;
        EXPECT_EQ(taken.size() - from, 64u) << growth;
    }
    std::vector<uintptr_t> chunks(4096);
    const size_t count = PoolChunks(last, chunks.data(), chunks.size());
    ASSERT_TRUE(count >= 7u && count <= chunks.size()) << count;
    chunks.resize(count);
    EXPECT_TRUE(std::is_sorted(chunks.begin(), chunks.end()));
    EXPECT_EQ(std::adjacent_find(chunks.begin(), chunks.end()), chunks.end());
    // Each slot area starts 8 bytes into the heap block its growth took, and leaves that
    // block's header alone.
    for (uintptr_t chunk : chunks)
        EXPECT_EQ(BlockRequestedSize(reinterpret_cast<void*>(chunk - 8)), area + 8);
    // Every block handed out is a distinct slot of a listed chunk.
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(std::adjacent_find(taken.begin(), taken.end()), taken.end());
    for (void* p : taken) {
        const uintptr_t slot = uintptr_t(p) - 8;
        auto above = std::upper_bound(chunks.begin(), chunks.end(), slot);
        ASSERT_NE(above, chunks.begin());
        EXPECT_LT(slot - above[-1], area - 16);
        EXPECT_EQ((slot - above[-1]) % 256, 0u);
    }
    for (void* p : taken)
        FreeBlock(p);
}

TEST_F(AGMemory, ImpossibleNewThrowsNothrowNewReturnsNullAndAnOverAlignedBlockGoesBackWhole) {
    const AGHeapCounters before = GetHeapCounters();
    const std::align_val_t a64{64};
    for (size_t size : {SIZE_MAX, SIZE_MAX >> 4, size_t(1) << 58}) {
        EXPECT_THROW((void)::operator new(size), std::bad_alloc);
        EXPECT_THROW((void)::operator new[](size), std::bad_alloc);
        EXPECT_THROW((void)::operator new(size, a64), std::bad_alloc);
        EXPECT_THROW((void)::operator new[](size, a64), std::bad_alloc);
        EXPECT_EQ((std::vector<void*>{::operator new(size, std::nothrow), ::operator new[](size, std::nothrow),
                                      ::operator new(size, a64, std::nothrow),
                                      ::operator new[](size, a64, std::nothrow), AllocBlock(size),
                                      OggMallocHook(size)}),
                  std::vector<void*>(6, nullptr));
    }
    // Above 128 the alignment has no class: the block's base is kept aside for the delete.
    void* wide = ::operator new(100, std::align_val_t{4096});
    EXPECT_EQ(uintptr_t(wide) % 4096, 0u);
    ::operator delete(wide, std::align_val_t{4096});
    EXPECT_EQ(GetHeapCounters().current, before.current);
}

}  // namespace
