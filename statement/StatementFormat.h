// The statement file format, each fact stated once: the reader, the record
// and the import tool take them from here.
//
// A transaction line has kFieldsPerLine fields separated by kSeparator (a
// double quote switches a quoted state in which the separator does not
// separate). Its fields lie in one of two layouts, which differ in their
// first four fields; both end with the description and the debit, credit and
// balance amounts. An optional first line, the header, begins with the word
// "Transaction".
#pragma once

constexpr char kSeparator = ',';
constexpr int kFieldsPerLine = 8;

// The layouts, by the number the reader gives them (0: no layout).
constexpr int kDateFirstLayout = 1;     // date, type code, sort code, account number
constexpr int kAccountFirstLayout = 2;  // sort code, account number, date, type code

// Where a layout writes its first four fields (numbered from 1).
struct LayoutFields {
    int date;
    int typeCode;
    int sortCode;
    int accountNumber;
};
constexpr LayoutFields kDateFirstFields = {1, 2, 3, 4};
constexpr LayoutFields kAccountFirstFields = {3, 4, 1, 2};
// The format check tells the layouts apart by the lengths of those two fields.
static_assert(kAccountFirstFields.accountNumber == kDateFirstFields.typeCode &&
                  kAccountFirstFields.typeCode == kDateFirstFields.accountNumber,
              "the layouts swap the type code and the account number");

constexpr LayoutFields FieldsOfLayout(int layout) {
    return layout == kDateFirstLayout ? kDateFirstFields : kAccountFirstFields;
}

// How a statement file's texts are written: in the system's ANSI code page
// (whatever the thread's locale), or in UTF-8 when the file starts with the
// UTF-8 byte-order mark or its bytes are all UTF-8.
enum class FileEncoding { Ansi, Utf8 };

// The fields both layouts share.
constexpr int kDescriptionField = 5;
constexpr int kDebitField = 6;
constexpr int kCreditField = 7;
constexpr int kBalanceField = 8;

// How many characters of a field the record keeps, once cleaned up; the
// format check takes the type code's and the account number's limits to
// tell the layouts apart.
constexpr int kMaxSortCodeLength = 6;
constexpr int kMaxAccountNumberLength = 8;
constexpr int kMaxTypeCodeLength = 3;

// Space, tab, line feed, vertical tab, form feed or carriage return.
inline bool IsWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// The digits are 0 to 9 only, and letters compare in upper case, a to z
// only, whatever the locale.
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// What a sort code loses before it is kept: whitespace, commas and dashes
// (12-34-56 is 123456). An account number loses its whitespace only.
inline bool DroppedFromSortCode(char c) { return IsWhitespace(c) || c == ',' || c == '-'; }
inline bool DroppedFromAccountNumber(char c) { return IsWhitespace(c); }
