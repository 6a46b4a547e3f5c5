// Copying a few bytes without a call: the reader copies several short
// pieces of every line (fields into the record's strings, the last bytes of
// a line into a block of their own), where a call costs more than the copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace byte_copy {

// Two words: the first and the last `count` (one to two words) bytes, both
// read before either is written.
template <typename Word>
inline void MoveWords(char* to, const char* from, int count) {
    Word head, tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + count - sizeof tail, sizeof tail);
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + count - sizeof tail, &tail, sizeof tail);
}

// memmove of `count` bytes (at least 1): without a call up to 16 bytes.
inline void Move(char* to, const char* from, int count) {
    if (count > 16) {
        std::memmove(to, from, static_cast<std::size_t>(count));
    } else if (count >= 8) {
        MoveWords<std::uint64_t>(to, from, count);
    } else if (count >= 4) {
        MoveWords<std::uint32_t>(to, from, count);
    } else {
        const char first = from[0], middle = from[count / 2], last = from[count - 1];
        to[0] = first;
        to[count / 2] = middle;
        to[count - 1] = last;
    }
}

}  // namespace byte_copy
