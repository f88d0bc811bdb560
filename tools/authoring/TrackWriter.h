#pragma once
// Writers of keyframe tracks and of the files made of them: model animations
// ("prsAnimation"), 2D animations ("prscAnimation", ".anm"), skin animations
// ("skeletonPrsAnimation") and camera resources.
//
// Track record: u32 interpolation id, u32 key count N, N u16 times, 2 zero bytes when N is
// odd, N values. Resource files start with a 12-byte header {u32 id of the type word,
// u32 format version 1, u32 payload size}, which the engine skips; camera files have none.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace authoring {

class Track {
public:
    static uint32_t LerpId();
    static uint32_t StepId();

    // Value sizes in bytes: f32 4, colour 4, vec2 8, vec3 12, quaternion 16, UV key 24.
    static Track Float() { return Track(4); }
    static Track Color() { return Track(4); }
    static Track Vec2() { return Track(8); }
    static Track Vec3() { return Track(12); }
    static Track Quat() { return Track(16); }
    static Track UV() { return Track(24); }

    explicit Track(uint32_t valueSize);

    Track& Interpolation(uint32_t id) {
        m_interpolation = id;
        return *this;
    }
    // A key of f32 components; their count must fill the value size.
    Track& Key(uint16_t time, std::initializer_list<float> components);
    Track& ColorKey(uint16_t time, uint32_t argb);
    Track& UVKey(uint16_t time, uint32_t frame, float scaleU, float scaleV, float offsetU,
                 float offsetV, float rotation);

    uint32_t ValueSize() const { return m_valueSize; }
    size_t KeyCount() const { return m_times.size(); }
    // The record's length: 8 + 2N (+2 when N is odd) + N x value size.
    size_t RecordSize() const;
    std::string Bytes() const;

private:
    uint32_t m_valueSize;
    uint32_t m_interpolation;
    std::vector<uint16_t> m_times;
    std::string m_values;
};

// The 12 header bytes of a resource file.
std::string ResourceHeader(const char* typeWord, uint32_t payloadSize);

std::string ModelAnimationBytes(float frameCount, float frameRate, const Track& position,
                                const Track& rotation, const Track& scale);

std::string PrscAnimationBytes(float frameCount, float frameRate, const Track& position,
                               const Track& rotation, const Track& scale, const Track& color,
                               const Track& uv);

struct SkinBoneTracks {
    uint16_t boneIndex = 0;
    Track position = Track::Vec3();
    Track rotation = Track::Quat();
};
std::string SkinAnimationBytes(float frameCount, float frameRate,
                               const std::vector<SkinBoneTracks>& bones);

// Field of view in degrees.
std::string CameraBytes(float frameCount, const Track& eye, const Track& target, const Track& fov);

}  // namespace authoring
