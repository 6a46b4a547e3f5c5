#include "TransactionRecord.h"

#include "FieldConversions.h"
#include "LineFields.h"

namespace {

constexpr char kSeparator = ',';
constexpr int kFieldsPerLine = 8;
constexpr int kDateFirstLayout = 1;
constexpr int kAccountFirstLayout = 2;
constexpr int kMaxSortCodeLength = 6;
constexpr int kMaxAccountNumberLength = 8;
constexpr int kMaxTypeCodeLength = 3;
constexpr double kSmallestAmount = 0.000005;

// Field n of the line; a missing or over-long field throws E_INVALIDARG.
CString Field(LineBuffer& line, int n) {
    FieldBuffer buffer;
    return CString(GetField(line, kSeparator, n, buffer));
}

CString UnquotedField(LineBuffer& line, int n) {
    CString text = Field(line, n);
    StripQuotes(text);
    return text;
}

// The amount of field n, or 0 when the field carries none.
double AmountField(LineBuffer& line, int n) {
    const double amount = ParseAmount(Field(line, n));
    return amount > kSmallestAmount ? amount : 0.0;
}

}  // namespace

CTransactionRecord::CTransactionRecord()
    : m_DebitAmount(0), m_CreditAmount(0), m_Balance(0), m_IsDebit(0), m_Date(0), m_Layout(0), m_IdentifierCut(false) {}

void CTransactionRecord::Reset(int layout) {
    m_SortCode = "";
    m_AccountNumber = "";
    m_DateText = "";
    m_TypeCode = "";
    m_Description = "";
    m_DebitAmount = 0;
    m_CreditAmount = 0;
    m_Balance = 0;
    m_IsDebit = 0;
    m_Date = 0;
    m_Layout = layout;
    m_IdentifierCut = false;
}

std::istream& operator>>(std::istream& stream, CTransactionRecord& record) {
    LineBuffer line;
    if (ReadLine(stream, line) == LineRead::TooLong) throw CTransactionRecord::InvalidRecord;
    record.ParseLine(line);
    return stream;
}

void CTransactionRecord::ParseLine(LineBuffer& line) {
    int quoted = 0;
    if (CountFields(line, kSeparator, quoted) != kFieldsPerLine) throw InvalidRecord;
    if (m_Layout == kDateFirstLayout)
        ReadDateFirstFields(line);
    else if (m_Layout == kAccountFirstLayout)
        ReadAccountFirstFields(line);
    else
        throw InvalidRecord;
    ReadDescription(line, 5);
    ReadAmounts(line);
}

void CTransactionRecord::ReadDateFirstFields(LineBuffer& line) {
    m_DateText = UnquotedField(line, 1);
    m_Date = ParseSlashDate(m_DateText);
    ReadTypeCode(line, 2);
    ReadSortCode(line, 3);
    ReadAccountNumber(line, 4);
}

void CTransactionRecord::ReadAccountFirstFields(LineBuffer& line) {
    ReadSortCode(line, 1);
    ReadAccountNumber(line, 2);
    m_DateText = UnquotedField(line, 3);
    m_Date = ParseMonthDate(m_DateText);
    ReadTypeCode(line, 4);
}

void CTransactionRecord::ReadSortCode(LineBuffer& line, int field) {
    CString text = UnquotedField(line, field);
    RemoveWhitespace(text);
    RemoveChars(text, ",-");
    m_SortCode = text.Left(kMaxSortCodeLength);
    m_IdentifierCut = m_IdentifierCut || text.GetLength() > kMaxSortCodeLength;
}

void CTransactionRecord::ReadAccountNumber(LineBuffer& line, int field) {
    CString text = UnquotedField(line, field);
    RemoveWhitespace(text);
    m_AccountNumber = text.Left(kMaxAccountNumberLength);
    m_IdentifierCut = m_IdentifierCut || text.GetLength() > kMaxAccountNumberLength;
}

// The type code is kept as written, quotes and spaces included.
void CTransactionRecord::ReadTypeCode(LineBuffer& line, int field) {
    m_TypeCode = Field(line, field).Left(kMaxTypeCodeLength);
}

// The first " . " (space, full stop, space) becomes a single space.
void CTransactionRecord::ReadDescription(LineBuffer& line, int field) {
    CString text = UnquotedField(line, field);
    const int position = text.Find(" . ");
    if (position >= 0) {
        CString joined = text.Left(position);
        joined += text.Mid(position + 2, text.GetLength());
        text = joined;
    }
    m_Description = text;
}

// A debit amount wins: the credit field is read only when there is none.
void CTransactionRecord::ReadAmounts(LineBuffer& line) {
    m_DebitAmount = AmountField(line, 6);
    if (m_DebitAmount > 0)
        m_IsDebit = 1;
    else
        m_CreditAmount = AmountField(line, 7);
    m_Balance = AmountField(line, 8);
}
