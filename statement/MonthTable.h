// The month table: the twelve three-letter capital abbreviations, JAN to
// DEC, as one text, "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC". The reader looks
// a seven-character date's month up here; the classic MonthFromAbbreviation
// (FieldConversions.h) builds on this.
//
// The table is a constant: nothing is built on first use, so any number of
// threads may look months up at once.
#pragma once

// Month number of the abbreviation (zero-terminated): where it first occurs
// in the table, divided by 3, plus 1; false when it does not occur. Any
// three letters that occur in the table give the month in whose group the
// match starts; only capitals match.
//
// Quick reading and its plain twin: the twelve abbreviations are looked up
// at once, by a hash of their three letters; any other text by a search of
// the table. The test FieldConversions.QuickReadingsGiveWhatTheGeneralReadingGives
// (tests/statement/FieldConversionsTest.cpp) holds the two equal for every
// three capitals.
bool MonthOfAbbreviation(const char* abbreviation, int& month);
