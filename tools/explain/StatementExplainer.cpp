#include "StatementExplainer.h"

#include "HostLineValues.h"
#include "LineFields.h"
#include "LineReading.h"
#include "Platform.h"
#include "StatementFormat.h"
#include "Utf8Scan.h"
#include "Utf8Text.h"
#include "ValueText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

using Recognition = OrvaleOnlineForBusinessFile::Recognition;
using ReadFailure = OrvaleOnlineForBusinessFile::ReadFailure;

constexpr char kEndOfFileMark = '\x1A';
// Where each layout writes a line's sort code or account number, how much
// of it the record keeps, and what it leaves out before it counts.
struct IdentifierField {
    int LayoutFields::*field;
    int kept;
    bool (*dropped)(char c);
};
constexpr IdentifierField kSortCode = {&LayoutFields::sortCode, kMaxSortCodeLength, DroppedFromSortCode};
constexpr IdentifierField kAccountNumber = {&LayoutFields::accountNumber, kMaxAccountNumberLength,
                                            DroppedFromAccountNumber};

std::string FieldsText(int count) { return std::to_string(count) + (count == 1 ? " field" : " fields"); }

std::string RecognitionText(const WalkOutcome& outcome) {
    constexpr LayoutFields kFields = kDateFirstFields;  // where the layouts differ (see LayoutOf)
    switch (outcome.recognition) {
        case Recognition::Recognised:
            return outcome.layout == kDateFirstLayout
                       ? "recognised, layout 1 (date, type, sort code, account number first)"
                       : "recognised, layout 2 (sort code, account number, date, type first)";
        case Recognition::CannotOpen:
            return "not recognised: the file cannot be opened";
        case Recognition::NoEightFieldLine:
            return "not recognised: neither of its first two lines has " + FieldsText(kFieldsPerLine);
        case Recognition::FieldsMismatch:
            return "not recognised: its first line of " + FieldsText(kFieldsPerLine) + " has a field " +
                   std::to_string(kFields.typeCode) + " or field " + std::to_string(kFields.accountNumber) +
                   " too long for either layout (at most " + std::to_string(kMaxTypeCodeLength) + " and " +
                   std::to_string(kMaxAccountNumberLength) + " characters, or " +
                   std::to_string(kMaxAccountNumberLength) + " and " + std::to_string(kMaxTypeCodeLength) + ")";
        case Recognition::CheckFailed:
            break;
    }
    return "not recognised: the format check failed (out of memory)";
}

std::string UnreadableText(const OrvaleOnlineForBusinessFile::LineReadOutcome& outcome) {
    switch (outcome.failure) {
        case ReadFailure::TooLong:
            return "longer than " + std::to_string(kMaxLineLength) + " characters";
        case ReadFailure::FieldCount:
            return FieldsText(outcome.fieldCount) + ", not " + std::to_string(kFieldsPerLine);
        case ReadFailure::FieldTooLong:
            return FieldsText(kFieldsPerLine) + " but a field longer than " + std::to_string(kMaxFieldLength) + " characters";
        case ReadFailure::OutOfMemory:
            return "out of memory while reading it";
        case ReadFailure::NoLayout:
        case ReadFailure::StreamNotOpen:
        case ReadFailure::EndOfFile:
        case ReadFailure::None:
            break;
    }
    return "the file could not be read";
}

std::string WrittenText(const WrittenField& field) {
    return Quoted(field.written) + (field.kept ? " (the record kept only " + Quoted(*field.kept) + ")" : "");
}

std::string OtherAccountText(const ExplainedLine& line, const std::string& hostAccount) {
    return "sort code " + WrittenText(*line.sortCode) + " and account " + WrittenText(*line.accountNumber) +
           "; the host's are " + hostAccount;
}

// A line that holds separators, quotes and whitespace only, and at least
// one separator: a row of empty fields.
bool IsEmptyRow(const char* text) {
    bool separator = false;
    for (const char* c = text; *c; ++c) {
        if (*c == kSeparator)
            separator = true;
        else if (*c != '"' && !IsWhitespace(*c))
            return false;
    }
    return separator;
}

bool IsEndOfFileMark(const char* text) { return text[0] == kEndOfFileMark && text[1] == '\0'; }

// The debit and credit fields of a line, by number and name.
struct MoneyFieldOfLine {
    MoneyField LineMoney::*field;
    int number;
    const char* name;
};
constexpr MoneyFieldOfLine kDebit = {&LineMoney::debit, kDebitField, "debit"};
constexpr MoneyFieldOfLine kCredit = {&LineMoney::credit, kCreditField, "credit"};

// The header line as a spreadsheet saves it, its fields quoted
// ("Transaction history","Orvale Online For Business"): the reader's header
// test takes the line's first word with its quote, and the format check
// passes the line over for its field count instead. Either way it is not
// read; it is the header, and is said to be. An unquoted first field is
// the reader's to judge ("Transaction,..." is no header).
bool IsQuotedHeaderLine(const char* text) {
    const LineSplit split(text, kSeparator);
    const FieldSpan field = split.Field(1);
    const FieldSpan unquoted = Unquoted(field, split.SingleByte());
    return unquoted.text != field.text &&
           OrvaleOnlineForBusinessFile::IsHeaderLine(std::string(unquoted.text, unquoted.length).c_str());
}

// A line's length, and where its first byte of 0x80 or above is (at its
// end when it has none, as most lines do), found in one walk.
struct LineBytes {
    explicit LineBytes(const char* text) {
        const char* end = text;
        while (*end && static_cast<unsigned char>(*end) < 0x80) ++end;
        firstHigh = static_cast<std::size_t>(end - text);
        length = firstHigh + std::strlen(end);
    }
    std::size_t length;
    std::size_t firstHigh;
};

// The bytes are UTF-8, with a character of several bytes among them.
bool LooksUtf8(const char* text, const LineBytes& bytes) {
    if (bytes.firstHigh == bytes.length) return false;
    Utf8Scan scan;
    scan.Take(text + bytes.firstHigh, bytes.length - bytes.firstHigh);
    return scan.IsMultibyteUtf8();
}

// Puts each verdict into words for the caller. Every line is explained
// into the same ExplainedLine, whose texts keep their room from line to
// line: a long statement costs no allocation a line.
class Explainer : public LineVerdictHandler {
public:
    Explainer(const StatementAccount& account, const std::function<void(const StatementExplanation&)>& onRecognition,
              const std::function<void(const ExplainedLine&)>& onLine)
        : m_hostAccount(HostAccountText(account)), m_onRecognition(onRecognition), m_onLine(onLine) {}

    void OnRecognition(const WalkOutcome& outcome) override {
        StatementExplanation explanation;
        explanation.recognised = outcome.recognition == Recognition::Recognised;
        explanation.layout = outcome.layout;
        explanation.recognition = RecognitionText(outcome);
        explanation.utf8 = outcome.utf8;
        m_layout = outcome.layout;
        m_encoding = outcome.utf8 ? FileEncoding::Utf8 : FileEncoding::Ansi;
        m_texts = FileTextToUtf8(m_encoding);
        m_hostTexts = HostLineTextsReader(m_encoding);
        m_readInAnotherCodePage = !outcome.utf8 && GetACP() != CP_UTF8;
        m_onRecognition(explanation);
    }

    bool OnLine(const LineVerdict& verdict) override {
        Explain(verdict);
        m_onLine(m_line);
        return true;
    }

private:
    void Explain(const LineVerdict& verdict);
    void TakeHostValues(const CTransactionRecord& record, const char* text);
    void Assign(std::string& utf8, std::string_view text);
    Replaced ReplacedIn(const char* text, int length) const;
    Replaced TypeCodeReplaced(const char* typeCode, int length, const char* text) const;
    void TakeMoney(const char* text, std::size_t length);
    WrittenField Written(const LineSplit& split, const IdentifierField& field, const CString& kept);

    const std::string m_hostAccount;  // in words (HostAccountText)
    const std::function<void(const StatementExplanation&)>& m_onRecognition;
    const std::function<void(const ExplainedLine&)>& m_onLine;
    int m_layout = 0;
    FileEncoding m_encoding = FileEncoding::Ansi;  // the file's, told with its recognition
    FileTextToUtf8 m_texts{FileEncoding::Ansi};
    HostLineTextsReader m_hostTexts{FileEncoding::Ansi};
    // The file is read in an ANSI code page that is not UTF-8.
    bool m_readInAnotherCodePage = false;
    ExplainedLine m_line;  // the line being explained
};

// The line starts as a new one, copied over the last: its texts keep their room.
void Explainer::Explain(const LineVerdict& verdict) {
    static const ExplainedLine kNewLine;
    ExplainedLine& line = m_line;
    line = kNewLine;
    const LineBytes bytes(verdict.text);
    line.lineNumber = verdict.lineNumber;
    line.fate = verdict.fate == LineFate::PassedOver && IsQuotedHeaderLine(verdict.text) ? LineFate::Header
                                                                                          : verdict.fate;
    line.wouldHaveBeen = verdict.wouldHaveBeen;
    line.looksUtf8 = m_readInAnotherCodePage && LooksUtf8(verdict.text, bytes);
    line.blank = verdict.failure.blank;
    line.emptyRow = !line.blank && IsEmptyRow(verdict.text);
    line.endOfFileMark = IsEndOfFileMark(verdict.text);
    if (verdict.fate == LineFate::OtherAccount) {
        const LineSplit split(verdict.text, kSeparator);
        line.sortCode = Written(split, kSortCode, verdict.record->GetSortCode());
        line.accountNumber = Written(split, kAccountNumber, verdict.record->GetAccountNumber());
        line.reason = OtherAccountText(line, m_hostAccount);
    }
    if (verdict.fate == LineFate::Unreadable || line.fate == LineFate::PassedOver)
        line.reason = UnreadableText(verdict.failure);
    if (verdict.fate == LineFate::Imported) {
        line.statementLine = verdict.statementLine;
        TakeHostValues(*verdict.record, verdict.text);
    }
    if (verdict.fate == LineFate::Imported || verdict.fate == LineFate::NoAmount) {
        line.date = verdict.record->GetDate();
        if (line.date == 0) {
            const CString& date = verdict.record->GetDateText();
            m_texts.Assign(line.dateText, date.GetText(), date.GetLength());
        }
        line.amountRefusal = verdict.record->GetAmountRefusal();
        TakeMoney(verdict.text, bytes.length);
    }
}

// The values the import hands the host for the record (HostLineValues.h;
// `text`, the line), with whether a character of each text was replaced.
void Explainer::TakeHostValues(const CTransactionRecord& record, const char* text) {
    ExplainedLine& line = m_line;
    line.direction = HostLineDirectionOf(record);
    line.amount = HostLineAmountOf(record);
    const HostLineTexts texts = m_hostTexts.Of(record);
    const CString& description = record.GetDescription();
    line.descriptionReplaced = ReplacedIn(description.GetText(), description.GetLength());
    const CString& typeCode = record.GetTypeCode();
    line.referenceReplaced = texts.cheque ? line.descriptionReplaced
                                          : TypeCodeReplaced(typeCode.GetText(), typeCode.GetLength(), text);
    Assign(line.description, texts.description);
    Assign(line.reference, texts.reference);
}

void Explainer::Assign(std::string& utf8, std::string_view text) {
    m_texts.Assign(utf8, text.data(), static_cast<int>(text.size()));
}

// Whether the import replaces a character of the text when it reads it.
Replaced Explainer::ReplacedIn(const char* text, int length) const {
    if (m_texts.ReadsWhole(text, length)) return Replaced::None;
    return m_encoding == FileEncoding::Utf8 ? Replaced::NotUtf8 : Replaced::NotInCodePage;
}

// The type code the record kept, of the line `text`: when the field as the
// file writes it reads whole, a replaced character was cut by the record.
Replaced Explainer::TypeCodeReplaced(const char* typeCode, int length, const char* text) const {
    const Replaced replaced = ReplacedIn(typeCode, length);
    if (replaced == Replaced::None) return replaced;
    const LineSplit split(text, kSeparator);
    const FieldSpan written = Unquoted(split.Field(FieldsOfLayout(m_layout).typeCode), split.SingleByte());
    return written.text && m_texts.ReadsWhole(written.text, written.length) ? Replaced::CutCharacter : replaced;
}

// The money fields of a line of the account, read as the import reads them,
// their texts as people can read them.
void Explainer::TakeMoney(const char* text, std::size_t length) {
    LineMoney& money = m_line.money.emplace();
    ReadLineMoney(text, length, m_encoding, m_line.TwoAmounts(), money);
    for (MoneyField* field : {&money.debit, &money.credit, &money.balance})
        if (!field->text.empty()) m_texts.InPlace(field->text);
}

// The field as written, and the record's value when the record had to cut
// the field, cleaned as the record cleans it, to fit.
WrittenField Explainer::Written(const LineSplit& split, const IdentifierField& field, const CString& kept) {
    const FieldSpan written = Unquoted(split.Field(FieldsOfLayout(m_layout).*field.field), split.SingleByte());
    WrittenField shown;
    if (!written.text) return shown;
    shown.written = m_texts.Of(written.text, written.length);
    const auto counted = std::count_if(written.text, written.text + written.length,
                                       [&](char c) { return !field.dropped(c); });
    if (counted > field.kept) shown.kept = m_texts.Of(kept.GetText(), kept.GetLength());
    return shown;
}

// The walk's reader writes its diagnostic texts as the module's does; here
// they would only repeat what the explanation says, so they go nowhere.
class SilencedDiagnostics {
public:
    SilencedDiagnostics() : m_previous(platform::SetDebugSink([](const char*) {})) {}
    SilencedDiagnostics(const SilencedDiagnostics&) = delete;
    SilencedDiagnostics& operator=(const SilencedDiagnostics&) = delete;
    ~SilencedDiagnostics() { platform::SetDebugSink(m_previous); }

private:
    platform::DebugSink m_previous;
};

std::string NoAmountText(const ExplainedLine& line) {
    if (!line.AmountUnreadable() && !line.TwoAmounts()) return "no debit or credit amount";
    const std::vector<RefusedMoneyField> fields = line.RefusedFields();
    const std::string named = RefusedFieldsText(fields, " and the ");
    if (line.TwoAmounts()) return "both the " + named + " hold an amount";
    return "the " + named + (fields.size() == 1 ? " does not read as an amount" : " do not read as amounts");
}

// What --explain adds when a text of the line is not as the file writes it.
std::string ReplacedWords(const char* text, Replaced replaced) {
    const std::string head = std::string("; a character of its ") + text + " was replaced";
    switch (replaced) {
        case Replaced::NotUtf8:
            return head + " by U+FFFD: it has bytes that are not UTF-8";
        case Replaced::NotInCodePage:
            return head + ": it has bytes that the ANSI code page does not read";
        case Replaced::CutCharacter:
            return head + ": the record keeps only the type code's first " + std::to_string(kMaxTypeCodeLength) +
                   " bytes, which cut a character in two";
        case Replaced::None:
            break;
    }
    return "";
}

}  // namespace

std::string RefusedFieldsText(const std::vector<RefusedMoneyField>& fields, const std::string& between) {
    std::string text;
    for (const RefusedMoneyField& field : fields)
        text += (text.empty() ? "" : between) + field.name + " (field " + std::to_string(field.field) + ") " +
                Quoted(field.text);
    return text;
}

bool ExplainedLine::AmountUnreadable() const {
    using Refusal = CTransactionRecord::AmountRefusal;
    return fate == LineFate::NoAmount && amountRefusal != Refusal::None && amountRefusal != Refusal::BothGiven;
}

bool ExplainedLine::TwoAmounts() const {
    return fate == LineFate::NoAmount && amountRefusal == CTransactionRecord::AmountRefusal::BothGiven;
}

std::vector<RefusedMoneyField> ExplainedLine::RefusedFields() const {
    std::vector<RefusedMoneyField> fields;
    if (!money || (!AmountUnreadable() && !TwoAmounts())) return fields;
    for (const MoneyFieldOfLine& named : {kDebit, kCredit}) {
        const MoneyField& field = (*money).*named.field;
        if (TwoAmounts() || field.kind == MoneyField::Kind::Unreadable)
            fields.push_back({named.number, named.name, field.text});
    }
    return fields;
}

std::string TextNotes(const ExplainedLine& line) {
    return ReplacedWords("description", line.descriptionReplaced) + ReplacedWords("reference", line.referenceReplaced) +
           (line.looksUtf8 ? "; it looks like UTF-8, but the file was read in the ANSI code page" : "");
}

std::string ExplainedLine::ReplacedTexts() const {
    const bool inDescription = descriptionReplaced != Replaced::None, inReference = referenceReplaced != Replaced::None;
    return inDescription && inReference ? "description and reference"
           : inDescription              ? "description"
           : inReference                ? "reference"
                                        : "";
}

void ExplainStatement(StatementPath path, const StatementAccount& account,
                      const std::function<void(const StatementExplanation&)>& onRecognition,
                      const std::function<void(const ExplainedLine&)>& onLine) {
    const SilencedDiagnostics silenced;
    Explainer explainer(account, onRecognition, onLine);
    WalkStatementFile(path, account, explainer, AfterStop::ReadToTheEnd);
}

StatementExplanation ExplainStatement(StatementPath path, const StatementAccount& account) {
    StatementExplanation explanation;
    ExplainStatement(
        path, account, [&](const StatementExplanation& recognition) { explanation = recognition; },
        [&](const ExplainedLine& line) { explanation.lines.push_back(line); });
    return explanation;
}

std::string HostAccountText(const StatementAccount& account) {
    std::string text = "sort code " + Quoted(account.SortCode().GetText()) + " and account " +
                       Quoted(account.AccountNumber().GetText());
    if (!(account.AccountNumberAlt() == account.AccountNumber()))
        text += " or " + Quoted(account.AccountNumberAlt().GetText());
    return text;
}

LineKind KindOf(const ExplainedLine& line) {
    switch (line.fate) {
        case LineFate::Imported:
            return line.Undated() ? LineKind::Undated : LineKind::Imported;
        case LineFate::Header:
            return LineKind::Header;
        case LineFate::PassedOver:
            return LineKind::Title;
        case LineFate::OtherAccount:
            return line.emptyRow ? LineKind::EmptyRow : LineKind::OtherAccount;
        case LineFate::NoAmount:
            return line.emptyRow             ? LineKind::EmptyRow
                   : line.AmountUnreadable() ? LineKind::UnreadableAmount
                   : line.TwoAmounts()       ? LineKind::TwoAmounts
                                             : LineKind::NoAmount;
        case LineFate::Unreadable:
            return LineKind::Stopped;
        case LineFate::NotRead:
            break;
    }
    return LineKind::NotRead;
}

std::string Describe(const ExplainedLine& line) {
    return "line " + std::to_string(line.lineNumber) + ": " + FateText(line) + TextNotes(line);
}

std::string FateText(const ExplainedLine& line) {
    if (KindOf(line) == LineKind::EmptyRow) return "passed over: an empty row (every field is empty)";
    switch (line.fate) {
        case LineFate::Header:
            return "header, skipped";
        case LineFate::PassedOver:
            return "passed over: " + line.reason + " (the second line decided the layout)";
        case LineFate::Imported:
            return "imported as statement line " + std::to_string(line.statementLine) +
                   (line.Undated() ? ", without a date: " + Quoted(line.dateText) + " does not read as a date" : "");
        case LineFate::OtherAccount:
            return "passed over: another account (" + line.reason + ")";
        case LineFate::NoAmount:
            return "passed over: " + NoAmountText(line);
        case LineFate::Unreadable:
            return "not a transaction line (" + line.reason + "), so the import stopped here";
        case LineFate::NotRead:
            break;
    }
    return "not read: the import had stopped";
}
