#pragma once
// Input devices and the query objects through which the engine reads them. A device fills an
// interface object with its query functions (QueryInterface); the object then answers for
// that device until it is released. Interface objects are reference-counted: they start at
// count 0, and Release deletes one when its count comes back to 0. A device that goes away
// detaches every interface it filled, which from then on answers "not down"/"outside".
#include "engine/core/AGArray.h"
#include "engine/core/AGObject.h"

class AGDevice;

class AGInterface {
public:
    AGInterface() = default;
    AGInterface(const AGInterface&) = delete;
    AGInterface& operator=(const AGInterface&) = delete;
    // Hands itself back to its device, if still attached.
    virtual ~AGInterface();

    void AddRef() { ++m_refCount; }
    // Lowers the count; deletes the object when it reaches 0.
    void Release();
    u32 RefCount() const { return m_refCount; }
    AGDevice* Device() const { return m_device; }

    // Clears the query functions and the device pointer.
    virtual void Detach() { m_device = nullptr; }

protected:
    AGDevice* m_device = nullptr;

private:
    u32 m_refCount = 0;
};

// Keys or buttons of a device, queried by the device's own key (a virtual-key code for the
// keyboard, a button bit for the mouse).
class AGIKeyPadDevice : public AGInterface {
public:
    using Query = bool (*)(AGDevice* device, u32 key);
    // Points units at the characters typed before the device's last poll, as UTF-16 code
    // units in typing order, and gives their number.
    using TypedQuery = u32 (*)(AGDevice* device, const u16** units);

    bool IsDown(u32 key) const { return m_isDown && m_isDown(m_device, key); }
    bool WasPressed(u32 key) const { return m_wasPressed && m_wasPressed(m_device, key); }
    bool WasReleased(u32 key) const { return m_wasReleased && m_wasReleased(m_device, key); }
    // 0 for a device that types no characters.
    u32 Typed(const u16** units) const { return m_typed ? m_typed(m_device, units) : 0; }

    void Fill(AGDevice* device, Query isDown, Query wasPressed, Query wasReleased,
              TypedQuery typed = nullptr);
    void Detach() override;

private:
    Query m_isDown = nullptr;
    Query m_wasPressed = nullptr;
    Query m_wasReleased = nullptr;
    TypedQuery m_typed = nullptr;
};

// The pointer of a device.
class AGIMouseDevice : public AGInterface {
public:
    using PositionQuery = void (*)(AGDevice* device, f32* x, f32* y);
    using InsideQuery = bool (*)(AGDevice* device);

    // Writes x and y (0..1 over the client area) while the pointer is inside; otherwise
    // leaves them as they are.
    void GetPosition(f32* x, f32* y) const {
        if (m_getPosition)
            m_getPosition(m_device, x, y);
    }
    bool IsInside() const { return m_isInside && m_isInside(m_device); }

    void Fill(AGDevice* device, PositionQuery getPosition, InsideQuery isInside);
    void Detach() override;

private:
    PositionQuery m_getPosition = nullptr;
    InsideQuery m_isInside = nullptr;
};

class AGDevice : public AGObject {
public:
    explicit AGDevice(u32 id = 0) : m_id(id) {}
    AGDevice(const AGDevice&) = delete;
    AGDevice& operator=(const AGDevice&) = delete;
    ~AGDevice() override;

    // Detaches an interface this device filled; false for any other.
    virtual bool ReleaseInterface(AGInterface* object);
    // Fills an interface of a type the device serves; false for any other type.
    virtual bool QueryInterface(AGInterface* object) = 0;
    // Takes the state recorded since the last poll.
    virtual void Poll() = 0;
    virtual bool IsConnected() const { return true; }

    u32 Id() const { return m_id; }

protected:
    // Called before filling an interface: takes it from the device that served it before
    // and records it, so that it can be detached when this device goes.
    void Served(AGInterface* object);

private:
    u32 m_id;
    AGArray<AGInterface*> m_served;
};
