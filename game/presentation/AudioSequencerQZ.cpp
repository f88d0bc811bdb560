#include "game/presentation/AudioSequencerQZ.h"

#include <iterator>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "game/presentation/AudioManagerQZ.h"

namespace QZ2011 {

namespace {

using M = AudioManagerQZ;
using C = AudioManagerQZ::Cue;
constexpr u8 kNoCrowd = M::kCrowdCount;

// An event, the operation it calls and what that plays: a cue's sounds, a crowd asset, or
// neither (Cue::Count and kNoCrowd).
struct Entry {
    const char* event;
    AudioSequencerQZ::CueOperation operation;
    C cue;
    u8 crowd;
};

constexpr Entry kEvents[] = {
    {"music_intro", &M::PlayMusicIntro, C::MusicIntro, kNoCrowd},
    {"intro", &M::PlayIntro, C::Intro, kNoCrowd},
    {"family1intro", &M::PlayFamily1Intro, C::Family1Intro, kNoCrowd},
    {"AiFamily_theWendle", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theBrask", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theGimbrel", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theTassley", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theOlvira", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theKelvish", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theZandor", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_thePellory", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theVassen", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theIdwyn", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theLunmark", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"AiFamily_theQuessel", &M::PlayFamily2Intro, C::Family2Intro, kNoCrowd},
    {"round1", &M::PlayRound1, C::Round1, kNoCrowd},
    {"round2", &M::PlayRound2, C::Round2, kNoCrowd},
    {"round3", &M::PlayRound3, C::Round3, kNoCrowd},
    {"round4", &M::PlayRound4, C::Round4, kNoCrowd},
    {"faceoff", &M::PlayFaceOff, C::FaceOff, kNoCrowd},
    {"fastmoneyreveal1", &M::PlayFastMoneyReveal1, C::FastMoneyReveal1, kNoCrowd},
    {"fastmoneyreveal2", &M::PlayFastMoneyReveal2, C::FastMoneyReveal2, kNoCrowd},
    {"fastmoneyreveal3", &M::PlayFastMoneyReveal3, C::FastMoneyReveal3, kNoCrowd},
    {"fastmoneyreveal4", &M::PlayFastMoneyReveal4, C::FastMoneyReveal4, kNoCrowd},
    {"fastmoneyreveal5", &M::PlayFastMoneyReveal5, C::FastMoneyReveal5, kNoCrowd},
    {"faceoffquestion1", &M::PlayFaceOffQuestion1, C::FaceOffQuestion1, kNoCrowd},
    {"faceoffquestion2", &M::PlayFaceOffQuestion2, C::FaceOffQuestion2, kNoCrowd},
    {"faceoffquestion3", &M::PlayFaceOffQuestion3, C::FaceOffQuestion3, kNoCrowd},
    {"faceoffquestion4", &M::PlayFaceOffQuestion4, C::FaceOffQuestion4, kNoCrowd},
    {"faceoffquestion5", &M::PlayFaceOffQuestion5, C::FaceOffQuestion5, kNoCrowd},
    {"faceoffquestion6", &M::PlayFaceOffQuestion6, C::FaceOffQuestion6, kNoCrowd},
    {"faceoffquestion7", &M::PlayFaceOffQuestion7, C::FaceOffQuestion7, kNoCrowd},
    {"faceoffquestion8", &M::PlayFaceOffQuestion8, C::FaceOffQuestion8, kNoCrowd},
    {"20kwin", &M::Play20kWin, C::Win20k, kNoCrowd},
    {"ending", &M::PlayEnding, C::Ending, kNoCrowd},
    {"normalwin", &M::PlayNormalWin, C::NormalWin, kNoCrowd},
    {"fastmoney", &M::PlayFastMoney, C::FastMoney, kNoCrowd},
    {"fastmoneypart1", &M::PlayFastMoneyPart1, C::FastMoneyPart1, kNoCrowd},
    {"fastmoneypart2", &M::PlayFastMoneyPart2, C::FastMoneyPart2, kNoCrowd},
    {"answer", &M::PlayAnswer, C::Answer, kNoCrowd},
    {"controlspinpass", &M::PlayControlSpinPass, C::ControlSpinPass, kNoCrowd},
    {"answerreveal", &M::PlayAnswerReveal, C::AnswerReveal, kNoCrowd},
    {"sfx_podiumbuzzer", &M::PlayPodiumBuzzer, C::PodiumBuzzer, kNoCrowd},
    {"revealother1", &M::PlayRevealOther1, C::RevealOther1, kNoCrowd},
    {"revealother2", &M::PlayRevealOther2, C::RevealOther2, kNoCrowd},
    {"revealother3", &M::PlayRevealOther3, C::RevealOther3, kNoCrowd},
    {"revealother4", &M::PlayRevealOther4, C::RevealOther4, kNoCrowd},
    {"revealother5", &M::PlayRevealOther5, C::RevealOther5, kNoCrowd},
    {"revealother6", &M::PlayRevealOther6, C::RevealOther6, kNoCrowd},
    {"revealother7", &M::PlayRevealOther7, C::RevealOther7, kNoCrowd},
    {"revealother8", &M::PlayRevealOther8, C::RevealOther8, kNoCrowd},
    {"sfx_answerreveal", &M::PlayAnswerRevealSfx, C::AnswerRevealSfx, kNoCrowd},
    {"answerok", &M::PlayAnswerOk, C::AnswerOk, kNoCrowd},
    {"wonround", &M::PlayWonRound, C::WonRound, kNoCrowd},
    {"sfx_strike", &M::PlayStrikeSfx, C::StrikeSfx, kNoCrowd},
    {"stealfailure", &M::PlayStealFailure, C::StealFailure, kNoCrowd},
    {"revealothers", &M::PlayRevealOthers, C::RevealOthers, kNoCrowd},
    {"stealsuccess", &M::PlayStealSuccess, C::StealSuccess, kNoCrowd},
    {"receivedstrikebadanswer", &M::PlayStrikeBadAnswer, C::StrikeBadAnswer, kNoCrowd},
    {"recievedstriketimeout", &M::PlayStrikeTimeout, C::StrikeTimeout, kNoCrowd},
    {"answertwostrikes", &M::PlayAnswerTwoStrikes, C::AnswerTwoStrikes, kNoCrowd},
    {"recievedthirdstrike", &M::PlayThirdStrike, C::ThirdStrike, kNoCrowd},
    {"roundsuddendeath", &M::PlayRoundSuddenDeath, C::RoundSuddenDeath, kNoCrowd},
    {"familycontrols", &M::PlayFamilyControls, C::FamilyControls, kNoCrowd},
    {"chancetosteal", &M::PlayChanceToSteal, C::ChanceToSteal, kNoCrowd},
    {"Music_Countdown.loop", &M::PlayCountdownMusic, C::CountdownMusic, kNoCrowd},
    {"FaceOffBetterAnswer", &M::PlayFaceOffBetterAnswer, C::FaceOffBetterAnswer, kNoCrowd},
    {"music_faceoff", &M::PlayFaceOffMusic, C::FaceOffMusic, kNoCrowd},
    {"music_endround", &M::PlayEndRoundMusic, C::EndRoundMusic, kNoCrowd},
    {"sfx_fmreveal", &M::PlayFastMoneyRevealSfx, C::FastMoneyRevealSfx, kNoCrowd},
    {"endclock", &M::PlayEndClock, C::EndClock, kNoCrowd},
    {"fmrevealothers", &M::PlayFastMoneyRevealOthers, C::FastMoneyRevealOthers, kNoCrowd},
    {"CrowdLose", &M::PlayCrowdLose, C::Count, M::kCrowdLose},
    {"StartCrowdMedium", &M::StartCrowdMedium, C::Count, M::kCrowdMedium},
    {"StartCrowdLoud", &M::StartCrowdLoud, C::Count, M::kCrowdLoud},
    {"StopCrowd", &M::StopCrowd, C::Count, kNoCrowd},
    {"StartCrowdAnswer", &M::StartCrowdAnswer, C::Count, kNoCrowd},
};
static_assert(std::size(kEvents) == AudioSequencerQZ::kEventCount);

}  // namespace

const char* AudioSequencerQZ::EventName(u32 index) { return index < kEventCount ? kEvents[index].event : ""; }

std::vector<AudioManagerQZ::CueSound> AudioSequencerQZ::EventSounds(u32 index) {
    if (index >= kEventCount)
        return {};
    const Entry& entry = kEvents[index];
    if (entry.crowd < M::kCrowdCount)
        return {M::CrowdSound(M::Crowd(entry.crowd))};
    return M::SoundsOf(entry.cue);
}

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
