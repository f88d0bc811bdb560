#pragma once
// The common frame of the game's stage entities: each owns one animated behaviour, keeps it
// in its Behaviors container and, between Initialize and Reset, ticks it once per frame on
// the game flow's frame event.
#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "engine/core/TString.h"

namespace QZ2011 {

// One subscription of a process delegate to the current game flow's frame event.
class FrameSubscription {
public:
    // Subscribes once, however often it is called; without a game flow, reported.
    void Subscribe(IDelegateParam<u32>* process, const TString<char>& owner);
    // Leaves the event, when it is still the current game flow's.
    void Unsubscribe(IDelegateParam<u32>* process);
    bool IsSubscribed() const { return m_Event != nullptr; }

private:
    FHandlerParam<u32>* m_Event = nullptr;
};

template <typename Base>
class StageEntity : public Base {
public:
    StageEntity() = default;
    ~StageEntity() override { m_Frame.Unsubscribe(&m_Process); }
    StageEntity(const StageEntity&) = delete;
    StageEntity& operator=(const StageEntity&) = delete;

    // Every behaviour's Reset, no more ticking, and the entity to be synchronised again.
    void Reset() override {
        for (auto& [id, behavior] : this->Behaviors.m_Map)
            if (behavior)
                behavior->Reset();
        m_Frame.Unsubscribe(&m_Process);
        Base::Reset();
    }

    bool IsTicking() const { return m_Frame.IsSubscribed(); }

protected:
    void StartTicking() { m_Frame.Subscribe(&m_Process, this->Name); }
    void Process(u32 milliseconds) { this->Behaviors.Update(milliseconds); }

private:
    ProcessDelegate<StageEntity> m_Process{this, &StageEntity::Process};
    FrameSubscription m_Frame;
};

}  // namespace QZ2011
