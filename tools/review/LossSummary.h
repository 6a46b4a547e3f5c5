// What an import left out of the host's statement, or gave it without a
// value or not as the file writes it, in plain words: a first line the
// format check passed over, the line at which the import stopped with the
// lines after it that were not read, lines imported without a date or with
// a character replaced, lines passed over as another account's, without an
// amount, with an amount that does not read as one or with both a debit and
// a credit amount, empty rows, and lines that look like UTF-8 in a file read
// in the ANSI code page. Built from the explanation of each line, as the
// walk of the file gives them; what it keeps grows only with the lines it
// names.
#pragma once

#include "StatementExplainer.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// "1 line", "3 lines".
std::string LineCount(int count);

// Line numbers of one kind of line, in file order.
class LineNumbers {
public:
    void Add(int lineNumber) { m_lines.push_back(lineNumber); }
    int Count() const { return static_cast<int>(m_lines.size()); }
    const std::vector<int>& All() const { return m_lines; }
    // "line 4", "lines 2, 3, 4, 5, 6 and 4 more": the first five, then how many more.
    std::string Text() const;

private:
    std::vector<int> m_lines;
};

// Lines passed over for what their debit and credit fields hold, each with
// those fields, in file order.
class RefusedAmountLines {
public:
    struct Line {
        int lineNumber = 0;
        std::vector<RefusedMoneyField> fields;
    };

    void Add(const ExplainedLine& line) { m_lines.push_back({line.lineNumber, line.RefusedFields()}); }
    int Count() const { return static_cast<int>(m_lines.size()); }
    const std::vector<Line>& All() const { return m_lines; }
    // `line 3, debit (field 6) "£82.40"; line 4, ...`: the first five, then
    // how many more.
    std::string Text() const;

private:
    std::vector<Line> m_lines;
};

// Lines imported with a character replaced, each with the texts it was
// replaced in ("description", "reference", "description and reference").
class ReplacedLines {
public:
    void Add(int lineNumber, std::string texts);
    const LineNumbers& Lines() const { return m_lines; }
    const std::vector<std::string>& Texts() const { return m_texts; }
    // "line 4 (reference)", "lines 2 (description), 3 (reference) and 4 more":
    // the first five, then how many more.
    std::string Text() const;

private:
    LineNumbers m_lines;
    std::vector<std::string> m_texts;
};

// A sort code and an account number as a file writes them.
struct WrittenAccount {
    std::string sortCode;
    std::string accountNumber;
    bool operator==(const WrittenAccount& other) const {
        return sortCode == other.sortCode && accountNumber == other.accountNumber;
    }
};

class LossSummary {
public:
    static constexpr std::size_t kAccountsKept = 3;

    void Add(const ExplainedLine& line);

    // True when the import stopped at a line that is not blank, not an
    // empty row and not one end-of-file mark at the very end, or before a
    // line after it that it would have imported or could not read either
    // (such a line that is blank, an empty row or that end-of-file mark
    // does not count): data the host did not get.
    bool LostLinesAtOrAfterTheStop() const;

    // The line at which the import stopped, unless it stopped at a blank
    // line, an empty row or an end-of-file mark with nothing but such lines
    // after it: that is the end of the file.
    std::optional<int> StoppedBeforeTheEnd() const;

    // Why the line at which the import stopped is not a transaction line.
    const std::string& StopReason() const { return m_stop->reason; }
    const std::optional<ExplainedLine>& PassedOverFirstLine() const { return m_passedOver; }
    int LinesNotRead() const { return m_notRead; }
    int Imported() const { return m_imported; }
    int OtherAccount() const { return m_otherAccount; }
    int NoAmount() const { return m_noAmount; }
    const LineNumbers& Undated() const { return m_undated; }
    const RefusedAmountLines& UnreadableAmounts() const { return m_unreadableAmounts; }
    const RefusedAmountLines& TwoAmounts() const { return m_twoAmounts; }
    const ReplacedLines& Replaced() const { return m_replaced; }
    // Lines that look like UTF-8 in a file read in an ANSI code page that is not.
    const LineNumbers& Utf8ReadInAnsi() const { return m_utf8ReadInAnsi; }
    // Rows of empty fields the import read and passed over.
    const LineNumbers& EmptyRows() const { return m_emptyRows; }
    // The first kAccountsKept different accounts of the lines passed over
    // as another account's.
    const std::vector<WrittenAccount>& OtherAccounts() const { return m_otherAccounts; }
    // Whether the lines passed over name more accounts than those.
    bool MoreOtherAccounts() const { return m_moreOtherAccounts; }

private:
    void AddNotRead(const ExplainedLine& line);
    void AddOtherAccount(const ExplainedLine& line);
    // Whether the stopping line is as good as the end of the file.
    bool StopIsTheEnd() const;

    std::optional<ExplainedLine> m_passedOver;
    std::optional<ExplainedLine> m_stop;
    int m_notRead = 0;
    int m_notReadThatCount = 0;  // not read, and neither blank nor an empty row nor the end-of-file mark
    int m_lostAfterStop = 0;
    // The last line not read is one end-of-file mark: it counts only if a line follows.
    bool m_markPending = false;
    int m_imported = 0;
    int m_otherAccount = 0;
    int m_noAmount = 0;
    LineNumbers m_undated;
    RefusedAmountLines m_unreadableAmounts;
    RefusedAmountLines m_twoAmounts;
    ReplacedLines m_replaced;
    LineNumbers m_utf8ReadInAnsi;
    LineNumbers m_emptyRows;
    std::vector<WrittenAccount> m_otherAccounts;
    bool m_moreOtherAccounts = false;
};
