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

#include "CString.h"

// Longest field GetField can return; a longer field counts as missing.
constexpr int kMaxFieldLength = 511;
// Where GetField puts a field's text: the caller's, so that any number of
// threads can split lines at once.
using FieldBuffer = char[kMaxFieldLength + 1];

// A field's text in a buffer of its own: text[length] is zero. The clean-up
// steps below work on it in place and only ever shorten it. A null text
// stands for a field that is missing.
struct FieldText {
    char* text = nullptr;
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

    // CountFields's count, and the quoted state the line ends in.
    int FieldCount() const;
    bool EndsQuoted() const { return m_quoted; }

    // Field n's bytes as GetField takes them (not copied, not terminated, of
    // any length): false when the line has no field n. n is 0 or less, or
    // one of the located fields.
    bool Locate(int n, const char*& start, int& length) const;
    // The position GetField overwrites with a zero when it takes field n
    // (right after the closing quote of a quoted last field), or -1.
    int CutFor(int n) const;
    // Field n copied into `buffer` and terminated; a null text when the line
    // has no field n or the field is longer than kMaxFieldLength.
    FieldText CopyField(int n, FieldBuffer& buffer) const;

private:
    // The unquoted separators numbered first - 1 to first + kLocated - 1
    // (numbered from 1), the bounds of the located fields.
    static constexpr int kBounds = kLocated + 1;

    const char* Bound(int separator) const { return m_bounds[separator - m_first + 1]; }
    bool LastField(const char*& start, const char*& end) const;
    // The last quote, when it follows the last separator: it closes a
    // quoted last field.
    const char* ClosingQuote() const;

    const char* m_line;
    const char* m_end = nullptr;               // the terminating zero
    const char* m_lastSeparator = nullptr;     // quoted or not
    const char* m_lastFieldStart = nullptr;    // after the last unquoted separator
    const char* m_lastQuote = nullptr;
    const char* m_quoteBeforeLast = nullptr;
    const char* m_bounds[kBounds] = {};
    int m_first;
    int m_separators = 0;  // unquoted
    bool m_quoted;
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

// True when the text (zero-terminated at `length`) is enclosed in one pair
// of double quotes: its first character and its last are quotes, counted by
// characters of the multibyte code page.
bool EnclosedInQuotes(const char* text, int length);

// Removes one pair of double quotes that encloses the whole text.
void StripQuotes(CString& text);
void StripQuotes(FieldText& field);

// Removes space, tab, line feed, vertical tab, form feed and carriage return.
void RemoveWhitespace(CString& text);
void RemoveWhitespace(FieldText& field);

// Removes every character that occurs in `set`.
void RemoveChars(CString& text, CString set);
// The same with the set as plain text, so that no string is built for it.
void RemoveChars(CString& text, const char* set);
void RemoveChars(FieldText& field, const char* set);

bool IsWhitespace(char c);
