#include "platform/core/CriticalSection.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/core/Interlocked.h"

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    platform::CriticalSection section;
    section.Enter();
    EXPECT_TRUE(section.TryEnter());  // the owner may enter again
    bool otherGotIn = true;
    std::thread([&] { otherGotIn = section.TryEnter(); }).join();
    EXPECT_FALSE(otherGotIn);
    section.Leave();
    section.Leave();
    std::thread([&] {
        otherGotIn = section.TryEnter();
        if (otherGotIn)
            section.Leave();
    }).join();
    EXPECT_TRUE(otherGotIn);
}

TEST(Interlocked, ReturnsTheNewValueOnIncrementAndComparesBeforeExchanging) {
    int32_t v = 12;
    EXPECT_EQ(platform::AtomicIncrement(&v), 13);  // the new value
    EXPECT_EQ(platform::AtomicDecrement(&v), 12);
    EXPECT_EQ(platform::AtomicExchangeAdd(&v, 3), 12);  // the previous value
    EXPECT_EQ(platform::AtomicCompareExchange(&v, 1, 7), 15);  // no match: unchanged
    EXPECT_EQ(v, 15);
    EXPECT_EQ(platform::AtomicCompareExchange(&v, 1, 15), 15);
    EXPECT_EQ(v, 1);
}
