#include "ReportLines.h"

#include "RunningBalance.h"

namespace {

LineKind KindOf(const ExplainedLine& line) {
    switch (line.fate) {
        case LineFate::Imported:
            return line.Undated() ? LineKind::Undated : LineKind::Imported;
        case LineFate::Header:
            return LineKind::Header;
        case LineFate::PassedOver:
            return LineKind::Title;
        case LineFate::OtherAccount:
            return line.emptyRow ? LineKind::EmptyRow : LineKind::OtherAccount;
        case LineFate::NoAmount:
            return line.emptyRow             ? LineKind::EmptyRow
                   : line.AmountUnreadable() ? LineKind::UnreadableAmount
                                             : LineKind::NoAmount;
        case LineFate::Unreadable:
            return LineKind::Stopped;
        case LineFate::NotRead:
            break;
    }
    return LineKind::NotRead;
}

// --explain's words for the line, without its "line N: ".
std::string WordsOf(const ExplainedLine& line) {
    const std::string described = Describe(line);
    return described.substr(described.find(": ") + 2);
}

}  // namespace

ReportLine ShowLine(const ExplainedLine& line) {
    ReportLine shown;
    shown.lineNumber = line.lineNumber;
    shown.kind = KindOf(line);
    shown.statementLine = line.statementLine;
    if (shown.kind != LineKind::Imported && shown.kind != LineKind::Header) shown.words = WordsOf(line);
    return shown;
}

void ReportLines::Add(const ExplainedLine& line) {
    m_lines.push_back(ShowLine(line));
    ++m_counts[static_cast<std::size_t>(m_lines.back().kind)];
    if (!RunningBalance::Takes(line)) return;
    const MoneyField& balance = line.money->balance;
    m_points.push_back({line.lineNumber, line.date,
                        balance.kind == MoneyField::Kind::Amount ? std::optional<Pence>(balance.pence) : std::nullopt});
}
