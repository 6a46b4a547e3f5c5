// The benchmark's Windows program, run under Wine by bench/run_bench.py.
//
//   pendrel-bench reader FILE REPEATS
//       the statement reader alone, as the import uses it: construct, decide
//       the encoding, skip the header, read every record; the best of
//       REPEATS passes
//   pendrel-bench import MODULE_DLL FILE SORTCODE ACCOUNT reference|lean REPEATS
//       the whole import through COM: the module DLL's bank object, its
//       statement service and the reference host's reconciliation, into the
//       reference host's statement (which keeps every line in memory, with
//       the call log) or into a lean one (LeanStatement.h: a count and a
//       checksum of what it receives, printed); the best of REPEATS imports
//       into the same statement, which each import empties first
//
// Each prints key=value lines: the lines handled, the seconds taken (timed
// inside the process, start-up excluded) and the process's peak private
// memory (GetProcessMemoryInfo), which is why every size runs in its own
// process.
#include "ComApartment.h"
#include "LeanStatement.h"
#include "ModuleSession.h"
#include "OrvaleOnlineForBusinessFile.h"
#include "ReferenceHost.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PrintMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        return;
    std::printf("peak_private_bytes=%llu\n", static_cast<unsigned long long>(counters.PeakPagefileUsage));
    std::printf("private_bytes=%llu\n", static_cast<unsigned long long>(counters.PrivateUsage));
    std::printf("peak_working_set_bytes=%llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    // The figures are out before a million host objects are released.
    std::fflush(stdout);
}

int Reader(const char* path, int repeats) {
    double best = 0;
    long records = 0;
    for (int pass = 0; pass < repeats; ++pass) {
        const double start = Now();
        OrvaleOnlineForBusinessFile reader(path, std::ios::in | std::ios::binary);
        if (!reader.IsValid()) throw std::runtime_error("the statement file was not recognised");
        reader.DecideEncoding();
        CTransactionRecord record;
        reader.SkipHeaderLine();
        long count = 0;
        while (reader.ReadTransaction(record)) ++count;
        const double seconds = Now() - start;
        if (pass == 0 || seconds < best) best = seconds;
        records = count;
    }
    std::printf("records=%ld\nseconds=%.6f\n", records, best);
    PrintMemory();
    return 0;
}

std::wstring Wide(const char* text) {
    std::wstring wide;
    while (*text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text++));
    return wide;
}

// The statement the import fills, and what to print of it afterwards.
struct BenchStatement {
    ComPtr<IHostStatement> statement;
    std::function<void()> report;
};

BenchStatement MakeStatement(const std::shared_ptr<reference_host::Scenario>& scenario, bool lean) {
    if (!lean) {
        const auto statement = scenario->CreateStatement();
        return {ComPtr<IHostStatement>(statement.Get()), [statement] {
                    std::printf("statement_lines=%ld\n", static_cast<long>(statement->Lines().size()));
                }};
    }
    const auto statement = reference_host::MakeObject<reference_host::LeanStatement>(scenario);
    return {ComPtr<IHostStatement>(statement.Get()), [statement] {
                const reference_host::LeanTally& tally = statement->Tally();
                std::printf("statement_lines=%ld\nchecksum=%llu\n", tally.lines,
                            static_cast<unsigned long long>(tally.checksum));
            }};
}

int Import(const char* module, const char* path, const char* sortCode, const char* account, bool lean,
           int repeats) {
    ComApartment apartment;
    const ModuleSession session(Wide(module));
    const auto scenario = reference_host::Scenario::Create();
    scenario->settings.sortCode = Wide(sortCode);
    scenario->settings.accountNumber = Wide(account);
    scenario->settings.chosenFile = Wide(path);
    const reference_host::ClassRegistration registration(scenario);
    const auto reconciliation = scenario->CreateReconciliation();
    const BenchStatement statement = MakeStatement(scenario, lean);
    const ComPtr<IBankStatementService> service = session.StatementService();
    double best = 0;
    for (int pass = 0; pass < repeats; ++pass) {
        const double start = Now();
        const HRESULT result = service->ImportStatement(reconciliation.Get(), statement.statement.Get());
        const double seconds = Now() - start;
        if (FAILED(result)) throw std::runtime_error("the import failed");
        if (pass == 0 || seconds < best) best = seconds;
    }
    statement.report();
    std::printf("seconds=%.6f\n", best);
    PrintMemory();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "reader" && argc == 4) return Reader(argv[2], std::atoi(argv[3]));
        const std::string host = argc == 8 ? argv[6] : "";
        if (mode == "import" && (host == "reference" || host == "lean"))
            return Import(argv[2], argv[3], argv[4], argv[5], host == "lean", std::atoi(argv[7]));
        std::fprintf(stderr, "usage: pendrel-bench reader FILE REPEATS | "
                             "import MODULE_DLL FILE SORTCODE ACCOUNT reference|lean REPEATS\n");
        return 2;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "pendrel-bench: %s\n", failure.what());
        return 1;
    }
}
