#include "engine/core/PCJobsManager.h"

PCJobsManager::~PCJobsManager() {
    DestroyJobbers();
}

PCJobber* PCJobsManager::CreateJobbers(u32 n) {
    DestroyJobbers();
    if (n == 0)
        return nullptr;
    m_jobbers = new PCJobber[n];
    m_count = n;
    return m_jobbers;
}

void PCJobsManager::DestroyJobbers() {
    delete[] m_jobbers;  // each jobber stops
    m_jobbers = nullptr;
    m_count = 0;
}

PCJobber* PCJobsManager::GetJobber(u32 index) {
    return index < m_count ? &m_jobbers[index] : nullptr;
}

bool PCJobsManager::StartDefaultJobber() {
    if (m_count != 0)
        return m_jobbers[0].IsStarted();
    CreateJobbers(1);
    return m_jobbers[0].Start(0, kDefaultCapacity, 0, true, 0);
}

void PCJobsManager::StopJobbers() {
    for (u32 i = 0; i < m_count; ++i)
        m_jobbers[i].Stop();
}
