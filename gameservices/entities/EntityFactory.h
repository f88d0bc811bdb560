#pragma once
// Fixed-capacity pools of entities.
#include "gameservices/entities/Entity.h"
#include "gameservices/entities/PoolStorage.h"

namespace GameServices::Entities {

class IEntityFactory {
public:
    // The next free entity, initialized when asked; null when the pool is exhausted.
    virtual Entity* Alloc(bool initialize) = 0;
    // Resets a handed-out entity and makes it free; anything else is ignored.
    virtual void Release(Entity* entity) = 0;
    // Resets every entity, handed out or not; all become free.
    virtual void ResetAll() = 0;
    virtual ~IEntityFactory() = default;

    virtual u32 GetMaxSize() const = 0;
    virtual u32 GetUsedCount() const = 0;
    // True for every entity this pool created, free or handed out.
    virtual bool Owns(const Entity* entity) const = 0;
};

template <typename T>
class EntityFactory : public IEntityFactory {
public:
    EntityFactory(u32 capacity, const TString<char>& prefix) : m_Pool(capacity, prefix) {}
    ~EntityFactory() override { ResetAll(); }

    T* Alloc(bool initialize) override {
        T* entity = m_Pool.Take();
        if (entity && initialize)
            entity->Initialize();
        return entity;
    }
    void Release(Entity* entity) override {
        if (entity)
            m_Pool.Give(entity, [](T& e) { e.Reset(); });
    }
    void ResetAll() override {
        m_Pool.ResetAll([](T& e) { e.Reset(); });
    }

    u32 GetMaxSize() const override { return m_Pool.MaxSize(); }
    u32 GetUsedCount() const override { return m_Pool.Used(); }
    bool Owns(const Entity* entity) const override { return entity && m_Pool.Owns(entity); }
    // The object at a position of the pool (handed-out ones first).
    T* At(u32 index) const { return m_Pool.At(index); }

private:
    PoolStorage<T> m_Pool;
};

}  // namespace GameServices::Entities
