#pragma once
// Number parsing and printing for text formats, independent of the process locale (a
// library that switches LC_NUMERIC must not make "1.5" read as 1). The parsers accept what
// atoi and atof accept (leading white space, a sign, the longest valid prefix; no digits
// give 0) but never overflow: out-of-range text saturates.
#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"

i32 ParseInt32(const char* text);
// As ParseInt32 over 0..4294967295, but a negative number or one beyond that range is no
// u32: false, reported to the log, and out keeps its value (the caller's fallback).
bool ParseUInt32(const char* text, u32& out);
// Overflow gives +-HUGE_VAL, underflow 0 or a denormal, as strtod in the C locale.
double ParseDouble(const char* text);
// ParseDouble narrowed to float; finite magnitudes beyond the float range saturate at
// +-FLT_MAX.
float ParseFloat(const char* text);

// "%d", "%u" and "%f" (six decimals) as in the C locale.
TString<char> FormatInt(i32 value);
TString<char> FormatUInt(u32 value);
TString<char> FormatFixed(double value);
