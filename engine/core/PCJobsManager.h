#pragma once
// Owns the jobbers. The application makes exactly one, with a job ring of capacity 10.
#include "engine/core/AGSingleton.h"
#include "engine/core/PCJobber.h"

class PCJobsManager : public AGSingleton<PCJobsManager> {
public:
    static constexpr u32 kDefaultCapacity = 10;

    PCJobsManager() = default;
    PCJobsManager(const PCJobsManager&) = delete;
    PCJobsManager& operator=(const PCJobsManager&) = delete;
    // Stops and frees the jobbers.
    ~PCJobsManager() override;

    // Replaces the jobbers with n new, unstarted ones.
    virtual PCJobber* CreateJobbers(u32 n);
    // Stops and frees every jobber.
    virtual void DestroyJobbers();
    // Null past the last jobber.
    virtual PCJobber* GetJobber(u32 index);
    u32 JobberCount() const { return m_count; }

    // Start-up: when there are no jobbers, one started with the ring of capacity 10.
    bool StartDefaultJobber();
    // Stops every worker (they are joined) without freeing the jobbers; shutdown calls it
    // before it deletes the managers that jobs use.
    void StopJobbers();

private:
    PCJobber* m_jobbers = nullptr;
    u32 m_count = 0;
};
