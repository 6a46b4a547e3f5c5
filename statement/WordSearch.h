// Looking for a few byte values in a run of bytes a block at a time: a block
// is loaded whole and the bytes that may match are marked, so that only
// those are looked at one by one. Blocks are read only within the run, so
// nothing past its end is touched.
//
// Where the processor has SSE2 (every x64 one), a block is 32 bytes in two
// SSE registers and a byte is marked by one bit of its own. Elsewhere (the x86 build) a block is
// a machine word and a byte is marked by its high bit. Marks are exact: a
// byte is marked when it matches and only then, and the lowest mark is the
// first match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace word_search {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the lowest mark is the first byte");

#if defined(__SSE2__)

// Two SSE registers: 32 bytes, one bit of a 32-bit mark each.
struct Block {
    __m128i low, high;
};
using Marks = std::uint32_t;
constexpr std::size_t kBytes = 32;

inline Block Load(const char* bytes) {
    return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16))};
}
inline Block Repeated(char c) { return {_mm_set1_epi8(c), _mm_set1_epi8(c)}; }
inline Marks MarksOf(__m128i low, __m128i high) {
    return static_cast<Marks>(_mm_movemask_epi8(low)) | static_cast<Marks>(_mm_movemask_epi8(high)) << 16;
}
// The bytes of `block` that equal the byte repeated in `pattern`.
inline Marks EqualBytes(Block block, Block pattern) {
    return MarksOf(_mm_cmpeq_epi8(block.low, pattern.low), _mm_cmpeq_epi8(block.high, pattern.high));
}
inline Marks ZeroBytes(Block block) { return EqualBytes(block, Repeated('\0')); }
// The bytes of 0x80 or above.
inline Marks HighBytes(Block block) { return MarksOf(block.low, block.high); }
// Position in its block of the byte whose mark is the lowest of `marks` (not 0).
inline int FirstMarked(Marks marks) { return __builtin_ctz(marks); }
// Position in its block of the byte whose mark is the highest of `marks` (not 0).
inline int LastMarked(Marks marks) { return 31 - __builtin_clz(marks); }
// The mark of the byte at `position` of a block.
inline Marks MarkAt(int position) { return Marks(1) << position; }
// The marks of every byte of a block, and of its last byte.
constexpr Marks kAllMarks = 0xFFFFFFFF;
constexpr Marks kLastMark = 0x80000000;
// For each byte, the parity of the marks up to and including its own: its
// mark when an odd number of the bytes up to it are marked.
inline Marks RunningParity(Marks marks) {
    marks ^= marks << 1;
    marks ^= marks << 2;
    marks ^= marks << 4;
    marks ^= marks << 8;
    return marks ^ marks << 16;
}

#else

using Block = std::uintptr_t;
using Marks = std::uintptr_t;
constexpr std::size_t kBytes = sizeof(Block);
constexpr Block kLowBits = ~Block(0) / 0xFF;  // 0x0101...
constexpr Block kHighBits = kLowBits * 0x80;  // 0x8080...

inline Block Load(const char* bytes) {
    Block block;
    std::memcpy(&block, bytes, kBytes);
    return block;
}
inline Block Repeated(char c) { return kLowBits * static_cast<unsigned char>(c); }
inline Marks ZeroBytes(Block block) { return ~(((block & ~kHighBits) + ~kHighBits) | block | ~kHighBits); }
inline Marks EqualBytes(Block block, Block pattern) { return ZeroBytes(block ^ pattern); }
inline Marks HighBytes(Block block) { return block & kHighBits; }
inline int FirstMarked(Marks marks) {
    if constexpr (kBytes == 8)
        return __builtin_ctzll(static_cast<unsigned long long>(marks)) / 8;
    else
        return __builtin_ctz(static_cast<unsigned>(marks)) / 8;
}
inline int LastMarked(Marks marks) {
    if constexpr (kBytes == 8)
        return (63 - __builtin_clzll(static_cast<unsigned long long>(marks))) / 8;
    else
        return (31 - __builtin_clz(static_cast<unsigned>(marks))) / 8;
}
inline Marks MarkAt(int position) { return Marks(0x80) << (8 * position); }
constexpr Marks kAllMarks = kHighBits;
constexpr Marks kLastMark = Marks(0x80) << (8 * (kBytes - 1));
inline Marks RunningParity(Marks marks) {
    for (std::size_t shift = 8; shift < 8 * kBytes; shift *= 2) marks ^= marks << shift;
    return marks;
}

#endif

// The first byte `c` from `p` up to `end`, or `end`.
inline const char* Find(const char* p, const char* end, char c) {
    const Block pattern = Repeated(c);
    for (; end - p >= static_cast<std::ptrdiff_t>(kBytes); p += kBytes)
        if (const Marks marks = EqualBytes(Load(p), pattern)) return p + FirstMarked(marks);
    while (p != end && *p != c) ++p;
    return p;
}

}  // namespace word_search
