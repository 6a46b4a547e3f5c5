// What the tool says after an import about the statement file itself, from
// the import's own walk of it: what became of every line (--explain), what
// the host did not get, and whether the running balance adds up.
#pragma once

#include "LossSummary.h"
#include "RunningBalance.h"
#include "StatementExplainer.h"

#include <ostream>

struct ImportReview {
    StatementExplanation explanation;
    LossSummary losses;
    BalanceCheck balance;
};

// Walks the file at `path` (narrow, ANSI code page) as the import did. The
// explanation keeps every line only with `keepLines`: a long statement's
// lines are many.
ImportReview ReviewImport(const char* path, const StatementAccount& account, bool keepLines);

// The review in plain words, a line each: with `explain`, how the file was
// recognised and every line kept (a line where the running balance breaks
// says so); then the losses; then, for a recognised file, the running
// balance.
void WriteReview(std::ostream& out, const ImportReview& review, bool explain);
