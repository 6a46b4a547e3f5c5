#include "ImportReview.h"

ImportReview ReviewImport(const char* path, const StatementAccount& account) {
    ImportReview review;
    review.explanation = ExplainStatement(path, account);
    RunningBalance balance;
    for (const ExplainedLine& line : review.explanation.lines) {
        review.losses.Add(line);
        balance.Add(line);
    }
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
