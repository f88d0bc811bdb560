#pragma once
// Pools sized from the "GameServices" runtime parameters.
#include "gameservices/entities/Factory.h"
#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::KorvoGame {

// Makes the pool once. The capacity is read into the caller's holder, which is not reset
// between reads: an absent key repeats the capacity read before it.
template <typename T>
void MakePool(Factory<T>*& pool, u32& capacity, const char* key, const char* name) {
    if (pool)
        return;
    if (RuntimeParameters* parameters = RuntimeParameters::Instance())
        parameters->GetParameter<u32>(&capacity, "GameServices", key);
    pool = new Factory<T>(name, capacity);
}

template <typename T>
void DeletePool(Factory<T>*& pool) {
    delete pool;
    pool = nullptr;
}

}  // namespace GameServices::KorvoGame
