#pragma once
// Delegates bind an object and one of its member functions, with or without one parameter.

class IDelegate {
public:
    virtual ~IDelegate() = default;
    virtual void Invoke() = 0;
};

template <typename T>
class FDelegate : public IDelegate {
public:
    using Method = void (T::*)();
    FDelegate(T* object, Method method) : m_object(object), m_method(method) {}
    void Invoke() override { (m_object->*m_method)(); }
    T* Object() const { return m_object; }

private:
    T* m_object;
    Method m_method;
};

template <typename P>
class IDelegateParam {
public:
    virtual ~IDelegateParam() = default;
    virtual void Invoke(P param) = 0;
};

template <typename T, typename P>
class FDelegateParam : public IDelegateParam<P> {
public:
    using Method = void (T::*)(P);
    FDelegateParam(T* object, Method method) : m_object(object), m_method(method) {}
    void Invoke(P param) override { (m_object->*m_method)(static_cast<P>(param)); }
    T* Object() const { return m_object; }

private:
    T* m_object;
    Method m_method;
};

// Frame milliseconds handed to per-frame processes.
template <typename T>
using ProcessDelegate = FDelegateParam<T, unsigned int>;
