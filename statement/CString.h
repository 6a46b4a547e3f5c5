// CString: the module's narrow (ANSI code page) text string.
//
// A heap buffer with a capacity and a zero terminator, nothing more: there is
// no stored length (every length query scans the text) and no spare room (the
// buffer grows to exactly the size needed and never shrinks while the string
// lives). The empty text is either no buffer at all or a buffer whose first
// byte is zero. Positions and lengths are byte counts; the searches and the
// comparison work by characters of the process's multibyte code page.
//
// Misuse and exhaustion are thrown as a `long` HRESULT: E_INVALIDARG for a
// null text or a position outside the text, E_OUTOFMEMORY when a buffer cannot
// be allocated. Nothing is caught inside the class. Tests make allocations
// fail through the countdown in AllocationFailure.h.
#pragma once

#include "ByteCopy.h"

class CString {
public:
    CString();
    CString(const CString& other);
    CString(const char* text);
    CString(const wchar_t* text);
    virtual ~CString();

    int GetLength() const;
    int GetCapacity() const { return m_nCapacity; }
    const char* GetText() const;  // never null
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }

    int Compare(const char* text) const;
    int Find(char c) const;
    int ReverseFind(char c) const;
    int Find(const char* text) const;

    CString Left(int count) const;
    CString Mid(int start, int count) const;
    CString Right(int count) const;

    CString& operator=(const CString& other);
    CString& operator=(const char* text);
    CString& operator=(const wchar_t* text);
    // The text becomes the `count` bytes at `bytes` (none of them zero), as
    // assigning them as a text of their own would make it. Inline when the
    // buffer has room: the reader assigns a few fields of every line.
    CString& Assign(const char* bytes, int count) {
        if (count <= 0 || count > m_nCapacity || !bytes) return AssignAnew(bytes, count);
        byte_copy::Move(m_pszData, bytes, count);
        m_pszData[count] = '\0';
        return *this;
    }
    // The empty text, in the buffer the string has: as assigning "" does.
    void Empty() {
        if (m_pszData) m_pszData[0] = '\0';
    }
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);

private:
    static CString FromBytes(const char* bytes, int count);
    CString& AssignAnew(const char* bytes, int count);
    int Position(const char* found) const;

    void Release();
    void Reserve(int count);
    void SetText(int count, const char* source);
    void AppendText(int count, const char* source);

    char* m_pszData;
    int m_nCapacity;
};

bool operator==(const CString& left, const CString& right);
