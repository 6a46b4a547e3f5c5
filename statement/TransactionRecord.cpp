#include "TransactionRecord.h"

#include "Failures.h"
#include "Amounts.h"
#include "Dates.h"
#include "LineFields.h"
#include "MultibyteText.h"
#include "StatementFormat.h"

#include <algorithm>
#include <cstring>

namespace {

// Position of the first " . " (space, full stop, space) of the field, by
// characters, or -1. Among single-byte characters it is the first full stop
// with a space on either side; otherwise the platform searches a terminated
// copy.
int SpacedFullStop(FieldSpan field, bool singleByte) {
    const char* text = field.text;
    const char* end = text + field.length;
    if (!singleByte) {
        FieldBuffer copy;
        const char* found = FindText(CopyField(field, copy), " . ");
        return found ? static_cast<int>(found - copy) : -1;
    }
    for (const char* stop = text; (stop = static_cast<const char*>(std::memchr(stop, '.', static_cast<size_t>(end - stop))));
         ++stop)
        if (stop != text && stop[-1] == ' ' && stop + 1 != end && stop[1] == ' ') return static_cast<int>(stop - 1 - text);
    return -1;
}

// The field without the whitespace at its start and its end. No code page
// has a trail byte below 0x40, so whitespace is always a character of its own.
FieldSpan WithoutEndWhitespace(FieldSpan field) {
    while (field.length > 0 && IsWhitespace(field.text[0])) {
        ++field.text;
        --field.length;
    }
    while (field.length > 0 && IsWhitespace(field.text[field.length - 1])) --field.length;
    return field;
}

// A type code written with a quote first: without its enclosing quotes and
// then without the whitespace at both ends, or as written when the quotes do
// not enclose it.
[[gnu::noinline]] FieldSpan UnquotedTypeCode(FieldSpan written, bool singleByte) {
    const FieldSpan unquoted = Unquoted(written, singleByte);
    return unquoted.length != written.length ? WithoutEndWhitespace(unquoted) : written;
}

}  // namespace

// Every field is taken from the one split of the line where it lies, and
// cleaned up on its way to the buffer of the string that keeps it (or to a
// buffer on the stack): no string is made for a step.
struct CTransactionRecord::SplitLine {
    LineBuffer& line;
    const LineSplit& split;
    FileEncoding encoding;

    // Field n as GetField takes it; a missing or over-long field throws
    // E_INVALIDARG, as a CString made from GetField's null does. The line
    // has 8 fields, so the ones before the last end at a separator.
    FieldSpan Field(int n) const {
        const FieldSpan field = n < kFieldsPerLine ? split.InnerField(n) : TakeField(line, split, n);
        if (!field.text || field.length > kMaxFieldLength) ThrowHResult(E_INVALIDARG);
        return field;
    }

    FieldSpan UnquotedField(int n) const { return Unquoted(Field(n), split.SingleByte()); }

    WrittenAmount Amount(int n) const { return ReadAmount(UnquotedField(n), encoding); }
};

namespace {

// The amount a field carries, or 0 when it carries none.
double Carried(const WrittenAmount& amount) {
    const double value = amount.Value();
    return value > kSmallestAmount ? value : 0.0;
}

bool IsRefused(const WrittenAmount& amount) { return amount.kind == WrittenAmount::Kind::Refused; }

// Why a line with these debit and credit fields, which carry the amounts
// `debit` and `credit` (0: none), carries neither; None when it carries one.
CTransactionRecord::AmountRefusal RefusalOf(const WrittenAmount& debitField, double debit,
                                            const WrittenAmount& creditField, double credit) {
    using Refusal = CTransactionRecord::AmountRefusal;
    if (IsRefused(debitField)) return IsRefused(creditField) ? Refusal::BothUnreadable : Refusal::DebitUnreadable;
    if (IsRefused(creditField)) return Refusal::CreditUnreadable;
    return debit > 0 && credit > 0 ? Refusal::BothGiven : Refusal::None;
}

}  // namespace

CTransactionRecord::CTransactionRecord()
    : m_DebitAmount(0),
      m_CreditAmount(0),
      m_Balance(0),
      m_IsDebit(0),
      m_Date(0),
      m_Layout(0),
      m_IdentifierCut(false),
      m_AmountRefusal(AmountRefusal::None) {}

void CTransactionRecord::Reset(int layout) {
    m_SortCode.Empty();
    m_AccountNumber.Empty();
    m_DateText.Empty();
    m_TypeCode.Empty();
    m_Description.Empty();
    m_DebitAmount = 0;
    m_CreditAmount = 0;
    m_Balance = 0;
    m_IsDebit = 0;
    m_Date = 0;
    m_Layout = layout;
    m_IdentifierCut = false;
    m_AmountRefusal = AmountRefusal::None;
}

std::istream& operator>>(std::istream& stream, CTransactionRecord& record) {
    LineBuffer line;
    if (ReadLine(stream, line) == LineRead::TooLong) throw CTransactionRecord::InvalidRecord;
    record.ParseLine(line);
    return stream;
}

void CTransactionRecord::ParseLine(LineBuffer& line) { ParseLine(line, LineSplit(line, kSeparator)); }

void CTransactionRecord::ParseLine(LineBuffer& line, const LineSplit& split, FileEncoding encoding) {
    if (!IsTransactionLine(split.FieldCount())) throw InvalidRecord;
    const SplitLine fields{line, split, encoding};
    if (m_Layout == kDateFirstLayout)
        ReadDateFirstFields(fields);
    else
        ReadAccountFirstFields(fields);
    ReadDescription(fields, kDescriptionField);
    ReadAmounts(fields);
}

// In the order of the line's fields.
void CTransactionRecord::ReadDateFirstFields(const SplitLine& line) {
    ReadDate(line, kDateFirstFields.date, ParseSlashDate);
    ReadTypeCode(line, kDateFirstFields.typeCode);
    ReadSortCode(line, kDateFirstFields.sortCode);
    ReadAccountNumber(line, kDateFirstFields.accountNumber);
}

void CTransactionRecord::ReadAccountFirstFields(const SplitLine& line) {
    ReadSortCode(line, kAccountFirstFields.sortCode);
    ReadAccountNumber(line, kAccountFirstFields.accountNumber);
    ReadDate(line, kAccountFirstFields.date, ParseMonthDate);
    ReadTypeCode(line, kAccountFirstFields.typeCode);
}

// The date as written, quotes stripped, and its DATE.
void CTransactionRecord::ReadDate(const SplitLine& line, int field, DATE (*convert)(const char*)) {
    const FieldSpan text = line.UnquotedField(field);
    m_DateText.Assign(text.text, text.length);
    m_Date = convert(m_DateText.GetText());
}

void CTransactionRecord::ReadSortCode(const SplitLine& line, int field) {
    FieldBuffer kept;
    const int length = CopyWithout(line.UnquotedField(field), kept, DroppedFromSortCode);
    m_SortCode.Assign(kept, std::min(length, kMaxSortCodeLength));
    m_IdentifierCut = m_IdentifierCut || length > kMaxSortCodeLength;
}

// An account number without whitespace (the usual one) is kept as it stands.
void CTransactionRecord::ReadAccountNumber(const SplitLine& line, int field) {
    const FieldSpan written = line.UnquotedField(field);
    FieldBuffer kept;
    const FieldSpan number = WithoutWhitespace(written)
                                 ? written
                                 : FieldSpan{kept, CopyWithout(written, kept, DroppedFromAccountNumber)};
    m_AccountNumber.Assign(number.text, std::min(number.length, kMaxAccountNumberLength));
    m_IdentifierCut = m_IdentifierCut || number.length > kMaxAccountNumberLength;
}

// The type code as written, cut to its first 3 characters. A quoted one
// (files that quote every field) loses its quotes and then the whitespace at
// both ends of what they enclosed, so "CHQ", " CHQ " and a tab before CHQ
// are CHQ; an unquoted one keeps its spaces, as it always has. It is on every line's way, so it is
// kept inline, with the quoted case out of the way.
[[gnu::always_inline]] inline void CTransactionRecord::ReadTypeCode(const SplitLine& line, int field) {
    FieldSpan text = line.Field(field);
    if (text.length >= 2 && text.text[0] == '"') text = UnquotedTypeCode(text, line.split.SingleByte());
    m_TypeCode.Assign(text.text, std::min(text.length, kMaxTypeCodeLength));
}

// The first " . " (space, full stop, space) becomes a single space: the
// space and the full stop go, the second space stays.
void CTransactionRecord::ReadDescription(const SplitLine& line, int field) {
    const FieldSpan text = line.UnquotedField(field);
    const int stop = SpacedFullStop(text, line.split.SingleByte());
    if (stop < 0) {
        m_Description.Assign(text.text, text.length);
        return;
    }
    FieldBuffer joined;
    std::memcpy(joined, text.text, static_cast<size_t>(stop));
    std::memcpy(joined + stop, text.text + stop + 2, static_cast<size_t>(text.length - stop - 2));
    m_Description.Assign(joined, text.length - 2);
}

// A line carries the amount of its debit or of its credit field, never
// both: a field that does not read as an amount, or an amount in each, leaves
// it with none (AmountRefusal says why). A balance that does not read is no
// balance, and never keeps the line from carrying its amount.
void CTransactionRecord::ReadAmounts(const SplitLine& line) {
    const WrittenAmount debitField = line.Amount(kDebitField);
    const WrittenAmount creditField = line.Amount(kCreditField);
    const double debit = Carried(debitField), credit = Carried(creditField);
    m_AmountRefusal = RefusalOf(debitField, debit, creditField, credit);
    if (m_AmountRefusal == AmountRefusal::None) {
        m_DebitAmount = debit;
        m_CreditAmount = debit > 0 ? 0.0 : credit;
        m_IsDebit = debit > 0 ? 1 : 0;
    }
    m_Balance = Carried(line.Amount(kBalanceField));
}
