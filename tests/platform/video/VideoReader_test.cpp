#include "platform/video/VideoReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <malloc.h>
#include <unistd.h>

#include "tests/support/TempDir.h"
#include "tools/authoring/VideoClipWriter.h"

using namespace platform::video;

namespace {

constexpr int64_t kSecond = kTimeUnitsPerSecond;
const std::vector<uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

// True when the BGRA pixel is within `tolerance` per channel of the 0xRRGGBB colour.
bool Near(const uint8_t* bgra, uint32_t rgb, int tolerance = 12) {
    return std::abs(bgra[2] - int((rgb >> 16) & 0xFF)) <= tolerance &&
           std::abs(bgra[1] - int((rgb >> 8) & 0xFF)) <= tolerance && std::abs(bgra[0] - int(rgb & 0xFF)) <= tolerance;
}

// "<has video> <width>x<height> <has audio> <channels>@<rate>".
std::string Streams(const Reader& r) {
    const AudioFormat& audio = r.GetAudioFormat();
    return std::to_string(r.HasVideo()) + " " + std::to_string(r.Width()) + "x" + std::to_string(r.Height()) +
           " " + std::to_string(r.HasAudio()) + " " + std::to_string(audio.channels) + "@" +
           std::to_string(audio.samplesPerSec);
}

// How many descriptors the process holds open on the file.
int OpenCount(const std::string& path) {
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        count += std::filesystem::read_symlink(entry.path(), error) == std::filesystem::canonical(path);
    return count;
}

// A WAV file in the extensible format, 16-bit samples at 22,050 Hz: 200 copies of `frame` (a
// sample per channel), with the speaker mask `mask` (0: none given).
std::string Wav(const std::vector<int16_t>& frame, uint32_t mask) {
    const uint32_t channels = uint32_t(frame.size()), bytes = channels * 2 * 200;
    std::string out;
    // Little-endian words: "RIFF", size, "WAVE", "fmt ", size, tag and channels, rate, byte rate,
    // block size and bits, extension size and valid bits, mask, the PCM subformat, "data", size.
    for (uint32_t word : {0x46464952u, 60 + bytes, 0x45564157u, 0x20746D66u, 40u, channels << 16 | 0xFFFEu, 22050u,
                          22050 * channels * 2, 16u << 16 | channels * 2, 16u << 16 | 22u, mask, 1u, 0x00100000u,
                          0xAA000080u, 0x719B3800u, 0x61746164u, bytes})
        out.append(reinterpret_cast<const char*>(&word), 4);
    for (int copy = 0; copy < 200; ++copy)
        out.append(reinterpret_cast<const char*>(frame.data()), channels * 2);
    return out;
}

uint32_t ColourAt(int64_t time) {
    return kColours[std::min<size_t>(size_t(time / (kSecond / 2)), kColours.size() - 1)];
}

// A reader and an encoded clip of two seconds: a colour each half second and a tone.
class VideoReader : public ::testing::Test {
protected:
    // Opens the bytes, written as the clip's file.
    bool openClip(const std::string& bytes) { return reader.Open(dir.Write("clip.vid", bytes), error); }

    TempDir dir;
    Reader reader;
    std::string error;
    VideoFrame frame;
    AudioChunk chunk;
    const std::string clip = authoring::EncodeWindowsMediaClip({.colours = kColours});
};

TEST_F(VideoReader, ReadsEveryFrameOfAClip) {
    ASSERT_TRUE(openClip(clip)) << error;
    EXPECT_EQ(Streams(reader), "1 64x48 1 1@22050");
    EXPECT_NEAR(double(reader.Duration()), 2.0 * kSecond, kSecond / 10.0);

    int count = 0;
    while (reader.NextVideoFrame(frame) == ReadResult::Sample) {
        EXPECT_EQ(frame.duration, kSecond / 10);
        ASSERT_EQ(frame.pixels.size(), 64u * 48 * 4);
        for (size_t p : {size_t(0), size_t(24 * 64 + 32), size_t(64 * 48 - 1)})
            EXPECT_TRUE(Near(&frame.pixels[p * 4], ColourAt(frame.time))) << "frame at " << frame.time;
        ++count;
    }
    EXPECT_EQ(std::pair(count, reader.NextVideoFrame(frame)), std::pair(20, ReadResult::EndOfStream));
}

TEST_F(VideoReader, TheSoundOfAClipRunsWithoutGaps) {
    ASSERT_TRUE(openClip(clip)) << error;
    // The decoder's first block of output is its priming; the sound then runs without gaps.
    int64_t frames = 0, expectedTime = -1;
    double sum = 0;
    while (reader.NextAudioChunk(chunk) == ReadResult::Sample) {
        if (expectedTime < 0)
            EXPECT_LT(chunk.time, kSecond / 10);
        else
            EXPECT_NEAR(double(chunk.time), double(expectedTime), kSecond / 1000.0);
        expectedTime = chunk.time + chunk.duration;
        const auto* s = reinterpret_cast<const int16_t*>(chunk.data.data());
        for (size_t i = 0; i < chunk.data.size() / 2; ++i)
            sum += double(s[i]) * s[i];
        frames += int64_t(chunk.data.size() / 2);
    }
    // A 0.5 full-scale sine has an RMS near 0.35.
    EXPECT_NEAR(double(frames) / 22050.0, 2.0, 0.1);
    EXPECT_NEAR(std::sqrt(sum / double(frames)) / 32768.0, 0.35, 0.05);
    EXPECT_EQ(reader.NextAudioChunk(chunk), ReadResult::EndOfStream);
}

TEST_F(VideoReader, ASeekShowsTheFrameAtTheTarget) {
    ASSERT_TRUE(openClip(clip) && reader.NextVideoFrame(frame) == ReadResult::Sample) << error;
    const int64_t first = frame.time;
    while (reader.NextVideoFrame(frame) == ReadResult::Sample || reader.NextAudioChunk(chunk) == ReadResult::Sample) {
    }
    // Streams read to their end play again from a seek: the frame showing at the target, the
    // sound from the target (a chunk's earlier frames go). The last target is where a frame
    // starts: that frame, not the one ending there.
    for (int64_t target : {kSecond * 5 / 4, kSecond * 3 / 10, kSecond * 19 / 10, first + kSecond / 2}) {
        ASSERT_TRUE(reader.Seek(target) && reader.NextVideoFrame(frame) == ReadResult::Sample);
        EXPECT_TRUE(frame.time <= target && target < frame.time + frame.duration) << frame.time;
        EXPECT_TRUE(Near(&frame.pixels[0], ColourAt(target)));
        ASSERT_EQ(reader.NextAudioChunk(chunk), ReadResult::Sample);
        EXPECT_NEAR(double(chunk.time), double(target), kSecond / 1000.0);
        EXPECT_NEAR(double(chunk.data.size() / 2) * kSecond / 22050, double(chunk.duration), kSecond / 1000.0);
    }
    // Before the start: the start.
    ASSERT_TRUE(reader.Seek(-kSecond) && reader.NextVideoFrame(frame) == ReadResult::Sample);
    EXPECT_EQ(frame.time, first);
}

TEST_F(VideoReader, OversizedAndReorderedFramesPlay) {
    // Frames wider than kMaxFrameSize leave the picture out, while one pixel wide and
    // kMaxFrameSize high plays; a frame without a time follows the last; a sound is converted to
    // mono or stereo.
    authoring::VideoClip wide = {
        .width = kMaxFrameSize + 16, .height = 16, .colours = {kColours[0]}, .secondsPerColour = 0.2};
    ASSERT_TRUE(openClip(authoring::EncodeWindowsMediaClip(wide))) << error;
    EXPECT_EQ(Streams(reader), "0 0x0 1 1@22050");
    const std::string narrow = "YUV4MPEG2 W1 H8192 F10:1 C444\nFRAME\n" + std::string(3 * kMaxFrameSize, '\x80');
    ASSERT_TRUE(openClip(narrow) && reader.NextVideoFrame(frame) == ReadResult::Sample);
    EXPECT_EQ(Streams(reader) + " " + std::to_string(frame.pixels.size()), "1 1x8192 0 0@0 32768");
    // A file that cannot seek past its end is opened again by its name and read from the start:
    // nothing is left before a target past the end.
    ASSERT_TRUE(openClip("YUV4MPEG2 W2 H2 F10:1 C444\nFRAME\n" + std::string(12, '\x80')));
    EXPECT_TRUE(reader.Seek(kSecond) && reader.NextVideoFrame(frame) == ReadResult::EndOfStream);
    // Two pictures of an MPEG-2 stream whose frames may come out reordered: the last frame, given
    // out only at the end and without a time of its own, follows the one before.
    const std::string picture("\0\0\1\0\0\x0F\xFF\xF8\0\0\1\xB5\x8F\xFF\xF3\x41\x80\0\0\0\1\1\x13\x94\xA5\x22\x20", 27);
    const std::string headers("\0\0\1\xB3\1\0\x10\x13\xFF\xFF\xE0\x18\0\0\1\xB5\x14\x8A\0\1\0\x24", 22);
    ASSERT_TRUE(openClip(headers + picture + picture) && reader.NextVideoFrame(frame) == ReadResult::Sample);
    const int64_t next = frame.time + frame.duration;
    EXPECT_TRUE(reader.NextVideoFrame(frame) == ReadResult::Sample && frame.time == next && next > 0) << frame.time;
    // A lone picture, without a time, read again after a seek: it shows from the target.
    ASSERT_TRUE(openClip(headers + picture) && reader.NextVideoFrame(frame) == ReadResult::Sample);
    ASSERT_TRUE(reader.Seek(kSecond / 25) && reader.NextVideoFrame(frame) == ReadResult::Sample);
    EXPECT_EQ(frame.time, kSecond / 25);
}

TEST_F(VideoReader, SoundNoDecoderTakesIsLeftOut) {
    // A clip without sound, or whose sound's format tag (0x161 at 22,050 Hz mono) names no
    // decoder, has none; the stream left out holds no file open, and the libraries' complaints
    // stay off stderr unless the program's log is wanted there.
    std::string unknown = clip;
    unknown.replace(unknown.find(std::string("\x61\x01\x01\x00\x22\x56", 6)), 2, "\x34\x12");
    testing::internal::CaptureStderr();
    for (const std::string& bytes : {authoring::EncodeWindowsMediaClip({.colours = kColours, .toneHz = 0}), unknown}) {
        ASSERT_TRUE(openClip(bytes)) << error;
        EXPECT_EQ(Streams(reader) + " " + std::to_string(OpenCount(dir.File("clip.vid"))), "1 64x48 0 0@0 1");
        EXPECT_EQ(reader.NextAudioChunk(chunk), ReadResult::Error);
    }
    EXPECT_TRUE(testing::internal::GetCapturedStderr().empty() || std::getenv("TALLYVOX_LOG"));
    // Neither stream left: no clip.
    const authoring::VideoClip wide = {.width = kMaxFrameSize + 16, .height = 16, .colours = {kColours[0]}, .secondsPerColour = 0.2, .toneHz = 0};
    EXPECT_FALSE(openClip(authoring::EncodeWindowsMediaClip(wide)));
    EXPECT_NE(error.find("no playable stream"), std::string::npos) << error;
}

TEST_F(VideoReader, SoundsAreConvertedToMonoOrStereo) {
    // A centre speaker is heard on both sides; more channels than the conversion takes end the
    // sound at its first chunk.
    ASSERT_TRUE(openClip(Wav({0, 0, 16000}, 0x7))) << error;
    ASSERT_EQ(reader.NextAudioChunk(chunk), ReadResult::Sample);
    const auto* s = reinterpret_cast<const int16_t*>(chunk.data.data());
    EXPECT_EQ(Streams(reader), "0 0x0 1 2@22050");
    EXPECT_TRUE(s[0] > 5000 && s[1] == s[0]) << s[0];  // 16,000 at -3 dB, normalised
    // A seek to the last of the 200 frames gives a chunk of that frame alone.
    ASSERT_TRUE(reader.Seek(kSecond * 199 / 22050) && reader.NextAudioChunk(chunk) == ReadResult::Sample);
    EXPECT_EQ(chunk.data.size(), 4u);
    ASSERT_TRUE(openClip(Wav(std::vector<int16_t>(65, 0), 0))) << error;
    EXPECT_TRUE(reader.NextAudioChunk(chunk) == ReadResult::Error &&
                reader.NextAudioChunk(chunk) == ReadResult::EndOfStream);
}

TEST_F(VideoReader, MissingDamagedAndCutFilesAreRefused) {
    ASSERT_TRUE(openClip(clip)) << error;
    // Each open lets the last clip's decoding go: 40 of them leave the heap within 300 kB.
    const size_t heldBefore = mallinfo2().uordblks;
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(reader.Open(dir.File("clip.vid"), error)) << error;
    EXPECT_LT(mallinfo2().uordblks, heldBefore + 300000);
    EXPECT_FALSE(reader.Open(dir.File("absent.vid"), error) || reader.IsOpen()) << "a failed open closes";
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    EXPECT_FALSE(openClip(std::string(4096, 'x')) || reader.IsOpen());
    EXPECT_EQ(std::pair(reader.NextVideoFrame(frame), reader.NextAudioChunk(chunk)),
              std::pair(ReadResult::Error, ReadResult::Error));
    EXPECT_EQ(std::pair(reader.Seek(0), reader.Duration()), std::pair(false, int64_t(0)));

    // A clip cut in half plays its first half.
    ASSERT_TRUE(openClip(clip.substr(0, clip.size() / 2))) << error;
    int count = 0;
    while (reader.NextVideoFrame(frame) == ReadResult::Sample)
        ++count;
    EXPECT_TRUE(count > 4 && count < 20) << count;
    // A seek reads on from the open file, whatever became of its name.
    std::remove(dir.File("clip.vid").c_str());
    EXPECT_TRUE(reader.Seek(0) && reader.NextVideoFrame(frame) == ReadResult::Sample);
    // Each stream reads the file on its own: a source that can be read only once is refused.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], clip.data(), clip.size()), ssize_t(clip.size()));  // fits in the pipe
    close(ends[1]);
    EXPECT_FALSE(reader.Open("pipe:" + std::to_string(ends[0]), error));
    EXPECT_NE(error.find("pipe:"), std::string::npos) << error;
    close(ends[0]);
}

}  // namespace
