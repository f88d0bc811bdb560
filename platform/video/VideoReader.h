#pragma once
// A synchronous video file reader on libavformat/libavcodec. It reads the first video stream
// and the first audio stream of any container those libraries know (Windows Media ASF with
// WMV and WMA among them), each at its own pace: video frames come out as top-down BGRA
// (u32 ARGB in memory), audio as interleaved 16-bit PCM at the stream's own rate (mono or
// stereo). Times are in 100-ns units from the start of the file.
//
// Each stream has its own demuxer over the file, so the two can be read and seeked
// independently, as a player pulling video and audio at different rates needs, without
// queueing one stream's packets while the other is read.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::video {

// 100-ns units per second.
inline constexpr int64_t kTimeUnitsPerSecond = 10000000;
// Larger frames are refused (the stream is left out).
inline constexpr uint32_t kMaxFrameSize = 8192;

struct AudioFormat {
    uint16_t channels = 0;  // 1 or 2
    uint32_t samplesPerSec = 0;
    uint16_t bitsPerSample = 16;
    uint16_t BlockAlign() const { return uint16_t(channels * bitsPerSample / 8); }
    uint32_t AvgBytesPerSec() const { return samplesPerSec * BlockAlign(); }
};

struct VideoFrame {
    int64_t time = 0;
    int64_t duration = 0;  // 0 when the file does not tell
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;  // width x height x 4 bytes, B, G, R, A, top row first
};

struct AudioChunk {
    int64_t time = 0;
    int64_t duration = 0;
    std::vector<uint8_t> data;  // whole frames of the reader's AudioFormat
};

enum class ReadResult {
    Sample,
    EndOfStream,
    // Undecodable data or no such stream: nothing more will come from this stream.
    Error,
};

class Reader {
public:
    Reader();
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Opens the file and decodes the first sample of each stream. Fails, with the reason in
    // error, when the file cannot be opened, is not a known container, or neither stream
    // yields a first sample. A stream without a decoder or with a first sample that cannot
    // be decoded is left out.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const;

    bool HasVideo() const;
    bool HasAudio() const;
    // The size of every frame (frames of another size are scaled to it).
    uint32_t Width() const;
    uint32_t Height() const;
    const AudioFormat& GetAudioFormat() const;
    // Container duration, 0 when unknown.
    int64_t Duration() const;

    // The next frame or chunk of the stream, in presentation order. The output's storage is
    // reused, so a caller that keeps one object avoids reallocations.
    ReadResult NextVideoFrame(VideoFrame& out);
    ReadResult NextAudioChunk(AudioChunk& out);

    // Repositions both streams so that the next frame is the one showing at `time` and the
    // next audio starts at `time`. False when a stream cannot be repositioned (it then
    // reports EndOfStream).
    bool Seek(int64_t time);

private:
    struct Track;
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace platform::video
