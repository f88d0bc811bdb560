#pragma once
// A top-level draw layer as the graphic device drives it: updated and rendered once per frame
// while enabled. The layer tree itself (cameras, renderables, children) builds on this.
#include "engine/core/AGTypes.h"

class AGGraphicLayer {
public:
    AGGraphicLayer() = default;
    AGGraphicLayer(const AGGraphicLayer&) = delete;
    AGGraphicLayer& operator=(const AGGraphicLayer&) = delete;
    virtual ~AGGraphicLayer() = default;

    virtual void Update() {}
    virtual void Render() {}

    bool IsEnabled() const { return m_enabled != 0; }
    void SetEnabled(bool enabled) { m_enabled = enabled ? 1 : 0; }

protected:
    u8 m_enabled = 1;
};
