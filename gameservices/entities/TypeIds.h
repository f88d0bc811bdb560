#pragma once
// Type ids and attribute keys of the entity model: the name id of each class's full name
// (or key text), fixed at compile time. IsA compares against these.
#include "engine/core/Crc32Hash.h"

namespace GameServices::Entities::TypeIds {

// Keys rather than classes.
inline constexpr u32 ApplicationDataKey = Crc32Hash("ApplicationData");
inline constexpr u32 AppearanceKey = Crc32Hash("Appearance");
inline constexpr u32 CollisionCursor = Crc32Hash("CollisionCursor");

inline constexpr u32 Attribute = Crc32Hash("GameServices::Entities::Attribute");
inline constexpr u32 Set = Crc32Hash("GameServices::Entities::Set");
inline constexpr u32 Team = Crc32Hash("GameServices::Entities::Team");
inline constexpr u32 Entity = Crc32Hash("GameServices::Entities::Entity");
inline constexpr u32 BaseTeamMember = Crc32Hash("GameServices::Entities::BaseTeamMember");
inline constexpr u32 Prop = Crc32Hash("GameServices::Entities::Prop");
inline constexpr u32 Character = Crc32Hash("GameServices::Entities::Character");
inline constexpr u32 SetElement = Crc32Hash("GameServices::Entities::SetElement");
inline constexpr u32 ComponentLevel = Crc32Hash("GameServices::Entities::ComponentLevel");
inline constexpr u32 Floor = Crc32Hash("GameServices::Entities::Floor");
inline constexpr u32 Inventory = Crc32Hash("GameServices::Entities::Inventory");
inline constexpr u32 Camera = Crc32Hash("GameServices::Entities::Camera");
inline constexpr u32 Light = Crc32Hash("GameServices::Entities::Light");
inline constexpr u32 AudioAsset = Crc32Hash("GameServices::Entities::AudioAsset");
inline constexpr u32 VideoAsset = Crc32Hash("GameServices::Entities::VideoAsset");
inline constexpr u32 Appearance = Crc32Hash("GameServices::KorvoGame::Appearance");
inline constexpr u32 OutfitPart = Crc32Hash("GameServices::KorvoGame::OutfitPart");
inline constexpr u32 AnatomyPart = Crc32Hash("GameServices::KorvoGame::AnatomyPart");
inline constexpr u32 CharacterAssembly = Crc32Hash("GameServices::KorvoGame::CharacterAssembly");

}  // namespace GameServices::Entities::TypeIds
