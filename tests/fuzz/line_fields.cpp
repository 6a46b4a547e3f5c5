// Fuzzes the line splitter and the field clean-up functions: ReadLine over
// the whole input (and the reader's block reads, which must give the same
// lines), then CountFields, GetField and PeekField for every field number
// (and a few past the end), StripQuotes, RemoveWhitespace and RemoveChars on
// each line; every field is a piece of its line, PeekField agrees with
// GetField, the clean-up of each field keeps its promises, and the whole
// splitting, clean-up and record reading of each line is what the plain
// reference of ReferenceLineFields.h gives. The first byte picks the
// separator; the rest is the text.
#include "FuzzSupport.h"
#include "LineFields.h"
#include "LineReading.h"
#include "ReferenceLineFields.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace {

// The clean-up set the reader uses, with a byte above 0x7F added (the pound
// sign of code page 1252), so that both ways of searching a set are taken.
constexpr char kCleanUpSet[] = ",-\"\xA3";

bool IsWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A field's clean-up: quotes strip as a pair or not at all, no whitespace
// stays, and both kinds of character set remove the same characters.
void CheckCleanUp(const CString& field) {
    CString text = field;
    StripQuotes(text);
    FUZZ_CHECK(text.GetLength() == field.GetLength() || text.GetLength() == field.GetLength() - 2);
    CString spaced = text;
    RemoveWhitespace(spaced);
    FUZZ_CHECK(spaced.GetLength() <= text.GetLength());
    for (const char* p = spaced.GetText(); *p; ++p) FUZZ_CHECK(!IsWhitespace(*p));
    CString kept = text;
    RemoveChars(kept, kCleanUpSet);
    for (const char* c = kCleanUpSet; *c; ++c) FUZZ_CHECK(kept.Find(*c) < 0);
    CString keptByString = text;
    RemoveChars(keptByString, CString(kCleanUpSet));
    FUZZ_CHECK(keptByString == kept);
}

void CheckLine(const LineBuffer& original, char separator) {
    const size_t length = std::strlen(original);
    FUZZ_CHECK(length <= static_cast<size_t>(kMaxLineLength));

    for (int startQuoted = 0; startQuoted <= 1; ++startQuoted) {
        int quoted = startQuoted;
        const int count = CountFields(original, separator, quoted);
        FUZZ_CHECK(quoted == 0 || quoted == 1);
        FUZZ_CHECK(count >= 0 && static_cast<size_t>(count) <= length + 1);
    }

    int quoted = 0;
    const int count = CountFields(original, separator, quoted);
    for (int n = -1; n <= count + 2; ++n) {
        LineBuffer line;  // GetField may cut the line, so each call gets a copy
        std::memcpy(line, original, sizeof line);
        FieldBuffer buffer, peeked;
        const char* field = GetField(line, separator, n, buffer);
        const char* peek = PeekField(original, separator, n, peeked);  // the same, from the line unchanged
        FUZZ_CHECK((field == nullptr) == (peek == nullptr));
        if (!field) continue;
        FUZZ_CHECK(n >= 1);
        FUZZ_CHECK(std::strcmp(field, peek) == 0);
        FUZZ_CHECK(std::strlen(field) <= static_cast<size_t>(kMaxFieldLength));
        FUZZ_CHECK(std::strstr(original, field) != nullptr);  // a field is a piece of its line
        CheckCleanUp(CString(field));
    }
    FieldBuffer buffer;
    FUZZ_CHECK(GetField(nullptr, separator, 1, buffer) == nullptr);
    FUZZ_CHECK(CountFields(nullptr, separator, quoted) == 0);
    const std::string difference = reference::DifferenceFromReference(original, separator);
    if (!difference.empty()) std::fprintf(stderr, "differs from the reference: %s\n", difference.c_str());
    FUZZ_CHECK(difference.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceDiagnostics();
    if (size == 0) return 0;
    const char separator = (data[0] & 1) ? static_cast<char>(data[0]) : ',';
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::istringstream stream(text), blockStream(text);
    LineReader blocks(blockStream);
    LineBuffer line, blockLine;
    // Every line of the input, the over-long ones included, then one read at
    // the end; each read consumes at least one byte until the end.
    for (size_t reads = 0; reads <= size; ++reads) {
        const bool atEnd = stream.eof();
        const LineRead result = ReadLine(stream, line);
        FUZZ_CHECK(blocks.Read(blockLine) == result);
        FUZZ_CHECK(std::strcmp(line, blockLine) == 0);
        if (result == LineRead::TooLong) FUZZ_CHECK(line[0] == '\0');
        CheckLine(line, separator);
        if (atEnd) break;
    }
    return 0;
}
