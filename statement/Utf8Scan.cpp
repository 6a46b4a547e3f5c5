#include "Utf8Scan.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kWord = 8;
constexpr std::uint64_t kHighBits = 0x8080808080808080;
constexpr unsigned char kFirstHighByte = 0x80;
constexpr unsigned char kLowestContinuation = 0x80, kHighestContinuation = 0xBF;

std::uint64_t Word(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, kWord);
    return word;
}

// The first byte of 0x80 or above from `p` up to `end`, or `end`: four
// words at a time while none has a high bit, then a word, then a byte.
const unsigned char* SkipPlainBytes(const unsigned char* p, const unsigned char* end) {
    while (static_cast<std::size_t>(end - p) >= 4 * kWord &&
           ((Word(p) | Word(p + kWord) | Word(p + 2 * kWord) | Word(p + 3 * kWord)) & kHighBits) == 0)
        p += 4 * kWord;
    while (static_cast<std::size_t>(end - p) >= kWord && (Word(p) & kHighBits) == 0) p += kWord;
    while (p != end && *p < kFirstHighByte) ++p;
    return p;
}

}  // namespace

bool Utf8Scan::Take(const char* bytes, std::size_t length) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    const unsigned char* const end = p + length;
    while (!m_broken) {
        if (m_pending == 0) p = SkipPlainBytes(p, end);
        if (p == end) break;
        p = TakeCharacter(p, end);
    }
    return !m_broken;
}

// C2 to DF begin characters of 2 bytes, E0 to EF of 3, F0 to F4 of 4; every
// other byte of 0x80 or above is no first byte. The second byte's range is
// narrowed after E0 and F0 (no overlong form), ED (no surrogate) and F4
// (nothing past U+10FFFF); every other continuation byte is 80 to BF.
const unsigned char* Utf8Scan::TakeCharacter(const unsigned char* p, const unsigned char* end) {
    if (m_pending == 0) {
        const unsigned char first = *p++;
        m_lowest = kLowestContinuation;
        m_highest = kHighestContinuation;
        if (first >= 0xC2 && first <= 0xDF) {
            m_pending = 1;
        } else if (first >= 0xE0 && first <= 0xEF) {
            m_pending = 2;
            if (first == 0xE0) m_lowest = 0xA0;
            if (first == 0xED) m_highest = 0x9F;
        } else if (first >= 0xF0 && first <= 0xF4) {
            m_pending = 3;
            if (first == 0xF0) m_lowest = 0x90;
            if (first == 0xF4) m_highest = 0x8F;
        } else {
            m_broken = true;
            return p;
        }
        m_multibyte = true;
    }
    for (; m_pending > 0 && p != end; ++p, --m_pending) {
        if (*p < m_lowest || *p > m_highest) {
            m_broken = true;
            return p;
        }
        m_lowest = kLowestContinuation;
        m_highest = kHighestContinuation;
    }
    return p;
}
