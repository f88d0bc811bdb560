#include "engine/audio/PCAudioStreamImpl.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>

#include "engine/audio/AGAudioStream.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedWorkingDir.h"

namespace {

// Stereo noise at high quality: about 60 KB per second of Ogg data.
std::string LargeOgg() {
    static const std::string ogg = EncodeOggVorbis(MakeNoise(44100 * 10, 44100, 2, 0.5), 1.0f);
    return ogg;
}

}  // namespace

// Reads and in-window/out-of-window seeks are shown by decoding below; here the bounds.
TEST(PCStreamWindow, SeeksOutOfRangeFailASmallFileFillsOneHalfAndASequentialReadLoadsEachHalfOnce) {
    TempDir dir;
    const std::string bytes(1000, 'b');
    const std::string path = dir.Write("small.bin", bytes);
    std::vector<u8> buffer(PCStreamWindow::kWindowSize);
    PCStreamWindow window;
    ASSERT_TRUE(window.Open(path.c_str(), buffer.data()));
    char ten[10];
    EXPECT_EQ(std::vector<i64>({i64(window.Size()), window.Seek(1, SEEK_END), window.Seek(-1, SEEK_SET),
                                window.Seek(INT64_MAX, SEEK_END), window.Seek(0, 3), window.Seek(-1000, SEEK_END),
                                i64(window.Read(ten, 10))}),
              std::vector<i64>({1000, -1, -1, -1, -1, 0, 10}));
    EXPECT_EQ(std::vector<i64>({window.HalfOffset(0), window.HalfOffset(1), window.HalfOffset(2)}),
              std::vector<i64>({0, -1, -1}));  // there are two halves
    EXPECT_EQ(window.Seek(0, SEEK_END), 0);
    char c;
    EXPECT_EQ(window.Read(&c, 1), 0u);
    // Through the decoder's callbacks, elements larger than a byte are read whole only.
    const ov_callbacks callbacks = PCStreamCallbacks();
    EXPECT_EQ(callbacks.seek_func(&window, -10, SEEK_END), 0);
    u32 words[3] = {};
    EXPECT_TRUE(callbacks.read_func(words, 4, 3, &window) == 2u && words[1] == 0x62626262u);
    EXPECT_EQ(callbacks.tell_func(&window), 1000);
    // An in-memory sound keeps its seeks inside its bytes the same way.
    PCMemorySource memory{reinterpret_cast<const u8*>(bytes.data()), 0, bytes.size()};
    const ov_callbacks inMemory = PCMemoryCallbacks();
    EXPECT_EQ(std::vector<long>({inMemory.seek_func(&memory, 1, SEEK_END), inMemory.seek_func(&memory, -1, SEEK_SET),
                                 inMemory.seek_func(&memory, -10, SEEK_END), inMemory.tell_func(&memory)}),
              std::vector<long>({-1, -1, 0, 990}));
    // Neither a missing file nor an empty one opens.
    for (const std::string& path : {dir.Path() + "/none.bin", dir.Write("empty.bin", "")})
        EXPECT_TRUE(!window.Open(path.c_str(), buffer.data()) && window.Seek(0, SEEK_SET) == -1) << path;

    // Read from start to end, the window loads each half once: the whole window first, then
    // the half after the one being left.
    std::string large(PCStreamWindow::kHalfSize * 4 + 1000, '\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = char(i * 7 + i / 4096);
    PCStreamWindow sequential;
    ASSERT_TRUE(sequential.Open(dir.Write("seq.bin", large).c_str(), buffer.data()));
    std::string read;
    char chunk[5000];
    for (size_t n; (n = sequential.Read(chunk, sizeof chunk)) > 0;)
        read.append(chunk, n);
    EXPECT_TRUE(read == large && sequential.ReadsIssued() == 4u);
    // Back to the start, outside the window: the whole window loads again.
    EXPECT_EQ(sequential.Seek(0, SEEK_SET), 0);
    ASSERT_EQ(sequential.Read(chunk, 1), 1u);
    EXPECT_EQ(sequential.ReadsIssued(), 5u);
    // A seek into the second half starts loading the half after it into the first.
    ASSERT_EQ(sequential.Seek(PCStreamWindow::kHalfSize + 5, SEEK_SET), 0);
    EXPECT_EQ(sequential.ReadsIssued(), 6u);
    // Sought into that half while it loads and read to its end, the other half loads what follows.
    ASSERT_EQ(sequential.Seek(PCStreamWindow::kHalfSize * 2 + 5, SEEK_SET), 0);
    read.resize(PCStreamWindow::kHalfSize - 5);
    ASSERT_EQ(sequential.Read(read.data(), read.size()), read.size());
    EXPECT_EQ(sequential.HalfOffset(1), i64(PCStreamWindow::kHalfSize) * 3);
    // A window loaded up to the end reads on into its short second half.
    ASSERT_EQ(sequential.Seek(PCStreamWindow::kHalfSize * 3, SEEK_SET), 0);
    read.clear();
    for (size_t n; (n = sequential.Read(chunk, sizeof chunk)) > 0;)
        read.append(chunk, n);
    EXPECT_EQ(read.size(), PCStreamWindow::kHalfSize + 1000u);
}

class StreamTest : public AudioFixture {
protected:
    StreamTest() { impl->Initialize(2, 2); }
};

class StreamModes : public StreamTest, public ::testing::WithParamInterface<bool> {};

// Decoded on the game thread, or ahead on the worker: the window's reads complete on the
// thread that issued them, so a restart on the game thread must find none left in flight.
TEST_P(StreamModes, StreamPlaysTheFileAsDecodedPastItsFirstWindowAndFromItsStartAgain) {
    if (GetParam())
        DecodeAhead(2, 2);
    const std::string ogg = LargeOgg();
    const auto pcm = DecodeOgg(ogg);
    AddStream("music", ogg);
    AddSound("noise", ogg);
    Mount();
    AGAudioStream stream;
    ASSERT_TRUE(stream.Open("music.snd"));
    stream.Play();
    EXPECT_TRUE(MatchesPcm(Render(44100 * 3), pcm, 0, 44100 * 3, 2));  // past the first window
    LogCapture log;
    stream.Play();
    EXPECT_TRUE(MatchesPcm(Render(44100), pcm, 0, 44100, 2));
    EXPECT_TRUE(log.Lines().empty()) << log.Lines()[0];

    // Restarted and stopped while its decode may still wait behind two sounds' on the worker:
    // no read is left in flight.
    AGAudioSound a, b;
    ASSERT_TRUE(a.Open("noise.snd") && b.Open("noise.snd"));
    a.Play();
    b.Play();
    stream.Play();
    stream.Stop();
    EXPECT_EQ(stream.GetPlayer()->GetState() & AGAudioPlayerImpl::kReadInFlight, 0u);
}

INSTANTIATE_TEST_SUITE_P(Decoding, StreamModes, ::testing::Values(false, true));

TEST_F(StreamTest, DataOutsideTheGameFoldersMissingNoReadBufferCorruptDataAndPipesFail) {
    const std::string ogg = EncodeOggVorbis(MakeTone(440, 4410));
    AddRaw("gone.snd", authoring::MakeSoundDescriptor("gone.ogg", true), TypeKey::Sound);
    AddRaw("absolute.snd", authoring::MakeSoundDescriptor(dir.Write("outside.ogg", ogg), true), TypeKey::Sound);
    // The same file reached from the working folder through "..".
    std::string up;
    for (char c : std::filesystem::current_path().string())
        up += c == '/' ? "..\\" : "";
    AddRaw("up.snd", authoring::MakeSoundDescriptor(up + dir.Path().substr(1) + "/outside.ogg", true), TypeKey::Sound);
    AddStream("corrupt", std::string(300000, 'z'));
    AddRaw("ok.ogg", ogg, TypeKey::Data);
    AddRaw("ok.snd", authoring::MakeSoundDescriptor("ok.ogg", true, 7, 8, 9), TypeKey::Sound);
    AddRaw("pipe.snd", authoring::MakeSoundDescriptor("pipe.ogg", true), TypeKey::Sound);
    Mount();
    for (const char* name : {"gone.snd", "absolute.snd", "up.snd", "corrupt.snd", "absent.snd"}) {
        LogCapture log;
        PCAudioStreamImpl stream;
        EXPECT_TRUE(!stream.Open(name) && !log.Lines().empty()) << name;
        stream.Play();
        EXPECT_EQ(stream.GetState() & 0x7F, 0u) << name;
    }
    EXPECT_EQ(impl->ReadPool().FreeCount(), 2u);
    // A pipe would block the open until something writes to it; here it is found below the
    // working folder, and refused without waiting.
    const std::string fifo = dir.Path() + "/pipe.ogg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    {
        ScopedWorkingDir workIn(dir.Path());
        LogCapture log;
        PCAudioStreamImpl stream;
        auto opened = std::async(std::launch::async, [&stream] { return stream.Open("pipe.snd"); });
        if (opened.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << "opening a pipe blocked";
            const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // lets the open return
            if (writer >= 0)
                close(writer);
        }
        EXPECT_TRUE(!opened.get() && !log.Lines().empty());
        // A regular file there is found, also where the package has none.
        dir.Write("gone.ogg", ogg);
        EXPECT_TRUE(stream.Open("gone.snd"));
    }

    // Two streams take the two read buffers; a third finds none.
    PCAudioStreamImpl a, b, c;
    ASSERT_TRUE(a.Open("ok.snd") && b.Open("ok.snd"));
    EXPECT_EQ(std::vector<u32>({a.GetParameter(0), a.GetParameter(1), a.GetParameter(2)}), std::vector<u32>({7, 8, 9}));
    LogCapture log;
    EXPECT_TRUE(!c.Open("ok.snd") && log.Contains("no free read buffer"));
}
