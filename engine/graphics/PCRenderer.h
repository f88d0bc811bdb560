#pragma once
// The renderer a layer tree draws its renderables' render attributes with. Per attribute: the
// world transform, stages reset; per part that has a vertex declaration: the light, the
// material and its textures, declaration, streams, the states of the part's render type, depth
// write, indices and the draw; then depth and lighting off.
//
// Render types (stage 0): 0 "onlycolor" (vertex colour), 1 "diffuse" (texture x colour), 2
// "diffusealpha" (texture x colour, alpha blended), 3 "additive" (texture x colour added, no
// depth write); 4 and 5 set no stage states and keep whatever was set before.
#include "engine/graphics/AGRenderAttribute.h"
#include "engine/graphics/AGRenderer.h"
#include "platform/gfx/GfxTypes.h"

class AGLight;
class AGMaterial;

class PCRenderer : public AGRenderer {
public:
    void DrawRenderAttribute(AGRenderAttribute& attribute) override;

    // Null is the identity.
    void SetWorld(const platform::gfx::Matrix* world);
    void SetDeclaration(platform::gfx::VertexDeclaration* declaration);
    // The material's device material and textures; without a material stage 0 has no
    // texture, so the vertex colour shows.
    void ApplyMaterial(AGMaterial* material);
    void SetStreams(const AGVertexStreams& streams);
    void SetIndices(platform::gfx::IndexBuffer* indices);
    // Cull 0 none, 1 clockwise, 2 counter-clockwise (others keep the current mode); depth
    // test on; then the stage states of render types 0-3.
    void SetRenderType(u32 cull, u32 renderType, u32 parameter);
    void SetDepthWrite(bool enable);
    void SetDepthTest(bool enable);
    // Light 0 from the light, lighting on with it, ambient := the light's ambient colour.
    void ApplyLight(AGLight* light);
    // Kind 1 line list, 4 strip, 5 fan, any other an indexed triangle list (after which depth
    // and alpha test go off). Nothing for 0 primitives.
    void Draw(u32 vertexCount, u32 primitiveCount, u32 primitiveKind);
    void LightingOff();
    // Depth test on, lighting off, every stage's colour operation disabled.
    void ResetStages();
    void DepthOff();

private:
    // Depth writes, no blending; stage 0's colour from the operation over (texture, vertex
    // colour), its alpha off.
    void OpaqueStates(platform::gfx::TextureOp colorOp);
    void DiffuseAlphaStates();
    void AdditiveStates();

    platform::gfx::Cull m_cull = platform::gfx::Cull::CW;
};
