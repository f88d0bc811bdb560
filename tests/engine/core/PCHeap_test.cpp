#include "engine/core/PCHeap.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PCHeap, LimitServesSixtyRefusesFiftyThenServesForty) {
    PCHeap heap(100);
    void* sixty = heap.Alloc(60);
    ASSERT_NE(sixty, nullptr);
    EXPECT_EQ(heap.Alloc(50), nullptr);
    void* forty = heap.Alloc(40);
    ASSERT_NE(forty, nullptr);
    EXPECT_EQ(heap.Used(), 100u);
    EXPECT_EQ(heap.Alloc(1), nullptr);
    memset(sixty, 1, 60);
    memset(forty, 2, 40);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(sixty) % 16, 0u);

    heap.Free(sixty);
    heap.Free(nullptr);
    EXPECT_EQ(heap.Used(), 40u);
    EXPECT_NE(heap.Alloc(60), nullptr);
}

TEST(PCHeap, FreeGivesBackExactlyWhatWasAskedFor) {
    // malloc rounds requests up; if Free used the rounded size the count would drift below
    // zero and the limit test would misfire.
    PCHeap heap(100);
    for (u32 size = 0; size < 100; ++size) {
        void* p = heap.Alloc(size);
        ASSERT_NE(p, nullptr);
        heap.Free(p);
        ASSERT_EQ(heap.Used(), 0u);
    }
    EXPECT_NE(heap.Alloc(100), nullptr);
    EXPECT_EQ(heap.Alloc(1), nullptr);
}

TEST(PCHeap, DestroyingTheHeapReleasesItsRemainingBlocks) {
    // Frees from the front, middle and back of the heap's block list; the sanitizer build
    // reports any block lost or released twice.
    AGHeapImpl* heap = AGCreateHeap(0, 1000);
    void* blocks[5];
    for (void*& b : blocks)
        b = heap->Alloc(10);
    heap->Free(blocks[2]);
    heap->Free(blocks[4]);
    heap->Free(blocks[0]);
    EXPECT_EQ(static_cast<PCHeap*>(heap)->Used(), 20u);
    delete heap;
}

}  // namespace
