#include "gameservices/entities/VolatileData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

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
constexpr Slot kSlots[] = {
    {"DATA_VIDEO", Keys::kDATA_VIDEO},
    {"DATA_LAYER", Keys::kDATA_LAYER},
    {"DATA_COMPOSITERENDERABLE", Keys::kDATA_COMPOSITERENDERABLE},
    {"DATA_SPRITES", Keys::kDATA_SPRITES},
    {"DATA_TEXTS", Keys::kDATA_TEXTS},
    {"DATA_FONTS", Keys::kDATA_FONTS},
    {"DATA_EMITTER3D", Keys::kDATA_EMITTER3D},
    {"DATA_VIDEOASSET", Keys::kDATA_VIDEOASSET},
    {"ENGINE_DATA_AUDIO", Keys::kENGINE_DATA_AUDIO},
    {"AUDIO_DATA", Keys::kAUDIO_DATA},
    {"DeviceSystem::ENGINE_DATA", Keys::kDeviceSystem_ENGINE_DATA},
    {"ENGINE_DATA_SPRITE", Keys::kENGINE_DATA_SPRITE},
    {"ENGINE_DATA_MODEL", Keys::kENGINE_DATA_MODEL},
    {"ENGINE_DATA_SCENE3D", Keys::kENGINE_DATA_SCENE3D},
    {"RENDERABLE_MODEL_DATA", Keys::kRENDERABLE_MODEL_DATA},
    {"ENGINE_DATA_IN_PIPELINE", Keys::kENGINE_DATA_IN_PIPELINE},
    {"ENGINE_PROVIDERS", Keys::kENGINE_PROVIDERS},
    {"ENGINE_DATA_LAYER_3D", Keys::kENGINE_DATA_LAYER_3D},
    {"ENGINE_DATA_CAMERA", Keys::kENGINE_DATA_CAMERA},
    {"ENGINE_DATA_LIGHT", Keys::kENGINE_DATA_LIGHT},
    {"ANIMATIONS_ENTITY_DATA", Keys::kANIMATIONS_ENTITY_DATA},
    {"ANIMATIONS_ENGINE_DATA", Keys::kANIMATIONS_ENGINE_DATA},
    {"ENGINE_DATA_AVATAR", Keys::kENGINE_DATA_AVATAR},
    {"RENDERABLE_AVATAR_DATA", Keys::kRENDERABLE_AVATAR_DATA},
    {"COLLISION_OBJECT", Keys::kCOLLISION_OBJECT},
    {"COLLISION_DATA", Keys::kCOLLISION_DATA},
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

TEST(VolatileData, GettersNeverInsertAndANullValueIsNoData) {
    VolatileData data;
    int other = 0;
    data.Set(Keys::kDATA_LAYER, &other);
    EXPECT_EQ(data.GetSprites(), nullptr);
    EXPECT_EQ(data.GetTexts(), nullptr);
    EXPECT_EQ(data.GetFonts(), nullptr);
    EXPECT_EQ(data.GetVideoAsset(), nullptr);
    EXPECT_EQ(data.GetEngineProviders(), nullptr);
    EXPECT_EQ(data.GetCamera(), nullptr);
    EXPECT_EQ(data.GetRenderableModelData(), nullptr);
    EXPECT_EQ(data.GetRenderableAvatarData(), nullptr);
    EXPECT_EQ(data.GetCollisionData(), nullptr);
    EXPECT_EQ(data.GetAudioData(), nullptr);
    EXPECT_EQ(data.GetVideoData(), nullptr);
    EXPECT_EQ(data.GetAppearance(), nullptr);
    EXPECT_EQ(data.Count(), 1u);

    // Each getter reads its own key.
    int values[6];
    const u32 keys[6] = {Keys::kDATA_SPRITES, Keys::kDATA_TEXTS, Keys::kDATA_FONTS,
                         Keys::kDATA_VIDEOASSET, Keys::kENGINE_PROVIDERS, Keys::kENGINE_DATA_CAMERA};
    for (int i = 0; i < 6; ++i)
        data.Set(keys[i], &values[i]);
    EXPECT_EQ(static_cast<void*>(data.GetSprites()), &values[0]);
    EXPECT_EQ(static_cast<void*>(data.GetTexts()), &values[1]);
    EXPECT_EQ(static_cast<void*>(data.GetFonts()), &values[2]);
    EXPECT_EQ(static_cast<void*>(data.GetVideoAsset()), &values[3]);
    EXPECT_EQ(static_cast<void*>(data.GetEngineProviders()), &values[4]);
    EXPECT_EQ(static_cast<void*>(data.GetCamera()), &values[5]);

    data.Set(Keys::kENGINE_DATA_SPRITE, nullptr);
    EXPECT_FALSE(data.HasData(Keys::kENGINE_DATA_SPRITE));
    EXPECT_FALSE(data.HasData(Keys::kENGINE_DATA_MODEL));
    EXPECT_TRUE(data.HasData(Keys::kDATA_LAYER));
    EXPECT_EQ(data.Count(), 8u);
}
