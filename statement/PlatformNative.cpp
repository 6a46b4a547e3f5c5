// Native (non-Windows) stand-ins for the statement code's platform seam, so
// that statement/ builds and runs on Linux under the sanitizers and the
// fuzzer. They are deliberately small and do not try to reproduce the
// platform exactly:
// - the ANSI code page is taken to be a single-byte one: a wide character up
//   to U+00FF becomes that byte, any other becomes '?';
// - the multibyte comparison and searches are the plain byte functions
//   (right for every single-byte code page);
// - a Unicode path is opened as its UTF-8 bytes;
// - diagnostics go to standard error unless a sink is set.
#include "Platform.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>

namespace platform {

int WideToAnsi(const wchar_t* text, int length, char* out, int outSize) {
    if (!text || length < 0) return 0;
    if (outSize == 0) return length;  // one byte per character
    if (!out || outSize < length) return 0;
    for (int i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        out[i] = c >= 0 && c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?';
    }
    return length;
}

int CompareMultibyte(const char* left, const char* right) {
    const int result = std::strcmp(left, right);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

const char* FindFirstMultibyte(const char* text, char c) { return std::strchr(text, c); }

const char* FindLastMultibyte(const char* text, char c) { return std::strrchr(text, c); }

const char* FindMultibyteText(const char* text, const char* part) { return std::strstr(text, part); }

void OpenUnicodePath(std::ifstream& stream, const wchar_t* path, std::ios_base::openmode mode) {
    std::string bytes;
    for (const wchar_t* c = path; *c; ++c) {
        const auto code = static_cast<unsigned long>(*c);
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    stream.open(bytes, mode);
}

void WriteToDebugger(const char* text) { std::fputs(text, stderr); }

}  // namespace platform
