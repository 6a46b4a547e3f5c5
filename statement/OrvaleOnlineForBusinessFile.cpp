#include "OrvaleOnlineForBusinessFile.h"

#include "Amounts.h"
#include "Dates.h"
#include "LineFields.h"
#include "StatementFormat.h"
#include "Utf8Scan.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr int kLinesExamined = 2;
// Room for a Unicode path in the debugger texts, in the ANSI code page
// (characters it cannot spell become its default character).
constexpr int kShownPathSize = 1024;
constexpr const char* kHeaderWord = "Transaction";

constexpr const char* kFieldsMismatch =
    "File has correct number of Orvale Online For Business fields, but does not exactly match the "
    "criteria in fields 2 and/or 4";
constexpr const char* kOpenFailed = "Failed to Open the file: ";
constexpr const char* kConstructionFailed = "OrvaleOnlineForBusinessFile() failed to open: ";
constexpr const char* kStreamNotOpen = "File Stream is NOT open";
constexpr const char* kReadFailed = "Failed to read the Balance record\n";

void Report(const char* text) { platform::WriteDebugOutput(text); }

// Why a line carries no amount, in the words of the debugger text.
const char* RefusalText(CTransactionRecord::AmountRefusal refusal) {
    using Refusal = CTransactionRecord::AmountRefusal;
    switch (refusal) {
        case Refusal::DebitUnreadable:
            return "field %d (debit) is not an amount";
        case Refusal::CreditUnreadable:
            return "field %d (credit) is not an amount";
        case Refusal::BothUnreadable:
            return "fields %d and %d (debit and credit) are not amounts";
        case Refusal::BothGiven:
            return "fields %d and %d (debit and credit) both hold an amount";
        case Refusal::None:
            break;
    }
    return "";
}

// "Line 4: field 6 (debit) is not an amount; the line carries no amount",
// made without allocating: the reader reports even when memory runs out.
void ReportRefusedAmount(int lineNumber, CTransactionRecord::AmountRefusal refusal) {
    using Refusal = CTransactionRecord::AmountRefusal;
    const int field = refusal == Refusal::CreditUnreadable ? kCreditField : kDebitField;
    char reason[64];
    std::snprintf(reason, sizeof reason, RefusalText(refusal), field, kCreditField);
    char text[128];
    std::snprintf(text, sizeof text, "Line %d: %s; the line carries no amount\n", lineNumber, reason);
    Report(text);
}

// Whether a field from `first` on, of a line of `count` fields, reads as an
// amount.
bool HoldsAnAmountFrom(const char* line, std::size_t length, int first, int count, FileEncoding encoding) {
    for (int start = first; start <= count; start += LineSplit::kLocated) {
        const LineSplit split(line, length, kSeparator, start);
        for (int n = start; n < start + LineSplit::kLocated && n <= count; ++n)
            if (ReadAmount(Unquoted(split.Field(n), split.SingleByte()), encoding).kind == WrittenAmount::Kind::Amount)
                return true;
    }
    return false;
}

// True when the first whitespace-delimited word of `line` is exactly `word`.
bool FirstWordIs(const char* line, const char* word) {
    while (IsWhitespace(*line)) ++line;
    const size_t length = std::strlen(word);
    return std::strncmp(line, word, length) == 0 && (line[length] == '\0' || IsWhitespace(line[length]));
}

// Length of field n after quote stripping and whitespace removal. A field
// too long to be taken at all counts as longer than either layout allows,
// whatever it holds.
int CleanFieldLength(LineBuffer& line, int n) {
    FieldBuffer buffer;
    const char* field = GetField(line, kSeparator, n, buffer);
    if (!field) return kMaxFieldLength + 1;
    CString text(field);
    StripQuotes(text);
    RemoveWhitespace(text);
    return text.GetLength();
}

// A space-only (or empty) line, carriage return included.
bool IsBlank(const char* line) {
    while (IsWhitespace(*line)) ++line;
    return *line == '\0';
}

// Why a line of `fieldCount` fields (0 when too long to be read) is no
// transaction line.
OrvaleOnlineForBusinessFile::LineReadOutcome NotEightFields(LineRead read, int fieldCount, const char* line) {
    OrvaleOnlineForBusinessFile::LineReadOutcome outcome;
    outcome.failure = read == LineRead::TooLong ? OrvaleOnlineForBusinessFile::ReadFailure::TooLong
                                                : OrvaleOnlineForBusinessFile::ReadFailure::FieldCount;
    outcome.fieldCount = fieldCount;
    outcome.blank = IsBlank(line);
    return outcome;
}

}  // namespace

OrvaleOnlineForBusinessFile::OrvaleOnlineForBusinessFile(StatementPath path, std::ios_base::openmode mode)
    : m_Layout(0), m_FieldCount(0) {
    Open(path, mode);
    if (path.ansi || !path.unicode) {
        ReportRecognition(path.ansi ? path.ansi : "");
        return;
    }
    char shown[kShownPathSize] = {};
    const int length = static_cast<int>(std::wcslen(path.unicode));
    if (platform::WideToAnsi(path.unicode, length, shown, kShownPathSize - 1) == 0) shown[0] = '\0';
    ReportRecognition(shown);
}

bool OrvaleOnlineForBusinessFile::IsHeaderLine(const char* line) { return FirstWordIs(line, kHeaderWord); }

bool OrvaleOnlineForBusinessFile::IsValid() const { return m_FieldCount == kFieldsPerLine && m_Layout != 0; }

void OrvaleOnlineForBusinessFile::Open(StatementPath path, std::ios_base::openmode mode) {
    try {
        if (path.ansi)
            m_Stream.open(path.ansi, mode);
        else if (path.unicode)
            platform::OpenUnicodePath(m_Stream, path.unicode, mode);
        if (m_Stream.is_open()) m_Utf8 = SkipByteOrderMark(m_Stream);
        m_Recognition = CheckFormat();
    } catch (...) {
        m_Recognition = Recognition::CheckFailed;
    }
}

// The debugger texts of the outcome: the path after a file that was not
// recognised, preceded by the mismatch text when the first line of 8 fields
// decided; both failure texts when the check itself failed.
void OrvaleOnlineForBusinessFile::ReportRecognition(const char* path) const {
    switch (m_Recognition) {
        case Recognition::Recognised:
            return;
        case Recognition::FieldsMismatch:
            Report(kFieldsMismatch);
            break;
        case Recognition::CheckFailed:
            Report(kOpenFailed);
            Report(path);
            Report(kConstructionFailed);
            break;
        case Recognition::CannotOpen:
        case Recognition::NoEightFieldLine:
            break;
    }
    Report(path);
}

// Looks at no more than the first two lines: the first line of 8 fields
// decides the layout alone; a first line of another field count is passed
// over. One quoted-state flag serves both lines, so a quote left open at the
// end of the first line carries into the count of the second.
OrvaleOnlineForBusinessFile::Recognition OrvaleOnlineForBusinessFile::CheckFormat() {
    if (!m_Stream.is_open()) return Recognition::CannotOpen;
    LineBuffer line;
    int quoted = 0;
    Recognition recognition = Recognition::NoEightFieldLine;
    for (int examined = 0; examined < kLinesExamined; ++examined) {
        const LineRead read = m_Lines.Read(line);
        m_FieldCount = read != LineRead::TooLong ? CountFields(line, kSeparator, quoted) : 0;
        m_Layout = 0;
        if (m_FieldCount != kFieldsPerLine) {
            if (examined == 0) m_PassedOverFirstLine = NotEightFields(read, m_FieldCount, line);
            continue;
        }
        m_Layout = LayoutOf(line);
        recognition = m_Layout != 0 ? Recognition::Recognised : Recognition::FieldsMismatch;
        break;
    }
    RewindStream();
    if (recognition != Recognition::Recognised) m_PassedOverFirstLine = LineReadOutcome();
    return recognition;
}

// The layouts have the type code and the account number in the same two
// fields, the other way round: the lengths of those fields decide, the
// date-first layout's reading first. Empty fields satisfy both limits.
int OrvaleOnlineForBusinessFile::LayoutOf(LineBuffer& line) const {
    constexpr LayoutFields kFields = kDateFirstFields;
    const int typeCodeOrAccount = CleanFieldLength(line, kFields.typeCode);
    if (typeCodeOrAccount <= kMaxTypeCodeLength)
        return CleanFieldLength(line, kFields.accountNumber) <= kMaxAccountNumberLength ? kDateFirstLayout : 0;
    if (typeCodeOrAccount <= kMaxAccountNumberLength)
        return CleanFieldLength(line, kFields.accountNumber) <= kMaxTypeCodeLength ? kAccountFirstLayout : 0;
    return 0;
}

// The one thing that can fail is the allocation of the line reader's block,
// before anything is read: the file then stays in the ANSI code page, read
// from where it stands.
void OrvaleOnlineForBusinessFile::DecideEncoding() {
    if (m_Utf8 || !IsValid()) return;
    try {
        Utf8Scan scan;
        m_Lines.ReadRest([&scan](const char* bytes, std::size_t length) { return scan.Take(bytes, length); });
        m_Utf8 = scan.IsMultibyteUtf8();
        RewindStream();
    } catch (...) {
        Report(kReadFailed);
    }
}

void OrvaleOnlineForBusinessFile::RewindStream() {
    Rewind(m_Stream);
    m_Lines.Discard();
    m_LineNumber = 0;
}

void OrvaleOnlineForBusinessFile::RequireOpenStream() {
    if (m_Stream.is_open()) return;
    m_LastRead.failure = ReadFailure::StreamNotOpen;
    Report(kStreamNotOpen);
    throw CTransactionRecord::StreamNotOpen;
}

// A first line that the format check passed over (a title, a blank line)
// is not read again as a transaction line: reading it would stop the import
// before the line that decided the layout. But a transaction line with an
// unquoted comma in its description is no title: it stays to be read, and
// stops the import as such a line anywhere else does. Only the first line is
// ever skipped.
OrvaleOnlineForBusinessFile::LeadingLine OrvaleOnlineForBusinessFile::SkipHeaderLine() {
    try {
        RequireOpenStream();
        const LineRead read = m_Lines.Read(m_Line);
        m_LineNumber = 1;
        if (read == LineRead::Complete && IsHeaderLine(m_Line)) return LeadingLine::Header;
        if (m_PassedOverFirstLine.failure != ReadFailure::None && !IsTransactionWithMoreFields()) {
            m_LastRead = m_PassedOverFirstLine;
            return LeadingLine::PassedOver;
        }
        RewindStream();
    } catch (...) {
        Report(kReadFailed);
    }
    return LeadingLine::None;
}

// The passed-over first line, just read again into m_Line, has more than 8
// fields, a date where the file's layout has its date (quotes stripped) and
// an amount in a field from the debit's on: a transaction line. A title that
// starts with a date range (01/11/2011 - 30/11/2011,,,,,,,,) has no amount.
bool OrvaleOnlineForBusinessFile::IsTransactionWithMoreFields() const {
    const int count = m_PassedOverFirstLine.fieldCount;
    if (count <= kFieldsPerLine) return false;
    const bool dateFirst = m_Layout == kDateFirstLayout;
    const LineSplit split(m_Line, m_Lines.Length(), kSeparator);
    FieldBuffer date;
    if (!CopyField(Unquoted(split.Field(FieldsOfLayout(m_Layout).date), split.SingleByte()), date)) return false;
    if ((dateFirst ? ParseSlashDate(date) : ParseMonthDate(date)) == 0) return false;
    return HoldsAnAmountFrom(m_Line, m_Lines.Length(), kDebitField, count, Encoding());
}

bool OrvaleOnlineForBusinessFile::ReadTransaction(CTransactionRecord& record) {
    m_LastRead = LineReadOutcome();
    m_Line[0] = '\0';
    bool read;
    try {
        record.Reset(m_Layout);
        RequireOpenStream();
        read = ReadRecord(record);
    } catch (...) {
        read = false;
    }
    if (!read) {
        record.Reset(m_Layout);
        Report(kReadFailed);
    }
    return read;
}

// One line into the record, as the record's stream extraction reads it;
// false, with m_LastRead saying why, for a line that is no transaction
// line. The refusals that come before any field is taken (the end of the
// file, a line too long, not 8 fields, no layout) are answered here without
// an exception: every line of a file that is not a statement is one, and
// throwing costs far more than reading the line. A field that cannot be
// taken is noted before its failure is passed on.
bool OrvaleOnlineForBusinessFile::ReadRecord(CTransactionRecord& record) {
    const LineRead read = m_Lines.Read(m_Line);
    if (read != LineRead::End) ++m_LineNumber;
    if (read != LineRead::Complete) {
        m_LastRead.failure = read == LineRead::End ? ReadFailure::EndOfFile : ReadFailure::TooLong;
        return false;
    }
    const LineSplit split(m_Line, m_Lines.Length(), kSeparator);
    m_LastRead.fieldCount = split.FieldCount();
    m_LastRead.blank = IsBlank(m_Line);
    if (!record.IsTransactionLine(m_LastRead.fieldCount)) {
        m_LastRead.failure = m_LastRead.fieldCount != kFieldsPerLine ? ReadFailure::FieldCount : ReadFailure::NoLayout;
        return false;
    }
    try {
        record.ParseLine(m_Line, split, Encoding());
    } catch (long hr) {
        m_LastRead.failure = hr == E_OUTOFMEMORY ? ReadFailure::OutOfMemory : ReadFailure::FieldTooLong;
        throw;
    }
    if (record.GetAmountRefusal() != CTransactionRecord::AmountRefusal::None)
        ReportRefusedAmount(m_LineNumber, record.GetAmountRefusal());
    return true;
}
