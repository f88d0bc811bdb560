#pragma once
// Root of the game-object model. Classes that can be asked for their kind declare IsA
// themselves; the root only carries the property list.
#include "gameservices/entities/Properties.h"

namespace GameServices::Entities {

class GameObject {
public:
    GameObject() = default;
    virtual ~GameObject() = default;
    // Properties point at the object's own members, so a copy would point at the original.
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    Properties& GetProperties() { return m_Properties; }
    const Properties& GetProperties() const { return m_Properties; }

protected:
    Properties m_Properties;
};

}  // namespace GameServices::Entities
