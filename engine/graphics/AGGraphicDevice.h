#pragma once
// The engine's graphic device: screen size and scale, the custom-render switch, and the
// ordered list of top-level layers that every frame updates and renders.
#include "engine/core/AGArray.h"
#include "engine/core/AGTypes.h"

class AGGraphicLayer;
class AGRenderTarget;

class AGGraphicDevice {
public:
    AGGraphicDevice() = default;
    AGGraphicDevice(const AGGraphicDevice&) = delete;
    AGGraphicDevice& operator=(const AGGraphicDevice&) = delete;
    virtual ~AGGraphicDevice();

    virtual void ResetCustomRender() { m_customRender = 0; }
    // Every enabled top-level layer, in list order.
    virtual void UpdateLayers();
    virtual void RenderFrame();
    virtual void Shutdown();
    virtual AGRenderTarget* CreateRenderTarget(u32 width, u32 height);
    virtual void BeginCustomRender() { m_customRender = 1; }
    virtual void EndCustomRender() { m_customRender = 0; }

    // Appends a top-level layer (drawn after those already listed); a layer already in the
    // list is not added twice.
    void AddLayer(AGGraphicLayer* layer);
    // Removes the layer, keeping the order of the others.
    void RemoveLayer(AGGraphicLayer* layer);
    u32 GetLayerCount() const { return m_layers.Count(); }
    AGGraphicLayer* GetLayer(u32 index) const { return index < m_layers.Count() ? m_layers[index] : nullptr; }

    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    f32 GetXScale() const { return m_xScale; }
    f32 GetYScale() const { return m_yScale; }
    void SetScale(f32 x, f32 y) {
        m_xScale = x;
        m_yScale = y;
    }
    bool IsCustomRender() const { return m_customRender != 0; }

protected:
    u32 m_width = 0;
    u32 m_height = 0;
    f32 m_xScale = 1.0f;
    f32 m_yScale = 1.0f;
    u8 m_customRender = 0;
    AGArray<AGGraphicLayer*> m_layers{4};
};
