#pragma once
// The localized string tables of the current language: "<table>_<language>.loc" resources of
// the "localization" provider, found in the mounted packages, keyed by the name id of the
// table name. A text is looked up by the name id of its key in the tables in ascending order
// of their ids; the first table holding it answers.
#include "engine/core/TString.h"

namespace GameServices::Bridge {

// "english" until the game start sets it.
void SetLocalizationLanguage(const TString<char>& language);
const TString<char>& GetLocalizationLanguage();

// Loads "<name>_<language>.loc" (lower-cased) and keeps it under the id of the name; a table
// already loaded under that name is given back first.
void LoadLocalizationTable(const TString<char>& name);
// Gives the table back to its provider; a name without a table does nothing.
void UnloadLocalizationTable(const TString<char>& name);

// The empty key, which the layout readers use as the default of text keys.
const TString<char>& GetReservedLocalizationKey();
// The text of the key (case-sensitive), or the empty default entry. The reserved key gives
// the default without a search.
const TString<char>& GetLocalizedText(const TString<char>& key);
// As GetLocalizedText; an empty text gives the fallback.
TString<char> GetLocalizedTextOr(const TString<char>& key, const TString<char>& fallback);
// The text of the first table, by ascending name id, that holds the id; else the default.
const TString<char>& FindLocalizedText(u32 textId);

}  // namespace GameServices::Bridge
