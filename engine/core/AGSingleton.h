#pragma once
// Base of every engine manager. Each manager class has one static instance pointer; the
// application's start-up publishes it after creating the manager and its shutdown clears
// it after deleting the manager.
template <typename T>
class AGSingleton {
public:
    virtual ~AGSingleton() = default;
    static T* Get() { return s_instance; }
    static void SetInstance(T* instance) { s_instance = instance; }

protected:
    AGSingleton() = default;

private:
    static inline T* s_instance = nullptr;
};
