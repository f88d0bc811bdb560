#pragma once
// The device side of an emitter: position, colour and texture-coordinate streams of four
// vertices per pooled particle and a 16-bit index buffer of two triangles per quad; every
// update uploads the quads of the live particles, and only those are drawn. Render attribute:
// one part of the emitter's render type, cull 1, an indexed triangle list, the first
// material.
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/PCQuadStreams.h"
#include "platform/gfx/GfxMath.h"

class PCEmitter : public AGEmitter {
public:
    PCEmitter() = default;
    // The engine copy, then its own pool and device objects.
    PCEmitter(const PCEmitter& other);
    ~PCEmitter() override;

    void Initialize() override;
    void Update() override;
    // Own draw with the blend states of render types 2 (alpha) and 3 (additive).
    void Draw() override;
    void Prepare() override;
    // The colour the particles take.
    void SetColor(u32 argb) override;
    // The alpha byte of the particles' colour := opacity x 255.
    void SetOpacity(f32 opacity) override;

private:
    void CreateDeviceObjects();
    void ReleaseDeviceObjects();
    void BuildAttribute();
    void Upload();

    PCQuadStreams m_streams;
    platform::gfx::Matrix m_identity = platform::gfx::MatrixIdentity();
};
