#include "LineReading.h"

#include <limits>

namespace {

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

// Only a file whose first byte is EF costs more than one peek. A file that
// starts with EF but not with the whole mark is put back to its start, so
// its first line reads as it always did. The end-of-file state a peek at an
// empty file leaves is the one the first read would leave anyway.
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
