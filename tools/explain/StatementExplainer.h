// What became of every physical line of a statement file in an import, for
// people whose statement did not import as they expected. The verdicts come
// from the import's own walk of the file (StatementWalk), so the lines it
// calls imported are the lines the host receives; this file only puts them
// into words.
#pragma once

#include "MoneyFields.h"
#include "StatementAccount.h"
#include "StatementWalk.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A field as the file writes it (enclosing quotes stripped, in UTF-8), and
// what the record kept of it when that is only part of it.
struct WrittenField {
    std::string written;
    std::optional<std::string> kept;
};

// A debit or credit field that kept its line from the host: its number,
// its name and its text as written (enclosing quotes stripped, in UTF-8).
struct RefusedMoneyField {
    int field = 0;
    const char* name = "";
    std::string text;
};

// Why a text the host got has a character replaced: bytes that do not read
// in the file's encoding (U+FFFD for UTF-8, as the import converts), or a
// character that the record's cut of the type code to its first
// kMaxTypeCodeLength bytes split.
enum class Replaced : unsigned char { None, NotUtf8, NotInCodePage, CutCharacter };

struct ExplainedLine {
    int lineNumber = 0;  // physical line of the file, from 1
    LineFate fate = LineFate::NotRead;
    LineFate wouldHaveBeen = LineFate::NotRead;  // for NotRead lines: their fate had the import gone on
    bool blank = false;     // the line holds nothing but whitespace
    bool emptyRow = false;  // not blank, but its fields are all empty (a spreadsheet's empty row)
    bool endOfFileMark = false;  // the line is one end-of-file mark (0x1A) and nothing else
    std::string reason;  // the details people need to see
    // For imported lines: the statement line's number and values, as the
    // import hands them to the host (texts in UTF-8).
    long statementLine = 0;
    long direction = 0;
    double amount = 0.0;
    std::string description;
    std::string reference;
    Replaced descriptionReplaced = Replaced::None;
    Replaced referenceReplaced = Replaced::None;
    // The file was read in the ANSI code page (not UTF-8), yet the line's
    // bytes are UTF-8 with a character of several bytes: its texts were
    // read in another encoding than they look written in.
    bool looksUtf8 = false;
    // For the lines of the host's account the import read (imported, or
    // passed over without an amount): the line's date, and its date field
    // when that does not read as a date (0), its debit, credit and balance
    // fields (the texts of the fields named in RefusedFields, and of those
    // that do not read as amounts, in UTF-8), and why its debit and credit
    // fields give it no amount though they hold something.
    double date = 0.0;
    std::string dateText;
    std::optional<LineMoney> money;
    CTransactionRecord::AmountRefusal amountRefusal = CTransactionRecord::AmountRefusal::None;
    // For lines of another account: their sort code and account number.
    std::optional<WrittenField> sortCode;
    std::optional<WrittenField> accountNumber;

    bool Undated() const { return fate == LineFate::Imported && date == 0; }
    // Passed over: a debit or credit field does not read as an amount.
    bool AmountUnreadable() const;
    // Passed over: the debit and the credit field both hold an amount.
    bool TwoAmounts() const;
    // The debit and credit fields that kept the line from the host: those
    // that do not read, or both when both hold an amount.
    std::vector<RefusedMoneyField> RefusedFields() const;
    // The texts of an imported line that had a character replaced:
    // "description", "reference", "description and reference", or empty.
    std::string ReplacedTexts() const;
};

// What became of a line, in the kinds people are told of: its fate, with
// empty rows, lines imported without a date and amounts that could not be
// read told apart.
enum class LineKind : unsigned char {
    Imported,          // imported as statement line N
    Undated,           // imported as statement line N, without a date
    Header,            // the header line, skipped
    Title,             // a first line the format check passed over (a title)
    OtherAccount,      // passed over: another account's
    NoAmount,          // passed over: no debit or credit amount (a balance brought forward)
    UnreadableAmount,  // passed over: a debit or credit that does not read as an amount
    TwoAmounts,        // passed over: both a debit and a credit amount
    EmptyRow,          // passed over: every field empty
    Stopped,           // not a transaction line: the import stopped here
    NotRead,           // after the stop: not read
};
constexpr std::size_t kLineKinds = 11;

LineKind KindOf(const ExplainedLine& line);

struct StatementExplanation {
    bool recognised = false;
    int layout = 0;
    std::string recognition;  // which layout, or why the file was not recognised
    bool utf8 = false;        // the file's text is UTF-8 (else the ANSI code page)
    std::vector<ExplainedLine> lines;
};

// Walks the file at `path` as the import does and
// hands each line's explanation to `onLine` as it is read; `onRecognition`
// first gets the explanation's recognition (its lines stay empty).
void ExplainStatement(StatementPath path, const StatementAccount& account,
                      const std::function<void(const StatementExplanation&)>& onRecognition,
                      const std::function<void(const ExplainedLine&)>& onLine);

// The same, with every line kept in the explanation returned.
StatementExplanation ExplainStatement(StatementPath path, const StatementAccount& account);

// "line 3: imported as statement line 2", with the notes on its texts.
std::string Describe(const ExplainedLine& line);
// `debit (field 6) "82,40"`, the fields joined by `between`.
std::string RefusedFieldsText(const std::vector<RefusedMoneyField>& fields, const std::string& between);
// What became of the line: Describe without its "line N: " and the notes.
std::string FateText(const ExplainedLine& line);
// The notes on the line's texts when they are not as the file writes them
// ("; a character of its description was replaced ...", "; it looks like
// UTF-8, ..."), or empty.
std::string TextNotes(const ExplainedLine& line);

// The host's account as the import compares it: `sort code "123456" and
// account "01234567" or "1234567"`.
std::string HostAccountText(const StatementAccount& account);
