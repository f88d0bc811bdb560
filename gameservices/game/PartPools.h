#pragma once
// The process-wide pools of appearances and character parts, 100 objects each.
#include "gameservices/entities/Factory.h"
#include "gameservices/game/Appearance.h"

namespace GameServices::KorvoGame {

// The pool of T: Appearance ("Appearances"), AppearanceId ("AppearanceIds"), OutfitPart
// ("OutfitParts"), AnatomyPart ("AnatomyParts") or CharacterAssembly ("CharacterAssemblies").
// ResetAll replaces every object, so it is only for a pool with nothing handed out.
template <typename T>
Factory<T>& PartPool();

template <> Factory<Appearance>& PartPool<Appearance>();
template <> Factory<AppearanceId>& PartPool<AppearanceId>();
template <> Factory<OutfitPart>& PartPool<OutfitPart>();
template <> Factory<AnatomyPart>& PartPool<AnatomyPart>();
template <> Factory<CharacterAssembly>& PartPool<CharacterAssembly>();

}  // namespace GameServices::KorvoGame
