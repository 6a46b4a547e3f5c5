// Windows implementation of the statement code's platform seam.
#include "Platform.h"

#include "CodePages.h"

#include <mbstring.h>

#include <fstream>
#include <utility>

namespace platform {
namespace {

const unsigned char* Bytes(const char* text) { return reinterpret_cast<const unsigned char*>(text); }
const char* Chars(const unsigned char* text) { return reinterpret_cast<const char*>(text); }

}  // namespace

int WideToAnsi(const wchar_t* text, int length, char* out, int outSize) {
    return ::WideToAnsi(text, length, out, outSize);
}

int CompareMultibyte(const char* left, const char* right) { return _mbscmp(Bytes(left), Bytes(right)); }

const char* FindFirstMultibyte(const char* text, char c) {
    return Chars(_mbschr(Bytes(text), static_cast<unsigned char>(c)));
}

const char* FindLastMultibyte(const char* text, char c) {
    return Chars(_mbsrchr(Bytes(text), static_cast<unsigned char>(c)));
}

const char* FindMultibyteText(const char* text, const char* part) {
    return Chars(_mbsstr(Bytes(text), Bytes(part)));
}

void OpenUnicodePath(std::ifstream& stream, const wchar_t* path, std::ios_base::openmode mode) {
    stream.open(path, mode);
}

void WriteToDebugger(const char* text) { OutputDebugStringA(text); }

}  // namespace platform
