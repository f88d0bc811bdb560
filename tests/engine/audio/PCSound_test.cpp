#include "engine/audio/PCSound.h"

#include <memory>

#include "tests/engine/audio/AudioTestFixture.h"

TEST_F(AudioFixture, SoundDescriptorNormalisesTheDataNameAndHoldsInMemoryDataOnly) {
    AddRaw("sfx/click.ogg", "OggS-bytes", TypeKey::Data);
    AddRaw("click.snd", authoring::MakeSoundDescriptor("SFX\\Click.OGG", false, 1, 2, 0xFFFFFFFF), TypeKey::Sound);
    AddRaw("music.snd", authoring::MakeSoundDescriptor("Music\\Theme.ogg", true), TypeKey::Sound);
    AddRaw("blank.snd", authoring::MakeSoundDescriptor("", false), TypeKey::Sound);
    Mount();

    PCSound* click = PCSound::Acquire("Click.snd");
    EXPECT_EQ(std::make_pair(click->GetParameter(2), click->IsStreamed()), std::make_pair(0xFFFFFFFFu, false));
    EXPECT_STREQ(click->GetDataName().c_str(), "sfx/click.ogg");
    const AGData* data = click->GetData();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->Bytes()), data->Size()), "OggS-bytes");
    // A copy takes its own hold on the data and gives it back when it goes.
    std::make_unique<PCSound>(*click).reset();
    EXPECT_EQ(data->RefCount(), 1u);
    // The data is the one held under its name, shared with any other holder.
    AGBaseProvider* dataProvider = AGResourceManager::Get()->GetProvider(TypeKey::Data);
    AGResource* held = GetOrLoadResource(dataProvider, Crc32Hash("sfx/click.ogg"), 0, false, true);
    EXPECT_EQ(held, data);
    dataProvider->Release(held);
    PCSound::Give(click);

    PCSound* music = PCSound::Acquire("music.snd");
    EXPECT_TRUE(music->IsStreamed() && !music->GetData() && music->GetParameter(3) == 0u);  // three parameters
    EXPECT_STREQ(music->GetDataName().c_str(), "music/theme.ogg");
    PCSound::Give(music);
    PCSound* blank = PCSound::Acquire("blank.snd");  // names no data: holds none
    EXPECT_EQ(blank->GetData(), nullptr);
    PCSound::Give(blank);
}
