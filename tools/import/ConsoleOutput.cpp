#include "ConsoleOutput.h"

#include <cstring>
#include <string>

namespace {

// How many of the `size` bytes at `text` make whole UTF-8 characters: all
// but a last lead byte still missing some of its continuation bytes.
std::size_t WholeCharacters(const char* text, std::size_t size) {
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

void WriteToConsole(HANDLE console, const wchar_t* text, std::size_t length) {
    while (length > 0) {
        DWORD written = 0;
        if (!WriteConsoleW(console, text, static_cast<DWORD>(length), &written, nullptr) || written == 0) return;
        text += written;
        length -= written;
    }
}

}  // namespace

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

WideTextBuffer::WideTextBuffer(WideWriter write) : m_write(std::move(write)) { setp(m_bytes, m_bytes + kSize); }

WideTextBuffer::~WideTextBuffer() { WriteBuffered(true); }

WideTextBuffer::int_type WideTextBuffer::overflow(int_type character) {
    WriteBuffered(false);
    if (traits_type::eq_int_type(character, traits_type::eof())) return traits_type::not_eof(character);
    *pptr() = traits_type::to_char_type(character);
    pbump(1);
    return character;
}

int WideTextBuffer::sync() {
    WriteBuffered(false);
    return 0;
}

// Hands on the buffered bytes (`all`, or up to the last whole character) and
// keeps the rest at the front of the buffer.
void WideTextBuffer::WriteBuffered(bool all) {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    const std::size_t whole = all ? size : WholeCharacters(m_bytes, size);
    if (whole > 0) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, m_bytes, static_cast<int>(whole), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, m_bytes, static_cast<int>(whole), wide.data(), length);
        m_write(wide.data(), wide.size());
    }
    std::memmove(m_bytes, m_bytes + whole, size - whole);
    setp(m_bytes, m_bytes + kSize);
    pbump(static_cast<int>(size - whole));
}

ConsoleOutput::ConsoleOutput(std::ostream& stream, HANDLE handle) : m_stream(stream) {
    if (!IsConsole(handle)) return;
    m_stream.flush();
    m_console = std::make_unique<WideTextBuffer>(
        [handle](const wchar_t* text, std::size_t length) { WriteToConsole(handle, text, length); });
    m_previous = m_stream.rdbuf(m_console.get());
}

ConsoleOutput::~ConsoleOutput() {
    if (!m_console) return;
    m_stream.flush();
    m_stream.rdbuf(m_previous);
}
