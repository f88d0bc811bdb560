#pragma once
// An entity-data extension read from the element named by its kind: a list of numbers
// ("Values", left alone by the reader when the element is absent). It is valid with at least
// two numbers and then makes a scrollable viewport zone of those dimensions.
#include "engine/core/SerializableVector.h"
#include "gameservices/game/EntityScrollableViewportZone.h"
#include "gameservices/game/sEntityDataExtension.h"

class TestExtension : public GameServices::KorvoGame::sEntityDataExtension {
public:
    using Base = GameServices::KorvoGame::sEntityDataExtension;

    explicit TestExtension(const char* kind) : Base(kind) {}
    void Serialize(GameServices::Utilities::ISerialization& s) override {
        s.SerializeObject("Values", m_Values, false);
    }
    void Clear() override { m_Values.Clear(); }
    Base* Clone() const override { return CreateCopy(*this); }
    bool IsValid() const override { return m_Values.size() >= 2; }
    GameServices::Entities::Entity* CreateEntity(const GameServices::KorvoGame::sLevel&,
                                                 GameServices::Entities::Set& set) override {
        return GameServices::Entities::EntityScrollableViewportZone::Create(
            u32(m_Values[0].value), u32(m_Values[1].value), set);
    }
    Base* CreateCopy(const Base& source) const override {
        return new TestExtension(static_cast<const TestExtension&>(source));
    }

    GameServices::Utilities::SerializableVector<GameServices::Utilities::SerializableValue<i32>>
        m_Values;
};
