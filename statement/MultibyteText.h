// Searches by characters of the process's multibyte code page, as CString's
// own, that read the bytes themselves for as long as the text holds only
// single-byte characters. No code page makes a byte below 0x80 a lead byte,
// so up to the first byte at or above 0x80 every byte is a character of its
// own and a byte search gives the platform's answer; from that byte on (a
// character boundary) the platform searches. Statement fields are mostly
// plain ASCII, so the platform is seldom asked.
#pragma once

// On Windows FindText is also a macro of the platform's headers (FindTextA):
// every file that names it includes them, so that one name is meant.
#include "Platform.h"

// The first character `c` (not zero) of the zero-terminated text, or null.
const char* FindCharacter(const char* text, char c);
// The last character `c` (not zero) of the zero-terminated text, or null.
const char* FindLastCharacter(const char* text, char c);
// The first occurrence of `part` in the zero-terminated text, or null.
const char* FindText(const char* text, const char* part);
