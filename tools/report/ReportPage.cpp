#include "ReportPage.h"

#include "BalanceChart.h"
#include "BreaksInFileOrder.h"
#include "HtmlText.h"
#include "LossSummary.h"
#include "PageStyle.h"
#include "TableWriter.h"
#include "ValueText.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

constexpr char kContentSecurityPolicy[] = "default-src 'none'; style-src 'unsafe-inline'; img-src data:";
constexpr std::size_t kRowsPerPart = 1000;
// The widths of the table's columns, the same in each of its parts.
constexpr char kColumns[] =
    "<colgroup><col style=\"width:4em\"><col style=\"width:12em\"><col style=\"width:5.5em\">"
    "<col style=\"width:6.5em\"><col style=\"width:7.5em\"><col><col style=\"width:6em\"><col style=\"width:7.5em\">"
    "<col></colgroup>";

// How each kind of line is shown: its colour's class, its words, and its
// words where lines are counted.
struct KindShown {
    const char* cssClass;
    const char* words;
    const char* counted;
};
constexpr KindShown kKindsShown[kLineKinds] = {
    {"imp", "imported", "imported"},
    {"und", "imported without a date", "imported without a date"},
    {"hdr", "header", "header"},
    {"ttl", "title, passed over", "title"},
    {"oth", "another account's, passed over", "another account's"},
    {"noa", "without an amount, passed over", "without an amount"},
    {"bad", "amount does not read, passed over", "with an amount that does not read"},
    {"two", "both a debit and a credit, passed over", "with both a debit and a credit"},
    {"emp", "empty row, passed over", "empty row"},
    {"stp", "not a transaction line: the import stopped here", "where the import stopped"},
    {"nrd", "not read: the import had stopped", "not read"},
};
// The stopping line and those after it, where nothing after the stop holds
// anything the host could have got: the end of the statement.
constexpr KindShown kEndShown[] = {
    {"end", "the end of the statement: the import stopped here", "the end of the statement"},
    {"end", "after the end of the statement, not read", "after the end, not read"}};

class ReportWriter {
public:
    ReportWriter(std::ostream& out, const ImportReview& review, const LinesForReport& lines, const HostLines& host)
        : m_out(out), m_review(review), m_lines(lines), m_host(host),
          m_stopIsTheEnd(!review.losses.StoppedBeforeTheEnd()) {}

    void Write(const std::string& file) {
        WriteHead(file);
        WriteSummary(file);
        m_out << "<h2>Running balance</h2>\n";
        WriteBalanceChart(m_out, m_lines.Points(), m_review.balance);
        WriteTable();
        m_out << "</body>\n</html>\n";
    }

private:
    const KindShown& Shown(LineKind kind) const {
        if (m_stopIsTheEnd && kind == LineKind::Stopped) return kEndShown[0];
        if (m_stopIsTheEnd && kind == LineKind::NotRead) return kEndShown[1];
        return kKindsShown[static_cast<std::size_t>(kind)];
    }

    void WriteHead(const std::string& file) {
        const std::size_t slash = file.find_last_of("\\/");
        m_out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
              << "<meta http-equiv=\"Content-Security-Policy\" content=\"" << kContentSecurityPolicy << "\">\n"
              << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
              << "<link rel=\"icon\" href=\"data:,\">\n<title>Statement report: "
              << HtmlText(slash == std::string::npos ? file : file.substr(slash + 1)) << "</title>\n<style>"
              << kPageStyle << "</style>\n</head>\n<body>\n";
    }

    void WriteSummary(const std::string& file) {
        m_out << "<h1>Statement report</h1>\n<p class=\"path\">" << HtmlText(file) << "</p>\n";
        WriteVerdict();
        m_out << "<div class=\"top\">\n<table class=\"facts\">\n";
        Fact("How it was read", "The file was " + m_review.recognition + ".");
        if (m_review.recognised) Fact("Encoding", EncodingText());
        Fact("Host account", m_review.hostAccount);
        Fact("Imported", std::to_string(m_review.hostLines) +
                             (m_review.hostLines == 1 ? " statement line" : " statement lines") +
                             (m_review.cancelled ? "; the import was cancelled" : ""));
        Fact("Imported without a date", LineCount(m_lines.Count(LineKind::Undated)));
        Fact("Passed over", PassedOverText());
        Fact("Not read", LineCount(m_lines.Count(LineKind::NotRead)));
        Fact("Where the import stopped", StopText());
        if (m_review.recognised) Fact("Running balance", BalanceSummary(m_review.balance));
        if (m_review.recognised)
            Fact("Closing balance", m_review.balance.closing ? MoneyText(*m_review.balance.closing) + " (the file's)"
                                                              : std::string("unknown"));
        m_out << "</table>\n";
        WriteKinds();
        m_out << "</div>\n";
        WriteSaid();
    }

    void WriteVerdict() {
        const bool bad = !m_review.recognised || m_review.StrictFails();
        const char* text =
            !m_review.recognised ? "The file was not recognised: the host's statement was emptied."
            : bad ? "Look closer: the host lost data, got a line without a value or a text not as the file writes it, "
                    "the file changed, or the running balance breaks (--strict fails)."
                  : "Nothing lost that the tool can see: the host got every line it should, and --strict passes.";
        m_out << "<p class=\"verdict " << (bad ? "bad" : "ok") << "\">" << text << "</p>\n";
    }

    void Fact(const char* name, const std::string& text) {
        m_out << "<tr><th>" << name << "</th><td>" << HtmlText(text) << "</td></tr>\n";
    }

    std::string EncodingText() const {
        return m_review.utf8 ? std::string("UTF-8")
                             : "the system's ANSI code page (" + std::to_string(GetACP()) + " here)";
    }

    std::string PassedOverText() const {
        std::string text;
        int total = 0;
        for (const LineKind kind : {LineKind::Title, LineKind::OtherAccount, LineKind::NoAmount,
                                    LineKind::UnreadableAmount, LineKind::TwoAmounts, LineKind::EmptyRow}) {
            const int count = m_lines.Count(kind);
            if (count == 0) continue;
            total += count;
            text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + Shown(kind).counted;
        }
        return total == 0 ? "none" : LineCount(total) + ": " + text;
    }

    std::string StopText() const {
        const LossSummary& losses = m_review.losses;
        if (!m_review.recognised) return "nothing was read";
        if (const auto stop = losses.StoppedBeforeTheEnd())
            return "at line " + std::to_string(*stop) + ", which is not a transaction line (" + losses.StopReason() +
                   "); " + LineCount(losses.LinesNotRead()) + " after it not read";
        return "at the end of the file";
    }

    // What became of the lines, a row for each kind there is: the legend of the table's colours.
    void WriteKinds() {
        m_out << "<table class=\"kinds\">\n<tr><th>What became of the line</th><th>Lines</th></tr>\n";
        for (std::size_t kind = 0; kind < kLineKinds; ++kind) {
            const int count = m_lines.Count(static_cast<LineKind>(kind));
            if (count == 0) continue;
            const KindShown& shown = Shown(static_cast<LineKind>(kind));
            m_out << "<tr class=\"" << shown.cssClass << "\"><td><span class=\"swatch\"></span>" << shown.words
                  << "</td><td>" << count << "</td></tr>\n";
        }
        m_out << "</table>\n";
    }

    // The lines the tool says on standard error, as it says them.
    void WriteSaid() {
        m_out << "<h2>What the tool says</h2>\n<ul class=\"said\">\n";
        for (const std::string& line : Summary(m_review)) m_out << "<li>" << HtmlText(line) << "</li>\n";
        for (const std::string& line : Warnings(m_review))
            m_out << "<li class=\"warning\">" << HtmlText(line) << "</li>\n";
        if (m_review.recognised) m_out << "<li>" << HtmlText(BalanceSummary(m_review.balance)) << "</li>\n";
        m_out << "</ul>\n";
    }

    // The table in parts of kRowsPerPart rows, each a table of its own with
    // the same fixed columns: a browser lays out only the parts in view, so
    // that a statement of a hundred thousand lines opens in seconds.
    void WriteTable() {
        m_out << "<h2>Every line of the file</h2>\n<table class=\"lines\">" << kColumns
              << "<thead><tr><th>Line</th><th>What became of it</th><th>Direction</th><th>Amount</th><th>Date</th>"
                 "<th>Description</th><th>Reference</th><th>Balance in the file</th><th>Why, and notes</th></tr>"
                 "</thead></table>\n";
        BreaksInFileOrder breaks(m_review.balance);
        const std::vector<BalancePoint>& points = m_lines.Points();
        const std::vector<ReportRow>& lines = m_lines.Lines();
        std::size_t point = 0;
        for (std::size_t index = 0; index < lines.size(); ++index) {
            if (index % kRowsPerPart == 0)
                m_out << (index ? "</tbody></table></div>\n" : "") << "<div class=\"part\"><table class=\"lines\">"
                      << kColumns << "<tbody>\n";
            const ReportRow& line = lines[index];
            const BalancePoint* balance = nullptr;
            if (point < points.size() && points[point].lineNumber == line.lineNumber) balance = &points[point++];
            WriteRow(line, breaks.At(line.lineNumber), balance);
        }
        if (!lines.empty()) m_out << "</tbody></table></div>\n";
    }

    // End tags of cells and rows are left out, as HTML allows: a long
    // statement's table is most of the page.
    void WriteRow(const ReportRow& line, const BalanceBreak* found, const BalancePoint* balance) {
        const KindShown& shown = Shown(line.kind);
        const bool imported = line.kind == LineKind::Imported || line.kind == LineKind::Undated;
        m_out << "<tr class=\"" << shown.cssClass << (found ? " brk" : "") << "\"><td>" << line.lineNumber << "<td>";
        std::string notes = line.words;
        if (imported) {
            m_out << "imported as statement line " << line.statementLine
                  << (line.kind == LineKind::Undated ? ", without a date" : "");
            WriteHostValues(line.statementLine, notes);
        } else {
            m_out << shown.words << "<td><td><td><td><td>";
        }
        m_out << "<td>" << (balance && balance->balance ? MoneyText(*balance->balance) : std::string()) << "<td>"
              << HtmlText(notes);
        if (found)
            m_out << (notes.empty() ? "" : "; ") << "<strong class=\"break\">the running balance breaks here: "
                  << HtmlText(m_review.balance.Reason(*found)) << "</strong>";
        m_out << "\n";
    }

    // The direction, amount, date, description and reference the host got,
    // as the tool's table prints them.
    void WriteHostValues(long statementLine, std::string& notes) {
        if (statementLine < 1 || static_cast<std::size_t>(statementLine) > m_host.Size()) {
            m_out << "<td><td><td><td><td>";
            notes += (notes.empty() ? "" : "; ") + std::string("the host did not receive this statement line");
            return;
        }
        const auto cells = TableCells(m_host[static_cast<std::size_t>(statementLine - 1)]);
        for (std::size_t cell = 1; cell < cells.size(); ++cell) m_out << "<td>" << HtmlText(cells[cell]);
    }

    std::ostream& m_out;
    const ImportReview& m_review;
    const LinesForReport& m_lines;
    const HostLines& m_host;
    const bool m_stopIsTheEnd;
};

}  // namespace

void WriteReportPage(std::ostream& out, const std::string& file, const ImportReview& review,
                     const LinesForReport& lines, const HostLines& host) {
    ReportWriter(out, review, lines, host).Write(file);
}
