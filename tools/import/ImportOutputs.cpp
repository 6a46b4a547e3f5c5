#include "ImportOutputs.h"

#include "ChosenPath.h"
#include "ImportReview.h"
#include "LineOutput.h"
#include "LinesForReport.h"
#include "PrintableText.h"
#include "ReportFileWriter.h"
#include "ReportPage.h"
#include "Utf8Text.h"

namespace {

constexpr char kRecognised[] = "1, ";

// The host's account of the options, as the import reads it.
StatementAccount HostAccount(const ImportOptions& options) {
    StatementAccount account;
    account.SetAccountNumber(options.accountNumber ? options.accountNumber->c_str() : nullptr);
    account.SetSortCode(options.sortCode ? options.sortCode->c_str() : nullptr);
    return account;
}

}  // namespace

HostOutcome HostOutcomeOf(const reference_host::Scenario& scenario, const ToolStatement& statement,
                          IBankStatementService* service) {
    HostOutcome host{statement.Lines(), std::nullopt, false};
    const auto calls = scenario.log.Calls("FileChooser", "Recognizer");
    if (!calls.empty() && calls.front().value.rfind(kRecognised, 0) == 0)
        host.recognizerTitle = calls.front().value.substr(sizeof kRecognised - 1);
    long cancelled = 0;
    service->get_Cancelled(&cancelled);
    host.cancelled = cancelled != 0;
    return host;
}

// Everything is said from one review of the file; --explain walks it again
// as it writes, so what it finds goes into the review before the rest is
// said. The HTML report, last, keeps what it shows of each line from the
// review's walk.
int WriteImportOutputs(const ImportOptions& options, const HostOutcome& host, std::ostream& out, std::ostream& err) {
    const ChosenPath chosen(options.file.c_str(), options.file.size());  // opened as the import opened it
    const StatementPath path = chosen.Path();
    const StatementAccount account = HostAccount(options);
    std::optional<LinesForReport> reportLines;
    if (options.reportPath) reportLines.emplace();
    ImportReview review = ReviewImport(path, account, *host.lines,
                                       reportLines ? [&](const ExplainedLine& line) { reportLines->Add(line); }
                                                   : std::function<void(const ExplainedLine&)>());
    review.recognizerTitle = host.recognizerTitle;
    review.cancelled = host.cancelled;
    for (const std::string& line : Summary(review)) WriteForPeople(err, line);
    if (options.explain) WriteExplanation(err, path, account, *host.lines, review);
    WriteLines(out, options.format, *host.lines, review);
    for (const std::string& warning : Warnings(review)) WriteForPeople(err, warning);
    if (review.recognised) WriteForPeople(err, BalanceSummary(review.balance));
    const int status = !review.recognised                       ? kNotRecognised
                       : options.strict && review.StrictFails() ? kLinesLost
                                                                : kImported;
    if (!reportLines) return status;
    out.flush();
    const auto failure = WriteReportFile(*options.reportPath, options.file, [&](std::ostream& report) {
        WriteReportPage(report, Utf8(options.file), review, *reportLines, *host.lines);
    });
    if (!failure) return status;
    WriteForPeople(err, "import: cannot write the report " + Utf8(*options.reportPath) + ": " + *failure);
    return kWrongUse;
}
