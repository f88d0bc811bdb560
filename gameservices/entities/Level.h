#pragma once
// The game-flow side of a level: its name, its file, its set while it is loaded, and the
// four phase events that the game modes listen to.
#include "engine/core/FHandler.h"
#include "engine/core/TString.h"

namespace GameServices::Entities {

class Set;

class Level {
public:
    Level() = default;
    Level(const TString<char>& name, const TString<char>& fileName)
        : m_Name(name), m_FileName(fileName) {}
    virtual ~Level() = default;
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    const TString<char>& GetName() const { return m_Name; }
    const TString<char>& GetFileName() const { return m_FileName; }
    void SetName(const TString<char>& name) { m_Name = name; }
    void SetFileName(const TString<char>& fileName) { m_FileName = fileName; }

    FHandlerParam<Level*>& GetLoadingEvent() { return m_LoadingEvent; }
    FHandlerParam<Level*>& GetOpeningEvent() { return m_OpeningEvent; }
    FHandlerParam<Level*>& GetRunningEvent() { return m_RunningEvent; }
    FHandlerParam<Level*>& GetClosingEvent() { return m_ClosingEvent; }

    u32 GetStatus() const { return m_Status; }
    void SetStatus(u32 status) { m_Status = status; }

    // The level's content while it is loaded; not owned.
    Set* GetSet() const { return m_Set; }
    void SetSet(Set* set) { m_Set = set; }

    // Indexes of the level's flags.
    enum Flag : u32 { kRunning = 0, kReady = 1, kFlagCount = 6 };
    bool GetFlag(Flag flag) const { return flag < kFlagCount && m_Flags[flag] != 0; }
    void SetFlag(Flag flag, bool on) {
        if (flag < kFlagCount)
            m_Flags[flag] = on ? 1 : 0;
    }
    bool IsRunning() const { return GetFlag(kRunning); }
    void SetRunning(bool on) { SetFlag(kRunning, on); }
    bool IsReady() const { return GetFlag(kReady); }
    void SetReady(bool on) { SetFlag(kReady, on); }

private:
    FHandlerParam<Level*> m_LoadingEvent;
    FHandlerParam<Level*> m_OpeningEvent;
    FHandlerParam<Level*> m_RunningEvent;
    FHandlerParam<Level*> m_ClosingEvent;
    TString<char> m_Name;
    TString<char> m_FileName;
    u8 m_Flags[kFlagCount] = {};
    u32 m_Status = 4;
    Set* m_Set = nullptr;
};

}  // namespace GameServices::Entities
