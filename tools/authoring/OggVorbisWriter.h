#pragma once
// Ogg Vorbis data for tests and sample content: generated tones and noise, encoded with
// libvorbisenc, and the ".snd" descriptor that names such data.
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

// Interleaved 16-bit samples.
struct Pcm16 {
    uint32_t channels = 1;
    uint32_t rate = 44100;
    std::vector<int16_t> samples;
    uint32_t Frames() const { return channels ? uint32_t(samples.size() / channels) : 0; }
};

// A sine of `frames` frames at `amplitude` (0 to 1) of full scale, the same on every channel.
Pcm16 MakeTone(double frequency, uint32_t frames, uint32_t rate = 44100, uint32_t channels = 1,
               double amplitude = 0.5);
// Uniform noise from a fixed seed (hard to compress: makes large files quickly).
Pcm16 MakeNoise(uint32_t frames, uint32_t rate = 44100, uint32_t channels = 2, double amplitude = 0.5,
                uint32_t seed = 1);

// Encodes the samples as one Ogg Vorbis stream at a VBR quality from -0.1 to 1.0. Returns an
// empty string when the encoder refuses the format.
std::string EncodeOggVorbis(const Pcm16& pcm, float quality = 0.4f);

// The ".snd" descriptor: 12 header bytes, three parameters, the streamed word (1 = streamed)
// and the data name with its terminating zero.
std::string MakeSoundDescriptor(const std::string& dataName, bool streamed, uint32_t param1 = 0,
                                uint32_t param2 = 0, uint32_t param3 = 0);

}  // namespace authoring
