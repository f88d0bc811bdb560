#pragma once
// The level-transitions file "Levels.xml" ("root" > "LevelTransitions" > "Levels" > item*)
// and the run-time transition built from each entry: a level, its file, its unlock status,
// the screens of its four phases, the level that follows it and the status changes it
// grants to other levels.
#include <memory>
#include <vector>

#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"
#include "gameservices/entities/Level.h"

namespace GameServices::KorvoGame {

class sLevelStatus : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    i32 LevelId = 0;
    TString<char> Status;
};

// An entry; with a "filename" attribute it stands for the entries of that file and its
// elements are not read.
class sLevelTransition : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> LevelNameId;
    TString<char> LevelFileName;
    TString<char> Status;
    i32 LevelTransitionId = 0;
    TString<char> LoadingSceenId;
    TString<char> OpeningSceenId;
    TString<char> RunningSceenId;
    TString<char> ClosingSceenId;
    i32 NextLevelTransitionId = 0;
    TString<char> FileName;
    Utilities::SerializableVector<sLevelStatus> StatusModifiers;
};

class sLevelTransitions : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    Utilities::SerializableVector<sLevelTransition> Levels;
};

class LevelTransition {
public:
    // Status values of a level.
    enum : i32 {
        kStatusInvalid = 0,
        kLockVisible = 1,
        kLockInvisible = 2,
        kLockSurprise = 3,
        kUnlock = 4,
        kDone = 5,
    };

    struct StatusModifier {
        i32 m_LevelId;
        i32 m_Status;
    };

    LevelTransition() = default;
    // Builds the transition of an entry, with its level made from the name and file name.
    explicit LevelTransition(const sLevelTransition& record);
    virtual ~LevelTransition();
    LevelTransition(const LevelTransition&) = delete;
    LevelTransition& operator=(const LevelTransition&) = delete;

    // The status of a word in any letter case ("lock_suprise" spelled so); anything else
    // is reported and gives kStatusInvalid.
    static i32 convertStatus(const TString<char>& word);

    i32 GetId() const { return m_Id; }
    TString<char> GetName() const { return m_Name; }
    const TString<char>& GetFileName() const { return m_FileName; }
    i32 GetNextId() const { return m_NextId; }
    // The screen of each phase; null when the entry names none.
    const TString<char>* GetLoadingScreen() const { return m_LoadingScreen.get(); }
    const TString<char>* GetOpeningScreen() const { return m_OpeningScreen.get(); }
    const TString<char>* GetRunningScreen() const { return m_RunningScreen.get(); }
    const TString<char>* GetClosingScreen() const { return m_ClosingScreen.get(); }
    Entities::Level* GetLevel() const { return m_Level.get(); }
    i32 GetStatus() const { return m_Status; }
    const std::vector<StatusModifier>& GetStatusModifiers() const { return m_StatusModifiers; }

private:
    i32 m_Id = -1;
    TString<char> m_Name;
    TString<char> m_FileName;
    i32 m_NextId = -1;
    std::unique_ptr<TString<char>> m_LoadingScreen;
    std::unique_ptr<TString<char>> m_OpeningScreen;
    std::unique_ptr<TString<char>> m_RunningScreen;
    std::unique_ptr<TString<char>> m_ClosingScreen;
    std::unique_ptr<Entities::Level> m_Level;
    i32 m_Status = kStatusInvalid;
    std::vector<StatusModifier> m_StatusModifiers;
};

}  // namespace GameServices::KorvoGame
