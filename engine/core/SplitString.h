#pragma once
#include "engine/core/AGArray.h"
#include "engine/core/TString.h"

// Appends the pieces of text between separator characters (any character of separators) to
// out, in order, each carrying the given tag. Every separator ends a piece, so adjacent,
// leading and trailing separators give empty pieces; an empty text appends nothing.
void SplitString(const TString<char>& text, AGArray<TString<char>>& out,
                 const TString<char>& separators, u8 tag);
