// Fuzzes the line splitter and the field clean-up functions: ReadLine over
// the whole input (and the reader's block reads, which must give the same
// lines), then CountFields, GetField and PeekField, StripQuotes,
// RemoveWhitespace and RemoveChars on each line; every field is a piece of
// its line, PeekField agrees with GetField, and the whole splitting,
// clean-up (with sets of one and of several characters, a quote and a byte
// above 0x7F among them) and record reading of each line is what the plain
// reference of ReferenceLineFields.h gives. The
// fields are split once by the reference; GetField and PeekField, each of
// which walks the whole line, are compared for every field number (and a
// few past the end) on a line of up to 32 fields and for runs of them on a
// longer one (reference::FieldNumbersToCompare), so that a line costs time
// in proportion to its length. A line that the input repeats, and a field
// text that an earlier line had, are checked once. The first byte picks
// the separator; the rest is the text.
#include "FuzzSupport.h"
#include "LineFields.h"
#include "LineReading.h"
#include "ReferenceLineFields.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

namespace {

// What an input's earlier lines checked: the lines (a line is checked once
// per input, every check being a function of its text and the separator)
// and the texts of the fields whose clean-up was checked.
struct Checked {
    std::set<std::string> lines, fields;
};

// The splitting against the reference (which holds every field taken to be
// a piece of its line within the field limit, and PeekField to agree with
// GetField), and the clean-up of every field against the reference.
void CheckLine(const LineBuffer& original, char separator, Checked& checked) {
    if (!checked.lines.insert(original).second) return;
    const size_t length = std::strlen(original);
    FUZZ_CHECK(length <= static_cast<size_t>(kMaxLineLength));

    FieldBuffer buffer;
    int quoted = 0;
    FUZZ_CHECK(GetField(nullptr, separator, 1, buffer) == nullptr);
    FUZZ_CHECK(CountFields(nullptr, separator, quoted) == 0);
    // The throwing reading of a record is compared on the input's first line.
    const bool firstLine = checked.lines.size() == 1;
    const std::string difference =
        reference::DifferenceFromReference(original, separator, checked.fields, firstLine);
    if (!difference.empty()) std::fprintf(stderr, "differs from the reference: %s\n", difference.c_str());
    FUZZ_CHECK(difference.empty());
}

// The two readings of an input's lines, kept from one input to the next:
// each stream is given the new text, and the block reader drops what it
// read ahead but keeps its block (64 KB, allocated on its first read).
struct LineReadings {
    std::istringstream stream, blockStream;
    LineReader blocks{blockStream};

    void Start(const std::string& text) {
        for (std::istringstream* each : {&stream, &blockStream}) {
            each->str(text);
            each->clear();
        }
        blocks.Discard();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceDiagnostics();
    if (size == 0) return 0;
    const char separator = (data[0] & 1) ? static_cast<char>(data[0]) : ',';
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    static LineReadings readings;
    readings.Start(text);
    std::istringstream& stream = readings.stream;
    LineReader& blocks = readings.blocks;
    LineBuffer line, blockLine;
    Checked checked;
    // Every line of the input, the over-long ones included, then one read at
    // the end; each read consumes at least one byte until the end.
    for (size_t reads = 0; reads <= size; ++reads) {
        const bool atEnd = stream.eof();
        const LineRead result = ReadLine(stream, line);
        FUZZ_CHECK(blocks.Read(blockLine) == result);
        FUZZ_CHECK(std::strcmp(line, blockLine) == 0);
        if (result == LineRead::TooLong) FUZZ_CHECK(line[0] == '\0');
        CheckLine(line, separator, checked);
        if (atEnd) break;
    }
    return 0;
}
