#include "game/presentation/AudioSequencerQZ.h"

#include <iterator>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "game/presentation/AudioManagerQZ.h"

namespace QZ2011 {

namespace {

using M = AudioManagerQZ;

struct Entry {
    const char* event;
    AudioSequencerQZ::CueOperation operation;
};

constexpr Entry kEvents[] = {
    {"music_intro", &M::PlayMusicIntro},
    {"intro", &M::PlayIntro},
    {"family1intro", &M::PlayFamily1Intro},
    {"AiFamily_theWendle", &M::PlayFamily2Intro},
    {"AiFamily_theBrask", &M::PlayFamily2Intro},
    {"AiFamily_theGimbrel", &M::PlayFamily2Intro},
    {"AiFamily_theTassley", &M::PlayFamily2Intro},
    {"AiFamily_theOlvira", &M::PlayFamily2Intro},
    {"AiFamily_theKelvish", &M::PlayFamily2Intro},
    {"AiFamily_theZandor", &M::PlayFamily2Intro},
    {"AiFamily_thePellory", &M::PlayFamily2Intro},
    {"AiFamily_theVassen", &M::PlayFamily2Intro},
    {"AiFamily_theIdwyn", &M::PlayFamily2Intro},
    {"AiFamily_theLunmark", &M::PlayFamily2Intro},
    {"AiFamily_theQuessel", &M::PlayFamily2Intro},
    {"round1", &M::PlayRound1},
    {"round2", &M::PlayRound2},
    {"round3", &M::PlayRound3},
    {"round4", &M::PlayRound4},
    {"faceoff", &M::PlayFaceOff},
    {"fastmoneyreveal1", &M::PlayFastMoneyReveal1},
    {"fastmoneyreveal2", &M::PlayFastMoneyReveal2},
    {"fastmoneyreveal3", &M::PlayFastMoneyReveal3},
    {"fastmoneyreveal4", &M::PlayFastMoneyReveal4},
    {"fastmoneyreveal5", &M::PlayFastMoneyReveal5},
    {"faceoffquestion1", &M::PlayFaceOffQuestion1},
    {"faceoffquestion2", &M::PlayFaceOffQuestion2},
    {"faceoffquestion3", &M::PlayFaceOffQuestion3},
    {"faceoffquestion4", &M::PlayFaceOffQuestion4},
    {"faceoffquestion5", &M::PlayFaceOffQuestion5},
    {"faceoffquestion6", &M::PlayFaceOffQuestion6},
    {"faceoffquestion7", &M::PlayFaceOffQuestion7},
    {"faceoffquestion8", &M::PlayFaceOffQuestion8},
    {"20kwin", &M::Play20kWin},
    {"ending", &M::PlayEnding},
    {"normalwin", &M::PlayNormalWin},
    {"fastmoney", &M::PlayFastMoney},
    {"fastmoneypart1", &M::PlayFastMoneyPart1},
    {"fastmoneypart2", &M::PlayFastMoneyPart2},
    {"answer", &M::PlayAnswer},
    {"controlspinpass", &M::PlayControlSpinPass},
    {"answerreveal", &M::PlayAnswerReveal},
    {"sfx_podiumbuzzer", &M::PlayPodiumBuzzer},
    {"revealother1", &M::PlayRevealOther1},
    {"revealother2", &M::PlayRevealOther2},
    {"revealother3", &M::PlayRevealOther3},
    {"revealother4", &M::PlayRevealOther4},
    {"revealother5", &M::PlayRevealOther5},
    {"revealother6", &M::PlayRevealOther6},
    {"revealother7", &M::PlayRevealOther7},
    {"revealother8", &M::PlayRevealOther8},
    {"sfx_answerreveal", &M::PlayAnswerRevealSfx},
    {"answerok", &M::PlayAnswerOk},
    {"wonround", &M::PlayWonRound},
    {"sfx_strike", &M::PlayStrikeSfx},
    {"stealfailure", &M::PlayStealFailure},
    {"revealothers", &M::PlayRevealOthers},
    {"stealsuccess", &M::PlayStealSuccess},
    {"receivedstrikebadanswer", &M::PlayStrikeBadAnswer},
    {"recievedstriketimeout", &M::PlayStrikeTimeout},
    {"answertwostrikes", &M::PlayAnswerTwoStrikes},
    {"recievedthirdstrike", &M::PlayThirdStrike},
    {"roundsuddendeath", &M::PlayRoundSuddenDeath},
    {"familycontrols", &M::PlayFamilyControls},
    {"chancetosteal", &M::PlayChanceToSteal},
    {"Music_Countdown.loop", &M::PlayCountdownMusic},
    {"FaceOffBetterAnswer", &M::PlayFaceOffBetterAnswer},
    {"music_faceoff", &M::PlayFaceOffMusic},
    {"music_endround", &M::PlayEndRoundMusic},
    {"sfx_fmreveal", &M::PlayFastMoneyRevealSfx},
    {"endclock", &M::PlayEndClock},
    {"fmrevealothers", &M::PlayFastMoneyRevealOthers},
    {"CrowdLose", &M::PlayCrowdLose},
    {"StartCrowdMedium", &M::StartCrowdMedium},
    {"StartCrowdLoud", &M::StartCrowdLoud},
    {"StopCrowd", &M::StopCrowd},
    {"StartCrowdAnswer", &M::StartCrowdAnswer},
};
static_assert(std::size(kEvents) == AudioSequencerQZ::kEventCount);

}  // namespace

const char* AudioSequencerQZ::EventName(u32 index) { return index < kEventCount ? kEvents[index].event : ""; }

void AudioSequencerQZ::onInitialize(AudioManagerQZ* audio) {
    if (!audio)
        AGReport("AudioSequencer::onInitialize : the audio manager is NULL !!!");
    m_Audio = audio;
    for (const Entry& entry : kEvents)
        m_SoundFunctions.Insert(Crc32Hash(entry.event), entry.operation);
}

void AudioSequencerQZ::onSequenceEvent(const TString<char>& name, const TString<char>& target,
                                       const TString<char>& parameter) {
    if (!m_Audio)
        AGReport("AudioSequencerSinglePlayer::onSequenceEvent : the audio manager is NULL !!! Did you forget to "
                 "initialize the AudioSequencerSinglePlayer ?");
    if (name == "Play") {
        CueOperation* operation = m_SoundFunctions.Find(Crc32Hash(target.c_str()));
        if (!operation)
            AGReport("AudioSequencer: Cannot find this sound function %s", target.c_str());
        else if (m_Audio)
            (m_Audio->**operation)();
    } else if (name == "Stop" && m_Audio) {
        // Through StopCue, so that stopping the holding line lets the show run on.
        const int category = AudioManagerQZ::CategoryFromName(parameter);
        m_Audio->StopCue(m_Audio->ResolveCueName(category, target), category);
    }
}

}  // namespace QZ2011
