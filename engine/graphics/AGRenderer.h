#pragma once
// "renderer": draws a renderable's render attribute on the device. A layer tree shares one.
// The device side (render types, states, the draw itself) is the platform renderer's.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"

class AGRenderAttribute;

class AGRenderer : public AGResource {
public:
    u32 GetTypeKey() const override { return TypeKey::Renderer; }
    void Load(AGMemBuffer*, u32, bool, bool) override {}

    // Nothing unless the attribute's ready byte is set.
    virtual void DrawRenderAttribute(AGRenderAttribute& attribute) = 0;
};
