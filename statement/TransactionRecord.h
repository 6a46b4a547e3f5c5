// CTransactionRecord: one transaction line of a statement file, parsed.
//
// The reader reuses one record for every line: Reset empties it and sets the
// layout the line is to be read with, and operator>> fills it from the next
// line of the stream. The enumeration values are what operator>> throws for
// a line that is not a transaction line; they never leave the reader.
#pragma once

#include "CString.h"
#include "LineReading.h"
#include "Platform.h"
#include "StatementFormat.h"

#include <istream>

class LineSplit;

// An amount counts only above this: a field whose amount is at or below it
// is read as 0 (no amount).
constexpr double kSmallestAmount = 0.000005;

class CTransactionRecord {
public:
    enum ReadError {
        InvalidRecord = 1,  // not exactly 8 fields, a field too long, or no layout
        StreamNotOpen = 4,  // the file stream is not open
    };

    CTransactionRecord();

    void Reset(int layout);

    // The texts stay in the record: the next read changes them.
    const CString& GetSortCode() const { return m_SortCode; }
    const CString& GetAccountNumber() const { return m_AccountNumber; }
    const CString& GetDateText() const { return m_DateText; }
    const CString& GetTypeCode() const { return m_TypeCode; }
    const CString& GetDescription() const { return m_Description; }
    double GetDebitAmount() const { return m_DebitAmount; }
    double GetCreditAmount() const { return m_CreditAmount; }
    double GetBalance() const { return m_Balance; }
    int GetIsDebit() const { return m_IsDebit; }
    DATE GetDate() const { return m_Date; }
    int GetLayout() const { return m_Layout; }
    // True when the sort code or the account number of the line was longer
    // than the record keeps (6 and 8 characters) and had to be cut: the line
    // then names an account that the cut values do not.
    bool HasCutIdentifier() const { return m_IdentifierCut; }

    // Why the line carries no amount though its debit or credit field holds
    // something: a field that is not an amount as the bank writes one
    // (Amounts.h), or an amount in both. Such a line has neither amount.
    enum class AmountRefusal : unsigned char { None, DebitUnreadable, CreditUnreadable, BothUnreadable, BothGiven };
    AmountRefusal GetAmountRefusal() const { return m_AmountRefusal; }

    friend std::istream& operator>>(std::istream& stream, CTransactionRecord& record);

    // Fills the record from one line already read (the last field may cut
    // the line, see GetField). Throws InvalidRecord for a line that is not a
    // transaction line, and CString's failures for a field that cannot be
    // taken.
    void ParseLine(LineBuffer& line);
    // The same from the line's split at ',' (a LineSplit of `line` from its
    // first field), so that the line is walked once, with the amounts'
    // no-break spaces those of the file's `encoding`.
    void ParseLine(LineBuffer& line, const LineSplit& split, FileEncoding encoding = FileEncoding::Ansi);
    // False for a line of `fieldCount` fields that ParseLine refuses with
    // InvalidRecord before it takes a field: not 8 fields, or a record
    // without a layout. A reader that refuses such lines itself needs no
    // exception for them.
    bool IsTransactionLine(int fieldCount) const {
        return fieldCount == kFieldsPerLine && (m_Layout == kDateFirstLayout || m_Layout == kAccountFirstLayout);
    }

private:
    struct SplitLine;  // the line being read, with its split

    void ReadDateFirstFields(const SplitLine& line);
    void ReadAccountFirstFields(const SplitLine& line);
    void ReadDate(const SplitLine& line, int field, DATE (*convert)(const char*));
    void ReadSortCode(const SplitLine& line, int field);
    void ReadAccountNumber(const SplitLine& line, int field);
    void ReadTypeCode(const SplitLine& line, int field);
    void ReadDescription(const SplitLine& line, int field);
    void ReadAmounts(const SplitLine& line);

    CString m_SortCode;
    CString m_AccountNumber;
    CString m_DateText;
    CString m_TypeCode;
    CString m_Description;
    double m_DebitAmount;
    double m_CreditAmount;
    double m_Balance;
    int m_IsDebit;
    DATE m_Date;
    int m_Layout;
    bool m_IdentifierCut;
    AmountRefusal m_AmountRefusal;
};
