#pragma once
// Writer of particle emitters ("emitter3D"): header; 16 f32 local transform; u32 A; u32 B;
// vec3 C; f32 polar angle, polar spread, azimuth, azimuth spread, start speed, speed
// variation; u16 emission kind, per spawn, D; u32 start frame, end frame, E; f32 life, life
// variation, size, size jitter; u32 grow-in, fade-out, motion kind, unused; f32 spin period,
// spin factor; vec3 force 1 direction; f32 force 1 magnitude; f32 force 2 magnitude; vec3
// force 2 direction; u32 orientation kind; u32 unused; u32 burst count N; N f32 frames; N
// u16 counts; u32 render type; u32 Mt; Mt material ids. 230 + 6N + 4Mt bytes.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

struct EmitterData {
    std::array<float, 16> local{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    uint32_t a = 0, b = 0;
    std::array<float, 3> c{};
    float polarAngle = 0.0f;  // radians from +y
    float polarSpread = 0.0f;
    float azimuth = 0.0f;
    float azimuthSpread = 0.0f;
    float startSpeed = 0.0f;
    float speedVariation = 0.0f;
    uint16_t emissionKind = 0;  // 1: bursts
    uint16_t perSpawn = 1;
    uint16_t d = 0;
    uint32_t startFrame = 0;
    uint32_t endFrame = 10;
    uint32_t e = 0;
    float life = 10.0f;  // frames
    float lifeVariation = 0.0f;
    float size = 1.0f;
    float sizeJitter = 0.0f;
    uint32_t growIn = 0;
    uint32_t fadeOut = 0;
    uint32_t motionKind = 0;  // 2: planar
    float spinPeriod = 0.0f;
    float spinFactor = 0.0f;
    std::array<float, 3> force1{};
    float force1Magnitude = 0.0f;
    float force2Magnitude = 0.0f;
    std::array<float, 3> force2{};
    uint32_t orientationKind = 3;  // 3: no random rotation axis
    std::vector<float> burstFrames;
    std::vector<uint16_t> burstCounts;
    uint32_t renderType = 2;
    std::vector<uint32_t> materialIds;
};
std::string EmitterBytes(const EmitterData& emitter);

}  // namespace authoring
