// Where the tool's text goes. The tool writes UTF-8. A Windows console shows
// bytes in its own (OEM) code page, which garbles every character beyond
// ASCII and shifts the table's columns, so text for a console is handed to
// it as wide characters (WriteConsoleW); text for a file or a pipe stays the
// UTF-8 bytes the tool writes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <streambuf>

// Whether `handle` is a console: the console answers its mode query. A file,
// a pipe or the NUL device is none (NUL is a character device, as a console
// is, so the file type cannot tell).
bool IsConsole(HANDLE handle);

// Takes UTF-8 text and hands it on as wide text, whole characters only: the
// bytes of a character cut by a flush wait for the rest of it. Bytes that are
// not UTF-8 become U+FFFD.
class WideTextBuffer : public std::streambuf {
public:
    using WideWriter = std::function<void(const wchar_t* text, std::size_t length)>;

    explicit WideTextBuffer(WideWriter write);
    WideTextBuffer(const WideTextBuffer&) = delete;
    WideTextBuffer& operator=(const WideTextBuffer&) = delete;
    ~WideTextBuffer() override;

protected:
    int_type overflow(int_type character) override;
    int sync() override;

private:
    void WriteBuffered(bool all);

    static constexpr std::size_t kSize = 4096;
    WideWriter m_write;
    char m_bytes[kSize];
};

// While it lives, sends what `stream` is given to the console `handle`
// through a WideTextBuffer, when `handle` is a console; else leaves `stream`
// as it is.
class ConsoleOutput {
public:
    ConsoleOutput(std::ostream& stream, HANDLE handle);
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;
    ~ConsoleOutput();

private:
    std::ostream& m_stream;
    std::streambuf* m_previous = nullptr;
    std::unique_ptr<WideTextBuffer> m_console;
};
