#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/content/DamagedContent.h"

namespace {

// A variant a cue can pick that no recipe makes, a streamed cue whose sounds are made in
// memory, a sound a cue event plays under a name of its own that no recipe makes and a
// sequence playing a misspelt cue event are told at their source; sound data
// that is gone or does not decode, a truncated descriptor and a missing clip at the entry.
TEST(CheckSounds, MissingMisflaggedAndDamagedSoundsAndClipsAreTold) {
    DamagedContent content;
    content.Replace("content/sounds.txt", "answerreveal[A..K]", "answerreveal[A..J]");
    content.Replace("content/sounds.txt", "round2[A..C]             stream", "round2[A..C]             memory");
    content.Replace("content/sequences.txt", "300   play receivedstrikebadanswer",
                    "300   play recievedstrikebadanswer");
    content.Replace("content/sounds.txt", "SFX_EndClock             memory", "SFX_EndClok              memory");
    std::vector<std::string> expected = {
        "data/content/sequences.txt:294 (ingamexml/sequence_wrong_answer_faceoff.xml): error: AudioSequencer target "
        "\"recievedstrikebadanswer\" is not a cue event"};
    for (const char* letter : {"a", "b", "c"})
        expected.push_back(std::string("data/content/sounds.txt:53 (GameAudiosNotStreamed/round2") + letter +
                           ".snd): error: cue \"round2\" is streamed, the descriptor is not");
    expected.push_back(
        "data/content/sounds.txt: error: cue \"answerreveal\" has no sound \"answerrevealk.snd\" in any package");
    expected.push_back("data/content/sounds.txt: error: cue \"endclock\" has no sound \"sfx_endclock.snd\" in any package");
    EXPECT_EQ(content.Check({"audio", "xml"}), expected);
    EXPECT_TRUE(content.BuildErrors().empty());

    std::filesystem::remove(content.Dir().File("out/streams/music_intro.ogg"));
    content.Dir().Write("out/GameAudiosNotStreamed/ending.ogg", "OggS and nothing else");
    content.Dir().Write("out/GameAudiosNotStreamed/intro.snd", "short");
    std::filesystem::remove(content.Dir().File("out/video/korvologo.vid"));
    expected.insert(expected.begin() + 1,
                    {"data/content/sounds.txt:29 (GameAudios/music_intro.snd): error: stream file "
                     "\"streams/music_intro.ogg\" does not exist",
                     "data/content/sounds.txt:37 (GameAudiosNotStreamed/intro.snd): error: sound descriptor does not "
                     "load"});
    expected.insert(expected.end() - 2, "data/content/sounds.txt:102 (GameAudiosNotStreamed/ending.snd): error: sound "
                                        "data \"ending.ogg\" does not decode to 0.1 s of Ogg Vorbis");
    expected.push_back("data/content/videos.txt (video/korvologo.vid): error: clip \"KorvoLogo.vid\" does not open in "
                       "the video player");
    EXPECT_EQ(content.Check({}), expected);
    EXPECT_NE(content.Checked().CountsLine().find(" 325 sound descriptors"), std::string::npos)
        << content.Checked().CountsLine();
}

}  // namespace
