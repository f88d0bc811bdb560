#pragma once
// An owning pointer that copies its object through the object's own Clone, so that records
// holding polymorphic parts (application data, entity-data extensions) copy by value.
#include <utility>

namespace GameServices::KorvoGame {

template <typename T>
class ClonePtr {
public:
    ClonePtr() = default;
    explicit ClonePtr(T* object) : m_Object(object) {}
    ClonePtr(const ClonePtr& other) : m_Object(other.m_Object ? other.m_Object->Clone() : nullptr) {}
    ClonePtr(ClonePtr&& other) noexcept : m_Object(std::exchange(other.m_Object, nullptr)) {}
    ClonePtr& operator=(ClonePtr other) noexcept {
        std::swap(m_Object, other.m_Object);
        return *this;
    }
    ~ClonePtr() { delete m_Object; }

    void Reset(T* object = nullptr) {
        if (object == m_Object)
            return;
        delete m_Object;
        m_Object = object;
    }
    T* Get() const { return m_Object; }
    T* operator->() const { return m_Object; }
    T& operator*() const { return *m_Object; }
    explicit operator bool() const { return m_Object != nullptr; }

private:
    T* m_Object = nullptr;
};

}  // namespace GameServices::KorvoGame
