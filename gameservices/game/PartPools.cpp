#include "gameservices/game/PartPools.h"

namespace GameServices::KorvoGame {

template <>
Factory<Appearance>& PartPool<Appearance>() {
    static Factory<Appearance> pool("Appearances");
    return pool;
}

template <>
Factory<AppearanceId>& PartPool<AppearanceId>() {
    static Factory<AppearanceId> pool("AppearanceIds");
    return pool;
}

template <>
Factory<OutfitPart>& PartPool<OutfitPart>() {
    static Factory<OutfitPart> pool("OutfitParts");
    return pool;
}

template <>
Factory<AnatomyPart>& PartPool<AnatomyPart>() {
    static Factory<AnatomyPart> pool("AnatomyParts");
    return pool;
}

template <>
Factory<CharacterAssembly>& PartPool<CharacterAssembly>() {
    static Factory<CharacterAssembly> pool("CharacterAssemblies");
    return pool;
}

namespace {
// The pools exist before main, so no look change ever pays for building one.
[[maybe_unused]] const bool g_poolsCreated = [] {
    PartPool<Appearance>();
    PartPool<AppearanceId>();
    PartPool<OutfitPart>();
    PartPool<AnatomyPart>();
    PartPool<CharacterAssembly>();
    return true;
}();
}  // namespace

}  // namespace GameServices::KorvoGame
