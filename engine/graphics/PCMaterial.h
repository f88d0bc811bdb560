#pragma once
// The device side of a material: the device material (a fixed grey of 150/255 in diffuse,
// ambient and specular; alpha 1, or the alpha track's value when the material is animated;
// no emission; the material's power) and the unbinding of stage 0.
#include "engine/graphics/AGMaterial.h"
#include "platform/gfx/GfxTypes.h"

class PCMaterial : public AGMaterial {
public:
    PCMaterial() = default;
    PCMaterial(const PCMaterial& other) : AGMaterial(other) { PCMaterial::Update(); }

    void Update() override;
    // Sets the device material; an animated one takes its alpha at the current frame first.
    void Apply() override;
    void UnbindTexture() override;

    const platform::gfx::Material& DeviceMaterial() const { return m_material; }

private:
    platform::gfx::Material m_material{};
};
