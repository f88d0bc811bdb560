#include "platform/video/VideoReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cstdlib>
#include <mutex>

namespace platform::video {

namespace {

constexpr AVRational kTimeUnit{1, int(kTimeUnitsPerSecond)};

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// The libraries print their own diagnostics to stderr; the caller reports failures itself,
// so they stay quiet unless the program's log is wanted on stderr too.
void QuietLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!std::getenv("TALLYVOX_LOG"))
            av_log_set_level(AV_LOG_QUIET);
    });
}

enum class OpenResult { Ok, NoStream, Failed };

}  // namespace

// One stream of the file with its own demuxer and decoder.
struct Reader::Track {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int index = -1;
    int64_t startPts = 0;    // the file's start, in the stream's time base
    bool draining = false;   // the demuxer is done and the decoder was told
    bool ended = false;
    bool pending = false;    // `frame` holds a decoded sample not yet handed out
    int64_t skipUntil = -1;  // after a seek: output ending before this time is dropped
    int64_t nextTime = 0;    // time of the next sample when a frame carries none

    ~Track() { Close(); }
    bool Present() const { return codec != nullptr; }

    OpenResult Open(const std::string& path, AVMediaType type, std::string& error) {
        Close();
        int r = avformat_open_input(&format, path.c_str(), nullptr, nullptr);
        if (r < 0) {
            error = "cannot open \"" + path + "\": " + AvError(r);
            return OpenResult::Failed;
        }
        r = avformat_find_stream_info(format, nullptr);
        if (r < 0) {
            error = "cannot read the streams of \"" + path + "\": " + AvError(r);
            Close();
            return OpenResult::Failed;
        }
        for (unsigned i = 0; i < format->nb_streams; ++i) {
            const AVStream* s = format->streams[i];
            if (index < 0 && s->codecpar->codec_type == type && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC))
                index = int(i);
            else
                format->streams[i]->discard = AVDISCARD_ALL;
        }
        if (index < 0) {
            Close();
            return OpenResult::NoStream;
        }
        stream = format->streams[index];
        const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!decoder) {
            error = std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id);
            Close();
            return OpenResult::NoStream;
        }
        codec = avcodec_alloc_context3(decoder);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        if (!codec || !packet || !frame || avcodec_parameters_to_context(codec, stream->codecpar) < 0) {
            error = "out of memory";
            Close();
            return OpenResult::Failed;
        }
        codec->pkt_timebase = stream->time_base;
        r = avcodec_open2(codec, decoder, nullptr);
        if (r < 0) {
            error = std::string("cannot open the ") + decoder->name + " decoder: " + AvError(r);
            Close();
            return OpenResult::NoStream;
        }
        startPts = 0;
        if (format->start_time != AV_NOPTS_VALUE)
            startPts = av_rescale_q(format->start_time, AV_TIME_BASE_Q, stream->time_base);
        else if (stream->start_time != AV_NOPTS_VALUE)
            startPts = stream->start_time;
        return OpenResult::Ok;
    }

    void Close() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        stream = nullptr;
        index = -1;
        draining = ended = pending = false;
        skipUntil = -1;
        nextTime = 0;
    }

    // Decodes the next frame into `frame`.
    ReadResult Decode() {
        if (!codec || ended)
            return ReadResult::EndOfStream;
        for (;;) {
            int r = avcodec_receive_frame(codec, frame);
            if (r == 0)
                return ReadResult::Sample;
            if (r == AVERROR_EOF || (r == AVERROR(EAGAIN) && draining)) {
                ended = true;
                return ReadResult::EndOfStream;
            }
            if (r != AVERROR(EAGAIN)) {
                ended = true;
                return ReadResult::Error;
            }
            if (av_read_frame(format, packet) < 0) {
                avcodec_send_packet(codec, nullptr);
                draining = true;
                continue;
            }
            // A packet the decoder rejects (damaged data) is skipped; the stream goes on.
            if (packet->stream_index == index)
                avcodec_send_packet(codec, packet);
            av_packet_unref(packet);
        }
    }

    // Makes `frame` the next sample to hand out: the one held back, or a newly decoded one.
    ReadResult Next() {
        if (!pending)
            return Decode();
        pending = false;
        return ReadResult::Sample;
    }

    int64_t FrameTime() const {
        if (frame->best_effort_timestamp == AV_NOPTS_VALUE)
            return nextTime;
        const int64_t t = av_rescale_q(frame->best_effort_timestamp - startPts, stream->time_base, kTimeUnit);
        return t < 0 ? 0 : t;
    }

    int64_t FrameDuration() const {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
        const int64_t d = frame->duration;
#else
        const int64_t d = frame->pkt_duration;
#endif
        if (d > 0)
            return av_rescale_q(d, stream->time_base, kTimeUnit);
        const AVRational rate = stream->avg_frame_rate;
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && rate.num > 0 && rate.den > 0)
            return av_rescale(kTimeUnitsPerSecond, rate.den, rate.num);
        return 0;
    }

    bool Seek(const std::string& path, int64_t time) {
        const AVMediaType type = stream->codecpar->codec_type;
        const int64_t target = startPts + av_rescale_q(time, kTimeUnit, stream->time_base);
        if (av_seek_frame(format, index, target, AVSEEK_FLAG_BACKWARD) >= 0) {
            avcodec_flush_buffers(codec);
        } else {
            // A container without an index or timestamps to seek by: read again from the
            // start and skip forward.
            std::string error;
            if (Open(path, type, error) != OpenResult::Ok)
                return false;
        }
        draining = ended = pending = false;
        skipUntil = time;
        nextTime = time;
        return true;
    }
};

struct Reader::State {
    std::string path;
    Track video;
    Track audio;
    uint32_t width = 0;
    uint32_t height = 0;
    AudioFormat audioFormat;
    int64_t duration = 0;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    // What the resampler was set up for; a change of input rebuilds it.
    AVChannelLayout resamplerLayout{};
    int resamplerFormat = -1;
    int resamplerRate = 0;

    ~State() {
        sws_freeContext(scaler);
        swr_free(&resampler);
        av_channel_layout_uninit(&resamplerLayout);
    }

    bool SetUpResampler(const AVFrame& f) {
        if (resampler && f.format == resamplerFormat && f.sample_rate == resamplerRate &&
            av_channel_layout_compare(&f.ch_layout, &resamplerLayout) == 0)
            return true;
        swr_free(&resampler);
        av_channel_layout_uninit(&resamplerLayout);
        if (f.ch_layout.nb_channels <= 0 || f.sample_rate <= 0)
            return false;
        AVChannelLayout in{};
        if (f.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&in, f.ch_layout.nb_channels);
        else if (av_channel_layout_copy(&in, &f.ch_layout) < 0)
            return false;
        AVChannelLayout out{};
        av_channel_layout_default(&out, audioFormat.channels);
        const int r = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16, int(audioFormat.samplesPerSec), &in,
                                          AVSampleFormat(f.format), f.sample_rate, 0, nullptr);
        av_channel_layout_uninit(&out);
        if (r < 0 || swr_init(resampler) < 0) {
            av_channel_layout_uninit(&in);
            swr_free(&resampler);
            return false;
        }
        resamplerLayout = in;
        resamplerFormat = f.format;
        resamplerRate = f.sample_rate;
        return true;
    }

    bool ConvertVideo(VideoFrame& out) {
        const AVFrame& f = *video.frame;
        if (f.width <= 0 || f.height <= 0 || uint32_t(f.width) > kMaxFrameSize || uint32_t(f.height) > kMaxFrameSize)
            return false;
        scaler = sws_getCachedContext(scaler, f.width, f.height, AVPixelFormat(f.format), int(width), int(height),
                                      AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler)
            return false;
        out.width = width;
        out.height = height;
        out.pixels.resize(size_t(width) * height * 4);
        uint8_t* planes[4] = {out.pixels.data(), nullptr, nullptr, nullptr};
        const int strides[4] = {int(width * 4), 0, 0, 0};
        return sws_scale(scaler, f.data, f.linesize, 0, f.height, planes, strides) == int(height);
    }

    // Converts the decoded audio frame; false when it cannot be converted.
    bool ConvertAudio(AudioChunk& out) {
        const AVFrame& f = *audio.frame;
        if (!SetUpResampler(f))
            return false;
        const int capacity = swr_get_out_samples(resampler, f.nb_samples);
        if (capacity < 0)
            return false;
        const uint32_t block = audioFormat.BlockAlign();
        out.data.resize(size_t(capacity) * block);
        uint8_t* dst = out.data.data();
        const int got = swr_convert(resampler, &dst, capacity, const_cast<const uint8_t**>(f.extended_data), f.nb_samples);
        if (got < 0)
            return false;
        out.data.resize(size_t(got) * block);
        return true;
    }
};

Reader::Reader() = default;

Reader::~Reader() = default;

bool Reader::Open(const std::string& path, std::string& error) {
    QuietLibraries();
    Close();
    auto state = std::make_unique<State>();
    state->path = path;
    std::string streamError;
    const OpenResult v = state->video.Open(path, AVMEDIA_TYPE_VIDEO, streamError);
    if (v == OpenResult::Failed) {
        error = streamError;
        return false;
    }
    const OpenResult a = state->audio.Open(path, AVMEDIA_TYPE_AUDIO, streamError);
    if (a == OpenResult::Failed) {
        error = streamError;
        return false;
    }

    // The first sample of each stream proves it decodes and tells the real frame size and
    // sample layout, which headers do not always give.
    if (state->video.Present()) {
        const AVFrame& f = *state->video.frame;
        if (state->video.Decode() == ReadResult::Sample && f.width > 0 && f.height > 0 &&
            uint32_t(f.width) <= kMaxFrameSize && uint32_t(f.height) <= kMaxFrameSize) {
            state->width = uint32_t(f.width);
            state->height = uint32_t(f.height);
            state->video.pending = true;
        } else {
            streamError = "the video stream cannot be decoded";
            state->video.Close();
        }
    }
    if (state->audio.Present()) {
        const AVFrame& f = *state->audio.frame;
        if (state->audio.Decode() == ReadResult::Sample && f.ch_layout.nb_channels > 0 && f.sample_rate >= 1000 &&
            f.sample_rate <= 192000) {
            state->audioFormat.channels = f.ch_layout.nb_channels == 1 ? 1 : 2;
            state->audioFormat.samplesPerSec = uint32_t(f.sample_rate);
            state->audio.pending = true;
        } else {
            streamError = "the audio stream cannot be decoded";
            state->audio.Close();
        }
    }
    if (!state->video.Present() && !state->audio.Present()) {
        error = "\"" + path + "\" has no playable stream" + (streamError.empty() ? "" : " (" + streamError + ")");
        return false;
    }
    const AVFormatContext* format = state->video.Present() ? state->video.format : state->audio.format;
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        state->duration = av_rescale_q(format->duration, AV_TIME_BASE_Q, kTimeUnit);
    m_state = std::move(state);
    return true;
}

void Reader::Close() {
    m_state.reset();
}

bool Reader::IsOpen() const {
    return m_state != nullptr;
}

bool Reader::HasVideo() const {
    return m_state && m_state->video.Present();
}

bool Reader::HasAudio() const {
    return m_state && m_state->audio.Present();
}

uint32_t Reader::Width() const {
    return HasVideo() ? m_state->width : 0;
}

uint32_t Reader::Height() const {
    return HasVideo() ? m_state->height : 0;
}

const AudioFormat& Reader::GetAudioFormat() const {
    static const AudioFormat kNone;
    return HasAudio() ? m_state->audioFormat : kNone;
}

int64_t Reader::Duration() const {
    return m_state ? m_state->duration : 0;
}

ReadResult Reader::NextVideoFrame(VideoFrame& out) {
    if (!HasVideo())
        return ReadResult::Error;
    Track& t = m_state->video;
    for (;;) {
        if (const ReadResult r = t.Next(); r != ReadResult::Sample)
            return r;
        const int64_t time = t.FrameTime();
        const int64_t duration = t.FrameDuration();
        t.nextTime = time + duration;
        // After a seek, frames that end before the target are passed over; without a
        // duration, every frame before the target is.
        if (t.skipUntil >= 0) {
            if (duration > 0 ? time + duration <= t.skipUntil : time < t.skipUntil)
                continue;
            t.skipUntil = -1;
        }
        if (!m_state->ConvertVideo(out)) {
            t.ended = true;
            return ReadResult::Error;
        }
        out.time = time;
        out.duration = duration;
        return ReadResult::Sample;
    }
}

ReadResult Reader::NextAudioChunk(AudioChunk& out) {
    if (!HasAudio())
        return ReadResult::Error;
    Track& t = m_state->audio;
    const AudioFormat& format = m_state->audioFormat;
    for (;;) {
        if (const ReadResult r = t.Next(); r != ReadResult::Sample)
            return r;
        int64_t time = t.FrameTime();
        if (!m_state->ConvertAudio(out)) {
            t.ended = true;
            return ReadResult::Error;
        }
        const uint32_t block = format.BlockAlign();
        uint64_t frames = out.data.size() / block;
        int64_t duration = av_rescale(int64_t(frames), kTimeUnitsPerSecond, format.samplesPerSec);
        t.nextTime = time + duration;
        if (t.skipUntil >= 0) {
            if (time + duration <= t.skipUntil)
                continue;
            // Audio starts exactly at the target: the chunk's earlier frames go.
            if (time < t.skipUntil) {
                uint64_t drop = uint64_t(av_rescale(t.skipUntil - time, format.samplesPerSec, kTimeUnitsPerSecond));
                if (drop > frames)
                    drop = frames;
                out.data.erase(out.data.begin(), out.data.begin() + ptrdiff_t(drop * block));
                frames -= drop;
                time = t.skipUntil;
                duration = t.nextTime - time;
            }
            t.skipUntil = -1;
            if (frames == 0)
                continue;
        }
        if (frames == 0)
            continue;
        out.time = time;
        out.duration = duration;
        return ReadResult::Sample;
    }
}

bool Reader::Seek(int64_t time) {
    if (!m_state)
        return false;
    if (time < 0)
        time = 0;
    bool ok = true;
    if (m_state->video.Present() && !m_state->video.Seek(m_state->path, time)) {
        m_state->video.ended = true;
        ok = false;
    }
    if (m_state->audio.Present() && !m_state->audio.Seek(m_state->path, time)) {
        m_state->audio.ended = true;
        ok = false;
    }
    return ok;
}

}  // namespace platform::video
