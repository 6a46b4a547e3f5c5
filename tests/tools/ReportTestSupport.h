// The review of a statement's import with what the HTML report keeps of
// each line, through the import's own walk, for the report's tests: the
// host's account is sort code 12-34-56 and account 12345678, and the host
// received no line.
#pragma once

#include "ImportReview.h"
#include "LinesForReport.h"
#include "StatementTestSupport.h"

#include <string>

struct ReviewedForReport {
    ImportReview review;
    LinesForReport lines;
};

inline ReviewedForReport ReviewForReport(const std::string& statement) {
    const ScratchFile file(statement);
    StatementAccount account;
    account.SetAccountNumber(L"12345678");
    account.SetSortCode(L"12-34-56");
    const reference_host::StatementLineRecords noLines;
    ReviewedForReport reviewed;
    reviewed.review =
        ReviewImport(file.Path(), account, noLines, [&](const ExplainedLine& line) { reviewed.lines.Add(line); });
    return reviewed;
}
