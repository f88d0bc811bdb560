#include "gameservices/game/LevelTransitionController.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/core/FDelegate.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/LevelTransition.h"

using namespace GameServices::KorvoGame;
using GameServices::Entities::Level;
using Controller = LevelTransitionController;

namespace {

// Records the screen changes and every phase event in order, as "event:level".
struct Recorder : IScreenChangeService {
    void SetPendingScreen(const TString<char>& name) override {
        calls.push_back(std::string("screen:") + name.c_str());
    }
    void CloseCurrentScreen() override { calls.push_back("popups"); }

    struct Phase {
        void On(Level* l) { owner->calls.push_back(std::string(name) + ":" + l->GetName().c_str()); }
        Recorder* owner;
        const char* name;
    };
    void Listen(Level* level) {
        for (auto [event, name] : {std::pair{&level->GetLoadingEvent(), "loading"},
                                   {&level->GetOpeningEvent(), "opening"},
                                   {&level->GetRunningEvent(), "running"},
                                   {&level->GetClosingEvent(), "closing"}}) {
            phases.push_back({this, name});
            delegates.emplace_back(&phases.back(), &Phase::On);
            event->AddDelegate(&delegates.back());
        }
    }
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::deque<Phase> phases;  // stable addresses
    std::deque<FDelegateParam<Phase, Level*>> delegates;
};

LevelTransition* MakeTransition(const char* name, bool withScreens) {
    sLevelTransition record;
    record.LevelNameId = name;
    record.Status = "unlock";
    if (withScreens) {
        record.LoadingSceenId = TString<char>("Load") + name;
        record.RunningSceenId = TString<char>("Run") + name;
        record.ClosingSceenId = TString<char>("Close") + name;
    }
    return new LevelTransition(record);
}

using Calls = std::vector<std::string>;

}  // namespace

TEST(LevelTransitionControllerTest, LevelWalkStatusWordsAndARequestFromThePhaseEvent) {
    std::unique_ptr<LevelTransition> a(MakeTransition("A", true)), b(MakeTransition("B", false)),
        c(MakeTransition("C", false));
    Recorder recorder;
    for (auto* t : {a.get(), b.get(), c.get()})
        recorder.Listen(t->GetLevel());
    Controller controller;
    controller.SetScreenManager(&recorder);
    auto update = [&] {  // the calls an update makes
        controller.Update();
        return recorder.Take();
    };

    // A request is acted on at the next update, whatever is passed as the level left.
    EXPECT_TRUE(controller.RequestLevel(a.get(), c.get()) && recorder.Take().empty());
    EXPECT_EQ(update(), (Calls{"screen:LoadA", "loading:A"}));
    EXPECT_EQ(controller.GetPhase(), Controller::kPhaseLoading);

    // Dropped while loading; without done nothing moves.
    EXPECT_FALSE(controller.RequestLevel(b.get(), a.get()));
    EXPECT_TRUE(update().empty());

    // Each done step: loading -> opening (no screen: popups close) -> running.
    controller.SetDone(true);
    EXPECT_TRUE(update().empty());
    EXPECT_EQ(update(), (Calls{"popups", "opening:A"}));
    controller.SetDone(true);
    controller.Update();
    EXPECT_EQ(update(), (Calls{"screen:RunA", "running:A"}));

    // B was never loaded: passing it (or null) as the level left still closes A.
    EXPECT_TRUE(controller.RequestLevel(c.get(), b.get()));
    EXPECT_EQ(update(), (Calls{"screen:CloseA", "closing:A"}));
    EXPECT_EQ(controller.GetCurrent(), c.get());
    controller.SetDone(true);
    controller.Update();
    EXPECT_EQ(update(), (Calls{"popups", "loading:C"}));
    EXPECT_EQ(controller.GetPhase(), Controller::kPhaseLoading);

    // Status words are matched lower-cased.
    const std::pair<const char*, i32> words[] = {
        {"LOCK_Visible", 1}, {"lock_invisible", 2}, {"lock_suprise", 3}, {"Unlock", 4},
        {"done", 5},         {"lock_surprise", 0},  {"", 0},             {"done ", 0},
    };
    for (const auto& [word, value] : words)
        EXPECT_EQ(LevelTransition::convertStatus(word), value) << word;
    // The entry step runs before the phase changes: a request made by a listener of the loading
    // event is judged against the phase being left (nothing loaded), so it is taken.
    Controller fresh;
    struct Requester {
        void OnLoading(Level*) { accepted = controller->RequestLevel(target, nullptr); }
        Controller* controller;
        LevelTransition* target;
        bool accepted = false;
    } requester{&fresh, c.get()};
    FDelegateParam<Requester, Level*> onLoading(&requester, &Requester::OnLoading);
    b->GetLevel()->GetLoadingEvent().AddDelegate(&onLoading);

    fresh.RequestLevel(b.get(), nullptr);
    fresh.Update();
    EXPECT_TRUE(requester.accepted && fresh.GetCurrent() == c.get());
    EXPECT_EQ((std::pair{fresh.GetPhase(), fresh.GetRequestedPhase()}),
              (std::pair{i32(Controller::kPhaseLoading), i32(Controller::kPhaseLoading)}));
    b->GetLevel()->GetLoadingEvent().RemoveDelegate(&onLoading);
}
