#pragma once
// The videos of a level on the engine's single video player: each video asset keeps its
// VideoData under "DATA_VIDEO"; a video is played by asset name, and the end of a video that
// does not loop reaches the game through one event.
#include "engine/core/TString.h"

class IDelegate;

namespace GameServices::Entities {
class Set;
class VideoAsset;
}  // namespace GameServices::Entities

namespace GameServices::Bridge {

class VideoData;

class VideoProcessingSystem {
public:
    // Copies the data into the asset's own VideoData, made when missing.
    static void SetVideoData(Entities::VideoAsset& asset, const VideoData& data);
    // Level start: the loop flag of the next play starts cleared.
    static void Initialize(Entities::Set* set);
    // While the player is stopped, each asset not yet handled gives the player its volume and
    // loop flag, once.
    static void Update(Entities::Set* set);
    // Every asset gives back its VideoData.
    static void Cleanup(Entities::Set* set);

    // A looping, playing, windowed asset of volume 1 from the default video-asset pool, added
    // to the Set and played; null, reported, when the pool is exhausted.
    static Entities::VideoAsset* CreateVideoAsset(Entities::Set* set, const TString<char>& name,
                                                  const TString<char>& fileName);
    static void DestroyVideoAsset(Entities::Set* set, const TString<char>& name);

    // Stops the video playing, then opens and starts the asset's file from the video folder
    // (in package mode too), full screen when the asset says so.
    static void PlayVideo(Entities::Set* set, const TString<char>& name);

    // The handler joins the video-ended event, which the player fires at the end of a video
    // that does not loop. Removing any handler stops the player from firing the event, for
    // every handler, until one is added again.
    static void AddVideoEndHandler(IDelegate* handler);
    static void RemoveVideoEndHandler(IDelegate* handler);

    // Pauses (or resumes) the audio manager's sounds, then the video player.
    static void PauseAudioAndVideo(bool pause);

    // The loop flag the next play starts the player with.
    static bool GetPlayerLoop();
    static void SetPlayerLoop(bool loop);
};

}  // namespace GameServices::Bridge
