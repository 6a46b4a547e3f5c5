#include "HostBankSetup.h"

#include "HostOptionsBlock.h"

#include <algorithm>

namespace reference_host {
namespace {

// The record's text and, when there is a record, all its bytes.
Passed RecordPassed(const unsigned char* record, std::size_t size) {
    if (!record) return Passed(kNullText);
    return Passed(RecordText(record, size), std::vector<unsigned char>(record, record + size));
}

}  // namespace

HostBankSetup::HostBankSetup(std::shared_ptr<Scenario> scenario) : HostObject(std::move(scenario), "BankSetup") {}

STDMETHODIMP HostBankSetup::OpenBankSetup(unsigned char* bankName, LONG mode) {
    return Perform("OpenBankSetup", [&] {
        Passed passed = RecordPassed(bankName, kBankSetupRecordSize);
        passed.value += ", " + NumberText(static_cast<long>(mode));
        return passed;
    }, [&] { return bankName ? S_OK : E_POINTER; });
}

STDMETHODIMP HostBankSetup::GetFileOptions(unsigned char* bankName, unsigned char* options) {
    return Perform("GetFileOptions", [&] { return RecordPassed(bankName, kFileOptionsBankNameSize); }, [&] {
        if (!bankName || !options) return E_POINTER;
        const OptionsBlock block = HostOptionsBlock();
        std::copy(block.begin(), block.end(), options);
        return S_OK;
    });
}

}  // namespace reference_host
