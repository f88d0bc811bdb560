#include "engine/core/AGApplication.h"

#include "engine/core/Crc32Hash.h"
#include "engine/core/PCApplicationImpl.h"

AGApplication::ImplFactory AGApplication::s_implFactory = &CreatePCApplicationImpl;
u32 AGApplication::s_uiLanguage = 0;
u32 AGApplication::s_supportedLanguages = 0;

AGApplication& AGApplication::Get() {
    static AGApplication application;
    return application;
}

AGApplication::AGApplication() : m_impl(s_implFactory ? s_implFactory() : nullptr) {}

AGApplication::~AGApplication() {
    Release();
}

void AGApplication::Release() {
    delete m_impl;
    m_impl = nullptr;
}

AGArray<TString<char>>& AGApplication::Arguments() {
    static AGArray<TString<char>> arguments;
    return arguments;
}

void SplitCommandLine(AGArray<TString<char>>& list, const char* text) {
    list.Clear();
    if (!text)
        return;
    TString<char> current;
    bool quoted = false;
    const char* start = text;  // start of the pending run of ordinary characters
    auto flush = [&](const char* end) {
        if (end > start)
            current.Append(start, u32(end - start));
    };
    auto finish = [&]() {
        if (!current.IsEmpty())
            list.Add(current);
        current = TString<char>();
    };
    const char* p = text;
    for (; *p; ++p) {
        char c = *p;
        if (c == '"') {
            flush(p);
            start = p + 1;
            if (quoted)
                finish();
            quoted = !quoted;
        } else if (c == ' ' && !quoted) {
            flush(p);
            start = p + 1;
            finish();
        }
    }
    flush(p);
    finish();
}

AGConfigList& ConfigEntries() {
    static AGConfigList list;
    return list;
}

const void* FindConfigValue(const char* key, const AGConfigList& list) {
    u32 id = Crc32Hash(key);
    for (u32 i = 0; i < list.count; ++i) {
        const AGConfigEntry* entry = list.entries[i];
        if (entry && entry->id == id)
            return entry->Value();
    }
    return nullptr;
}
