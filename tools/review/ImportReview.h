// Everything the tool says about an import, in one place: the table, CSV
// and JSON outputs, --explain and the lines on standard error all read it.
//
// The facts about the file come from the import's own walk of it (binary
// mode, as the import reads it), checked line by line against what the host
// received, so a file that changed after the import is said to have
// changed. Nothing is kept per line but the running balance's small chain
// and the numbers of the lines a warning names: --explain is written as
// the file is walked again, once the balance check knows where the chain
// breaks, and that walk is checked against the host's lines too.
#pragma once

#include "HostLineCheck.h"
#include "HostLines.h"
#include "LossSummary.h"
#include "RunningBalance.h"
#include "StatementExplainer.h"
#include "StatementLineRecords.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct ImportReview {
    // The import's walk of the file: whether it recognised the file, and how.
    bool recognised = false;
    std::string recognition;
    bool utf8 = false;  // the file's text is UTF-8, else the ANSI code page
    // What the module's file test (the recognizer, which reads in text
    // mode) answered the host's file chooser: its title when it recognised
    // the file.
    std::optional<std::string> recognizerTitle;
    bool cancelled = false;
    std::size_t hostLines = 0;  // the statement lines the host received
    std::string hostAccount;  // in words (HostAccountText)
    LossSummary losses;
    BalanceCheck balance;
    std::optional<FileChange> fileChange;

    bool RecognizerAgrees() const { return recognised == recognizerTitle.has_value(); }
    // Nothing imported from a recognised file whose lines are another account's.
    bool NoLineMatched() const;
    // True when --strict fails (exit 4): the host lost data, got a line
    // without a value or a text with a character replaced, the file was read
    // in the ANSI code page though lines of it look like UTF-8, the file
    // changed during the import, or the running balance breaks.
    bool StrictFails() const;
};

// Walks the file at `path` as the import did, for
// the host's `account`, checking it against the host's `lines`. Each line's
// explanation also goes to `alsoOnLine`, when given (the HTML report keeps
// what it shows of each line).
ImportReview ReviewImport(StatementPath path, const StatementAccount& account, const HostLines& lines,
                          const std::function<void(const ExplainedLine&)>& alsoOnLine = nullptr);

// Walks the file again and writes, a line each as it goes, how it was
// recognised and what became of every line; a line where the running
// balance breaks says so. Notes in `review` a change of the file that only
// this walk finds.
void WriteExplanation(std::ostream& out, StatementPath path, const StatementAccount& account, const HostLines& lines,
                      ImportReview& review);

// How many lines the host received, whether the file was recognised and
// whether the import was cancelled, a line each.
std::vector<std::string> Summary(const ImportReview& review);

// The recognition and what the host did not get, a line each, as the tool
// says them on standard error (the text of the file as it stands: written
// for people through WriteForPeople).
std::vector<std::string> Warnings(const ImportReview& review);
