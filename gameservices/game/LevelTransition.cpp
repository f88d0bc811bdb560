#include "gameservices/game/LevelTransition.h"

#include "engine/core/AGLog.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;

void sLevelStatus::Serialize(ISerialization& s) {
    s.SerializeInt("LevelId", LevelId, 0);
    s.SerializeString("Status", Status, TString<char>());
}

void sLevelTransition::Serialize(ISerialization& s) {
    const TString<char> empty;
    s.SetAttributeMode(true);
    s.SerializeString("filename", FileName, empty);
    s.SetAttributeMode(false);
    if (!FileName.IsEmpty())
        return;
    s.SerializeString("LevelNameId", LevelNameId, empty);
    s.SerializeString("LevelFileName", LevelFileName, empty);
    s.SerializeString("Status", Status, empty);
    s.SerializeInt("LevelTransitionId", LevelTransitionId, 0);
    s.SerializeString("LoadingSceenId", LoadingSceenId, empty);
    s.SerializeString("OpeningSceenId", OpeningSceenId, empty);
    s.SerializeString("RunningSceenId", RunningSceenId, empty);
    s.SerializeString("ClosingSceenId", ClosingSceenId, empty);
    s.SerializeInt("NextLevelTransitionId", NextLevelTransitionId, 0);
    s.SerializeObject("StatusModifiers", StatusModifiers, true);
}

void sLevelTransitions::Serialize(ISerialization& s) {
    s.SerializeObject("Levels", Levels, true);
}

namespace {

std::unique_ptr<TString<char>> ScreenName(const TString<char>& text) {
    return text.IsEmpty() ? nullptr : std::make_unique<TString<char>>(text);
}

}  // namespace

LevelTransition::LevelTransition(const sLevelTransition& record)
    : m_Id(record.LevelTransitionId),
      m_Name(record.LevelNameId),
      m_FileName(record.LevelFileName),
      m_NextId(record.NextLevelTransitionId),
      m_LoadingScreen(ScreenName(record.LoadingSceenId)),
      m_OpeningScreen(ScreenName(record.OpeningSceenId)),
      m_RunningScreen(ScreenName(record.RunningSceenId)),
      m_ClosingScreen(ScreenName(record.ClosingSceenId)),
      m_Level(std::make_unique<Entities::Level>(record.LevelNameId, record.LevelFileName)),
      m_Status(convertStatus(record.Status)) {
    m_Level->SetStatus(u32(m_Status));
    m_StatusModifiers.reserve(record.StatusModifiers.size());
    for (const sLevelStatus& modifier : record.StatusModifiers)
        m_StatusModifiers.push_back({modifier.LevelId, convertStatus(modifier.Status)});
}

LevelTransition::~LevelTransition() = default;

i32 LevelTransition::convertStatus(const TString<char>& word) {
    static const struct {
        const char* word;
        i32 value;
    } kStatuses[] = {
        {"lock_visible", kLockVisible}, {"lock_invisible", kLockInvisible},
        {"lock_suprise", kLockSurprise}, {"unlock", kUnlock}, {"done", kDone},
    };
    TString<char> lower = word;
    lower.ToLower();
    for (const auto& entry : kStatuses)
        if (lower == entry.word)
            return entry.value;
    AGReport("LevelTransition::convertStatus() failed!");
    return kStatusInvalid;
}

}  // namespace GameServices::KorvoGame
