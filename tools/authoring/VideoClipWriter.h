#pragma once
// Short Windows Media clips (ASF with WMV 8 video and WMA 2 audio, libav's own encoders) for
// tests and sample content: solid-colour frames that change colour at a fixed pace, and a
// sine tone.
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

struct VideoClip {
    // No video stream when width or height is 0. Both must be multiples of 16.
    uint32_t width = 64;
    uint32_t height = 48;
    uint32_t framesPerSecond = 10;
    // 0xRRGGBB colours, each shown for secondsPerColour, one after the other.
    std::vector<uint32_t> colours;
    double secondsPerColour = 0.5;
    // No audio stream when toneHz is 0. The audio lasts as long as the video, or
    // audioSeconds without video.
    double toneHz = 440.0;
    double audioSeconds = 0.0;
    uint32_t sampleRate = 22050;
    uint32_t channels = 1;
};

// The clip's bytes; empty when an encoder or the muxer is missing or refuses the clip. With
// audio, the muxer moves both streams later by the audio encoder's priming (one block, about
// 46 ms at 22,050 Hz), so the first frame comes at that time, in sync with the sound.
std::string EncodeWindowsMediaClip(const VideoClip& clip);

}  // namespace authoring
