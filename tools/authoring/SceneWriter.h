#pragma once
// Writer of 3D scenes ("scene3D"): header; u32 M + M model ids; u32 Em + Em emitter ids;
// u32 S, A, E; S x (model id, skeleton id, skin-animation id); A x (model id, model-animation
// id); E x (emitter id, model-animation id); u32 L + L light ids; f32 frame count; f32 frame
// rate.
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

struct SceneData {
    struct SkinLink {
        uint32_t model, skeleton, animation;
    };
    struct AnimationLink {
        uint32_t target, animation;
    };
    std::vector<uint32_t> modelIds;
    std::vector<uint32_t> emitterIds;
    std::vector<SkinLink> skinLinks;
    std::vector<AnimationLink> modelAnimationLinks;
    std::vector<AnimationLink> emitterAnimationLinks;
    std::vector<uint32_t> lightIds;
    float frameCount = 30.0f;
    float frameRate = 30.0f;
};
std::string SceneBytes(const SceneData& scene);

}  // namespace authoring
