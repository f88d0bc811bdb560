#include "tools/authoring/EmitterWriter.h"

#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/TrackWriter.h"

namespace authoring {

std::string EmitterBytes(const EmitterData& e) {
    ByteWriter w;
    for (float f : e.local)
        w.F32(f);
    w.U32(e.a).U32(e.b).F32(e.c[0]).F32(e.c[1]).F32(e.c[2]);
    w.F32(e.polarAngle).F32(e.polarSpread).F32(e.azimuth).F32(e.azimuthSpread);
    w.F32(e.startSpeed).F32(e.speedVariation);
    w.U16(e.emissionKind).U16(e.perSpawn).U16(e.d);
    w.U32(e.startFrame).U32(e.endFrame).U32(e.e);
    w.F32(e.life).F32(e.lifeVariation).F32(e.size).F32(e.sizeJitter);
    w.U32(e.growIn).U32(e.fadeOut).U32(e.motionKind).U32(0);
    w.F32(e.spinPeriod).F32(e.spinFactor);
    w.F32(e.force1[0]).F32(e.force1[1]).F32(e.force1[2]).F32(e.force1Magnitude);
    w.F32(e.force2Magnitude);
    w.F32(e.force2[0]).F32(e.force2[1]).F32(e.force2[2]);
    w.U32(e.orientationKind).U32(0);
    w.U32(uint32_t(e.burstFrames.size()));
    for (float f : e.burstFrames)
        w.F32(f);
    for (size_t i = 0; i < e.burstFrames.size(); ++i)
        w.U16(i < e.burstCounts.size() ? e.burstCounts[i] : 0);
    w.U32(e.renderType).U32(uint32_t(e.materialIds.size()));
    for (uint32_t id : e.materialIds)
        w.U32(id);
    return ResourceHeader("emitter3D", uint32_t(w.Size())) + w.Str();
}

}  // namespace authoring
