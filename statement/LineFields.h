// Splitting of one comma-separated statement line into fields, and the
// clean-up steps applied to a field before it is stored or converted.
//
// A double quote switches a quoted state on and off; a separator inside the
// quoted state does not separate. Quotes stay part of the field text until
// StripQuotes removes a pair that encloses the whole field. Fields are
// numbered from 1.
#pragma once

#include "CString.h"

// Longest field GetField can return; a longer field counts as missing.
constexpr int kMaxFieldLength = 511;
// Where GetField puts a field's text: the caller's, so that any number of
// threads can split lines at once.
using FieldBuffer = char[kMaxFieldLength + 1];

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

// Removes one pair of double quotes that encloses the whole text.
void StripQuotes(CString& text);

// Removes space, tab, line feed, vertical tab, form feed and carriage return.
void RemoveWhitespace(CString& text);

// Removes every character that occurs in `set`.
void RemoveChars(CString& text, CString set);
// The same with the set as plain text, so that no string is built for it.
void RemoveChars(CString& text, const char* set);
