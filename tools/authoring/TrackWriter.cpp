#include "tools/authoring/TrackWriter.h"

#include <cstring>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/ByteWriter.h"

namespace authoring {

uint32_t Track::LerpId() {
    return Crc32Hash("lerp");
}

uint32_t Track::StepId() {
    return Crc32Hash("step");
}

Track::Track(uint32_t valueSize) : m_valueSize(valueSize), m_interpolation(LerpId()) {}

Track& Track::Key(uint16_t time, std::initializer_list<float> components) {
    std::string value(m_valueSize, '\0');
    size_t offset = 0;
    for (float c : components) {
        if (offset + 4 > value.size())
            break;
        std::memcpy(&value[offset], &c, 4);
        offset += 4;
    }
    m_times.push_back(time);
    m_values += value;
    return *this;
}

Track& Track::ColorKey(uint16_t time, uint32_t argb) {
    std::string value(m_valueSize, '\0');
    std::memcpy(value.data(), &argb, value.size() < 4 ? value.size() : 4);
    m_times.push_back(time);
    m_values += value;
    return *this;
}

Track& Track::UVKey(uint16_t time, uint32_t frame, float scaleU, float scaleV, float offsetU,
                    float offsetV, float rotation) {
    ByteWriter w;
    w.U32(frame).F32(scaleU).F32(scaleV).F32(offsetU).F32(offsetV).F32(rotation);
    std::string value = w.Str();
    value.resize(m_valueSize, '\0');
    m_times.push_back(time);
    m_values += value;
    return *this;
}

size_t Track::RecordSize() const {
    const size_t n = m_times.size();
    return 8 + 2 * n + (n % 2 ? 2 : 0) + n * m_valueSize;
}

std::string Track::Bytes() const {
    ByteWriter w;
    w.U32(m_interpolation).U32(uint32_t(m_times.size()));
    for (uint16_t t : m_times)
        w.U16(t);
    if (m_times.size() % 2)
        w.Zeros(2);
    w.Bytes(m_values);
    return w.Str();
}

std::string ResourceHeader(const char* typeWord, uint32_t payloadSize) {
    ByteWriter w;
    w.U32(Crc32Hash(typeWord)).U32(1).U32(payloadSize);
    return w.Str();
}

namespace {

std::string WithTrackHeader(const char* typeWord, const std::string& payload) {
    return ResourceHeader(typeWord, uint32_t(payload.size())) + payload;
}

}  // namespace

std::string ModelAnimationBytes(float frameCount, float frameRate, const Track& position,
                                const Track& rotation, const Track& scale) {
    ByteWriter w;
    w.F32(frameCount).F32(frameRate);
    w.Bytes(position.Bytes()).Bytes(rotation.Bytes()).Bytes(scale.Bytes());
    return WithTrackHeader("prsAnimation", w.Str());
}

std::string PrscAnimationBytes(float frameCount, float frameRate, const Track& position,
                               const Track& rotation, const Track& scale, const Track& color,
                               const Track& uv) {
    ByteWriter w;
    w.F32(frameCount).F32(frameRate);
    w.Bytes(position.Bytes()).Bytes(rotation.Bytes()).Bytes(scale.Bytes());
    w.Bytes(color.Bytes()).Bytes(uv.Bytes());
    return WithTrackHeader("prscAnimation", w.Str());
}

std::string SkinAnimationBytes(float frameCount, float frameRate,
                               const std::vector<SkinBoneTracks>& bones) {
    ByteWriter w;
    w.F32(frameCount).F32(frameRate).U32(uint32_t(bones.size()));
    for (const SkinBoneTracks& bone : bones)
        w.Bytes(bone.position.Bytes()).Bytes(bone.rotation.Bytes());
    for (const SkinBoneTracks& bone : bones)
        w.U16(bone.boneIndex);
    return WithTrackHeader("skeletonPrsAnimation", w.Str());
}

std::string CameraBytes(float frameCount, const Track& eye, const Track& target, const Track& fov) {
    ByteWriter w;
    w.F32(frameCount).Bytes(eye.Bytes()).Bytes(target.Bytes()).Bytes(fov.Bytes());
    return w.Str();
}

}  // namespace authoring
