// Amounts of statement fields, as the reader reads them: from the field's
// bytes in the line, its enclosing quotes already gone. The classic reading
// of a CString, ParseAmount (FieldConversions.h), builds on this one.
//
// Whitespace, commas and minus signs are dropped, so an amount is never
// negative, except the sign of an exponent: 1e-7 is 0.0000001 (too small to
// count as an amount), not 10,000,000. Then the leading decimal number is
// read (optional plus sign, digits, optional fraction, optional exponent); a
// text without one, or one whose value is not a finite double (1e999), gives
// 0.
//
// Quick reading and its plain twin: the common amount (digits with at most
// one point, among the characters that are dropped) is read in one pass over
// the field; any other, and any whose quotient the quick reading cannot make
// exact, is read the plain way: the field cleaned into a buffer of its own,
// then its leading number by from_chars. The test
// LineFieldsDifferential.* (tests/statement/LineFieldsDifferentialTest.cpp)
// and the line_fields fuzz harness hold UnquotedAmount equal to the plain
// reference reading reference::Amount (tests/statement/ReferenceLineFields.h).
#pragma once

#include "LineFields.h"

double UnquotedAmount(FieldSpan field);
