#include "tools/authoring/VideoClipWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdio>
#include <cstring>

namespace authoring {

namespace {

// The muxer writes into memory and seeks back to finish the header.
struct MemoryOutput {
    std::string bytes;
    size_t position = 0;
};

#if LIBAVFORMAT_VERSION_MAJOR >= 61
int WriteBytes(void* opaque, const uint8_t* data, int size) {
#else
int WriteBytes(void* opaque, uint8_t* data, int size) {
#endif
    auto* out = static_cast<MemoryOutput*>(opaque);
    if (out->position + size_t(size) > out->bytes.size())
        out->bytes.resize(out->position + size_t(size));
    std::memcpy(out->bytes.data() + out->position, data, size_t(size));
    out->position += size_t(size);
    return size;
}

int64_t SeekBytes(void* opaque, int64_t offset, int whence) {
    auto* out = static_cast<MemoryOutput*>(opaque);
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return int64_t(out->bytes.size());
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = int64_t(out->position);
        break;
    case SEEK_END:
        base = int64_t(out->bytes.size());
        break;
    default:
        return -1;
    }
    if (base + offset < 0)
        return -1;
    out->position = size_t(base + offset);
    return int64_t(out->position);
}

struct Encoder {
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    int64_t next = 0;  // pts of the next frame, in the codec's time base

    ~Encoder() {
        av_frame_free(&frame);
        avcodec_free_context(&codec);
    }
};

// Sends one frame (null flushes) and writes every packet the encoder gives back.
bool Encode(AVFormatContext* format, Encoder& e, AVFrame* frame, AVPacket* packet) {
    if (avcodec_send_frame(e.codec, frame) < 0)
        return false;
    for (;;) {
        const int r = avcodec_receive_packet(e.codec, packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return true;
        if (r < 0)
            return false;
        av_packet_rescale_ts(packet, e.codec->time_base, e.stream->time_base);
        packet->stream_index = e.stream->index;
        if (av_interleaved_write_frame(format, packet) < 0)
            return false;
    }
}

// Opens the configured encoder, adds its stream and allocates its frame.
bool OpenStream(AVFormatContext* format, const AVCodec* codec, Encoder& e) {
    AVCodecContext& c = *e.codec;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(e.codec, codec, nullptr) < 0)
        return false;
    e.stream = avformat_new_stream(format, nullptr);
    if (!e.stream || avcodec_parameters_from_context(e.stream->codecpar, e.codec) < 0)
        return false;
    e.stream->time_base = c.time_base;
    e.frame = av_frame_alloc();
    return e.frame != nullptr;
}

bool OpenVideo(AVFormatContext* format, const VideoClip& clip, Encoder& e) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMV2);
    if (!codec || clip.framesPerSecond == 0)
        return false;
    e.codec = avcodec_alloc_context3(codec);
    if (!e.codec)
        return false;
    AVCodecContext& c = *e.codec;
    c.width = int(clip.width);
    c.height = int(clip.height);
    c.time_base = AVRational{1, int(clip.framesPerSecond)};
    c.framerate = AVRational{int(clip.framesPerSecond), 1};
    c.pix_fmt = AV_PIX_FMT_YUV420P;
    // A key frame at every colour change; fine quantisation keeps flat colours exact.
    c.gop_size = int(std::lround(clip.framesPerSecond * clip.secondsPerColour));
    if (c.gop_size < 1)
        c.gop_size = 1;
    c.max_b_frames = 0;
    c.flags |= AV_CODEC_FLAG_QSCALE;
    c.global_quality = FF_QP2LAMBDA * 2;
    if (!OpenStream(format, codec, e))
        return false;
    e.frame->format = c.pix_fmt;
    e.frame->width = c.width;
    e.frame->height = c.height;
    return av_frame_get_buffer(e.frame, 0) >= 0;
}

bool OpenAudio(AVFormatContext* format, const VideoClip& clip, Encoder& e) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!codec || clip.channels < 1 || clip.channels > 2)
        return false;
    e.codec = avcodec_alloc_context3(codec);
    if (!e.codec)
        return false;
    AVCodecContext& c = *e.codec;
    c.sample_fmt = AV_SAMPLE_FMT_FLTP;
    c.sample_rate = int(clip.sampleRate);
    av_channel_layout_default(&c.ch_layout, int(clip.channels));
    c.bit_rate = 64000 * clip.channels;
    c.time_base = AVRational{1, int(clip.sampleRate)};
    if (!OpenStream(format, codec, e))
        return false;
    e.frame->format = c.sample_fmt;
    e.frame->sample_rate = c.sample_rate;
    e.frame->nb_samples = c.frame_size > 0 ? c.frame_size : 1024;
    if (av_channel_layout_copy(&e.frame->ch_layout, &c.ch_layout) < 0)
        return false;
    return av_frame_get_buffer(e.frame, 0) >= 0;
}

// Fills the YUV frame with one colour through the same conversion a reader inverts.
bool FillColour(Encoder& e, SwsContext* scaler, uint32_t rgb, std::string& bgra) {
    const int w = e.codec->width, h = e.codec->height;
    bgra.resize(size_t(w) * h * 4);
    for (size_t i = 0; i < bgra.size(); i += 4) {
        bgra[i] = char(rgb & 0xFF);
        bgra[i + 1] = char((rgb >> 8) & 0xFF);
        bgra[i + 2] = char((rgb >> 16) & 0xFF);
        bgra[i + 3] = char(0xFF);
    }
    if (av_frame_make_writable(e.frame) < 0)
        return false;
    const uint8_t* src[4] = {reinterpret_cast<const uint8_t*>(bgra.data()), nullptr, nullptr, nullptr};
    const int srcStride[4] = {w * 4, 0, 0, 0};
    return sws_scale(scaler, src, srcStride, 0, h, e.frame->data, e.frame->linesize) == h;
}

void FillTone(Encoder& e, const VideoClip& clip, int64_t firstSample, int count) {
    av_frame_make_writable(e.frame);
    e.frame->nb_samples = count;
    const double step = 2.0 * 3.14159265358979323846 * clip.toneHz / clip.sampleRate;
    for (uint32_t ch = 0; ch < clip.channels; ++ch) {
        auto* out = reinterpret_cast<float*>(e.frame->data[ch]);
        for (int i = 0; i < count; ++i)
            out[i] = float(0.5 * std::sin(step * double(firstSample + i)));
    }
}

}  // namespace

std::string EncodeWindowsMediaClip(const VideoClip& clip) {
    const bool hasVideo = clip.width > 0 && clip.height > 0 && !clip.colours.empty();
    const bool hasAudio = clip.toneHz > 0.0 && clip.sampleRate > 0;
    if (!hasVideo && !hasAudio)
        return {};
    const double seconds = hasVideo ? double(clip.colours.size()) * clip.secondsPerColour : clip.audioSeconds;
    const int64_t videoFrames = hasVideo ? std::llround(seconds * clip.framesPerSecond) : 0;
    const int64_t audioSamples = hasAudio ? std::llround(seconds * clip.sampleRate) : 0;

    MemoryOutput output;
    AVFormatContext* format = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, "asf", nullptr) < 0)
        return {};
    constexpr int kIoBufferSize = 4096;
    auto* ioBuffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    AVIOContext* io = ioBuffer ? avio_alloc_context(ioBuffer, kIoBufferSize, 1, &output, nullptr, WriteBytes, SeekBytes)
                               : nullptr;
    if (!io) {
        av_free(ioBuffer);
        avformat_free_context(format);
        return {};
    }
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;

    Encoder video, audio;
    SwsContext* scaler = nullptr;
    AVPacket* packet = av_packet_alloc();
    std::string scratch;
    bool ok = packet != nullptr;
    if (ok && hasVideo) {
        ok = OpenVideo(format, clip, video);
        if (ok)
            scaler = sws_getContext(int(clip.width), int(clip.height), AV_PIX_FMT_BGRA, int(clip.width),
                                    int(clip.height), AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        ok = ok && scaler;
    }
    if (ok && hasAudio)
        ok = OpenAudio(format, clip, audio);
    ok = ok && avformat_write_header(format, nullptr) >= 0;

    // Frames go to the muxer in time order, the earlier stream first.
    while (ok) {
        const bool videoLeft = hasVideo && video.next < videoFrames;
        const bool audioLeft = hasAudio && audio.next < audioSamples;
        if (!videoLeft && !audioLeft)
            break;
        const bool videoFirst = videoLeft && (!audioLeft || video.next * int64_t(clip.sampleRate) <=
                                                                audio.next * int64_t(clip.framesPerSecond));
        if (videoFirst) {
            size_t index = size_t(double(video.next) / clip.framesPerSecond / clip.secondsPerColour + 1e-9);
            if (index >= clip.colours.size())
                index = clip.colours.size() - 1;
            ok = FillColour(video, scaler, clip.colours[index], scratch);
            video.frame->pts = video.next++;
            ok = ok && Encode(format, video, video.frame, packet);
        } else {
            const int64_t left = audioSamples - audio.next;
            const int count = int(left < audio.codec->frame_size || audio.codec->frame_size <= 0
                                      ? left
                                      : audio.codec->frame_size);
            FillTone(audio, clip, audio.next, count);
            audio.frame->pts = audio.next;
            audio.next += count;
            ok = Encode(format, audio, audio.frame, packet);
        }
    }
    if (ok && hasVideo)
        ok = Encode(format, video, nullptr, packet);
    if (ok && hasAudio)
        ok = Encode(format, audio, nullptr, packet);
    ok = ok && av_write_trailer(format) >= 0;

    av_packet_free(&packet);
    sws_freeContext(scaler);
    avio_flush(io);
    av_freep(&io->buffer);
    avio_context_free(&io);
    avformat_free_context(format);
    return ok ? output.bytes : std::string();
}

}  // namespace authoring
