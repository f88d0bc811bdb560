#pragma once
// The device side of a text: position, colour and texture-coordinate vertex buffers (streams
// 0, 2 and 3) and a 16-bit index buffer for the glyph count, uploaded when dirty; a render
// attribute of one part (indexed triangle list of the placed glyphs, the font's material,
// render type of the blend mode, no culling, no depth write); and the text's own draw.
#include "engine/graphics/AGText.h"
#include "engine/graphics/PCQuadStreams.h"

class PCText : public AGText {
public:
    PCText() = default;
    // The provider's clone: the engine text copied and laid out again on its own device objects.
    PCText(const PCText& other);
    ~PCText() override;

    void Initialize() override;
    // The engine update, then the dirty arrays go to the device.
    void Update() override;
    void Draw() override;
    void Prepare() override;
    // Recolours every vertex when the colour changes.
    void SetColor(u32 argb) override;
    // Alpha byte := opacity x 255.
    void SetOpacity(f32 opacity) override;

private:
    void CreateDeviceObjects();
    void BuildAttribute();
    void Upload();

    PCQuadStreams m_streams;
};
