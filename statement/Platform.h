// The statement reading code's only contact with the operating system.
//
// Everything in statement/ that needs the platform goes through these few
// functions: the wide-to-ANSI conversion, the multibyte-aware searches and
// comparison, opening a file by its Unicode path, and the debugger output
// channel.
// PlatformWin32.cpp implements them on Windows; another implementation of this
// header lets the same sources build and run natively elsewhere.
#pragma once

#include <functional>
#include <ios>
#include <iosfwd>

#ifdef _WIN32
#include <windows.h>
#include <wtypes.h>   // DATE
#else
typedef double DATE;  // OLE Automation date: days since 30 December 1899
typedef long HRESULT;
#define E_OUTOFMEMORY ((HRESULT)(int)0x8007000E)
#define E_INVALIDARG ((HRESULT)(int)0x80070057)
#endif

namespace platform {

// Converts `length` wide characters to the ANSI code page (no flags, no
// default character). With `outSize` 0 returns the bytes needed; otherwise the
// bytes written, or 0 when the conversion failed or did not fit.
int WideToAnsi(const wchar_t* text, int length, char* out, int outSize);

// Comparison and searches by characters of the process's multibyte code page:
// a trail byte of a double-byte character never matches a single-byte one.
int CompareMultibyte(const char* left, const char* right);
const char* FindFirstMultibyte(const char* text, char c);
const char* FindLastMultibyte(const char* text, char c);
const char* FindMultibyteText(const char* text, const char* part);

// Opens `stream` on the file at the Unicode path `path`, as the platform
// opens such a path (for a file whose path the ANSI code page cannot spell).
void OpenUnicodePath(std::ifstream& stream, const wchar_t* path, std::ios_base::openmode mode);

// Writes a diagnostic text to the debugger output, or to the sink set below.
void WriteDebugOutput(const char* text);
// The platform's own debugger output channel, which WriteDebugOutput uses
// when no sink is set.
void WriteToDebugger(const char* text);

// Replaces where diagnostic texts go (an empty sink restores the debugger
// output) and returns the sink that was in force. Tests use it to read what
// the reader reports.
using DebugSink = std::function<void(const char* text)>;
DebugSink SetDebugSink(DebugSink sink);

}  // namespace platform
