#include "engine/graphics/AGGraphicDevice.h"

#include "engine/graphics/AGGraphicLayer.h"

AGGraphicDevice::~AGGraphicDevice() {
    m_layers.Clear();
}

void AGGraphicDevice::UpdateLayers() {
    for (u32 i = 0; i < m_layers.Count(); ++i)
        if (m_layers[i]->IsEnabled())
            m_layers[i]->Update();
}

void AGGraphicDevice::RenderFrame() {
    AGGraphicLayer::RenderShaded(m_layers);
}

void AGGraphicDevice::Shutdown() {
    m_layers.Clear();
}

AGRenderTarget* AGGraphicDevice::CreateRenderTarget(u32 /*width*/, u32 /*height*/) {
    return nullptr;
}

void AGGraphicDevice::AddLayer(AGGraphicLayer* layer) {
    if (!layer)
        return;
    for (AGGraphicLayer* existing : m_layers)
        if (existing == layer)
            return;
    m_layers.Add(layer);
}

void AGGraphicDevice::RemoveLayer(AGGraphicLayer* layer) {
    for (u32 i = 0; i < m_layers.Count(); ++i)
        if (m_layers[i] == layer) {
            m_layers.RemoveAt(i);
            return;
        }
}
