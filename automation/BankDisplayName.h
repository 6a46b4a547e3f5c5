// The display name under which the host shows this bank module; the bank
// object reports it and the import hands it to the host's bank set-up.
#pragma once

#include <cstring>

constexpr char kBankDisplayName[] = "Pendrel Business Internet Banking";

// The display name in a record of N bytes, zero bytes to its end: the form
// in which the host's bank set-up receives it.
template <size_t N>
void FillBankNameRecord(unsigned char (&record)[N]) {
    static_assert(N > sizeof kBankDisplayName, "the record holds the name and its terminator");
    std::memset(record, 0, N);
    std::memcpy(record, kBankDisplayName, sizeof kBankDisplayName);
}
