#pragma once
// Reading a raw file of the question bank through the "data" provider: get-or-load by the
// name id of the file name, hand the bytes to a parser, give the resource back at once. The
// parsers copy what they keep, so the cached bytes are never written and nothing holds the
// resource afterwards.
#include <functional>

#include "engine/core/AGTypes.h"

// Calls parse with the file's bytes and returns true; returns false without calling it when
// no mounted package holds the file (or it is empty) or no "data" provider is registered.
bool ReadQuestionDataFile(const char* name, const std::function<void(const void*, u32)>& parse);
