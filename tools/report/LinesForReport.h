// What the HTML report keeps of each physical line of the file while the
// import's walk goes by (only when a report is asked for): the kind of
// fate the table shows in words and colour, the statement line's number for
// the host's values, the words --explain says of the line when they say more
// than its kind, and, for each line the running balance check takes, the
// balance the file writes on it, for the chart. Everything else the report
// shows comes from the review and the host's own lines.
#pragma once

#include "MoneyFields.h"
#include "StatementExplainer.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ReportRow {
    int lineNumber = 0;
    LineKind kind = LineKind::NotRead;
    long statementLine = 0;  // Imported and Undated lines
    // What --explain says of the line after "line N: " (file text as it
    // stands, UTF-8); for a line imported with its date and the header, whose
    // kind says the rest, only the notes on texts not as the file writes
    // them (often empty).
    std::string words;
};

// A line the running balance check takes, for the chart.
struct BalancePoint {
    int lineNumber = 0;
    double date = 0.0;                // 0: the line has no date
    std::optional<Pence> balance;     // the balance the file writes, when it reads as an amount
};

class LinesForReport {
public:
    // Takes each line of the walk, in the file's order.
    void Add(const ExplainedLine& line);

    const std::vector<ReportRow>& Lines() const { return m_lines; }
    // In the file's order.
    const std::vector<BalancePoint>& Points() const { return m_points; }
    int Count(LineKind kind) const { return m_counts[static_cast<std::size_t>(kind)]; }

private:
    std::vector<ReportRow> m_lines;
    std::vector<BalancePoint> m_points;
    std::array<int, kLineKinds> m_counts{};
};
