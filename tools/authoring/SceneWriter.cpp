#include "tools/authoring/SceneWriter.h"

#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/TrackWriter.h"

namespace authoring {

std::string SceneBytes(const SceneData& scene) {
    ByteWriter w;
    w.U32(uint32_t(scene.modelIds.size()));
    for (uint32_t id : scene.modelIds)
        w.U32(id);
    w.U32(uint32_t(scene.emitterIds.size()));
    for (uint32_t id : scene.emitterIds)
        w.U32(id);
    w.U32(uint32_t(scene.skinLinks.size()))
        .U32(uint32_t(scene.modelAnimationLinks.size()))
        .U32(uint32_t(scene.emitterAnimationLinks.size()));
    for (const auto& link : scene.skinLinks)
        w.U32(link.model).U32(link.skeleton).U32(link.animation);
    for (const auto& link : scene.modelAnimationLinks)
        w.U32(link.target).U32(link.animation);
    for (const auto& link : scene.emitterAnimationLinks)
        w.U32(link.target).U32(link.animation);
    w.U32(uint32_t(scene.lightIds.size()));
    for (uint32_t id : scene.lightIds)
        w.U32(id);
    w.F32(scene.frameCount).F32(scene.frameRate);
    return ResourceHeader("scene3D", uint32_t(w.Size())) + w.Str();
}

}  // namespace authoring
