#include "gameservices/entities/AudioAsset.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool AudioAsset::IsA(const u32& typeId) const {
    return typeId == TypeIds::AudioAsset;
}

}  // namespace GameServices::Entities
