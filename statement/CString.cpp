#include "CString.h"

#include "AllocationFailure.h"
#include "Failures.h"
#include "Platform.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

namespace {

const char* RequireText(const char* text) {
    if (!text) ThrowHResult(E_INVALIDARG);
    return text;
}

int LengthOf(const char* text) {
    const size_t length = std::strlen(text);
    if (length > static_cast<size_t>(INT_MAX - 1)) ThrowHResult(E_OUTOFMEMORY);
    return static_cast<int>(length);
}

char* Allocate(int capacity) {
    if (capacity < 0 || capacity == INT_MAX || allocation_failure::ShouldFail()) ThrowHResult(E_OUTOFMEMORY);
    char* buffer = new (std::nothrow) char[static_cast<size_t>(capacity) + 1];
    if (!buffer) ThrowHResult(E_OUTOFMEMORY);
    buffer[0] = '\0';
    return buffer;
}

bool IsSingleByteText(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80) return false;
    return true;
}

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

CString::CString() : m_pszData(nullptr), m_nCapacity(0) {}

CString::CString(const CString& other) : CString() { *this = other; }

CString::CString(const char* text) : CString() { *this = text; }

CString::CString(const wchar_t* text) : CString() { *this = text; }

CString::~CString() { Release(); }

int CString::GetLength() const { return m_pszData ? static_cast<int>(std::strlen(m_pszData)) : 0; }

const char* CString::GetText() const { return m_pszData ? m_pszData : ""; }

char CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) ThrowHResult(E_INVALIDARG);
    return m_pszData[index];
}

int CString::Compare(const char* text) const { return platform::CompareMultibyte(GetText(), RequireText(text)); }

int CString::Position(const char* found) const { return found ? static_cast<int>(found - m_pszData) : -1; }

int CString::Find(char c) const {
    if (GetLength() == 0 || c == '\0') return -1;
    return Position(platform::FindFirstMultibyte(m_pszData, c));
}

int CString::ReverseFind(char c) const {
    if (GetLength() == 0 || c == '\0') return -1;
    return Position(platform::FindLastMultibyte(m_pszData, c));
}

int CString::Find(const char* text) const {
    RequireText(text);
    if (GetLength() == 0) return -1;
    return Position(platform::FindMultibyteText(m_pszData, text));
}

CString CString::FromBytes(const char* bytes, int count) {
    CString result;
    if (count > 0) {
        result.Reserve(count);
        result.SetText(count, bytes);
    }
    return result;
}

// Counts outside the text are clamped to it: the module never passes them,
// and a clamped result is always safe to read.
CString CString::Left(int count) const { return FromBytes(GetText(), Clamp(count, 0, GetLength())); }

CString CString::Mid(int start, int count) const {
    const int length = GetLength();
    start = Clamp(start, 0, length);
    return FromBytes(GetText() + start, Clamp(count, 0, length - start));
}

CString CString::Right(int count) const {
    const int length = GetLength();
    count = Clamp(count, 0, length);
    return FromBytes(GetText() + length - count, count);
}

CString& CString::operator=(const CString& other) { return Assign(other.GetText(), other.GetLength()); }

CString& CString::operator=(const char* text) { return Assign(text, LengthOf(RequireText(text))); }

// Assign's way when the buffer may have to grow, or there is nothing to copy.
CString& CString::AssignAnew(const char* bytes, int count) {
    if (count < 0) ThrowHResult(E_INVALIDARG);
    Reserve(count);
    SetText(count, bytes);
    return *this;
}

// The converted text is written straight into the buffer, sized by asking the
// conversion first, so a code page with more than two bytes per character
// still converts whole. A text that does not convert becomes the empty text.
CString& CString::operator=(const wchar_t* text) {
    const size_t length = text ? std::wcslen(text) : 0;
    if (length > static_cast<size_t>(INT_MAX / 4)) ThrowHResult(E_OUTOFMEMORY);
    const int needed = length ? platform::WideToAnsi(text, static_cast<int>(length), nullptr, 0) : 0;
    Reserve(needed);
    const int written = needed ? platform::WideToAnsi(text, static_cast<int>(length), m_pszData, needed) : 0;
    if (m_pszData) m_pszData[written] = '\0';
    return *this;
}

CString& CString::operator+=(const CString& other) {
    AppendText(other.GetLength(), other.GetText());
    return *this;
}

CString& CString::operator+=(const char* text) {
    AppendText(LengthOf(RequireText(text)), text);
    return *this;
}

void CString::Release() {
    delete[] m_pszData;
    m_pszData = nullptr;
    m_nCapacity = 0;
}

void CString::Reserve(int count) {
    if (count <= m_nCapacity) return;
    Release();
    m_pszData = Allocate(count);
    m_nCapacity = count;
}

void CString::SetText(int count, const char* source) {
    if (count > m_nCapacity || (count != 0 && !source)) ThrowHResult(E_INVALIDARG);
    if (!m_pszData) return;
    std::memmove(m_pszData, source, static_cast<size_t>(count));
    m_pszData[count] = '\0';
}

// The new bytes are copied before the old buffer is freed, so appending a
// string to itself is safe even when the buffer has to grow.
void CString::AppendText(int count, const char* source) {
    if (count == 0) return;
    if (!source) ThrowHResult(E_INVALIDARG);
    const int length = GetLength();
    if (count > INT_MAX - 1 - length) ThrowHResult(E_OUTOFMEMORY);
    if (length + count > m_nCapacity) {
        char* grown = Allocate(length + count);
        std::memcpy(grown, GetText(), static_cast<size_t>(length));
        std::memcpy(grown + length, source, static_cast<size_t>(count));
        grown[length + count] = '\0';
        delete[] m_pszData;
        m_pszData = grown;
        m_nCapacity = length + count;
        return;
    }
    std::memmove(m_pszData + length, source, static_cast<size_t>(count));
    m_pszData[length + count] = '\0';
}

// Texts of the same bytes are the same characters. Texts of bytes below 0x80
// alone (single-byte characters in every code page) are equal by characters
// only when their bytes are. Only other texts that differ in their bytes
// need the platform's multibyte comparison.
bool operator==(const CString& left, const CString& right) {
    const char* a = left.GetText();
    const char* b = right.GetText();
    if (std::strcmp(a, b) == 0) return true;
    if (IsSingleByteText(a) && IsSingleByteText(b)) return false;
    return left.Compare(b) == 0;
}
