#pragma once
// The program's string: an exact-size heap buffer (length + 1 units, terminated), no
// capacity, so every change of length reallocates; equal-length assignment copies in
// place. Equality is exact; Compare orders byte-lexicographically, a proper prefix first.
// An allocation failure leaves the string intact-empty (data null, length 0).
#include "engine/core/AGTypes.h"

template <typename C>
class TString {
public:
    static constexpr u32 npos = 0xFFFFFFFFu;

    TString() = default;
    TString(const C* text);
    TString(const C* text, u32 count);
    TString(const C* text, u32 count, u8 tag);
    TString(const TString& other);
    TString(TString&& other) noexcept;
    ~TString();

    TString& operator=(const TString& other);
    TString& operator=(TString&& other) noexcept;
    TString& operator=(const C* text);

    void Assign(const C* text, u32 count);
    void Append(const C* text, u32 count);
    TString& operator+=(const C* text);
    TString& operator+=(const TString& other);
    TString operator+(const C* text) const;
    TString operator+(const TString& other) const;

    // Exact comparison of count units; both empty compare equal.
    bool Equals(const C* text, u32 count) const;
    bool operator==(const C* text) const;
    bool operator==(const TString& other) const { return Equals(other.m_data, other.m_length); }
    bool operator!=(const C* text) const { return !(*this == text); }
    bool operator!=(const TString& other) const { return !(*this == other); }

    // Three-way compare of at most n units (plus the terminator of the shorter): -1, 0 or +1.
    int Compare(const TString& other, u32 n) const;
    int Compare(const TString& other) const;
    bool operator<(const TString& other) const { return Compare(other) < 0; }

    TString SubString(u32 position, u32 count = npos) const;
    // Removes count units from position (npos: to the end).
    void Erase(u32 position, u32 count = npos);
    // Converts ASCII letters to lower or upper case in place (the C locale's tolower and
    // toupper, without depending on the locale).
    TString& ToLower();
    TString& ToUpper();
    // The last count units equal suffix's first count; false when the string is shorter.
    bool EndsWith(const C* suffix, u32 count) const;
    // Resizes to n units: min(n, length) kept, the rest zero.
    void Resize(u32 n);

    const C* c_str() const;   // never null: "" for an empty string
    const C* Data() const { return m_data; }
    C* Buffer() { return m_data; }
    u32 Length() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    u8 Tag() const { return m_tag; }
    C operator[](u32 i) const { return m_data[i]; }

    static TString FromInt(i32 value);
    static TString FromFloat(f32 value);
    static TString FromLong(i32 value);
    static TString FromUnsigned(u32 value);

private:
    void Release();
    bool Allocate(u32 length);

    C* m_data = nullptr;
    u32 m_length = 0;
    u8 m_tag = 0;
};

using AGString = TString<char>;
using AGWString = TString<char16_t>;

// Widens each byte by sign extension (a byte with the high bit set gives a unit 0xFFxx).
AGWString WidenString(const TString<char>& text);

// Destroys every string of an array made by NewTStringArray and frees the block.
TString<char>* NewTStringArray(u32 count);
void DeleteTStringArray(TString<char>* array);

extern template class TString<char>;
extern template class TString<char16_t>;
