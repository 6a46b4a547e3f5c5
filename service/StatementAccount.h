// The host bank account whose lines an import keeps: its sort code and
// account number as read from the host, and the other written form of the
// account number (with or without leading zeros up to 8 digits). Each import
// sets every member from what this import's bank account says, so nothing of
// an earlier import's account stays in force.
#pragma once

#include "CString.h"
#include "TransactionRecord.h"

#include <wtypes.h>

#include <cstddef>

class StatementAccount {
public:
    // Take the host's texts of `length` characters; a null text, or one that
    // does not convert to narrow text, gives the empty text (and an account
    // number the empty text as its other form too; an empty account number
    // given by the host has 00000000 as its other form). NULs at the end of
    // the text end it; a text with a NUL before another character matches no
    // line: the text before the NUL is not the one the host gave (HostText.h).
    void SetAccountNumber(const wchar_t* accountNumber, size_t length);
    void SetSortCode(const wchar_t* sortCode, size_t length);
    // The same for zero-terminated texts.
    void SetAccountNumber(const wchar_t* accountNumber);
    void SetSortCode(const wchar_t* sortCode);

    // The record's sort code equals ours and its account number equals
    // either form of ours, and neither had to be cut to fit the record: a
    // line of a longer sort code or account number is another account's.
    bool MatchesAccount(const CTransactionRecord& record) const;
    // The record carries a debit or a credit amount.
    static bool HasAmount(const CTransactionRecord& record);

    const CString& SortCode() const { return m_sortCode; }
    const CString& AccountNumber() const { return m_accountNumber; }
    const CString& AccountNumberAlt() const { return m_accountNumberAlt; }

private:
    CString m_sortCode;
    CString m_accountNumber;
    CString m_accountNumberAlt;
    bool m_sortCodeAmbiguous = false;
    bool m_accountNumberAmbiguous = false;
};

// Keeps only the decimal digits of a zero-terminated text, in place.
void KeepDigits(char* text);
