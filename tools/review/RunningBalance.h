// The running balance check. Every line of the host's account writes the
// account's balance after it, so in date order each balance must be the
// balance before it, less the line's debit, plus its credit, to the penny.
// A line lost, misread or read twice breaks that chain where it happens;
// the check says where.
//
// The debit and credit are the amounts the host was given for the line; the
// balances come from the file's own text, with their signs. A line whose
// debit and credit fields are both empty (a balance brought forward) sets the
// balance the next line starts from; after a break the chain goes on from
// the balance the file writes, so each break is reported once. Only the
// lines the import read are checked: not those after the line at which it
// stopped, nor other accounts' lines, which form chains of their own.
//
// A statement written newest first is checked from its last line up. The
// order is found from the lines: the one in which more lines add up, then
// the one in which fewer balances brought forward stand after the first
// line, then the one in which fewer dates go back; the file's own order
// when nothing tells them apart.
#pragma once

#include "MoneyFields.h"
#include "StatementExplainer.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

enum class BalanceOrder { OldestFirst, NewestFirst };

// Where the chain breaks and why, kept small: in a statement whose
// balances are wrong every line breaks. BalanceCheck::Reason puts it into words.
struct BalanceBreak {
    enum class Cause : unsigned char {
        DoesNotAddUp,
        UnreadableDebit,
        UnreadableCredit,
        TwoAmounts,
        NoBalance,
        UnreadableBalance,
    };
    int lineNumber = 0;
    Cause cause = Cause::DoesNotAddUp;
    // For DoesNotAddUp: the balance before the line, its change, and the balance it writes.
    Pence before = 0;
    Pence change = 0;
    Pence stated = 0;
};

struct BalanceCheck {
    enum class Outcome { NoLines, NoBalances, Checked };
    Outcome outcome = Outcome::NoLines;
    BalanceOrder order = BalanceOrder::OldestFirst;  // the order the lines were taken in
    int lines = 0;                                   // lines of the host's account checked
    std::vector<BalanceBreak> breaks;                // in date order
    // The unreadable money field's text of each line that breaks for one, by line number.
    std::map<int, std::string> unreadableTexts;
    std::optional<Pence> closing;                    // the balance after the last line in date order
    std::optional<int> stop;                         // the line at which the import stopped before the end
    // The balance the file writes on each imported line, in the order the
    // host received them.
    std::vector<std::optional<Pence>> importedBalances;

    bool Consistent() const { return outcome == Outcome::Checked && breaks.empty(); }
    // "917.60 - 82.40 should give 835.20, the file says 917.60", "the line has no balance", ...
    std::string Reason(const BalanceBreak& found) const;
};

// Gathers the explained lines of the host's account, then checks them.
class RunningBalance {
public:
    // Whether the check takes the line: one of the host's account that the
    // import read (imported, or passed over without an amount), not an empty row.
    static bool Takes(const ExplainedLine& line) { return line.money && !line.emptyRow; }
    void Add(const ExplainedLine& line);
    // `stop`: the line at which the import stopped before the end of the file.
    BalanceCheck Check(std::optional<int> stop) const;

private:
    // A line of the account, kept small (32 bytes): a long statement has many.
    struct ChainLine {
        int lineNumber = 0;
        bool imported : 1;
        bool twoAmounts : 1;  // passed over: both a debit and a credit amount
        MoneyField::Kind debit = MoneyField::Kind::Empty;
        MoneyField::Kind credit = MoneyField::Kind::Empty;
        MoneyField::Kind balance = MoneyField::Kind::Empty;
        double date = 0.0;
        Pence change = 0;  // less the debit, plus the credit, that the host was given
        Pence stated = 0;  // the balance the line writes, when it reads as an amount
    };
    struct Chain;
    // Follows the chain through the lines in date order, from `first`,
    // keeping each break when it `keepsBreaks`.
    template <typename Iterator>
    static Chain Follow(Iterator first, Iterator last, bool keepsBreaks);
    // Steps between lines whose dates go back when taken in `order`.
    int DatesGoingBack(BalanceOrder order) const;

    std::deque<ChainLine> m_lines;  // grows by blocks: never copied as it grows
    // The first unreadable money field's text of each line that has one, by
    // line number, for the break it makes: few lines have one.
    std::map<int, std::string> m_unreadable;
};

// The outcome in one line of plain words: "Running balance: 214 lines
// consistent, closing balance -1,234.56 (...)", or where it breaks.
std::string BalanceSummary(const BalanceCheck& check);
