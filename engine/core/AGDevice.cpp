#include "engine/core/AGDevice.h"

AGInterface::~AGInterface() {
    if (m_device)
        m_device->ReleaseInterface(this);
}

void AGInterface::Release() {
    if (m_refCount > 0 && --m_refCount == 0)
        delete this;
}

void AGIKeyPadDevice::Fill(AGDevice* device, Query isDown, Query wasPressed, Query wasReleased,
                           TypedQuery typed) {
    m_device = device;
    m_isDown = isDown;
    m_wasPressed = wasPressed;
    m_wasReleased = wasReleased;
    m_typed = typed;
}

void AGIKeyPadDevice::Detach() {
    AGInterface::Detach();
    m_isDown = m_wasPressed = m_wasReleased = nullptr;
    m_typed = nullptr;
}

void AGIMouseDevice::Fill(AGDevice* device, PositionQuery getPosition, InsideQuery isInside) {
    m_device = device;
    m_getPosition = getPosition;
    m_isInside = isInside;
}

void AGIMouseDevice::Detach() {
    AGInterface::Detach();
    m_getPosition = nullptr;
    m_isInside = nullptr;
}

AGDevice::~AGDevice() {
    for (AGInterface* object : m_served)
        object->Detach();
    m_served.Clear();
}

void AGDevice::Served(AGInterface* object) {
    if (AGDevice* previous = object->Device(); previous && previous != this)
        previous->ReleaseInterface(object);
    for (AGInterface* known : m_served)
        if (known == object)
            return;
    m_served.Add(object);
}

bool AGDevice::ReleaseInterface(AGInterface* object) {
    for (u32 i = 0; i < m_served.Count(); ++i) {
        if (m_served[i] == object) {
            m_served.RemoveAt(i);
            object->Detach();
            return true;
        }
    }
    return false;
}
