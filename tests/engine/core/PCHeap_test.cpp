#include "engine/core/PCHeap.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PCHeap, LimitServesSixtyRefusesFiftyThenServesForty) {
    PCHeap heap(100);
    void* sixty = heap.Alloc(60);
    ASSERT_NE(sixty, nullptr);
    EXPECT_EQ(heap.Alloc(50), nullptr);
    void* forty = heap.Alloc(40);
    ASSERT_NE(forty, nullptr);
    EXPECT_EQ(heap.Alloc(1), nullptr);
    memset(sixty, 1, 60);
    memset(forty, 2, 40);
    heap.Free(sixty);
    EXPECT_EQ(heap.Used(), 40u);
    EXPECT_NE(heap.Alloc(60), nullptr);
}

TEST(PCHeap, FreeGivesBackExactlyWhatWasAskedFor) {
    // malloc rounds requests up; a Free of the rounded size would drift below zero.
    PCHeap heap(100);
    for (u32 size = 0; size < 100; ++size) {
        void* p = heap.Alloc(size);
        ASSERT_NE(p, nullptr);
        heap.Free(p);
        ASSERT_EQ(heap.Used(), 0u);
    }
    // Destroying the heap releases what is left, from any place in its block list.
    AGHeapImpl* owner = AGCreateHeap(0, 1000);
    void* blocks[5];
    for (void*& b : blocks)
        b = owner->Alloc(10);
    owner->Free(blocks[2]);
    owner->Free(blocks[0]);
    delete owner;
}
