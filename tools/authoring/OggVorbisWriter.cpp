#include "tools/authoring/OggVorbisWriter.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstring>

namespace authoring {

Pcm16 MakeTone(double frequency, uint32_t frames, uint32_t rate, uint32_t channels, double amplitude) {
    Pcm16 pcm;
    pcm.channels = channels;
    pcm.rate = rate;
    pcm.samples.resize(size_t(frames) * channels);
    const double step = 2.0 * 3.14159265358979323846 * frequency / rate;
    for (uint32_t i = 0; i < frames; ++i) {
        const auto v = int16_t(std::lround(amplitude * 32767.0 * std::sin(step * i)));
        for (uint32_t c = 0; c < channels; ++c)
            pcm.samples[size_t(i) * channels + c] = v;
    }
    return pcm;
}

Pcm16 MakeNoise(uint32_t frames, uint32_t rate, uint32_t channels, double amplitude, uint32_t seed) {
    Pcm16 pcm;
    pcm.channels = channels;
    pcm.rate = rate;
    pcm.samples.resize(size_t(frames) * channels);
    uint32_t state = seed ? seed : 1;
    for (int16_t& s : pcm.samples) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        s = int16_t(std::lround(amplitude * (double(state) / 2147483647.5 - 1.0) * 32767.0));
    }
    return pcm;
}

namespace {

void AppendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
}

}  // namespace

std::string EncodeOggVorbis(const Pcm16& pcm, float quality) {
    std::string out;
    if (pcm.channels == 0)
        return out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, long(pcm.channels), long(pcm.rate), quality) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x7a11);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    const uint32_t frames = pcm.Frames();
    constexpr uint32_t kChunk = 4096;
    bool eos = false;
    for (uint32_t done = 0; !eos;) {
        const uint32_t n = frames - done < kChunk ? frames - done : kChunk;
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, int(n));
            for (uint32_t i = 0; i < n; ++i)
                for (uint32_t c = 0; c < pcm.channels; ++c)
                    buffer[c][i] = pcm.samples[size_t(done + i) * pcm.channels + c] / 32768.0f;
            vorbis_analysis_wrote(&dsp, int(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page))
                        eos = true;
                }
            }
        }
        if (n == 0 && !eos) {
            // Everything is analysed; whatever is still buffered goes out now.
            while (ogg_stream_flush(&stream, &page) != 0)
                AppendPage(out, page);
            eos = true;
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::string MakeSoundDescriptor(const std::string& dataName, bool streamed, uint32_t param1, uint32_t param2,
                                uint32_t param3) {
    std::string out(12, '\0');
    for (uint32_t v : {param1, param2, param3, streamed ? 1u : 0u}) {
        char b[4];
        for (int i = 0; i < 4; ++i)
            b[i] = char((v >> (8 * i)) & 0xFF);
        out.append(b, 4);
    }
    out += dataName;
    out.push_back('\0');
    return out;
}

}  // namespace authoring
