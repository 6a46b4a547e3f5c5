#include "MultibyteText.h"

#include "Platform.h"

#include <cstring>

namespace {

bool IsSingleByte(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool IsSingleByteText(const char* text) {
    for (; *text; ++text)
        if (!IsSingleByte(*text)) return false;
    return true;
}

}  // namespace

const char* FindCharacter(const char* text, char c) {
    if (!IsSingleByte(c)) return platform::FindFirstMultibyte(text, c);
    for (const char* p = text; *p; ++p) {
        if (*p == c) return p;
        if (!IsSingleByte(*p)) return platform::FindFirstMultibyte(p, c);
    }
    return nullptr;
}

const char* FindLastCharacter(const char* text, char c) {
    if (!IsSingleByte(c)) return platform::FindLastMultibyte(text, c);
    const char* last = nullptr;
    for (const char* p = text; *p; ++p) {
        if (!IsSingleByte(*p)) {
            const char* later = platform::FindLastMultibyte(p, c);
            return later ? later : last;
        }
        if (*p == c) last = p;
    }
    return last;
}

const char* FindText(const char* text, const char* part) {
    if (!*part) return text;
    if (!IsSingleByteText(part)) return platform::FindMultibyteText(text, part);
    const size_t length = std::strlen(part);
    for (const char* p = text; *p; ++p) {
        if (!IsSingleByte(*p)) return platform::FindMultibyteText(p, part);
        if (*p == *part && std::strncmp(p, part, length) == 0) return p;
    }
    return nullptr;
}
