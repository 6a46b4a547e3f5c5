// Dates of statement fields, as the reader reads them: from a field's text,
// its enclosing quotes already gone, into an OLE Automation DATE. The
// classic readings of a CString (FieldConversions.h) build on these.
//
// Years below 100 get their century here, by one fixed rule, before the
// date is counted: 0 to 49 are 2000 to 2049, 50 to 99 are 1950 to 1999. So
// 03NOV11 is 3 November 2011, 03NOV49 is 3 November 2049 and 03NOV50 is 3
// November 1950. The platforms' own two-digit windows differ (Windows reads
// 30 as 1930 by default, Wine as 2030), so leaving it to them would make a
// statement's dates depend on where it is imported.
//
// A date is the calendar date the text writes, or no date (0): a day 0, a
// month 0 or above 12, a day past the end of its month (leap years counted),
// a year part that does not start with a digit (after whitespace: 03/11/x2011
// and 03NOVX1 have no year), a year above 9999, a negative number, and any
// date on or before 30 December 1899 give 0. The platform's conversion would
// roll impossible dates over into plausible wrong ones (31/02/2026 would
// become 3 March 2026).
#pragma once

#include "Platform.h"

// Day/month/year date with slashes, falling back to year-month-day with
// dashes for a text without any slash whose first part is exactly four
// digits after any whitespace (2011-11-03). Any other dashed text is no date, so that 02-10-26
// (2 October 2026 as a spreadsheet saves it) never becomes 26 October 2002;
// a text with a slash is read day/month/year only.
//
// Quick readings and their plain twin: the date as the statements write it
// (dd/mm/yyyy), and any runs of one to four digits with a slash between each
// two (3/11/2011), are read in one pass; any other text is split at '/' the
// way strtok splits, each part read as atoi reads it. The test
// FieldConversions.QuickReadingsGiveWhatTheGeneralReadingGives
// (tests/statement/FieldConversionsTest.cpp) holds the two equal.
DATE ParseSlashDate(const char* text);

// Seven-character date: two-digit day, month abbreviation, two-digit year,
// for example 03NOV11. Dashes go and letters a to z become capitals before
// the length is taken, so 03-nov-11 is the same date.
DATE ParseMonthDate(const char* text);

// The DATE of a real calendar date from 1 January 1 on (year, month 1 to 12,
// day of that month), counted: a quick reading whose plain twin is the
// platform's conversion (SystemTimeToVariantTime), which gives the same
// number for every such date it accepts. The test
// FieldConversions.CalendarCountIsThePlatformsDateForEveryDate
// (tests/statement/FieldConversionsTest.cpp) holds the two equal.
DATE DateFromCalendar(int year, int month, int day);
