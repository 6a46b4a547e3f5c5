// Reading one physical line of a statement file into a fixed buffer.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <memory>

constexpr int kMaxLineLength = 2047;
constexpr int kLineBufferSize = kMaxLineLength + 2;
using LineBuffer = char[kLineBufferSize];

enum class LineRead { Complete, TooLong, End };

// Reads the next line (without its line feed) into `line`. At the end of the
// file the line is empty and the result is End (an empty line before the end
// is Complete). A line longer than kMaxLineLength is not kept: the rest of it
// is passed over, so the next read starts at the following line, and the
// result is TooLong with an empty buffer.
LineRead ReadLine(std::istream& stream, LineBuffer& line);

// Reads the lines of a stream in large blocks: the same lines, with the same
// results, as ReadLine would give from the same stream (in either open mode:
// the stream's own reads turn CR LF into LF in text mode, as they do for
// ReadLine), without a call into the stream for every line. What it has
// read ahead belongs to it: after the stream is moved (Rewind), Discard it.
// The block is allocated on the first read, which can therefore throw
// std::bad_alloc.
class LineReader {
public:
    explicit LineReader(std::istream& stream) : m_stream(stream) {}

    LineRead Read(LineBuffer& line);
    // Bytes of the last line read whole, before its terminator.
    std::size_t Length() const { return m_length; }
    void Discard();
    // Hands what is left of the stream to `take`, a piece at a time (what
    // was read ahead, then the rest of the stream block by block), until
    // `take` returns false or the stream ends. The lines of those pieces are
    // gone: rewind the stream and Discard before reading lines again.
    void ReadRest(const std::function<bool(const char* bytes, std::size_t length)>& take);

private:
    // Moves what is left to the front of the block and reads on after it:
    // false when the stream has nothing more.
    bool Fill();
    // The `length` bytes from m_begin as the line, and past its line feed.
    LineRead Take(LineBuffer& line, std::size_t length, std::size_t lineFeed);
    // Passes over the rest of a line too long to keep, its line feed too.
    void PassOverLine();

    std::istream& m_stream;
    std::unique_ptr<char[]> m_block;
    std::size_t m_begin = 0;  // the first byte not yet read as a line
    std::size_t m_end = 0;    // the end of what the stream gave
    std::size_t m_length = 0;
};

// Passes over a UTF-8 byte-order mark (EF BB BF) when the stream, standing at
// the start of the file, begins with one; otherwise leaves the stream where
// it is. Spreadsheet programs write one when they save a statement again, and
// left in place it would become part of the first line's first field. Call
// it once right after opening; Rewind calls it itself. True when a mark was
// passed over: the file's text is then UTF-8.
bool SkipByteOrderMark(std::istream& stream);

// Moves back to the start of the first line, past a byte-order mark,
// whatever state the last read left.
void Rewind(std::istream& stream);
