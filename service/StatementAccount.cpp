#include "StatementAccount.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kMaxHostTextBytes = 32;
constexpr int kFullAccountNumberLength = 8;
constexpr double kSmallestAmount = 0.000005;

// The host's text in narrow form (at most 32 bytes), through the C runtime's
// conversion; false when there is no text or it does not convert.
bool NarrowHostText(const wchar_t* text, char (&narrow)[kMaxHostTextBytes + 1]) {
    if (!text) return false;
    const size_t written = std::wcstombs(narrow, text, kMaxHostTextBytes);
    if (written == static_cast<size_t>(-1)) return false;
    narrow[written] = '\0';
    return true;
}

// An 8-digit number without its leading zeros, or a shorter one with zeros
// in front up to 8 digits; a longer number has no other form.
bool OtherAccountNumberForm(const char* accountNumber, CString& other) {
    const int length = static_cast<int>(std::strlen(accountNumber));
    if (length > kFullAccountNumberLength) return false;
    if (length == kFullAccountNumberLength) {
        other = accountNumber + std::strspn(accountNumber, "0");
        return true;
    }
    other = std::string(static_cast<size_t>(kFullAccountNumberLength - length), '0').append(accountNumber).c_str();
    return true;
}

}  // namespace

void StatementAccount::SetAccountNumber(const wchar_t* accountNumber) {
    char narrow[kMaxHostTextBytes + 1];
    if (!NarrowHostText(accountNumber, narrow)) return;
    m_accountNumber = narrow;
    CString other;
    if (OtherAccountNumberForm(narrow, other)) m_accountNumberAlt = other;
}

void StatementAccount::SetSortCode(const wchar_t* sortCode) {
    char narrow[kMaxHostTextBytes + 1];
    if (!NarrowHostText(sortCode, narrow)) return;
    KeepDigits(narrow);
    m_sortCode = narrow;
}

bool StatementAccount::MatchesAccount(const CTransactionRecord& record) const {
    const CString accountNumber = record.GetAccountNumber();
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
