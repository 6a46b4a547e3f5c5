#include "TextArena.h"

#include <algorithm>
#include <cstring>

namespace reference_host {

std::string_view TextArena::Keep(std::string_view text) {
    if (text.empty()) return {};
    if (text.size() > m_left) {
        const std::size_t size = std::max(kBlockSize, text.size());
        m_blocks.push_back(std::unique_ptr<char[]>(new char[size]));
        m_free = m_blocks.back().get();
        m_left = size;
    }
    char* const copy = m_free;
    std::memcpy(copy, text.data(), text.size());
    m_free += text.size();
    m_left -= text.size();
    return {copy, text.size()};
}

void TextArena::Clear() {
    m_blocks.clear();
    m_free = nullptr;
    m_left = 0;
}

}  // namespace reference_host
