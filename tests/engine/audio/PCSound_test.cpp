#include "engine/audio/PCSound.h"

#include <memory>

#include "engine/core/AGMemBuffer.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/support/LogCapture.h"

namespace {

class SoundDescriptorTest : public AudioFixture {};

}  // namespace

TEST_F(SoundDescriptorTest, ReadsFieldsAndHoldsTheDataInMemory) {
    AddRaw("sfx/click.ogg", "OggS-bytes", TypeKey::Data);
    AddRaw("click.snd", authoring::MakeSoundDescriptor("SFX\\Click.OGG", false, 1, 2, 0xFFFFFFFF), TypeKey::Sound);
    AddRaw("music.snd", authoring::MakeSoundDescriptor("Music\\Theme.ogg", true), TypeKey::Sound);
    Mount();

    PCSound* click = PCSound::Acquire("Click.snd");
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->GetParameter(0), 1u);
    EXPECT_EQ(click->GetParameter(1), 2u);
    EXPECT_EQ(click->GetParameter(2), 0xFFFFFFFFu);
    EXPECT_EQ(click->GetParameter(3), 0u);
    EXPECT_FALSE(click->IsStreamed());
    EXPECT_STREQ(click->GetDataName().c_str(), "sfx/click.ogg");
    ASSERT_NE(click->GetData(), nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(click->GetData()->Bytes()), click->GetData()->Size()),
              "OggS-bytes");
    const AGData* data = click->GetData();
    EXPECT_EQ(data->RefCount(), 1u);
    {
        // A copy takes its own hold on the data and gives it back when it goes.
        std::unique_ptr<PCSound> copy(new PCSound(*click));
        EXPECT_EQ(copy->GetData(), data);
        EXPECT_EQ(data->RefCount(), 2u);
    }
    EXPECT_EQ(data->RefCount(), 1u);
    PCSound::Give(click);

    PCSound* music = PCSound::Acquire("music.snd");
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->IsStreamed());
    EXPECT_EQ(music->GetData(), nullptr);
    EXPECT_STREQ(music->GetDataName().c_str(), "music/theme.ogg");
    PCSound::Give(music);
}

TEST(PCSound, TruncatedDescriptorIsReportedAndEmpty) {
    const std::string whole = authoring::MakeSoundDescriptor("a.ogg", true, 5, 6, 7);
    ASSERT_EQ(whole.size(), 29u + 5u);
    for (size_t cut : {size_t(0), size_t(20), whole.size() - 1}) {
        const std::string bytes = whole.substr(0, cut);
        AGMemBuffer buffer(bytes.data(), u32(bytes.size()));
        PCSound sound;
        LogCapture log;
        sound.Load(&buffer, 0, false, true);
        EXPECT_FALSE(sound.IsLoaded()) << cut;
        EXPECT_TRUE(log.Contains("truncated")) << cut;
        EXPECT_EQ(sound.GetParameter(0), 0u);
        EXPECT_TRUE(sound.GetDataName().IsEmpty());
    }
    AGMemBuffer buffer(whole.data(), u32(whole.size()));
    PCSound sound;
    sound.Load(&buffer, 0, false, true);
    EXPECT_TRUE(sound.IsLoaded());
    EXPECT_EQ(sound.GetParameter(2), 7u);
    sound.Load(nullptr, 0, false, true);
    EXPECT_FALSE(sound.IsLoaded());
}
