#include "gameservices/game/TimerManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "gameservices/entities/PoolStorage.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;

namespace {

struct Counter {
    void On() {
        ++count;
        if (then)
            then();
    }
    int count = 0;
    std::function<void()> then;
    FDelegate<Counter> delegate{this, &Counter::On};
};

Timer* Start(TimerManager& timers, u32 duration, bool singleShot, Counter& counter) {
    Timer* timer = timers.AddTimer();
    timer->m_Duration = duration;
    timer->m_SingleShot = singleShot;
    timer->m_Active = true;
    timer->m_Event.AddDelegate(&counter.delegate);
    return timer;
}

}  // namespace

// A repeating timer fires once a step and drops the overshoot; a timer removed by its own
// listener leaves after the walk. A full pool gives nothing; an active timer stays in use.
TEST(TimerManager, FiringRemovalByItsListenerAndAFullPool) {
    LogCapture log;
    TimerManager timers;
    timers.Initialize(3);
    Counter first, second, third, counter;
    Timer* timer = Start(timers, 10, true, first);
    Start(timers, 10, false, second);
    Timer* repeating = Start(timers, 100, false, third);
    // Given back by its listener and again as a finished single shot: one slot freed.
    first.then = [&] {
        timers.RemoveTimer(timer);
        EXPECT_EQ(timers.GetUsedCount(), 3u);
    };
    timers.Update(10);
    EXPECT_TRUE(timers.GetUsedCount() == 2u && timer->m_Duration == 0u);  // handed out again unset
    timers.Update(240);
    EXPECT_EQ((std::vector<int>{first.count, second.count, third.count}), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(repeating->m_Elapsed, 0u);

    Timer* last = Start(timers, 10, false, counter);
    EXPECT_TRUE(timers.AddTimer() == nullptr && log.Contains("m_NbTimerUsed+1 > m_MaxTimer"));
    timers.RemoveTimer(last);
    timers.Update(10);
    EXPECT_TRUE(timers.GetUsedCount() == 3u && counter.count == 1);
    last->m_Active = false;
    timers.RemoveTimer(last);
    timers.RemoveTimer(last);  // free already: nothing to give back
    EXPECT_TRUE(timers.GetUsedCount() == 2u && timers.AddTimer() == last);
    // The listeners went with the removal.
    last->m_Active = true;
    timers.Update(10);
    EXPECT_EQ(counter.count, 1);

    // A pool of the largest size is made without a report; a larger one is capped.
    TimerManager largest, huge;
    largest.Initialize(GameServices::Entities::kMaxPoolCapacity);
    EXPECT_FALSE(log.Contains("limited to"));
    huge.Initialize(0xFFFFFFFFu);
    EXPECT_EQ(huge.GetMaxTimer(), GameServices::Entities::kMaxPoolCapacity);
}
