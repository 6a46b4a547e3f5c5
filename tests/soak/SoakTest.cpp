// Many thousand rounds of what a host does with the module: create and
// release the three classes, walk the services, import a statement. Every
// round must give back everything it took: the module's lock count returns
// to 0 and the process's private memory does not grow.
#include "ImportHarness.h"

#include <psapi.h>

namespace {

constexpr int kWarmUpRounds = 200;
constexpr int kRounds = 3000;
// Heaps keep some slack; a leak of even a few bytes a round exceeds this.
constexpr SIZE_T kAllowedGrowth = 256 * 1024;

// The process's commit charge: its private memory. (PagefileUsage is the
// same figure as PrivateUsage on Windows; Wine fills in only the first.)
SIZE_T PrivateMemory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

int EnumerateServices(IBank* bank) {
    ComPtr<IMavrinBankServices> services;
    if (FAILED(bank->get_Services(services.Put()))) return -1;
    ComPtr<IUnknown> unknown;
    ComPtr<IEnumVARIANT> enumerator;
    if (FAILED(services->get__NewEnum(unknown.Put())) || FAILED(unknown.As(enumerator))) return -1;
    int count = 0;
    for (;;) {
        Variant element;
        ULONG fetched = 0;
        if (enumerator->Next(1, element.Put(), &fetched) != S_OK) break;
        ++count;
    }
    return count;
}

class SoakTest : public ImportTest {
protected:
    // One round; false when anything did not work as it should.
    bool Round() {
        const ComPtr<IBank> bank = Module().Create<IBank>(CLSID_Bank);
        const ComPtr<IBankServices> services = Module().Create<IBankServices>(CLSID_BankServices);
        BStr name;
        if (!bank || !services || FAILED(bank->get_Name(name.Put())) || EnumerateServices(bank.Get()) != 1) return false;
        scenario->log.Clear();
        return SUCCEEDED(Import("import_statement.csv")) && statement->Lines().size() == 6;
    }
};

TEST_F(SoakTest, ThousandsOfRoundsGiveBackEverything) {
    SetAccount(L"12-34-56", L"12345678");
    for (int round = 0; round < kWarmUpRounds; ++round) ASSERT_TRUE(Round()) << "warm-up round " << round;
    statement.Reset();
    const SIZE_T before = PrivateMemory();
    for (int round = 0; round < kRounds; ++round) ASSERT_TRUE(Round()) << "round " << round;
    statement.Reset();
    const SIZE_T after = PrivateMemory();
    ASSERT_GT(before, 0u) << "the platform reports no private memory";
    EXPECT_LE(after, before + kAllowedGrowth) << "private memory grew from " << before << " to " << after << " bytes";
    service.Reset();
    EXPECT_EQ(S_OK, Module().CanUnloadNow());
    RecordProperty("private_bytes_before", static_cast<int>(before));
    RecordProperty("private_bytes_after", static_cast<int>(after));
    std::printf("%d rounds: private memory %lu bytes before, %lu after\n", kRounds, static_cast<unsigned long>(before),
                static_cast<unsigned long>(after));
}

}  // namespace
