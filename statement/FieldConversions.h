// The classic field conversions, on CString: the amount and the two date
// forms of a field's text, the month table's lookup, and the two clean-up
// steps of a seven-character date. None reports failure: a text that does
// not convert gives 0.
//
// Two layers: these take a CString as it stands and hand its text to the
// reader's own readings, which work on a field's bytes in the line and are
// what the reader calls: Amounts.h (ReadAmount), Dates.h (the date
// forms from text, DateFromCalendar) and MonthTable.h (MonthOfAbbreviation).
// The rules of each conversion are stated there.
#pragma once

#include "CString.h"
#include "Platform.h"

// Amount of a field: its enclosing quotes go first (see StripQuotes), then
// it is read as UnquotedAmount reads it, never negative; 0 for a field that
// is empty or not an amount as the bank writes one.
double ParseAmount(CString text);

// Day/month/year date with slashes, falling back to year-month-day with
// dashes, as the reader's ParseSlashDate(const char*) reads it.
DATE ParseSlashDate(CString text);

// Seven-character date (03NOV11; dashes and letter case do not matter), as
// the reader's ParseMonthDate(const char*) reads it.
DATE ParseMonthDate(const CString& text);

// Month number 1 to 12 of a three-letter capital abbreviation (JAN to DEC),
// as MonthOfAbbreviation finds it.
bool MonthFromAbbreviation(const CString& abbreviation, int& month);

// The same string, with its letters a to z made capitals.
CString& ToUpper(CString& text);
// The same string, with every '-' removed.
CString& RemoveDashes(CString& text);
