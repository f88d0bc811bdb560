#pragma once
// The interface sounds of the game-show menus. A sound plays in the set of the level that
// is running; its audio asset is made on first use and routed to the volume group of an
// audio type, and later calls only start it again.
#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {
class Set;
}

namespace GameShow {

class AudioManager {
public:
    static constexpr const char* kButtonPressSound = "SFX_ButtonPress_Option2.snd";
    static constexpr const char* kMenuMusic = "background.snd";
    // Whether each is streamed.
    static constexpr u32 kButtonPressStreamed = 0;
    static constexpr u32 kMenuMusicStreamed = 1;

    // Made on first use, kept for the run.
    static AudioManager& Instance();

    // Audio type 0 -> group 0, 1 -> 1, 2 -> 2, 3 -> 1; any other type is reported and
    // plays in group 0.
    static u32 VolumeGroup(i32 audioType);

    // In the current level's set. The first call for a name makes the asset (the name as
    // asset and file name, volume 1, the stream flag, and `category` as its looped flag)
    // and routes it by audio type; an asset already in the set keeps its group, even when
    // its file could not be opened (it is not made again). Without a running level the call
    // is reported and nothing plays.
    void PlaySound(const TString<char>& name, u32 stream, u32 category, i32 audioType);
    // The same in the given set.
    void PlaySound(GameServices::Entities::Set* set, const TString<char>& name, u32 stream, u32 category,
                   i32 audioType);

    // Every menu button: the click sound in the sound-effects group.
    void PlayButtonPress();
    // The menu music: streamed and looping.
    void PlayMenuMusic();
};

}  // namespace GameShow
