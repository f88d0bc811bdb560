#include "engine/core/FHandler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// A listener that logs its calls and can act on the event while it fires.
struct Listener {
    std::string name;
    Names* log;
    std::function<void()> action;
    FDelegate<Listener> delegate{this, &Listener::OnFire};

    Listener(std::string n, Names* l) : name(std::move(n)), log(l) {}
    void OnFire() {
        log->push_back(name);
        if (action)
            action();
    }
};

class FHandlerTest : public ::testing::Test {
protected:
    Listener& Add(const char* name) {
        m_listeners.push_back(std::make_unique<Listener>(name, &log));
        event.AddDelegate(&m_listeners.back()->delegate);
        return *m_listeners.back();
    }
    Names log;
    FHandler event;
    std::vector<std::unique_ptr<Listener>> m_listeners;
};

}  // namespace

// During a fire: a delegate removing itself runs once, one removed before its turn does not
// run, an addition runs from the next fire, and one added and removed stays unregistered.
TEST_F(FHandlerTest, ChangesDuringAFireApplyAsTheyCome) {
    Listener& a = Add("a");
    auto victim = std::make_unique<Listener>("victim", &log);
    event.AddDelegate(&victim->delegate);
    Add("c");
    Listener late("late", &log);
    auto temp = std::make_unique<Listener>("temp", &log);
    a.action = [&] {
        event.RemoveDelegate(&a.delegate);
        event.AddDelegate(&late.delegate);
        event.AddDelegate(&temp->delegate);
        event.RemoveDelegate(&temp->delegate);
        event.RemoveDelegate(&victim->delegate);
        victim.reset();
    };
    event.Fire();
    EXPECT_EQ(log, (Names{"a", "c"}));
    temp.reset();  // the owner believes it unsubscribed
    event.Fire();
    EXPECT_EQ(std::make_pair(log, event.Count()), std::make_pair(Names{"a", "c", "c", "late"}, size_t(2)));
}

TEST_F(FHandlerTest, RemoveTakesOnlyTheFirstOccurrenceAndIgnoresStrangers) {
    Listener& a = Add("a");
    Add("b");
    event.AddDelegate(&a.delegate);
    Listener stranger("stranger", &log);
    event.RemoveDelegate(&stranger.delegate);
    event.RemoveDelegate(&a.delegate);
    event.Fire();
    EXPECT_EQ(log, (Names{"b", "a"}));
    // The same while firing: the first occurrence is skipped, the second still runs.
    Listener& d = Add("d");
    event.AddDelegate(&a.delegate);
    d.action = [&] { event.RemoveDelegate(&a.delegate); };
    log.clear();
    event.Fire();
    EXPECT_EQ(log, (Names{"b", "a", "d", "a"}));
    d.action = nullptr;
    log.clear();
    event.Fire();
    EXPECT_EQ(log, (Names{"b", "d", "a"}));
}
