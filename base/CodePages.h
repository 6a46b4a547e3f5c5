// Every conversion between narrow and wide text in the module, each named for
// the code page it uses:
// - the process's ANSI code page (CP_ACP), the system's, in which Windows
//   gives module file names and opens narrow paths: the texts the module
//   hands the host's statement lines from a file not read as UTF-8, system
//   error texts, the path the host's file chooser gives, the module file name
//   and the registrar's names, replacements and values, and CString's
//   assignment from wide text. The thread's code page (CP_THREAD_ACP) is
//   never used: it follows the user's "Formats" setting, which differs from
//   the system's on many machines;
// - UTF-8: the texts of a statement file read as UTF-8 (it starts with the
//   byte-order mark, or its bytes are all UTF-8); bytes that are not UTF-8
//   become U+FFFD;
// - the C runtime's conversion (wcstombs): the host's bank account texts.
#pragma once

#include "ResourceHolders.h"

#include <cstddef>
#include <string>

// Narrow to wide. A BStr result is null only when it cannot be allocated; a
// bool result is false when the text does not convert or memory runs out.
BStr Utf8ToBstr(const char* text, int length);
BStr AnsiToBstr(const char* text, int length);
bool AnsiToWide(const char* text, std::wstring& wide);

// Whether `codePage` reads every byte below 0x80 as the character of the
// same number, as UTF-8 and the ANSI code pages do: asked of the platform,
// so that text of such bytes alone may be widened byte by byte.
bool ReadsPlainBytesAsThemselves(unsigned codePage);
// Widens the text's `length` bytes into `wide` (room for `length`
// characters) byte by byte, as long as they are below 0x80: false at the
// first byte that is not, with `wide` partly written.
bool WidenPlainText(const char* text, int length, wchar_t* wide);

// Wide to narrow.
bool WideToAnsi(const wchar_t* text, std::string& narrow);
// `length` wide characters in UTF-8, which spells every character (an
// unpaired surrogate becomes U+FFFD).
std::string WideToUtf8(const wchar_t* text, std::size_t length);
// `length` wide characters into `out` (no flags, no default character): the
// bytes needed when `outSize` is 0, else the bytes written, 0 on failure.
int WideToAnsi(const wchar_t* text, int length, char* out, int outSize);

// A path to open, in the ANSI code page, refused unless every character has
// its own representation there (no best-fit look-alike, no default
// character): Unrepresentable then, TooLong when it does not fit `outSize`
// bytes with its terminator.
enum class NarrowPath { Converted, Unrepresentable, TooLong };
NarrowPath PathToAnsi(const wchar_t* path, int length, char* out, int outSize);
// The same for a given code page, which decides the flags the conversion may
// be asked with (see StrictConversion).
NarrowPath PathToCodePage(unsigned codePage, const wchar_t* path, int length, char* out, int outSize);

// How a wide-to-narrow conversion into `codePage` is made to refuse what it
// cannot represent. Most code pages take WC_NO_BEST_FIT_CHARS and report a
// used default character; UTF-8 takes only WC_ERR_INVALID_CHARS (and no
// default-character report), and a few others take no flags at all, so a
// conversion that asked them for more would fail for every text.
struct StrictConversion {
    unsigned long flags;
    bool reportsDefaultCharacter;  // whether the used-default flag may be asked for
};
StrictConversion StrictConversionFor(unsigned codePage);

// The host's text through the C runtime's conversion, at most `outSize` - 1
// bytes and a terminator; false when it does not convert.
bool HostTextToNarrow(const wchar_t* text, char* out, std::size_t outSize);
