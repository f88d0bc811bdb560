#pragma once
// A small window drawn over the current screen, built from its layout file.
#include "gameservices/entities/Entity.h"
#include "gameservices/widget/WidgetTypeIds.h"

namespace GameServices::Widget {

class Panel;

class Popup : public Entities::Entity {
public:
    Popup() : Entities::Entity(TString<char>()) {}
    bool IsA(const u32& typeId) const override { return typeId == TypeIds::Popup; }

    // The root panel built from the layout, or null; not owned here.
    Panel* m_Panel = nullptr;
};

}  // namespace GameServices::Widget
