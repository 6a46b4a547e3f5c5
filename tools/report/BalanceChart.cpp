#include "BalanceChart.h"

#include "HtmlText.h"
#include "ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

// The chart's frame in SVG units: the plot inside its margins.
constexpr double kWidth = 1000, kHeight = 330;
constexpr double kPlotLeft = 92, kPlotRight = 985, kPlotTop = 30, kPlotBottom = 280;
constexpr int kBalanceTicks = 5;
constexpr int kDateTicks = 6;
// Beyond this many marks their labels are left to the marks' titles and
// the table: written on the chart they would cover each other.
constexpr std::size_t kBreaksLabelled = 24;

// A coordinate of the chart, to a tenth of its unit.
std::string Coordinate(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// 1, 2 or 5 times a power of ten, at least `raw` (and at least a penny).
double NiceStep(double raw) {
    if (raw < 1) return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * magnitude) return factor * magnitude;
    return 10 * magnitude;
}

// Where values and points go on the chart.
class Scale {
public:
    Scale(const std::vector<BalancePoint>& chain, const std::vector<std::size_t>& drawn) : m_count(chain.size()) {
        double low = 0, high = 0;
        bool first = true;
        for (const std::size_t index : drawn) {
            const double value = static_cast<double>(*chain[index].balance);
            low = first ? value : std::min(low, value);
            high = first ? value : std::max(high, value);
            first = false;
        }
        if (low < 0) high = std::max(high, 0.0);  // overdrawn: zero is on the chart
        if (high == low) {
            low -= std::max(std::fabs(low) / 20, 100.0);
            high += std::max(std::fabs(high) / 20, 100.0);
        }
        m_step = NiceStep((high - low) / kBalanceTicks);
        m_low = std::floor(low / m_step) * m_step;
        m_high = std::ceil(high / m_step) * m_step;
    }

    double X(std::size_t index) const {
        if (m_count < 2) return (kPlotLeft + kPlotRight) / 2;
        return kPlotLeft + static_cast<double>(index) * (kPlotRight - kPlotLeft) / static_cast<double>(m_count - 1);
    }
    double Y(double pence) const { return kPlotBottom - (pence - m_low) / (m_high - m_low) * (kPlotBottom - kPlotTop); }
    double Low() const { return m_low; }
    double High() const { return m_high; }
    double Step() const { return m_step; }

private:
    std::size_t m_count;
    double m_step = 1, m_low = 0, m_high = 1;
};

std::string PolylinePoints(const std::vector<BalancePoint>& chain, const std::vector<std::size_t>& drawn,
                           const Scale& scale) {
    std::string points;
    points.reserve(drawn.size() * 13);
    for (const std::size_t index : drawn)
        points +=
            Coordinate(scale.X(index)) + "," + Coordinate(scale.Y(static_cast<double>(*chain[index].balance))) + " ";
    if (!points.empty()) points.pop_back();
    return points;
}

void WriteBalanceAxis(std::ostream& out, const Scale& scale) {
    for (double tick = scale.Low(); tick <= scale.High() + scale.Step() / 2; tick += scale.Step()) {
        const std::string y = Coordinate(scale.Y(tick));
        out << "<line class=\"grid\" x1=\"" << kPlotLeft << "\" x2=\"" << kPlotRight << "\" y1=\"" << y << "\" y2=\""
            << y << "\"/><text class=\"axis\" x=\"" << kPlotLeft - 6 << "\" y=\"" << y
            << "\" text-anchor=\"end\" dominant-baseline=\"middle\">" << MoneyText(std::llround(tick)) << "</text>";
    }
}

void WriteDateAxis(std::ostream& out, const std::vector<BalancePoint>& chain, const Scale& scale) {
    const std::size_t ticks = std::min<std::size_t>(kDateTicks, chain.size());
    std::size_t previous = chain.size();
    for (std::size_t tick = 0; tick < ticks; ++tick) {
        const std::size_t index = ticks < 2 ? 0 : (tick * (chain.size() - 1) + (ticks - 1) / 2) / (ticks - 1);
        if (index == previous) continue;
        previous = index;
        const std::string date = IsoDate(chain[index].date);
        const char* anchor = ticks < 2 ? "middle" : tick == 0 ? "start" : tick + 1 == ticks ? "end" : "middle";
        const std::string x = Coordinate(scale.X(index));
        out << "<line class=\"tick\" x1=\"" << x << "\" x2=\"" << x << "\" y1=\"" << kPlotBottom << "\" y2=\""
            << kPlotBottom + 5 << "\"/><text class=\"axis\" x=\"" << x << "\" y=\"" << kPlotBottom + 20
            << "\" text-anchor=\"" << anchor << "\">" << (date.empty() ? "no date" : date) << "</text>";
    }
}

void WriteOverdrawn(std::ostream& out, const Scale& scale, const std::string& points) {
    if (scale.Low() >= 0) return;
    const std::string zero = Coordinate(scale.Y(0));
    const std::string height = Coordinate(kPlotBottom - scale.Y(0));
    out << "<defs><clipPath id=\"below-zero\"><rect x=\"" << kPlotLeft << "\" y=\"" << zero << "\" width=\""
        << kPlotRight - kPlotLeft << "\" height=\"" << height << "\"/></clipPath></defs>"
        << "<rect class=\"overdrawn\" x=\"" << kPlotLeft << "\" y=\"" << zero << "\" width=\"" << kPlotRight - kPlotLeft
        << "\" height=\"" << height << "\"/><text class=\"overdrawn-label\" x=\"" << kPlotLeft + 6 << "\" y=\""
        << kPlotBottom - 6 << "\">overdrawn (below zero)</text>";
    // The line again, in the overdrawn colour, where it runs below zero.
    out << "<polyline class=\"balance below-zero\" clip-path=\"url(#below-zero)\" points=\"" << points << "\"/>"
        << "<line class=\"zero\" x1=\"" << kPlotLeft << "\" x2=\"" << kPlotRight << "\" y1=\"" << zero << "\" y2=\""
        << zero << "\"/>";
}

// A break and the chain's index of its line.
struct ChartBreak {
    std::size_t index;
    const BalanceBreak* found;
};

// The breaks, in the check's order, each with its index in the chain.
std::vector<ChartBreak> BreaksOnTheChain(const std::vector<BalancePoint>& points, const BalanceCheck& check) {
    std::vector<ChartBreak> breaks;
    for (const BalanceBreak& found : check.breaks) {
        const auto at = std::lower_bound(points.begin(), points.end(), found.lineNumber,
                                         [](const BalancePoint& point, int line) { return point.lineNumber < line; });
        if (at == points.end() || at->lineNumber != found.lineNumber) continue;
        const auto inFile = static_cast<std::size_t>(at - points.begin());
        breaks.push_back({check.order == BalanceOrder::OldestFirst ? inFile : points.size() - 1 - inFile, &found});
    }
    return breaks;
}

// One mark on the chart: a break, or the breaks of one stretch of it, drawn
// where the first of them (in the chain's order) stands.
struct BreakMark {
    ChartBreak first;
    std::size_t stretch = 0;
    std::size_t count = 1;
    int lowestLine = 0, highestLine = 0;  // of the breaks it stands for
};

// A mark for each break, or, beyond kBreakMarks breaks, one for the breaks of
// each of kBreakMarks equal stretches of the chain that has any. `breaks` are
// in the chain's order, as the check lists them.
std::vector<BreakMark> MarksOf(const std::vector<ChartBreak>& breaks, std::size_t chainSize) {
    const bool grouped = breaks.size() > kBreakMarks;
    std::vector<BreakMark> marks;
    for (const ChartBreak& found : breaks) {
        const std::size_t stretch = grouped ? found.index * kBreakMarks / chainSize : marks.size();
        const int line = found.found->lineNumber;
        if (!marks.empty() && marks.back().stretch == stretch) {
            BreakMark& mark = marks.back();
            ++mark.count;
            mark.lowestLine = std::min(mark.lowestLine, line);
            mark.highestLine = std::max(mark.highestLine, line);
        } else {
            marks.push_back({found, stretch, 1, line, line});
        }
    }
    return marks;
}

// The balance to mark a break at: its line's own, else the nearest before it.
double MarkBalance(const std::vector<BalancePoint>& chain, std::size_t index, const Scale& scale) {
    for (std::size_t at = index + 1; at-- > 0;)
        if (chain[at].balance) return static_cast<double>(*chain[at].balance);
    for (std::size_t at = index; at < chain.size(); ++at)
        if (chain[at].balance) return static_cast<double>(*chain[at].balance);
    return (scale.Low() + scale.High()) / 2;
}

// "+100.00": the amount the balance written is off by; or what is wrong instead.
std::string BreakLabel(const BalanceBreak& found) {
    switch (found.cause) {
        case BalanceBreak::Cause::DoesNotAddUp:
            return SignedMoneyText(found.stated - (found.before + found.change));
        case BalanceBreak::Cause::UnreadableDebit:
            return "debit unreadable";
        case BalanceBreak::Cause::UnreadableCredit:
            return "credit unreadable";
        case BalanceBreak::Cause::TwoAmounts:
            return "debit and credit";
        case BalanceBreak::Cause::NoBalance:
            return "no balance";
        case BalanceBreak::Cause::UnreadableBalance:
            break;
    }
    return "balance unreadable";
}

// "line 4: -100.00; 4,917.60 - 82.40 should give ...", or for a mark of
// several breaks "250 breaks, lines 1002 to 1498 (each in the table); the
// first, line 1002: ...".
std::string MarkTitle(const BreakMark& mark, const BalanceCheck& check) {
    const BalanceBreak& first = *mark.first.found;
    const std::string firstText = HtmlText(BreakLabel(first)) + "; " + HtmlText(check.Reason(first));
    if (mark.count == 1) return "line " + std::to_string(first.lineNumber) + ": " + firstText;
    return std::to_string(mark.count) + " breaks, lines " + std::to_string(mark.lowestLine) + " to " +
           std::to_string(mark.highestLine) + " (each in the table); the first, line " +
           std::to_string(first.lineNumber) + ": " + firstText;
}

std::string MarkLabel(const BreakMark& mark) {
    return mark.count == 1 ? BreakLabel(*mark.first.found) : std::to_string(mark.count) + " breaks";
}

void WriteBreakMarks(std::ostream& out, const std::vector<BalancePoint>& chain, const std::vector<BreakMark>& marks,
                     const BalanceCheck& check, const Scale& scale) {
    const bool labelled = marks.size() <= kBreaksLabelled;
    for (std::size_t number = 0; number < marks.size(); ++number) {
        const std::size_t index = marks[number].first.index;
        const std::string x = Coordinate(scale.X(index));
        const double y = scale.Y(MarkBalance(chain, index, scale));
        out << "<g class=\"break-mark\"><title>" << MarkTitle(marks[number], check) << "</title><line x1=\"" << x
            << "\" x2=\"" << x << "\" y1=\"" << kPlotTop << "\" y2=\"" << kPlotBottom << "\"/><circle cx=\"" << x
            << "\" cy=\"" << Coordinate(y) << "\" r=\"5\"/>";
        if (labelled) {
            const double labelY = std::clamp(y + (number % 2 ? 20.0 : -10.0), kPlotTop + 10, kPlotBottom - 4);
            out << "<text x=\"" << x << "\" y=\"" << Coordinate(labelY) << "\" text-anchor=\"middle\">"
                << HtmlText(MarkLabel(marks[number])) << "</text>";
        }
        out << "</g>";
    }
}

// What the caption says of the marks.
std::string MarksCaption(const std::vector<ChartBreak>& breaks, const std::vector<BreakMark>& marks) {
    if (breaks.empty()) return "No break.";
    const std::string head = "Red marks: where the running balance breaks";
    if (marks.size() == breaks.size())
        return head + ", with the amount it is off by" + (marks.size() > kBreaksLabelled ? " (on each mark's title)." : ".");
    return head + "; its " + std::to_string(breaks.size()) + " breaks are shown as " + std::to_string(marks.size()) +
           " marks, each for the breaks of one stretch of the chart, drawn at the first of them, with how many and "
           "which lines on its title" + (marks.size() <= kBreaksLabelled ? " and beside it" : "") +
           "; the table marks every break.";
}

}  // namespace

std::vector<std::size_t> PointsDrawn(const std::vector<BalancePoint>& chain, const std::vector<std::size_t>& breaks,
                                     std::size_t limit) {
    std::vector<std::size_t> withBalance;
    for (std::size_t index = 0; index < chain.size(); ++index)
        if (chain[index].balance) withBalance.push_back(index);
    std::vector<std::size_t> drawn;
    if (withBalance.size() <= limit) {
        drawn = withBalance;
    } else {
        const std::size_t between = withBalance.size() - 2, runs = (limit - 2) / 2;
        drawn.push_back(withBalance.front());
        for (std::size_t run = 0; run < runs; ++run) {
            const auto first = withBalance.begin() + 1 + static_cast<std::ptrdiff_t>(run * between / runs);
            const auto last = withBalance.begin() + 1 + static_cast<std::ptrdiff_t>((run + 1) * between / runs);
            if (first == last) continue;
            const auto [lowest, highest] = std::minmax_element(
                first, last, [&](std::size_t a, std::size_t b) { return *chain[a].balance < *chain[b].balance; });
            drawn.push_back(std::min(*lowest, *highest));
            drawn.push_back(std::max(*lowest, *highest));
        }
        drawn.push_back(withBalance.back());
    }
    for (const std::size_t index : breaks)
        if (index < chain.size() && chain[index].balance) drawn.push_back(index);
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    return drawn;
}

void WriteBalanceChart(std::ostream& out, const std::vector<BalancePoint>& points, const BalanceCheck& check) {
    std::vector<BalancePoint> chain = points;
    if (check.order == BalanceOrder::NewestFirst) std::reverse(chain.begin(), chain.end());
    const std::vector<ChartBreak> breaks = BreaksOnTheChain(points, check);
    const std::vector<BreakMark> marks = MarksOf(breaks, chain.size());
    std::vector<std::size_t> markIndexes;
    for (const BreakMark& mark : marks) markIndexes.push_back(mark.first.index);
    const std::vector<std::size_t> drawn = PointsDrawn(chain, markIndexes);
    if (drawn.empty()) {
        out << "<p class=\"no-chart\">No line of the host's account writes a balance that reads as an amount: there "
               "is no running balance to draw.</p>\n";
        return;
    }
    const Scale scale(chain, drawn);
    const std::string line = PolylinePoints(chain, drawn, scale);
    out << "<svg class=\"chart\" viewBox=\"0 0 " << kWidth << " " << kHeight
        << "\" role=\"img\" aria-label=\"Running balance\" xmlns=\"http://www.w3.org/2000/svg\">";
    WriteBalanceAxis(out, scale);
    WriteDateAxis(out, chain, scale);
    out << "<polyline class=\"balance\" points=\"" << line << "\"/>";
    WriteOverdrawn(out, scale, line);
    WriteBreakMarks(out, chain, marks, check, scale);
    out << "</svg>\n<p class=\"caption\">The balance written on each line of the host's account that the import read ("
        << chain.size() << (chain.size() == 1 ? " line" : " lines") << ", "
        << (check.order == BalanceOrder::OldestFirst ? "oldest first, as the file is written"
                                                     : "oldest first: the file is written newest first")
        << "), with the lines' dates below"
        << (drawn.size() < chain.size() ? "; thinned to " + std::to_string(drawn.size()) +
                                              " points, keeping each stretch's lowest and highest balance and " +
                                              (marks.size() == breaks.size() ? "every break" : "each mark's break")
                                        : std::string())
        << ". " << MarksCaption(breaks, marks) << "</p>\n";
}
