#include "engine/core/FHandler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A listener that logs its calls and can run an action on the event while it fires.
struct Listener {
    std::string name;
    std::vector<std::string>* log;
    std::function<void()> action;
    FDelegate<Listener> delegate{this, &Listener::OnFire};

    Listener(std::string n, std::vector<std::string>* l) : name(std::move(n)), log(l) {}
    void OnFire() {
        log->push_back(name);
        if (action)
            action();
    }
};

}  // namespace

TEST(FHandler, FiresInInsertionOrder) {
    std::vector<std::string> log;
    FHandler event;
    Listener a("a", &log), b("b", &log), c("c", &log);
    event.AddDelegate(&a.delegate);
    event.AddDelegate(&b.delegate);
    event.AddDelegate(&c.delegate);
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));
    event.RemoveDelegate(&b.delegate);
    log.clear();
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
}

TEST(FHandler, SelfRemovalRunsOnceAndIsGone) {
    std::vector<std::string> log;
    FHandler event;
    Listener a("a", &log), b("b", &log);
    a.action = [&] { event.RemoveDelegate(&a.delegate); };
    event.AddDelegate(&a.delegate);
    event.AddDelegate(&b.delegate);
    event.Fire();
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "b"}));
    EXPECT_EQ(event.Count(), 1u);
}

TEST(FHandler, AdditionDuringFireRunsFromTheNextFire) {
    std::vector<std::string> log;
    FHandler event;
    Listener a("a", &log), late("late", &log);
    a.action = [&] {
        if (event.Count() == 1)
            event.AddDelegate(&late.delegate);
    };
    event.AddDelegate(&a.delegate);
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "a", "late"}));
}

TEST(FHandler, AddedAndRemovedDuringTheSameFireStaysUnregistered) {
    std::vector<std::string> log;
    FHandler event;
    Listener a("a", &log);
    auto temp = std::make_unique<Listener>("temp", &log);
    a.action = [&] {
        event.AddDelegate(&temp->delegate);
        event.RemoveDelegate(&temp->delegate);
    };
    event.AddDelegate(&a.delegate);
    event.Fire();
    temp.reset();  // the owner believes it unsubscribed
    a.action = nullptr;
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "a"}));
    EXPECT_EQ(event.Count(), 1u);
}

TEST(FHandler, RemovedByAnEarlierDelegateDoesNotRun) {
    std::vector<std::string> log;
    FHandler event;
    Listener a("a", &log);
    auto victim = std::make_unique<Listener>("victim", &log);
    Listener c("c", &log);
    a.action = [&] {
        event.RemoveDelegate(&victim->delegate);
        victim.reset();
    };
    event.AddDelegate(&a.delegate);
    event.AddDelegate(&victim->delegate);
    event.AddDelegate(&c.delegate);
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(event.Count(), 2u);
}

TEST(FHandler, NestedFireAppliesChangesWhenTheOutermostReturns) {
    std::vector<std::string> log;
    FHandler event;
    Listener a("a", &log), b("b", &log), late("late", &log);
    int depth = 0;
    a.action = [&] {
        if (depth++ == 0) {
            event.Fire();  // nested
            event.AddDelegate(&late.delegate);
            // Still firing: the removal is deferred and b has not run in the outer pass.
            event.RemoveDelegate(&b.delegate);
            EXPECT_TRUE(event.IsFiring());
        }
    };
    event.AddDelegate(&a.delegate);
    event.AddDelegate(&b.delegate);
    event.Fire();
    EXPECT_FALSE(event.IsFiring());
    EXPECT_EQ(log, (std::vector<std::string>{"a", "a", "b"}));
    log.clear();
    depth = 1;
    event.Fire();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "late"}));
}

TEST(FHandlerParam, PassesTheParameter) {
    struct Sum {
        unsigned total = 0;
        void Add(unsigned ms) { total += ms; }
    } sum;
    ProcessDelegate<Sum> d(&sum, &Sum::Add);
    FHandlerParam<unsigned> event;
    event.AddDelegate(&d);
    event.Fire(16);
    event.Fire(17);
    EXPECT_EQ(sum.total, 33u);
}
