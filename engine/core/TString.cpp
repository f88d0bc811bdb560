#include "engine/core/TString.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <type_traits>

#include "engine/core/AGMemory.h"

namespace {

template <typename C>
u32 TextLength(const C* text) {
    if (!text)
        return 0;
    u32 n = 0;
    while (text[n])
        ++n;
    return n;
}

template <typename C>
C* NewBuffer(u32 units) {
    return static_cast<C*>(AllocBlock(size_t(units) * sizeof(C)));
}

}  // namespace

template <typename C>
TString<C>::TString(const C* text) : TString(text, TextLength(text)) {}

template <typename C>
TString<C>::TString(const C* text, u32 count) {
    Assign(text, count);
}

template <typename C>
TString<C>::TString(const C* text, u32 count, u8 tag) : m_tag(tag) {
    Assign(text, count);
}

template <typename C>
TString<C>::TString(const TString& other) : m_tag(other.m_tag) {
    Assign(other.m_data, other.m_length);
}

template <typename C>
TString<C>::TString(TString&& other) noexcept
    : m_data(other.m_data), m_length(other.m_length), m_tag(other.m_tag) {
    other.m_data = nullptr;
    other.m_length = 0;
}

template <typename C>
TString<C>::~TString() {
    Release();
}

template <typename C>
void TString<C>::Release() {
    FreeBlock(m_data);
    m_data = nullptr;
    m_length = 0;
}

template <typename C>
bool TString<C>::Allocate(u32 length) {
    m_data = NewBuffer<C>(length + 1);
    if (!m_data) {
        m_length = 0;
        return false;
    }
    m_length = length;
    m_data[length] = 0;
    return true;
}

template <typename C>
TString<C>& TString<C>::operator=(const TString& other) {
    if (this != &other) {
        m_tag = other.m_tag;
        Assign(other.m_data, other.m_length);
    }
    return *this;
}

template <typename C>
TString<C>& TString<C>::operator=(TString&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = other.m_data;
        m_length = other.m_length;
        m_tag = other.m_tag;
        other.m_data = nullptr;
        other.m_length = 0;
    }
    return *this;
}

template <typename C>
TString<C>& TString<C>::operator=(const C* text) {
    Assign(text, TextLength(text));
    return *this;
}

template <typename C>
void TString<C>::Assign(const C* text, u32 count) {
    if (!text)
        count = 0;
    if (count != 0 && count == m_length) {
        memmove(m_data, text, size_t(count) * sizeof(C));
        return;
    }
    // The text may live inside our own buffer: build the new one before releasing.
    C* old = m_data;
    m_data = nullptr;
    m_length = 0;
    if (count != 0 && Allocate(count))
        memcpy(m_data, text, size_t(count) * sizeof(C));
    FreeBlock(old);
}

template <typename C>
void TString<C>::Append(const C* text, u32 count) {
    if (!text || count == 0)
        return;
    if (count > 0xFFFFFFFEu - m_length)
        return;
    u32 total = m_length + count;
    C* joined = NewBuffer<C>(total + 1);
    if (!joined)
        return;
    if (m_length)
        memcpy(joined, m_data, size_t(m_length) * sizeof(C));
    // Copy the appended text before the old buffer goes: it may point into it.
    memcpy(joined + m_length, text, size_t(count) * sizeof(C));
    joined[total] = 0;
    FreeBlock(m_data);
    m_data = joined;
    m_length = total;
}

template <typename C>
TString<C>& TString<C>::operator+=(const C* text) {
    Append(text, TextLength(text));
    return *this;
}

template <typename C>
TString<C>& TString<C>::operator+=(const TString& other) {
    Append(other.m_data, other.m_length);
    return *this;
}

template <typename C>
TString<C> TString<C>::operator+(const C* text) const {
    TString result(*this);
    result += text;
    return result;
}

template <typename C>
TString<C> TString<C>::operator+(const TString& other) const {
    TString result(*this);
    result += other;
    return result;
}

template <typename C>
bool TString<C>::Equals(const C* text, u32 count) const {
    if (!text)
        count = 0;
    if (m_length != count)
        return false;
    if (count == 0)
        return true;
    return memcmp(m_data, text, size_t(count) * sizeof(C)) == 0;
}

template <typename C>
bool TString<C>::operator==(const C* text) const {
    return Equals(text, TextLength(text));
}

template <typename C>
int TString<C>::Compare(const TString& other, u32 n) const {
    if (n == 0)
        return 0;
    if (other.m_length == 0)
        return m_length == 0 ? 0 : 1;
    if (m_length == 0)
        return -1;
    u32 m = n;
    if (m_length < m)
        m = m_length;
    if (other.m_length < m)
        m = other.m_length;
    // m + 1 units: the terminator of the shorter string takes part.
    for (u32 i = 0; i <= m; ++i) {
        using U = std::make_unsigned_t<C>;
        U a = static_cast<U>(m_data[i]);
        U b = static_cast<U>(other.m_data[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return 0;
}

template <typename C>
int TString<C>::Compare(const TString& other) const {
    u32 n = m_length > other.m_length ? m_length : other.m_length;
    if (n == 0)
        return 0;
    return Compare(other, n);
}

template <typename C>
TString<C> TString<C>::SubString(u32 position, u32 count) const {
    if (m_length == 0 || count == 0 || position >= m_length)
        return TString();
    u32 left = m_length - position;
    if (count > left)
        count = left;
    return TString(m_data + position, count);
}

template <typename C>
void TString<C>::Erase(u32 position, u32 count) {
    if (position >= m_length || count == 0)
        return;
    u32 left = m_length - position;
    if (count > left)
        count = left;
    TString result(m_data, position, m_tag);
    result.Append(m_data + position + count, left - count);
    *this = static_cast<TString&&>(result);
}

template <typename C>
TString<C>& TString<C>::ToLower() {
    for (u32 i = 0; i < m_length; ++i) {
        C c = m_data[i];
        if (c >= C('A') && c <= C('Z'))
            m_data[i] = C(c - C('A') + C('a'));
    }
    return *this;
}

template <typename C>
TString<C>& TString<C>::ToUpper() {
    for (u32 i = 0; i < m_length; ++i) {
        C c = m_data[i];
        if (c >= C('a') && c <= C('z'))
            m_data[i] = C(c - C('a') + C('A'));
    }
    return *this;
}

template <typename C>
bool TString<C>::EndsWith(const C* suffix, u32 count) const {
    if (count > m_length)
        return false;
    if (count == 0)
        return true;
    return suffix && memcmp(m_data + (m_length - count), suffix, size_t(count) * sizeof(C)) == 0;
}

template <typename C>
void TString<C>::Resize(u32 n) {
    if (n == m_length)
        return;
    C* old = m_data;
    u32 oldLength = m_length;
    m_data = nullptr;
    m_length = 0;
    if (n != 0 && Allocate(n)) {
        u32 keep = n < oldLength ? n : oldLength;
        if (keep)
            memcpy(m_data, old, size_t(keep) * sizeof(C));
        for (u32 i = keep; i < n; ++i)
            m_data[i] = 0;
    }
    FreeBlock(old);
}

template <typename C>
const C* TString<C>::c_str() const {
    static const C empty[1] = {0};
    return m_data ? m_data : empty;
}

namespace {

template <typename C>
TString<C> Formatted(const char* format, auto value) {
    char buffer[128];
    int n = snprintf(buffer, sizeof buffer, format, value);
    if (n < 0)
        return TString<C>();
    if (n >= int(sizeof buffer))
        n = int(sizeof buffer) - 1;
    C units[128];
    for (int i = 0; i < n; ++i)
        units[i] = C(static_cast<unsigned char>(buffer[i]));
    return TString<C>(units, u32(n));
}

}  // namespace

template <typename C>
TString<C> TString<C>::FromInt(i32 value) {
    return Formatted<C>("%d", int(value));
}

template <typename C>
TString<C> TString<C>::FromFloat(f32 value) {
    return Formatted<C>("%f", double(value));
}

template <typename C>
TString<C> TString<C>::FromLong(i32 value) {
    return Formatted<C>("%i", int(value));
}

template <typename C>
TString<C> TString<C>::FromUnsigned(u32 value) {
    return Formatted<C>("%u", unsigned(value));
}

AGWString WidenString(const TString<char>& text) {
    AGWString wide;
    u32 n = text.Length();
    if (n == 0)
        return wide;
    char16_t* units = static_cast<char16_t*>(AllocBlock(size_t(n) * sizeof(char16_t)));
    if (!units)
        return wide;
    for (u32 i = 0; i < n; ++i)
        units[i] = char16_t(i16(static_cast<signed char>(text[i])));
    wide.Assign(units, n);
    FreeBlock(units);
    return AGWString(wide.Data(), wide.Length(), text.Tag());
}

// The element count is stored in the 16 bytes in front of the strings.
TString<char>* NewTStringArray(u32 count) {
    void* block = AllocBlock(16 + size_t(count) * sizeof(TString<char>));
    if (!block)
        return nullptr;
    *static_cast<u64*>(block) = count;
    auto* strings = reinterpret_cast<TString<char>*>(static_cast<u8*>(block) + 16);
    for (u32 i = 0; i < count; ++i)
        new (strings + i) TString<char>();
    return strings;
}

void DeleteTStringArray(TString<char>* array) {
    if (!array)
        return;
    u8* block = reinterpret_cast<u8*>(array) - 16;
    u64 count = *reinterpret_cast<u64*>(block);
    for (u64 i = 0; i < count; ++i)
        array[i].~TString();
    FreeBlock(block);
}

template class TString<char>;
template class TString<char16_t>;
