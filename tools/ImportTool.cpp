// The import tool: plays the host for a real import through the module DLL
// and prints the statement lines the host received.
//
// It creates the registered module's bank object (or loads the module from
// --module), reaches the statement service through it, and hands it the reference
// host's reconciliation (with the bank account given on the command line)
// and a compact statement, which keeps only the values the tool prints. The
// reference host's file chooser first runs the module's recognizer on FILE,
// then "chooses" FILE. The call log keeps only the recognizer's answer: a
// long statement's calls are many.
#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "DebugOutputCapture.h"
#include "ImportReview.h"
#include "LineFormats.h"
#include "ModuleSession.h"
#include "ReferenceHost.h"
#include "Utf8Text.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <iostream>
#include <stdexcept>

namespace {

enum ExitCode { kImported = 0, kFailed = 1, kWrongUse = 2, kNotRecognised = 3, kLinesLost = 4 };

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

std::string Ansi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, converted.data(), size, nullptr, nullptr);
    converted.resize(converted.size() - 1);
    return converted;
}

std::string ErrorDescription() {
    ComPtr<IErrorInfo> error;
    BStr description;
    if (GetErrorInfo(0, error.Put()) == S_OK && error) error->GetDescription(description.Put());
    return description.Get() ? Utf8(description.Get()) : "no description";
}

bool IsReadable(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return !(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// "1, <title>" when the module's recognizer accepted the file.
bool Recognised(const reference_host::Scenario& scenario, std::string& title) {
    const auto calls = scenario.log.Calls("FileChooser", "Recognizer");
    if (calls.empty() || calls.front().value.rfind("1, ", 0) != 0) return false;
    title = calls.front().value.substr(3);
    return true;
}

void ReportDiagnostics(const DebugOutputCapture& capture) {
    std::cerr << "Diagnostics from the module:\n";
    for (std::string text : capture.Texts()) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        std::cerr << "  " << text << "\n";
    }
}

// The host's account of the options, as the import reads it.
StatementAccount HostAccount(const ImportOptions& options) {
    StatementAccount account;
    account.SetAccountNumber(options.accountNumber ? options.accountNumber->c_str() : nullptr);
    account.SetSortCode(options.sortCode ? options.sortCode->c_str() : nullptr);
    return account;
}

int Import(const ImportOptions& options) {
    ComApartment apartment;
    DebugOutputCapture capture;
    const ModuleSession module(options.modulePath);
    const auto scenario = reference_host::Scenario::Create();
    scenario->settings.sortCode = options.sortCode;
    scenario->settings.accountNumber = options.accountNumber;
    scenario->settings.chosenFile = options.file;
    scenario->log.KeepOnly({{"FileChooser", "Recognizer"}});
    const reference_host::ClassRegistration registration(scenario);
    const auto reconciliation = scenario->CreateReconciliation();
    const auto statement = scenario->CreateCompactStatement();
    const ComPtr<IBankStatementService> service = module.StatementService();
    const HRESULT result = service->ImportStatement(reconciliation.Get(), statement.Get());
    if (options.diagnostics) ReportDiagnostics(capture);
    if (FAILED(result)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
        std::cerr << "import: the import failed with " << code << ": " << ErrorDescription() << "\n";
        return kFailed;
    }
    const reference_host::StatementLineRecords& lines = statement->Lines();
    const std::string path = Ansi(options.file);
    const StatementAccount account = HostAccount(options);
    const ImportReview review = ReviewImport(path.c_str(), account);
    WriteLines(std::cout, options.format, lines, review.balance);
    std::string title;
    const bool recognised = Recognised(*scenario, title);
    long cancelled = 0;
    service->get_Cancelled(&cancelled);
    std::cerr << "Imported " << lines.Size() << (lines.Size() == 1 ? " statement line" : " statement lines") << ".\n"
              << (recognised ? "The file was recognised as \"" + title + "\".\n"
                             : std::string("The file was not recognised as a statement of this bank.\n"))
              << (cancelled ? "The import was cancelled.\n" : "The import was not cancelled.\n");
    if (options.explain) WriteExplanation(std::cerr, path.c_str(), account, review.balance);
    WriteReview(std::cerr, review);
    if (!recognised) return kNotRecognised;
    const bool lost = review.losses.LostLinesAfterTheStop() || !review.balance.breaks.empty();
    return options.strict && lost ? kLinesLost : kImported;
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console is given wide text; a file or a pipe the UTF-8 bytes.
    const ConsoleOutput console(std::cout, GetStdHandle(STD_OUTPUT_HANDLE));
    const ConsoleOutput consoleErrors(std::cerr, GetStdHandle(STD_ERROR_HANDLE));
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    LocalFree(argv);
    if (parsed.help) {
        std::cout << kUsage;
        return kImported;
    }
    if (!parsed.ok) {
        std::cerr << "import: " << parsed.error << "\n" << kUsage;
        return kWrongUse;
    }
    if (!IsReadable(parsed.options.file)) {
        std::cerr << "import: cannot read the statement file " << Utf8(parsed.options.file) << "\n";
        return kWrongUse;
    }
    try {
        return Import(parsed.options);
    } catch (const std::runtime_error& failure) {
        std::cerr << "import: " << failure.what() << "\n";
        return kFailed;
    }
}
