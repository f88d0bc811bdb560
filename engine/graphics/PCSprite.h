#pragma once
// The device side of a sprite: position (48 bytes), colour (16) and, when textured, texture
// coordinate (32) vertex buffers in streams 0, 2 and 3, uploaded when dirty; a render
// attribute of one part (render type 2, cull 1, two primitives, triangle strip, the sprite's
// material); and the sprite's own draw with the states of its blend mode.
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/PCQuadStreams.h"

class PCSprite : public AGSprite {
public:
    PCSprite() = default;
    // The provider's clone: the engine sprite copied, then built again with its own device
    // objects.
    PCSprite(const PCSprite& other);
    ~PCSprite() override;

    void Initialize() override;
    // The engine update, then the dirty arrays go to the device.
    void Update() override;
    void Draw() override;
    void Prepare() override;
    // Recolours every vertex when the colour changes.
    void SetColor(u32 argb) override;
    // Alpha byte := opacity x 255.
    void SetOpacity(f32 opacity) override;
    // The colour the device draws the quad with (uploaded at the last update), or false when
    // there is none or its vertices differ.
    bool DrawnColor(u32& argb) const;

private:
    void CreateDeviceObjects();
    void BuildAttribute();
    void Upload();

    PCQuadStreams m_streams;
};
