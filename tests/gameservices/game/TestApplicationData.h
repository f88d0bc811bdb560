#pragma once
// An application-data record with one number, registered as the prototype of some record
// kinds while it lives.
#include <initializer_list>
#include <vector>

#include "gameservices/game/ApplicationData.h"

class TestApplicationData : public GameServices::KorvoGame::ApplicationData {
public:
    using Kind = GameServices::KorvoGame::ApplicationData::Kind;

    TestApplicationData() = default;
    explicit TestApplicationData(std::initializer_list<Kind> kinds) : m_kinds(kinds) {
        for (Kind kind : m_kinds)
            RegisterPrototype(kind, this);
    }
    ~TestApplicationData() override {
        for (Kind kind : m_kinds)
            RegisterPrototype(kind, nullptr);
    }

    void Serialize(GameServices::Utilities::ISerialization& s) override {
        s.SerializeInt("Score", score, 0);
    }
    void Clear() override { score = 0; }
    ApplicationData* Clone() const override {
        auto* copy = new TestApplicationData();
        copy->score = score;
        return copy;
    }

    i32 score = 0;

private:
    std::vector<Kind> m_kinds;
};
