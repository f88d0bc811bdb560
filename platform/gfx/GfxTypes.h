#pragma once
// Values and records of the graphics device. The device keeps the model of a fixed-function
// immediate-mode device of the Windows era (render states, texture-stage states, sampler
// states, transforms, one light, a material), so every enumeration here names a state or
// a value of that model. Matrices are row-major for row vectors (v' = v * M, translation in
// m[12..14]), left-handed, clip z in [0, 1].
#include <cstdint>

namespace platform::gfx {

enum class Result : uint32_t {
    Ok,
    DeviceLost,      // frames cannot be drawn now; try again later
    DeviceNotReset,  // the device waits for Reset
    Failed,
};

enum class Format : uint32_t { Unknown, A8R8G8B8, X8R8G8B8 };

enum Usage : uint32_t {
    kUsageDynamic = 1,
    kUsageRenderTarget = 2,
    kUsageWriteOnly = 4,
};

enum ClearFlags : uint32_t {
    kClearTarget = 1,
    kClearZBuffer = 2,
    kClearStencil = 4,
};

enum class RenderState : uint32_t {
    ZEnable,
    ZWriteEnable,
    ZFunc,  // Cmp
    AlphaBlendEnable,
    SrcBlend,   // Blend
    DestBlend,  // Blend
    AlphaTestEnable,
    AlphaFunc,  // Cmp
    AlphaRef,   // 0-255
    CullMode,   // Cull
    Lighting,
    Ambient,  // ARGB
    MultisampleAntialias,
    StencilEnable,
    ScissorTestEnable,
    // 0-65535: every colour drawn moves that share of the way to black, its alpha kept (fixed
    // black fog). A dim over what was drawn, without drawing the dim.
    Shade,
    Count
};

enum class Cmp : uint32_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class Blend : uint32_t {
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
};
// Which winding on screen is culled.
enum class Cull : uint32_t { None, CW, CCW };

enum class StageState : uint32_t {
    ColorOp,  // TextureOp
    ColorArg0,
    ColorArg1,  // TextureArg
    ColorArg2,
    AlphaOp,
    AlphaArg0,
    AlphaArg1,
    AlphaArg2,
    TexCoordIndex,          // set index, optionally OR kTexCoordSphereMap
    TextureTransformFlags,  // TextureTransform
    Count
};
// Disable ends the cascade: this stage and every later one do nothing.
enum class TextureOp : uint32_t { Disable, SelectArg1, SelectArg2, Modulate, Add };
enum class TextureArg : uint32_t { Diffuse, Current, Texture };
// Generated sphere-map coordinates instead of a coordinate set.
inline constexpr uint32_t kTexCoordSphereMap = 0x10000;
enum class TextureTransform : uint32_t { Disable = 0, Count2 = 2 };

enum class SamplerState : uint32_t { AddressU, AddressV, MinFilter, MagFilter, Count };
enum class TextureAddress : uint32_t { Wrap, Mirror, Clamp };
enum class TextureFilter : uint32_t { Point, Linear };

inline constexpr uint32_t kMaxStages = 8;
inline constexpr uint32_t kMaxStreams = 8;

enum class TransformType : uint32_t {
    World,
    View,
    Projection,
    Texture0,  // Texture0 + stage
};
inline constexpr TransformType TextureTransformOf(uint32_t stage) {
    return TransformType(uint32_t(TransformType::Texture0) + stage);
}

enum class PrimitiveType : uint32_t { LineList, TriangleList, TriangleStrip, TriangleFan };

enum class DeclType : uint8_t { Float2, Float3, Color };  // Color: 4 bytes B, G, R, A
enum class DeclUsage : uint8_t { Position, Normal, Color, TexCoord };
struct VertexElement {
    uint16_t stream;
    uint16_t offset;
    DeclType type;
    DeclUsage usage;
    uint8_t usageIndex;
};

// Flexible vertex formats (only position plus one coordinate set is served).
enum Fvf : uint32_t {
    kFvfXyz = 1,
    kFvfTex1 = 2,
};

struct Matrix {
    float m[16];
};
struct Vec3 {
    float x, y, z;
};
struct Quaternion {
    float x, y, z, w;
};
struct ColorValue {
    float r, g, b, a;
};
struct Viewport {
    uint32_t x, y, width, height;
    float minZ, maxZ;
};
// Left, top inclusive; right, bottom exclusive; top-left origin.
struct Rect {
    int32_t left, top, right, bottom;
};

enum class LightType : uint32_t { Point, Spot, Directional };
// Position and direction are in world space; angles in radians.
struct Light {
    LightType type;
    ColorValue diffuse, specular, ambient;
    Vec3 position, direction;
    float range, falloff;
    float attenuation0, attenuation1, attenuation2;
    float theta, phi;
};
struct Material {
    ColorValue diffuse, ambient, specular, emissive;
    float power;
};

struct Caps {
    bool pixelShader20;
    uint32_t maxSamples;
};

struct LockedRect {
    uint32_t pitch;  // bytes per row
    void* bits;      // rows of u32 ARGB, top row first
};

// What the device was asked for and what it granted.
struct PresentParams {
    uint32_t width = 0;
    uint32_t height = 0;
    bool fullscreen = false;
    bool multisample = false;
};

}  // namespace platform::gfx
