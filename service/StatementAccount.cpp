#include "StatementAccount.h"

#include "CodePages.h"
#include "HostText.h"
#include "StatementFormat.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr size_t kMaxHostTextBytes = 32;
constexpr size_t kFullAccountNumberLength = kMaxAccountNumberLength;

// The host's text in narrow form (at most 32 bytes), through the C runtime's
// conversion; the empty text, and false, when there is none or it does not
// convert.
bool NarrowHostText(const wchar_t* text, char (&narrow)[kMaxHostTextBytes + 1]) {
    if (HostTextToNarrow(text, narrow, sizeof narrow)) return true;
    narrow[0] = '\0';
    return false;
}

bool IsAmbiguous(const wchar_t* text, size_t length) { return !HostTextLength(text, length); }

// An 8-digit number without its leading zeros, or a shorter one with zeros
// in front up to 8 digits (the empty number has eight zeros); a longer
// number is its own other form.
CString OtherAccountNumberForm(const char* accountNumber) {
    const size_t length = std::strlen(accountNumber);
    if (length > kFullAccountNumberLength) return CString(accountNumber);
    if (length == kFullAccountNumberLength) return CString(accountNumber + std::strspn(accountNumber, "0"));
    return CString(std::string(kFullAccountNumberLength - length, '0').append(accountNumber).c_str());
}

}  // namespace

void StatementAccount::SetAccountNumber(const wchar_t* accountNumber, size_t length) {
    char narrow[kMaxHostTextBytes + 1];
    const bool given = NarrowHostText(accountNumber, narrow);
    m_accountNumber = narrow;
    m_accountNumberAlt = given ? OtherAccountNumberForm(narrow) : CString(narrow);
    m_accountNumberAmbiguous = IsAmbiguous(accountNumber, length);
}

void StatementAccount::SetSortCode(const wchar_t* sortCode, size_t length) {
    char narrow[kMaxHostTextBytes + 1];
    NarrowHostText(sortCode, narrow);
    KeepDigits(narrow);
    m_sortCode = narrow;
    m_sortCodeAmbiguous = IsAmbiguous(sortCode, length);
}

void StatementAccount::SetAccountNumber(const wchar_t* accountNumber) {
    SetAccountNumber(accountNumber, accountNumber ? std::wcslen(accountNumber) : 0);
}

void StatementAccount::SetSortCode(const wchar_t* sortCode) { SetSortCode(sortCode, sortCode ? std::wcslen(sortCode) : 0); }

bool StatementAccount::MatchesAccount(const CTransactionRecord& record) const {
    if (m_sortCodeAmbiguous || m_accountNumberAmbiguous || record.HasCutIdentifier()) return false;
    const CString& accountNumber = record.GetAccountNumber();
    return record.GetSortCode() == m_sortCode &&
           (accountNumber == m_accountNumber || accountNumber == m_accountNumberAlt);
}

// Written as "not below the limit", so an amount that is not a number passes.
bool StatementAccount::HasAmount(const CTransactionRecord& record) {
    return !(record.GetCreditAmount() < kSmallestAmount) || !(record.GetDebitAmount() < kSmallestAmount);
}

void KeepDigits(char* text) {
    char* kept = text;
    for (const char* p = text; *p; ++p)
        if (*p >= '0' && *p <= '9') *kept++ = *p;
    *kept = '\0';
}
