#include "LineReading.h"

#include "WordSearch.h"

#include <cstring>
#include <limits>

namespace {

// Large enough that a read of the stream brings hundreds of lines, and much
// larger than the longest line kept, so that one always fits after the rest
// of the block is moved to its front.
constexpr std::size_t kBlockSize = 64 * 1024;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::streamsize kByteOrderMarkLength = sizeof kByteOrderMark - 1;

void SeekToStart(std::istream& stream) {
    stream.clear();
    stream.seekg(0, std::ios_base::beg);
}

}  // namespace

LineRead ReadLine(std::istream& stream, LineBuffer& line) {
    line[0] = '\0';
    stream.getline(line, kMaxLineLength + 1);
    if (stream.gcount() == 0 && stream.eof()) return LineRead::End;
    const bool filledWithoutLineEnd = stream.fail() && !stream.eof() && stream.gcount() == kMaxLineLength;
    if (!filledWithoutLineEnd) return LineRead::Complete;
    stream.clear();
    stream.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    line[0] = '\0';
    return LineRead::TooLong;
}

// A line is complete when its line feed is in the block, or when the stream
// ends after it (a last line without one); the end of the stream with
// nothing pending is the end. A line longer than kMaxLineLength is passed
// over whole, at whatever point its length shows.
LineRead LineReader::Read(LineBuffer& line) {
    line[0] = '\0';
    for (;;) {
        const char* start = m_block.get() + m_begin;
        const char* stop = m_block.get() + m_end;
        const char* lineFeed = word_search::Find(start, stop, '\n');
        const std::size_t length = static_cast<std::size_t>(lineFeed - start);
        if (length > static_cast<std::size_t>(kMaxLineLength)) {
            PassOverLine();
            return LineRead::TooLong;
        }
        if (lineFeed != stop) return Take(line, length, 1);
        if (!Fill()) return length == 0 ? LineRead::End : Take(line, length, 0);
    }
}

LineRead LineReader::Take(LineBuffer& line, std::size_t length, std::size_t lineFeed) {
    std::memcpy(line, m_block.get() + m_begin, length);
    line[length] = '\0';
    m_length = length;
    m_begin += length + lineFeed;
    return LineRead::Complete;
}

void LineReader::PassOverLine() {
    for (;;) {
        const char* start = m_block.get() + m_begin;
        const char* stop = m_block.get() + m_end;
        const char* lineFeed = word_search::Find(start, stop, '\n');
        if (lineFeed != stop) {
            m_begin = static_cast<std::size_t>(lineFeed + 1 - m_block.get());
            return;
        }
        m_begin = m_end;
        if (!Fill()) return;
    }
}

// A stream that fails to read ends there, as at the end of the file: what
// it gave before is read, nothing after it. (The file buffer reports a
// failed read of the file by throwing.)
bool LineReader::Fill() {
    if (!m_block) m_block.reset(new char[kBlockSize]);
    const std::size_t kept = m_end - m_begin;
    std::memmove(m_block.get(), m_block.get() + m_begin, kept);
    m_begin = 0;
    m_end = kept;
    std::streamsize got = 0;
    try {
        got = m_stream.rdbuf()->sgetn(m_block.get() + kept, static_cast<std::streamsize>(kBlockSize - kept));
    } catch (const std::ios_base::failure&) {
        return false;
    }
    if (got <= 0) return false;
    m_end += static_cast<std::size_t>(got);
    return true;
}

void LineReader::ReadRest(const std::function<bool(const char* bytes, std::size_t length)>& take) {
    do {
        if (m_end != m_begin && !take(m_block.get() + m_begin, m_end - m_begin)) return;
        m_begin = m_end;
    } while (Fill());
}

void LineReader::Discard() {
    m_begin = 0;
    m_end = 0;
}

// Only a file whose first byte is EF costs more than one peek. A file that
// starts with EF but not with the whole mark is put back to its start, so
// its first line reads whole, from its first byte. The end-of-file state a
// peek at an empty file leaves is the one the first read would leave anyway.
bool SkipByteOrderMark(std::istream& stream) {
    if (stream.peek() != static_cast<unsigned char>(kByteOrderMark[0])) return false;
    char start[kByteOrderMarkLength] = {};
    stream.read(start, kByteOrderMarkLength);
    if (stream.gcount() == kByteOrderMarkLength && std::char_traits<char>::compare(start, kByteOrderMark, kByteOrderMarkLength) == 0)
        return true;
    SeekToStart(stream);
    return false;
}

void Rewind(std::istream& stream) {
    SeekToStart(stream);
    SkipByteOrderMark(stream);
}
