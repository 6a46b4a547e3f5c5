#include "LinesForReport.h"

#include "RunningBalance.h"

#include <string_view>

namespace {

constexpr std::string_view kNoteSeparator = "; ";

// What the table shows of `line`.
ReportRow ShowLine(const ExplainedLine& line) {
    ReportRow shown;
    shown.lineNumber = line.lineNumber;
    shown.kind = KindOf(line);
    shown.statementLine = line.statementLine;
    const std::string notes = TextNotes(line);
    if (shown.kind != LineKind::Imported && shown.kind != LineKind::Header)
        shown.words = FateText(line) + notes;
    else if (!notes.empty())
        shown.words = notes.substr(kNoteSeparator.size());
    return shown;
}

}  // namespace

void LinesForReport::Add(const ExplainedLine& line) {
    m_lines.push_back(ShowLine(line));
    ++m_counts[static_cast<std::size_t>(m_lines.back().kind)];
    if (!RunningBalance::Takes(line)) return;
    const MoneyField& balance = line.money->balance;
    m_points.push_back({line.lineNumber, line.date,
                        balance.kind == MoneyField::Kind::Amount ? std::optional<Pence>(balance.pence) : std::nullopt});
}
