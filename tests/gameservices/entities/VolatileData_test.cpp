#include "gameservices/entities/VolatileData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "gameservices/entities/TypeIds.h"

using namespace GameServices::Entities;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

// Bit by bit, independent of the table the engine uses.
u32 BitwiseCrc(const char* text) {
    u32 crc = 0;
    for (const char* p = text; *p; ++p) {
        crc ^= u8(*p);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0u);
    }
    return crc;
}

struct Slot {
    const char* literal;
    u32 id;
};

// The data-slot vocabulary.
#define SLOT(name) {#name, Keys::k##name}
constexpr Slot kSlots[] = {
    {"DeviceSystem::ENGINE_DATA", Keys::kDeviceSystem_ENGINE_DATA},
    SLOT(DATA_VIDEO), SLOT(DATA_LAYER), SLOT(DATA_COMPOSITERENDERABLE), SLOT(DATA_SPRITES),
    SLOT(DATA_TEXTS), SLOT(DATA_FONTS), SLOT(DATA_EMITTER3D), SLOT(DATA_VIDEOASSET),
    SLOT(ENGINE_DATA_AUDIO), SLOT(AUDIO_DATA), SLOT(ENGINE_DATA_SPRITE), SLOT(ENGINE_DATA_MODEL),
    SLOT(ENGINE_DATA_SCENE3D), SLOT(RENDERABLE_MODEL_DATA), SLOT(ENGINE_DATA_IN_PIPELINE),
    SLOT(ENGINE_PROVIDERS), SLOT(ENGINE_DATA_LAYER_3D), SLOT(ENGINE_DATA_CAMERA),
    SLOT(ENGINE_DATA_LIGHT), SLOT(ANIMATIONS_ENTITY_DATA), SLOT(ANIMATIONS_ENGINE_DATA),
    SLOT(ENGINE_DATA_AVATAR), SLOT(RENDERABLE_AVATAR_DATA), SLOT(COLLISION_OBJECT),
    SLOT(COLLISION_DATA),
};

}  // namespace

TEST(VolatileDataKeys, EverySlotIdIsTheNameIdOfItsLiteralAndAllAreDistinct) {
    static_assert(std::size(kSlots) == 26);
    EXPECT_EQ(Keys::kDATA_SPRITES, 0x7F16D71Fu);
    std::set<u32> ids;
    for (const Slot& slot : kSlots) {
        EXPECT_EQ(slot.id, BitwiseCrc(slot.literal)) << slot.literal;
        ids.insert(slot.id);
    }
    EXPECT_EQ(ids.size(), std::size(kSlots));

    for (const ClassType& type : {ClassTypes::kEngineAnimationBase, ClassTypes::kEngineAnimationSkin,
                                  ClassTypes::kEngineAnimationModel, ClassTypes::kEngineAnimationTexture,
                                  ClassTypes::kEngineAnimationUV}) {
        EXPECT_EQ(type.m_Id, BitwiseCrc(type.m_Name));
        EXPECT_EQ(std::strncmp(type.m_Name, "GameServices::Bridge::EngineAnimation", 37), 0);
    }
}

#define GETTER(key, get) {key, [](const VolatileData& d) -> const void* { return d.get(); }}

TEST(VolatileData, EachGetterReadsItsOwnKeyNeverInsertsAndANullValueIsNoData) {
    const std::pair<u32, const void* (*)(const VolatileData&)> getters[] = {
        GETTER(Keys::kRENDERABLE_MODEL_DATA, GetRenderableModelData),
        GETTER(Keys::kRENDERABLE_AVATAR_DATA, GetRenderableAvatarData),
        GETTER(Keys::kCOLLISION_DATA, GetCollisionData), GETTER(Keys::kAUDIO_DATA, GetAudioData),
        GETTER(Keys::kDATA_VIDEO, GetVideoData),         GETTER(Keys::kDATA_SPRITES, GetSprites),
        GETTER(Keys::kDATA_TEXTS, GetTexts),             GETTER(Keys::kDATA_FONTS, GetFonts),
        GETTER(Keys::kDATA_VIDEOASSET, GetVideoAsset),
        GETTER(Keys::kENGINE_PROVIDERS, GetEngineProviders),
        GETTER(Keys::kENGINE_DATA_CAMERA, GetCamera), GETTER(TypeIds::AppearanceKey, GetAppearance),
    };
    VolatileData data;
    int values[std::size(getters)];
    for (size_t i = 0; i < std::size(getters); ++i) {
        EXPECT_EQ(getters[i].second(data), nullptr) << i;
        data.Set(getters[i].first, &values[i]);
    }
    EXPECT_EQ(data.Count(), std::size(getters));
    for (size_t i = 0; i < std::size(getters); ++i)
        EXPECT_EQ(getters[i].second(data), &values[i]) << i;

    data.Set(Keys::kENGINE_DATA_SPRITE, nullptr);
    EXPECT_FALSE(data.HasData(Keys::kENGINE_DATA_SPRITE) || data.HasData(Keys::kENGINE_DATA_MODEL));
    EXPECT_TRUE(data.HasData(Keys::kDATA_SPRITES));
}
