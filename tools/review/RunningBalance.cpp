#include "RunningBalance.h"

#include "ValueText.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr size_t kBreaksSaid = 3;

using Kind = MoneyField::Kind;
using Cause = BalanceBreak::Cause;

std::string ArithmeticReason(Pence before, Pence change, Pence stated) {
    return MoneyText(before) + (change < 0 ? " - " : " + ") + MoneyText(change < 0 ? -change : change) +
           " should give " + MoneyText(before + change) + ", the file says " + MoneyText(stated);
}

std::string OrderText(BalanceOrder order) {
    return order == BalanceOrder::OldestFirst ? "lines taken oldest first, as the file is written"
                                              : "lines taken from the file's last up: it is written newest first";
}

std::string StopText(const std::optional<int>& stop) {
    if (!stop) return "";
    return "; not checked past line " + std::to_string(*stop) +
           ", where the import stopped: the lines after it were not read";
}

std::string BreaksText(const BalanceCheck& check) {
    const std::vector<BalanceBreak>& breaks = check.breaks;
    std::string text = "Running balance breaks";
    for (size_t index = 0; index < breaks.size() && index < kBreaksSaid; ++index)
        text += std::string(index ? "; at line " : " at line ") + std::to_string(breaks[index].lineNumber) + ": " +
                check.Reason(breaks[index]);
    if (breaks.size() > kBreaksSaid) text += "; and " + std::to_string(breaks.size() - kBreaksSaid) + " more breaks";
    return text;
}

}  // namespace

// A chain followed only for its evidence of the order keeps no breaks: in
// the wrong order nearly every line breaks.
struct RunningBalance::Chain {
    explicit Chain(bool keeps) : keepsBreaks(keeps) {}

    const bool keepsBreaks;
    std::vector<BalanceBreak> breaks;  // only when it keeps them
    std::optional<Pence> balance;  // the balance the next line starts from, when it is known
    int linesAddingUp = 0;         // lines checked against the balance before them that add up
    int restartsAfterTheFirstLine = 0;

    void Take(const ChainLine& line, bool first);
    void Break(const BalanceBreak& found) {
        if (keepsBreaks) breaks.push_back(found);
    }
};

std::string BalanceCheck::Reason(const BalanceBreak& found) const {
    switch (found.cause) {
        case Cause::DoesNotAddUp:
            return ArithmeticReason(found.before, found.change, found.stated);
        case Cause::UnreadableDebit:
            return "the debit " + Quoted(unreadableTexts.at(found.lineNumber)) + " does not read as an amount";
        case Cause::UnreadableCredit:
            return "the credit " + Quoted(unreadableTexts.at(found.lineNumber)) + " does not read as an amount";
        case Cause::TwoAmounts:
            return "the line has both a debit and a credit amount";
        case Cause::NoBalance:
            return "the line has no balance";
        case Cause::UnreadableBalance:
            break;
    }
    return "the balance " + Quoted(unreadableTexts.at(found.lineNumber)) + " does not read as an amount";
}

void RunningBalance::Add(const ExplainedLine& line) {
    if (!Takes(line)) return;
    const LineMoney& money = *line.money;
    const Pence amount = std::llround(line.amount * 100);
    ChainLine kept;
    kept.lineNumber = line.lineNumber;
    kept.imported = line.fate == LineFate::Imported;
    kept.twoAmounts = line.TwoAmounts();
    kept.debit = money.debit.kind;
    kept.credit = money.credit.kind;
    kept.balance = money.balance.kind;
    kept.date = line.date;
    kept.change = line.direction == 0 ? -amount : amount;
    kept.stated = money.balance.pence;
    for (const MoneyField* field : {&money.debit, &money.credit, &money.balance})
        if (field->kind == Kind::Unreadable) m_unreadable.emplace(line.lineNumber, field->text);
    m_lines.push_back(kept);
}

// A line that breaks the chain hands on the balance it writes, or, when it
// writes none, the balance it should have written.
void RunningBalance::Chain::Take(const ChainLine& line, bool first) {
    const bool restart = line.debit == Kind::Empty && line.credit == Kind::Empty;
    restartsAfterTheFirstLine += restart && !first;
    if (line.debit == Kind::Unreadable || line.credit == Kind::Unreadable || line.twoAmounts) {
        Break({line.lineNumber, line.twoAmounts                ? Cause::TwoAmounts
                                : line.debit == Kind::Unreadable ? Cause::UnreadableDebit
                                                                 : Cause::UnreadableCredit});
        balance = line.balance == Kind::Amount ? std::optional<Pence>(line.stated) : std::nullopt;
        return;
    }
    if (line.balance != Kind::Amount) {
        Break({line.lineNumber, line.balance == Kind::Empty ? Cause::NoBalance : Cause::UnreadableBalance});
        if (restart) balance.reset();
        if (balance) *balance += line.change;
        return;
    }
    if (balance && !restart) {
        if (*balance + line.change == line.stated)
            ++linesAddingUp;
        else
            Break({line.lineNumber, Cause::DoesNotAddUp, *balance, line.change, line.stated});
    }
    balance = line.stated;
}

template <typename Iterator>
RunningBalance::Chain RunningBalance::Follow(Iterator first, Iterator last, bool keepsBreaks) {
    Chain chain(keepsBreaks);
    for (Iterator line = first; line != last; ++line) chain.Take(*line, line == first);
    return chain;
}

int RunningBalance::DatesGoingBack(BalanceOrder order) const {
    int goingBack = 0;
    for (size_t index = 1; index < m_lines.size(); ++index) {
        const double earlier = m_lines[index - 1].date, later = m_lines[index].date;
        if (earlier == 0 || later == 0) continue;
        goingBack += order == BalanceOrder::OldestFirst ? later < earlier : later > earlier;
    }
    return goingBack;
}

BalanceCheck RunningBalance::Check(std::optional<int> stop) const {
    BalanceCheck check;
    check.stop = stop;
    check.importedBalances.reserve(static_cast<size_t>(
        std::count_if(m_lines.begin(), m_lines.end(), [](const ChainLine& line) { return line.imported; })));
    for (const ChainLine& line : m_lines)
        if (line.imported)
            check.importedBalances.push_back(line.balance == Kind::Amount ? std::optional<Pence>(line.stated)
                                                                          : std::nullopt);
    if (m_lines.empty()) return check;
    check.outcome = BalanceCheck::Outcome::NoBalances;
    if (std::none_of(m_lines.begin(), m_lines.end(), [](const ChainLine& line) { return line.balance != Kind::Empty; }))
        return check;

    const Chain oldestFirst = Follow(m_lines.begin(), m_lines.end(), false);
    const Chain newestFirst = Follow(m_lines.rbegin(), m_lines.rend(), false);
    const auto evidence = [this](const Chain& chain, BalanceOrder order) {
        return std::make_tuple(-chain.linesAddingUp, chain.restartsAfterTheFirstLine, DatesGoingBack(order));
    };
    const bool reversed = evidence(newestFirst, BalanceOrder::NewestFirst) < evidence(oldestFirst, BalanceOrder::OldestFirst);
    Chain chain = reversed ? Follow(m_lines.rbegin(), m_lines.rend(), true)
                           : Follow(m_lines.begin(), m_lines.end(), true);
    check.outcome = BalanceCheck::Outcome::Checked;
    check.order = reversed ? BalanceOrder::NewestFirst : BalanceOrder::OldestFirst;
    check.lines = static_cast<int>(m_lines.size());
    check.breaks = std::move(chain.breaks);
    check.unreadableTexts = m_unreadable;
    check.closing = chain.balance;
    return check;
}

std::string BalanceSummary(const BalanceCheck& check) {
    switch (check.outcome) {
        case BalanceCheck::Outcome::NoLines:
            return "Running balance: no lines of the host's account; nothing was checked.";
        case BalanceCheck::Outcome::NoBalances:
            return "Running balance: the file has no balances; nothing was checked.";
        case BalanceCheck::Outcome::Checked:
            break;
    }
    const std::string closing = check.closing ? MoneyText(*check.closing) : "unknown";
    const std::string outcome =
        check.breaks.empty() ? "Running balance: " + std::to_string(check.lines) +
                                   (check.lines == 1 ? " line" : " lines") + " consistent, closing balance " + closing
                             : BreaksText(check);
    return outcome + StopText(check.stop) + " (" + OrderText(check.order) + ").";
}
