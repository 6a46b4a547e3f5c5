// Text formatted straight into one buffer and handed to a stream in large
// pieces: the output writers write every line into it, so that a million
// lines cost a few hundred writes to the stream and no string a line. The
// buffer is a std::string, so that the text functions that append to one
// (AppendPrintable and the like) write into it as they are.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

class BufferedText {
public:
    explicit BufferedText(std::ostream& out);
    BufferedText(const BufferedText&) = delete;
    BufferedText& operator=(const BufferedText&) = delete;
    // Hands on what is left.
    ~BufferedText();

    // The text not yet handed on, to append to.
    std::string& Text() { return m_text; }
    BufferedText& operator<<(std::string_view text) {
        m_text.append(text);
        return *this;
    }
    BufferedText& operator<<(char c) {
        m_text += c;
        return *this;
    }
    // The text so far is whole: once it has grown past the buffer's size, it
    // is handed on. Text is handed on only here, so that what a writer
    // appends can still be changed until it says so (once a line).
    void Checkpoint();

private:
    static constexpr std::size_t kSize = 64 * 1024;

    std::ostream& m_out;
    std::string m_text;
};
