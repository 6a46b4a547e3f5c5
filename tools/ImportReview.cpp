#include "ImportReview.h"

#include <algorithm>
#include <vector>

namespace {

// The breaks of a check in the order of the file's lines (the check lists
// them in the order it took the lines), for lines asked about in that order.
class BreaksInFileOrder {
public:
    explicit BreaksInFileOrder(const BalanceCheck& check) {
        for (const BalanceBreak& found : check.breaks) m_breaks.push_back(&found);
        std::sort(m_breaks.begin(), m_breaks.end(),
                  [](const BalanceBreak* a, const BalanceBreak* b) { return a->lineNumber < b->lineNumber; });
    }

    // The break at `lineNumber`, or null.
    const BalanceBreak* At(int lineNumber) {
        while (m_next < m_breaks.size() && m_breaks[m_next]->lineNumber < lineNumber) ++m_next;
        if (m_next == m_breaks.size() || m_breaks[m_next]->lineNumber != lineNumber) return nullptr;
        return m_breaks[m_next];
    }

private:
    std::vector<const BalanceBreak*> m_breaks;
    std::size_t m_next = 0;
};

}  // namespace

ImportReview ReviewImport(const char* path, const StatementAccount& account) {
    ImportReview review;
    RunningBalance balance;
    ExplainStatement(
        path, account, [&](const StatementExplanation& recognition) { review.recognised = recognition.recognised; },
        [&](const ExplainedLine& line) {
            review.losses.Add(line);
            balance.Add(line);
        });
    review.balance = balance.Check(review.losses.StoppedBeforeTheEnd());
    return review;
}

void WriteExplanation(std::ostream& out, const char* path, const StatementAccount& account,
                      const BalanceCheck& balance) {
    BreaksInFileOrder breaks(balance);
    ExplainStatement(
        path, account,
        [&](const StatementExplanation& recognition) { out << "The file was " << recognition.recognition << ".\n"; },
        [&](const ExplainedLine& line) {
            out << Describe(line);
            if (const BalanceBreak* found = breaks.At(line.lineNumber))
                out << "; the running balance breaks here: " << balance.Reason(*found);
            out << "\n";
        });
}

void WriteReview(std::ostream& out, const ImportReview& review) {
    for (const std::string& warning : review.losses.Warnings()) out << warning << "\n";
    if (review.recognised) out << BalanceSummary(review.balance) << "\n";
}
