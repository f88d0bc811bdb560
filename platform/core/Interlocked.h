#pragma once
// Interlocked operations on plain 32-bit fields (sequentially consistent), for counters that
// are shared between threads but declared as ordinary integers.
#include <atomic>
#include <cstdint>

namespace platform {

// Each returns the new value.
inline int32_t AtomicIncrement(int32_t* target) {
    return std::atomic_ref<int32_t>(*target).fetch_add(1) + 1;
}
inline int32_t AtomicDecrement(int32_t* target) {
    return std::atomic_ref<int32_t>(*target).fetch_sub(1) - 1;
}
// Each returns the previous value.
inline int32_t AtomicExchange(int32_t* target, int32_t value) {
    return std::atomic_ref<int32_t>(*target).exchange(value);
}
inline int32_t AtomicExchangeAdd(int32_t* target, int32_t value) {
    return std::atomic_ref<int32_t>(*target).fetch_add(value);
}
// Stores value when *target equals comparand.
inline int32_t AtomicCompareExchange(int32_t* target, int32_t value, int32_t comparand) {
    std::atomic_ref<int32_t>(*target).compare_exchange_strong(comparand, value);
    return comparand;
}
inline int32_t AtomicLoad(const int32_t* target) {
    return std::atomic_ref<int32_t>(*const_cast<int32_t*>(target)).load();
}

}  // namespace platform
