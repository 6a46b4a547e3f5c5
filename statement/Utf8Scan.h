// Telling a statement file saved as UTF-8 without a byte-order mark from one
// in the ANSI code page, from its bytes alone.
//
// A file is taken as UTF-8 when every byte of it belongs to a well-formed
// UTF-8 character (no overlong form, no surrogate, nothing above U+10FFFF,
// no character cut off at the end) and at least one character has more than
// one byte. Text in an ANSI code page almost never passes: its accented
// letters and signs (0xC0 to 0xFF) would each have to be followed by just
// the right bytes of 0x80 to 0xBF. A file of plain ASCII is the same in
// both, and stays in the ANSI code page.
//
// Most files are plain ASCII, so the scan looks at 8 bytes at a time and
// takes a byte at a time only from a byte of 0x80 or above up to the end of
// its character. Its plain twin is reference::IsMultibyteUtf8 (tests/
// statement/ReferenceUtf8.h), which decodes every character; the Utf8Scan
// tests and the statement_reader fuzz harness hold the two equal.
#pragma once

#include <cstddef>

class Utf8Scan {
public:
    // Takes the next `length` bytes of the text, which may end in the middle
    // of a character that the next bytes complete. False once the bytes
    // taken cannot be UTF-8: nothing taken later changes that.
    bool Take(const char* bytes, std::size_t length);

    // Every byte taken belongs to a whole UTF-8 character, and at least one
    // character has more than one byte.
    bool IsMultibyteUtf8() const { return !m_broken && m_pending == 0 && m_multibyte; }

private:
    // Checks the character that starts at `p` (a byte of 0x80 or above), or
    // the rest of one begun in an earlier piece, as far as the piece goes;
    // returns where it stopped.
    const unsigned char* TakeCharacter(const unsigned char* p, const unsigned char* end);

    int m_pending = 0;             // continuation bytes the character still needs
    unsigned char m_lowest = 0x80;  // the range the next continuation byte must lie in
    unsigned char m_highest = 0xBF;
    bool m_multibyte = false;
    bool m_broken = false;
};
