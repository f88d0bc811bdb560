#include "gameservices/bridge/LocalizationTables.h"

#include <map>

#include "engine/core/AGLocalization.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"

namespace GameServices::Bridge {

namespace {

struct Tables {
    TString<char> m_Language{"english"};
    // Ascending name id of the table name.
    std::map<u32, AGLocalization*> m_Loaded;
    const TString<char> m_Default;
    const TString<char> m_ReservedKey;
};

Tables& State() {
    static Tables tables;
    return tables;
}

AGBaseProvider* Provider() {
    AGResourceManager* resources = AGResourceManager::Get();
    return resources ? resources->GetProvider(TypeKey::Localization) : nullptr;
}

void Give(AGLocalization* table) {
    AGBaseProvider* provider = Provider();
    if (!provider || !table)
        return;
    if (table->IsBase())
        provider->Release(table);
    else
        provider->ReleaseInstance(table);
}

}  // namespace

void SetLocalizationLanguage(const TString<char>& language) { State().m_Language = language; }

const TString<char>& GetLocalizationLanguage() { return State().m_Language; }

void LoadLocalizationTable(const TString<char>& name) {
    AGBaseProvider* provider = Provider();
    if (!provider) {
        AGReport("No localization provider to load the string table %s", name.c_str());
        return;
    }
    TString<char> fileName = name + "_" + State().m_Language + ".loc";
    fileName.ToLower();
    AGLocalization* table =
        GetOrLoadResourceAs<AGLocalization>(provider, Crc32Hash(fileName.c_str()));
    if (!table)
        return;
    AGLocalization*& slot = State().m_Loaded[Crc32Hash(name.c_str())];
    // Loading a table twice must not keep a second hold that nothing gives back.
    if (slot)
        Give(slot);
    slot = table;
}

void UnloadLocalizationTable(const TString<char>& name) {
    auto& loaded = State().m_Loaded;
    auto it = loaded.find(Crc32Hash(name.c_str()));
    if (it == loaded.end())
        return;
    AGLocalization* table = it->second;
    loaded.erase(it);
    Give(table);
}

const TString<char>& GetReservedLocalizationKey() { return State().m_ReservedKey; }

const TString<char>& GetLocalizedText(const TString<char>& key) {
    if (key == State().m_ReservedKey)
        return State().m_Default;
    return FindLocalizedText(Crc32Hash(key.c_str()));
}

TString<char> GetLocalizedTextOr(const TString<char>& key, const TString<char>& fallback) {
    const TString<char>& text = GetLocalizedText(key);
    return text.IsEmpty() ? fallback : text;
}

const TString<char>& FindLocalizedText(u32 textId) {
    for (const auto& [nameId, table] : State().m_Loaded)
        if (const TString<char>* text = table->Find(textId))
            return *text;
    return State().m_Default;
}

}  // namespace GameServices::Bridge
