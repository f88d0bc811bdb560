#pragma once
// The engine application and its platform implementation, plus the process-wide values kept
// beside it (arguments, UI language, configuration entries).
#include "engine/core/AGArray.h"
#include "engine/core/AGObject.h"

class AGGameContext;

class AGApplicationImpl {
public:
    virtual ~AGApplicationImpl() = default;
    // Creates every engine manager; false when the program cannot run (no window).
    virtual bool Initialize() = 0;
    // Asks the window to close, through the same path as the close button.
    virtual void Quit() = 0;
    // Deletes the managers and the window.
    virtual void Shutdown() = 0;
    // Pumps messages and runs ticks until the quit message.
    virtual void Run(AGGameContext& context) = 0;
};

class AGApplication : public AGObject {
public:
    using ImplFactory = AGApplicationImpl* (*)();
    // Makes the platform implementation; the platform build's default is PCApplicationImpl.
    static ImplFactory s_implFactory;

    // The one application, built on first use.
    static AGApplication& Get();

    AGApplication();
    AGApplication(const AGApplication&) = delete;
    AGApplication& operator=(const AGApplication&) = delete;
    // Releases the implementation if Release has not.
    ~AGApplication() override;

    AGApplicationImpl* GetImpl() const { return m_impl; }
    // Deletes the implementation and clears the pointer; the application object itself
    // stays until exit, when its destructor then finds nothing left to delete.
    void Release();

    // Command-line arguments as split by SplitCommandLine; nothing reads them.
    static AGArray<TString<char>>& Arguments();
    static u32 s_uiLanguage;
    static u32 s_supportedLanguages;

private:
    AGApplicationImpl* m_impl = nullptr;
};

// Splits a command line at spaces (only); double quotes group text, spaces included, and
// are never part of an argument. Empty arguments are dropped. The list is emptied first.
void SplitCommandLine(AGArray<TString<char>>& list, const char* text);

// One configuration entry: its name id and a second word, followed by the value.
struct AGConfigEntry {
    u32 id;
    u32 extra;
    const void* Value() const { return reinterpret_cast<const u8*>(this) + sizeof(AGConfigEntry); }
};

struct AGConfigList {
    u32 count = 0;
    const AGConfigEntry* const* entries = nullptr;
};

// The process's configuration entries. No source fills it, so it stays empty.
AGConfigList& ConfigEntries();

// The value of the first entry whose id is the name id of key, or null.
const void* FindConfigValue(const char* key, const AGConfigList& list);
