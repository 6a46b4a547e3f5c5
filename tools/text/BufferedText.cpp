#include "BufferedText.h"

BufferedText::BufferedText(std::ostream& out) : m_out(out) { m_text.reserve(2 * kSize); }

BufferedText::~BufferedText() { m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size())); }

void BufferedText::Checkpoint() {
    if (m_text.size() < kSize) return;
    m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
    m_text.clear();
}
