#include "engine/core/NumberText.h"

#include <locale.h>
#include <stdlib.h>

#include <cfloat>
#include <charconv>
#include <cstdint>

#include "engine/core/AGLog.h"

namespace {

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

i64 ParseClamped(const char* text, i64 low, i64 high) {
    if (!text)
        return 0;
    // strtoll_l saturates at the i64 range; the clamp does the rest.
    long long value = strtoll_l(text, nullptr, 10, CLocale());
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

}  // namespace

i32 ParseInt32(const char* text) {
    return i32(ParseClamped(text, INT32_MIN, INT32_MAX));
}

bool ParseUInt32(const char* text, u32& out) {
    const i64 value = ParseClamped(text, INT64_MIN, INT64_MAX);
    if (value < 0 || value > i64(UINT32_MAX)) {
        AGReport("\"%s\" is not an unsigned 32-bit number", text);
        return false;
    }
    out = u32(value);
    return true;
}

double ParseDouble(const char* text) {
    if (!text)
        return 0.0;
    return strtod_l(text, nullptr, CLocale());
}

float ParseFloat(const char* text) {
    double value = ParseDouble(text);
    if (value > FLT_MAX && value <= DBL_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX && value >= -DBL_MAX)
        return -FLT_MAX;
    return float(value);
}

TString<char> FormatInt(i32 value) {
    char text[16];
    auto result = std::to_chars(text, text + sizeof text, value);
    return TString<char>(text, u32(result.ptr - text));
}

TString<char> FormatUInt(u32 value) {
    char text[16];
    auto result = std::to_chars(text, text + sizeof text, value);
    return TString<char>(text, u32(result.ptr - text));
}

TString<char> FormatFixed(double value) {
    // The widest fixed form of a double is 309 integer digits, a sign, a point and 6 decimals.
    char text[330];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (result.ec != std::errc())
        return TString<char>("0.000000");
    return TString<char>(text, u32(result.ptr - text));
}
