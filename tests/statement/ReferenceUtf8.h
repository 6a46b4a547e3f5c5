// The plain twin of Utf8Scan (statement/Utf8Scan.h): the text decoded one
// character at a time, the way the UTF-8 definition reads. The number of
// leading one bits of a first byte gives the character's length (1 to 4),
// each further byte must be 10xxxxxx, and the code point must need that
// length (no overlong form), must not be a surrogate and must not pass
// U+10FFFF. Slow and plainly right; the Utf8Scan tests and the
// statement_reader fuzz harness hold the scan equal to it.
#pragma once

#include <string>

namespace reference {

// Every byte belongs to a well-formed UTF-8 character, and at least one
// character has more than one byte.
inline bool IsMultibyteUtf8(const std::string& bytes) {
    static const unsigned long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};  // by length
    bool multibyte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char first = static_cast<unsigned char>(bytes[i]);
        int length = 0;
        while (length < 5 && (first & (0x80 >> length))) ++length;
        if (length == 0) length = 1;            // 0xxxxxxx: a character of its own
        else if (length == 1 || length > 4) return false;  // a continuation byte, or 5 bits or more
        if (i + static_cast<std::size_t>(length) > bytes.size()) return false;
        unsigned long code = length == 1 ? first : first & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
        multibyte = multibyte || length > 1;
        i += static_cast<std::size_t>(length);
    }
    return multibyte;
}

}  // namespace reference
