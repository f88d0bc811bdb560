#pragma once
// The user's interface language as a locale tag such as "fr_FR.UTF-8".
#include <string>

namespace platform {

// The first set and non-empty of LANGUAGE, LC_ALL, LC_MESSAGES and LANG. LANGUAGE is a
// colon-separated priority list, of which the first non-empty entry is taken. "" when none
// is set.
std::string UILanguageTag();

}  // namespace platform
