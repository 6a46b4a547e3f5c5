// Copies of texts kept together in large blocks until Clear, so that a
// million short texts cost their characters rather than a heap block each.
// A kept copy never moves; a text longer than a block gets a block of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace reference_host {

class TextArena {
public:
    // A copy of `text` that stays valid until Clear; throws std::bad_alloc.
    std::string_view Keep(std::string_view text);
    void Clear();

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr;  // the first unused character of the last block
    std::size_t m_left = 0;  // unused characters from m_free on
};

}  // namespace reference_host
