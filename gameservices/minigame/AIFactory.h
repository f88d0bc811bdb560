#pragma once
// Fixed pools of computer players, filled once when made: a game mode takes its players at
// level start and hands them all back at level clean-up, so a match allocates none.
#include <algorithm>
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/AGTypes.h"
#include "gameservices/minigame/AIManager.h"

namespace GameServices::MiniGame {

class IAIFactory {
public:
    virtual IBaseAI* Acquire() = 0;
    virtual void Release(IBaseAI* ai) = 0;
    virtual void ResetAll() = 0;
    virtual ~IAIFactory() = default;
};

template <typename T>
class AIFactory : public IAIFactory {
public:
    explicit AIFactory(u32 maxSize = 1) : m_MaxSize(maxSize) {
        m_AIs.reserve(maxSize);
        for (u32 i = 0; i < maxSize; ++i)
            m_AIs.push_back(new T());
    }
    ~AIFactory() override {
        for (T* ai : m_AIs)
            delete ai;
    }
    AIFactory(const AIFactory&) = delete;
    AIFactory& operator=(const AIFactory&) = delete;

    // The next free player; null, reported, when every one is in use.
    T* Acquire() override {
        if (m_NbAIUsed >= m_MaxSize) {
            AGReport("( m_NbAIUsed >= m_MaxSize )");
            return nullptr;
        }
        return m_AIs[m_NbAIUsed++];
    }
    // The player becomes free again and stays in the pool: the later players in use move
    // down one place and it takes the first free one. A player not in use changes nothing.
    void Release(IBaseAI* ai) override {
        const auto used = m_AIs.begin() + m_NbAIUsed;
        const auto it = std::find(m_AIs.begin(), used, ai);
        if (it == used)
            return;
        std::rotate(it, it + 1, used);
        --m_NbAIUsed;
    }
    // Every player's Reset, then all of them free.
    void ResetAll() override {
        for (T* ai : m_AIs)
            ai->Reset();
        m_NbAIUsed = 0;
    }

    u32 GetUsedCount() const { return m_NbAIUsed; }
    u32 GetMaxSize() const { return m_MaxSize; }
    const std::vector<T*>& GetAIs() const { return m_AIs; }

private:
    std::vector<T*> m_AIs;
    u32 m_NbAIUsed = 0;
    u32 m_MaxSize;
};

}  // namespace GameServices::MiniGame
