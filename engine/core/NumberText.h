#pragma once
// Number parsing and printing for text formats, independent of the process locale (a
// library that switches LC_NUMERIC must not make "1.5" read as 1). The parsers accept what
// atoi and atof accept (leading white space, a sign, the longest valid prefix; no digits
// give 0) but never overflow: out-of-range text saturates.
#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"

i32 ParseInt32(const char* text);
// As ParseInt32, but texts above the i32 range up to 4294967295 keep their unsigned value, so
// both the signed printing of an unsigned field and its plain decimal form read back.
u32 ParseUInt32(const char* text);
// Overflow gives +-HUGE_VAL, underflow 0 or a denormal, as strtod in the C locale.
double ParseDouble(const char* text);
// ParseDouble narrowed to float; finite magnitudes beyond the float range saturate at
// +-FLT_MAX.
float ParseFloat(const char* text);

// "%d" and "%f" (six decimals) as in the C locale.
TString<char> FormatInt(i32 value);
TString<char> FormatFixed(double value);
