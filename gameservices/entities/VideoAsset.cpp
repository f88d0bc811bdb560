#include "gameservices/entities/VideoAsset.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool VideoAsset::IsA(const u32& typeId) const {
    return typeId == TypeIds::VideoAsset;
}

}  // namespace GameServices::Entities
