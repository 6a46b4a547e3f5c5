#include "CommandLine.h"

#include <map>

const char kUsage[] =
    "usage: import FILE [--sort-code SORTCODE] [--account ACCOUNT] [--format table|csv|json]\n"
    "              [--diagnostics] [--explain] [--strict] [--report FILE.html] [--module DLL]\n"
    "\n"
    "Imports the statement FILE through the bank module, with this tool as the host whose\n"
    "bank account has the given sort code and account number, and prints the statement\n"
    "lines the host received.\n"
    "\n"
    "  --format        table (default), csv or json\n"
    "  --diagnostics   also print the module's diagnostic texts on standard error\n"
    "  --explain       say what became of every line of the file\n"
    "  --strict        fail (exit 4) when the host lost data or got a line without a value\n"
    "  --report        also write FILE.html: a report of the import to open in a browser, with\n"
    "                  the running balance drawn and what became of every line of the file\n"
    "  --module        load this module DLL instead of the registered module\n"
    "\n"
    "Exit status: 0 imported, 3 file not recognised, 1 import failed, 2 wrong use, unreadable FILE or\n"
    "a report that cannot be written, 4 (with --strict) imported, but the host lost data or got a line without\n"
    "a value (see the README).\n";

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

bool SetFormat(const std::wstring& name, OutputFormat& format) {
    static const std::map<std::wstring, OutputFormat> formats = {
        {L"table", OutputFormat::Table}, {L"csv", OutputFormat::Csv}, {L"json", OutputFormat::Json}};
    const auto found = formats.find(name);
    if (found == formats.end()) return false;
    format = found->second;
    return true;
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, wchar_t** argv) {
    ParsedCommandLine parsed;
    ImportOptions& options = parsed.options;
    for (int index = 1; index < argc; ++index) {
        const std::wstring argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == L"--help" || argument == L"-h") {
            parsed.help = true;
            return parsed;
        } else if (argument == L"--diagnostics") {
            options.diagnostics = true;
        } else if (argument == L"--explain") {
            options.explain = true;
        } else if (argument == L"--strict") {
            options.strict = true;
        } else if (argument.rfind(L"--", 0) == 0 && !hasValue) {
            parsed.error = Narrow(argument) + " needs a value";
            return parsed;
        } else if (argument == L"--sort-code") {
            options.sortCode = argv[++index];
        } else if (argument == L"--account") {
            options.accountNumber = argv[++index];
        } else if (argument == L"--module") {
            options.modulePath = argv[++index];
        } else if (argument == L"--report") {
            options.reportPath = argv[++index];
        } else if (argument == L"--format") {
            if (!SetFormat(argv[++index], options.format)) {
                parsed.error = "unknown format " + Narrow(argv[index]) + " (table, csv or json)";
                return parsed;
            }
        } else if (argument.rfind(L"--", 0) == 0) {
            parsed.error = "unknown option " + Narrow(argument);
            return parsed;
        } else if (options.file.empty()) {
            options.file = argument;
        } else {
            parsed.error = "more than one FILE given";
            return parsed;
        }
    }
    if (options.file.empty()) {
        parsed.error = "no FILE given";
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}
