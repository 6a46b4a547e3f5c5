#include "ImportReview.h"

ImportReview ReviewImport(const char* path, const StatementAccount& account, bool keepLines) {
    ImportReview review;
    RunningBalance balance;
    ExplainStatement(
        path, account, [&](const StatementExplanation& recognition) { review.explanation = recognition; },
        [&](const ExplainedLine& line) {
            review.losses.Add(line);
            balance.Add(line);
            if (keepLines) review.explanation.lines.push_back(line);
        });
    review.balance = balance.Check(review.losses.StoppedBeforeTheEnd());
    return review;
}

void WriteReview(std::ostream& out, const ImportReview& review, bool explain) {
    if (explain) {
        out << "The file was " << review.explanation.recognition << ".\n";
        for (const ExplainedLine& line : review.explanation.lines) {
            out << Describe(line);
            if (const std::string* reason = review.balance.BreakAt(line.lineNumber))
                out << "; the running balance breaks here: " << *reason;
            out << "\n";
        }
    }
    for (const std::string& warning : review.losses.Warnings()) out << warning << "\n";
    if (review.explanation.recognised) out << BalanceSummary(review.balance) << "\n";
}
