#include "LineReading.h"

#include <limits>

LineRead ReadLine(std::istream& stream, LineBuffer& line) {
    line[0] = '\0';
    stream.getline(line, kMaxLineLength + 1);
    const bool filledWithoutLineEnd = stream.fail() && !stream.eof() && stream.gcount() == kMaxLineLength;
    if (!filledWithoutLineEnd) return LineRead::Complete;
    stream.clear();
    stream.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    line[0] = '\0';
    return LineRead::TooLong;
}

void Rewind(std::istream& stream) {
    stream.clear();
    stream.seekg(0, std::ios_base::beg);
}
