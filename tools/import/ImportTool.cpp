// The import tool: plays the host for a real import through the module DLL
// and prints the statement lines the host received.
//
// It creates the registered module's bank object (or loads the module from
// --module), reaches the statement service through it, and hands it the
// reference host's reconciliation (with the bank account given on the
// command line) and the tool's own statement (ToolStatement), which keeps
// only the values the tool shows and records no call. The reference host's
// file chooser first runs the module's recognizer on FILE, then "chooses"
// FILE. The call log keeps only the recognizer's answer.
#include "ComApartment.h"
#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "DebugOutputCapture.h"
#include "FileProblems.h"
#include "ImportOutputs.h"
#include "ModuleSession.h"
#include "PrintableText.h"
#include "ReferenceHost.h"
#include "ToolStatement.h"
#include "Utf8Text.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <iostream>
#include <stdexcept>

namespace {

std::string ErrorDescription() {
    ComPtr<IErrorInfo> error;
    BStr description;
    if (GetErrorInfo(0, error.Put()) == S_OK && error) error->GetDescription(description.Put());
    return description.Get() ? Utf8(description.Get()) : "no description";
}

void ReportDiagnostics(const DebugOutputCapture& capture) {
    std::cerr << "Diagnostics from the module:\n";
    for (std::string text : capture.Texts()) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        WriteForPeople(std::cerr, "  " + text);
    }
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
    const auto statement = reference_host::MakeObject<ToolStatement>(scenario);
    const ComPtr<IBankStatementService> service = module.StatementService();
    const HRESULT result = service->ImportStatement(reconciliation.Get(), statement.Get());
    if (options.diagnostics) ReportDiagnostics(capture);
    if (FAILED(result)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
        WriteForPeople(std::cerr, "import: the import failed with " + std::string(code) + ": " + ErrorDescription());
        return kFailed;
    }
    return WriteImportOutputs(options, HostOutcomeOf(*scenario, *statement.Get(), service.Get()), std::cout, std::cerr);
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console is given wide text; a file or a pipe the UTF-8 bytes.
    const ConsoleOutput console(std::cout, GetStdHandle(STD_OUTPUT_HANDLE));
    const ConsoleOutput consoleErrors(std::cerr, GetStdHandle(STD_ERROR_HANDLE));
    int argc = 0;
    const LocalMemory arguments(CommandLineToArgvW(GetCommandLineW(), &argc));
    const ParsedCommandLine parsed = ParseCommandLine(argc, static_cast<wchar_t**>(arguments.Get()));
    if (parsed.help) {
        std::cout << kUsage;
        return kImported;
    }
    if (!parsed.ok) {
        WriteForPeople(std::cerr, "import: " + parsed.error);
        std::cerr << kUsage;
        return kWrongUse;
    }
    if (const auto why = WhyUnreadable(parsed.options.file)) {
        WriteForPeople(std::cerr, "import: cannot read the statement file \"" + Utf8(parsed.options.file) + "\": " + *why);
        return kWrongUse;
    }
    try {
        return Import(parsed.options);
    } catch (const std::runtime_error& failure) {
        WriteForPeople(std::cerr, "import: " + std::string(failure.what()));
        return kFailed;
    }
}
