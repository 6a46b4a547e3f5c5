// Conversion of statement field texts into numbers: amounts into doubles,
// dates into OLE Automation DATE values. None of them reports failure: a text
// that does not convert gives 0.
#pragma once

#include "CString.h"
#include "LineFields.h"
#include "Platform.h"

// Amount of a field: quotes, whitespace, commas and minus signs are dropped
// (so the result is never negative), then the leading decimal number is read
// (optional plus sign, digits, optional fraction, optional exponent). A text
// without a leading number, or one whose value is not a finite double (for
// example 1e999), gives 0.
double ParseAmount(CString text);
// The same for a field whose enclosing quotes are gone (see Unquoted).
double UnquotedAmount(FieldSpan field);

// Day/month/year date with slashes, falling back to year-month-day with
// dashes (a four-digit year first) for a text without a slash.
DATE ParseSlashDate(CString text);
DATE ParseSlashDate(const char* text);

// Seven-character date: two-digit day, month abbreviation, two-digit year,
// for example 03NOV11 (dashes and letter case do not matter).
DATE ParseMonthDate(const CString& text);
DATE ParseMonthDate(const char* text);

// The DATE of a real calendar date from 1 January 1 on (year, month 1 to 12,
// day of that month), by arithmetic: the platform's conversion gives the same
// number for every such date it accepts.
DATE DateFromCalendar(int year, int month, int day);

// Month number 1 to 12 of a three-letter capital abbreviation (JAN to DEC).
bool MonthFromAbbreviation(const CString& abbreviation, int& month);

CString& ToUpper(CString& text);
CString& RemoveDashes(CString& text);
