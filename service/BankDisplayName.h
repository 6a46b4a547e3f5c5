// The display name under which the host shows this bank module; the bank
// object reports it and the import hands it to the host's bank set-up.
#pragma once

constexpr char kBankDisplayName[] = "Pendrel Business Internet Banking";
