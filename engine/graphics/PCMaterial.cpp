#include "engine/graphics/PCMaterial.h"

#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCTexture.h"

void PCMaterial::Update() {
    constexpr f32 kGrey = 150.0f / 255.0f;
    f32 alpha = 1.0f;
    if (IsAnimated())
        m_alphaTrack.Evaluate(GetAlphaFrame(), alpha);
    const platform::gfx::ColorValue grey{kGrey, kGrey, kGrey, alpha};
    m_material.diffuse = grey;
    m_material.ambient = grey;
    m_material.specular = grey;
    m_material.emissive = {0.0f, 0.0f, 0.0f, 0.0f};
    m_material.power = m_power;
}

void PCMaterial::Apply() {
    if (IsAnimated())
        Update();
    if (platform::gfx::Device* device = PCCurrentDevice())
        device->SetMaterial(m_material);
}

void PCMaterial::UnbindTexture() {
    PCTexture::Unbind(0);
}
