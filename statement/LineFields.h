// Splitting of one comma-separated statement line into fields, and the
// clean-up steps applied to a field before it is stored or converted.
//
// A double quote switches a quoted state on and off; a separator inside the
// quoted state does not separate. Quotes stay part of the field text until
// StripQuotes removes a pair that encloses the whole field. Fields are
// numbered from 1.
//
// Every function here takes its fields from one walk of the line
// (LineSplit), so the quote and last-field rules are written once; the
// reader splits each line once and takes all its fields from that walk.
#pragma once

#include "ByteCopy.h"
#include "CString.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Longest field GetField can return; a longer field counts as missing.
constexpr int kMaxFieldLength = 511;
// Where GetField puts a field's text: the caller's, so that any number of
// threads can split lines at once.
using FieldBuffer = char[kMaxFieldLength + 1];

// Room for a text of `length` bytes and its terminator: on the stack for a
// text of a field's size, on the heap for a longer one.
class TextBuffer {
public:
    explicit TextBuffer(std::size_t length) {
        if (length >= sizeof m_local) {
            m_large.resize(length + 1);
            m_text = &m_large[0];
        }
    }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    char* Get() { return m_text; }

private:
    FieldBuffer m_local;
    std::string m_large;
    char* m_text = m_local;
};

// A piece of a line: `length` bytes from `text`, not terminated. A null
// text stands for a field the line does not have.
struct FieldSpan {
    const char* text = nullptr;
    int length = 0;
};

// One walk of a line: how many fields it has, where each of a run of
// kLocated fields begins and ends, and what the last-field rule needs.
class LineSplit {
public:
    static constexpr int kLocated = 8;

    // Splits `line` (null: a line of no fields) at `separator`, locating the
    // fields `first` to first + kLocated - 1. `quoted` is the quoted state
    // the walk starts in (CountFields carries it from line to line).
    LineSplit(const char* line, char separator, int first = 1, bool quoted = false);
    // The same for a line whose length is known: the bytes before its
    // terminator (a zero byte among them still ends the line).
    LineSplit(const char* line, std::size_t length, char separator, int first = 1, bool quoted = false);

    // CountFields's count, and the quoted state the line ends in.
    int FieldCount() const {
        if (!m_line) return 0;
        return m_quoted ? m_separators : m_separators + 1;
    }
    bool EndsQuoted() const { return m_quoted; }
    // True when no byte of the line is 0x80 or above.
    bool SingleByte() const { return m_singleByte; }

    // Field n's bytes as GetField takes them (not copied, of any length), or
    // a null text when the line has no field n. n is 0 or less, or one of
    // the located fields.
    FieldSpan Field(int n) const;
    // The same for a field known to end at an unquoted separator (n below
    // the count of fields, n located), without checks.
    FieldSpan InnerField(int n) const {
        const char* start = n == 1 ? m_line : Bound(n - 1) + 1;
        return {start, static_cast<int>(Bound(n) - start)};
    }
    // The position GetField overwrites with a zero when it takes field n
    // (right after the closing quote of a quoted last field), or -1.
    int CutFor(int n) const;

private:
    // The unquoted separators numbered first - 1 to first + kLocated - 1
    // (numbered from 1), the bounds of the located fields.
    static constexpr int kBounds = kLocated + 1;

    const char* Bound(int separator) const { return m_bounds[separator - m_first + 1]; }
    // Takes every quote and separator up to the line's first zero byte or
    // `end`; returns where the line ends.
    const char* Walk(const char* p, const char* end);
    FieldSpan LastField() const;
    // The last quote, when it follows the last separator: it closes a
    // quoted last field.
    const char* ClosingQuote() const;

    const char* m_line;
    const char* m_end = nullptr;              // the terminating zero
    const char* m_lastSeparator = nullptr;    // quoted or not
    const char* m_lastFieldStart = nullptr;   // after the last unquoted separator
    const char* m_lastQuote = nullptr;
    const char* m_quoteBeforeLast = nullptr;
    const char* m_bounds[kBounds] = {};
    int m_first;
    int m_separators = 0;  // unquoted
    char m_separator;
    bool m_quoted;
    bool m_singleByte = true;
};

// Number of fields of `line`. `quoted` (0 or 1) is read and left in its final
// state, so a caller can carry an open quote from one line into the next; a
// quote still open at the end makes the count one smaller. A null line has 0.
int CountFields(const char* line, char separator, int& quoted);

// Text of field `n`, copied into `buffer` (the result points into it), or
// null when the line has no field n or the field is longer than
// kMaxFieldLength. The last field is taken from the last separator of the
// whole line; when a quoted last field has characters after its closing
// quote, the line is cut right after that quote (the caller's line changes).
const char* GetField(char* line, char separator, int n, FieldBuffer& buffer);
// The same field text as GetField, from a line that stays as it is.
const char* PeekField(const char* line, char separator, int n, FieldBuffer& buffer);

// Field n of a line already split (`split`, a LineSplit of `line` that
// locates field n), as GetField takes it, cutting the line as it does; not
// copied, of any length.
FieldSpan TakeField(char* line, const LineSplit& split, int n);
// The field copied into `buffer` and terminated, or null when it is missing
// or longer than kMaxFieldLength.
const char* CopyField(FieldSpan field, FieldBuffer& buffer);

// The field without one pair of double quotes that encloses it whole: its
// first character and its last are quotes, counted by characters of the
// multibyte code page (`singleByte`: it is known to hold only bytes below
// 0x80, which are characters of their own in every code page).
inline FieldSpan Unquoted(FieldSpan field, bool singleByte);
// Whether the last byte of the field, a quote, is a character of its own
// when the field is read by characters (Unquoted's question for a field of
// double-byte characters).
bool QuoteEndsField(FieldSpan field);

// Copies the field's bytes to `out`, leaving out every byte `drop` accepts,
// and returns how many it wrote (no terminator). `out` may be the field's
// own bytes, or lie before them.
template <typename Drop>
int CopyWithout(FieldSpan field, char* out, Drop drop) {
    char* const start = out;
    for (const char *p = field.text, *end = field.text + field.length; p != end; ++p) {
        const char c = *p;
        if (!drop(c)) *out++ = c;
    }
    return static_cast<int>(out - start);
}

// True when the field is known to hold no whitespace: a field of at most 8
// bytes is looked at all at once (whitespace lies below 0x21, and a byte
// below 0x21 shows in the word); a longer one is not known.
inline bool WithoutWhitespace(FieldSpan field) {
    constexpr std::uint64_t kLowBits = 0x0101010101010101, kHighBits = kLowBits * 0x80;
    if (field.length > 8) return false;
    char bytes[8] = {'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A'};
    if (field.length > 0) byte_copy::Move(bytes, field.text, field.length);
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return ((word - kLowBits * 0x21) & ~word & kHighBits) == 0;
}

// Removes one pair of double quotes that encloses the whole text.
void StripQuotes(CString& text);

// Removes space, tab, line feed, vertical tab, form feed and carriage return.
void RemoveWhitespace(CString& text);

// Removes every character that occurs in `set`.
void RemoveChars(CString& text, CString set);
// The same with the set as plain text, so that no string is built for it.
void RemoveChars(CString& text, const char* set);

// What the reader calls for every field of every line, inline.

inline FieldSpan LineSplit::Field(int n) const {
    if (!m_line || n < 1 || n > m_separators + 1) return {};
    return n > m_separators ? LastField() : InnerField(n);
}

inline int LineSplit::CutFor(int n) const {
    if (!m_line || n != m_separators + 1) return -1;
    const char* closing = ClosingQuote();
    return closing ? static_cast<int>(closing + 1 - m_line) : -1;
}

inline FieldSpan Unquoted(FieldSpan field, bool singleByte) {
    const bool enclosed = field.length >= 2 && field.text[0] == '"' && field.text[field.length - 1] == '"' &&
                          (singleByte || QuoteEndsField(field));
    return enclosed ? FieldSpan{field.text + 1, field.length - 2} : field;
}

inline FieldSpan TakeField(char* line, const LineSplit& split, int n) {
    const int cut = split.CutFor(n);
    if (cut >= 0) line[cut] = '\0';
    return split.Field(n);
}
