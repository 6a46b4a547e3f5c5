// The x86 DLL in a host process that already holds the compiler's shared
// runtime (libgcc_s_dw2-1.dll, which many programs, plug-ins and shell
// extensions bring): every path that throws inside the DLL still ends in the
// DLL's own result, also when the DLL is relocated, and unloading the DLL
// leaves that runtime as it was. The same paths run without it, as the
// control. Each test loads the module itself, after the runtime, and unloads
// it at its end; CTest runs each test in a process of its own.
//
// PENDREL_TEST_MODULE_DLL, when set, names the DLL to load instead of this
// build's own: the package tests point it at the stripped, hardened release
// DLL.
#include "ImportHarness.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

namespace {

constexpr HRESULT kSystemError = static_cast<HRESULT>(0x800AFFFF);

// The toolchain's own copies; the runtime imports the threads library, so
// that one is loaded first, by its full path.
constexpr const char* kForeignThreads = "Z:/usr/i686-w64-mingw32/lib/libwinpthread-1.dll";
constexpr const char* kForeignRuntime = "Z:/usr/lib/gcc/i686-w64-mingw32/12-posix/libgcc_s_dw2-1.dll";

const char* ModulePath() {
    const char* chosen = std::getenv("PENDREL_TEST_MODULE_DLL");
    return chosen && *chosen ? chosen : PENDREL_MODULE_DLL;
}

// The address range the DLL at `path` asks to be loaded at, read from its file.
std::pair<std::uintptr_t, std::size_t> PreferredRange(const char* path) {
    std::ifstream file(path, std::ios::binary);
    char headers[4096] = {};
    file.read(headers, sizeof headers);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(headers);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(headers + dos->e_lfanew);
    return {static_cast<std::uintptr_t>(nt->OptionalHeader.ImageBase), nt->OptionalHeader.SizeOfImage};
}

// Keeps an address range reserved, so that nothing else is loaded there.
class ReservedRange {
public:
    explicit ReservedRange(std::pair<std::uintptr_t, std::size_t> range)
        : m_base(VirtualAlloc(reinterpret_cast<void*>(range.first), range.second, MEM_RESERVE, PAGE_NOACCESS)) {}
    ReservedRange(const ReservedRange&) = delete;
    ReservedRange& operator=(const ReservedRange&) = delete;
    ~ReservedRange() {
        if (m_base) VirtualFree(m_base, 0, MEM_RELEASE);
    }
    void* Base() const { return m_base; }

private:
    void* m_base;
};

struct Run {
    const ModuleUnderTest& module;
    std::shared_ptr<reference_host::Scenario> scenario;
};

// Imports the file at `path` with a new reconciliation and statement; the
// count of statement lines the host received goes to `lines`.
HRESULT ImportChosen(const Run& run, const std::wstring& path, std::size_t& lines) {
    const auto service = run.module.Create<IBankStatementService>(CLSID_BankStatementService);
    if (!service) return E_NOINTERFACE;
    run.scenario->settings.chosenFile = path;
    const auto reconciliation = run.scenario->CreateReconciliation();
    const auto statement = run.scenario->CreateStatement();
    const HRESULT result = service->ImportStatement(reconciliation.Get(), statement.Get());
    lines = statement->Lines().size();
    return result;
}

// Every path below throws inside the DLL and catches it there.
void DriveThrowingPaths(const ModuleUnderTest& module) {
    const Run run{module, reference_host::Scenario::Create()};
    run.scenario->settings.sortCode = L"12-34-56";
    run.scenario->settings.accountNumber = L"12345678";
    const reference_host::ClassRegistration registration(run.scenario);
    const struct {
        const char* path;
        std::function<HRESULT(std::size_t&)> call;
        HRESULT result;
        std::size_t lines;
    } rows[] = {
        {"a null out-pointer to a guarded method",
         [&](std::size_t&) {
             const auto bank = module.Create<IBank>(CLSID_Bank);
             return bank ? bank->get_Kind(nullptr) : E_NOINTERFACE;
         },
         kInvalidArgument, 0},
        {"an import to the end of the file",
         [&](std::size_t& lines) { return ImportChosen(run, FixturePath("import_statement.csv"), lines); }, S_OK, 6},
        {"a file whose second line cannot be read",
         [&](std::size_t& lines) { return ImportChosen(run, FixturePath("blank_line_in_middle.csv"), lines); }, S_OK,
         1},
        {"a chosen path with a NUL before its end",
         [&](std::size_t& lines) { return ImportChosen(run, std::wstring(L"C:\\s.csv\0.pdf", 13), lines); },
         kSystemError, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        std::size_t lines = 0;
        EXPECT_EQ(row.result, row.call(lines));
        EXPECT_EQ(row.lines, lines);
        TakeErrorDescription();
    }
    EXPECT_EQ(0, run.scenario->LiveObjects());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

class ForeignRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (sizeof(void*) == 8) GTEST_SKIP() << "x64 unwinds by the system's SEH tables; no runtime takes them over";
    }

    // Loads the foreign runtime first (when `preload`), then the module
    // (relocated when `relocate`), drives it and unloads it. The runtime
    // then no longer knows the module's functions and still knows its own.
    // (It cannot leave the process: its own start-up code holds a reference
    // to itself.)
    void LoadDriveUnload(bool preload, bool relocate) {
        ModuleHandle threads, runtime;
        if (preload) {
            threads.Reset(LoadLibraryA(kForeignThreads));
            runtime.Reset(LoadLibraryA(kForeignRuntime));
            ASSERT_TRUE(threads && runtime) << "cannot load the toolchain's runtime DLLs";
        } else {
            ASSERT_FALSE(GetModuleHandleA("libgcc_s_dw2-1.dll")) << "the runtime is in the process already";
        }
        void* moduleFunction = nullptr;
        {
            std::optional<ReservedRange> preferred;
            if (relocate) preferred.emplace(PreferredRange(ModulePath()));
            const ModuleUnderTest module(ModulePath());
            ASSERT_TRUE(module.Handle());
            if (relocate) {
                ASSERT_TRUE(preferred->Base() && preferred->Base() != module.Handle()) << "not relocated";
            }
            moduleFunction = reinterpret_cast<void*>(GetProcAddress(module.Handle(), "DllGetClassObject"));
            if (preload) {
                EXPECT_TRUE(ForeignRuntimeKnows(runtime.Get(), moduleFunction)) << "the start-up code kept to our own";
            }
            DriveThrowingPaths(module);
        }
        if (!preload) return;
        EXPECT_FALSE(ForeignRuntimeKnows(runtime.Get(), moduleFunction)) << "the unloaded module's tables stayed";
        EXPECT_TRUE(ForeignRuntimeKnows(runtime.Get(), GetProcAddress(runtime.Get(), "_Unwind_Find_FDE")));
    }

    // Whether the foreign runtime's unwinder has an entry for `function`.
    static bool ForeignRuntimeKnows(HMODULE runtime, void* function) {
        using FindFde = const void*(void* pc, void* bases[3]);
        auto* const find = reinterpret_cast<FindFde*>(reinterpret_cast<void*>(GetProcAddress(runtime, "_Unwind_Find_FDE")));
        void* bases[3] = {};
        return find && find(function, bases);
    }
    static bool ForeignRuntimeKnows(HMODULE runtime, FARPROC function) {
        return ForeignRuntimeKnows(runtime, reinterpret_cast<void*>(function));
    }
};

// The first: run as one program, the tests after it load the runtime.
TEST_F(ForeignRuntimeTest, ThrowsInsideTheModuleEndInItsResultsAlone) { LoadDriveUnload(false, false); }

TEST_F(ForeignRuntimeTest, ThrowsInsideTheModuleEndInItsResultsWithTheRuntimeLoadedFirst) {
    LoadDriveUnload(true, false);
}

TEST_F(ForeignRuntimeTest, ThrowsInsideTheRelocatedModuleEndInItsResultsWithTheRuntimeLoadedFirst) {
    LoadDriveUnload(true, true);
}

}  // namespace
