#include "questions/HashText.h"

u32 HashText(const char* text) {
    return Crc32Hash(text, 0);
}
