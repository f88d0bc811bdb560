#pragma once
// Character classes of the C locale, taken on unsigned bytes so that the result never
// depends on the locale or on the signedness of char: bytes of 0x80 and above are never
// letters, digits or white space.
inline bool IsAsciiAlpha(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool IsAsciiDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline bool IsAsciiSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
inline char AsciiToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
