#include "LossSummary.h"

#include <algorithm>

namespace {

constexpr std::size_t kLinesNamed = 5;

// Lines that hold nothing the host could have received.
bool HoldsNothing(const ExplainedLine& line) { return line.blank || line.emptyRow; }

// "line 4", "lines 2, 3, 4, 5, 6 and 4 more", each number followed by what
// `note` says of it.
template <typename Note>
std::string NamedLines(const std::vector<int>& lines, Note note) {
    std::string text = lines.size() == 1 ? "line " : "lines ";
    const std::size_t named = std::min(lines.size(), kLinesNamed);
    for (std::size_t index = 0; index < named; ++index)
        text += (index == 0 ? "" : ", ") + std::to_string(lines[index]) + note(index);
    if (lines.size() > named) text += " and " + std::to_string(lines.size() - named) + " more";
    return text;
}

}  // namespace

std::string LineCount(int count) { return std::to_string(count) + (count == 1 ? " line" : " lines"); }

std::string LineNumbers::Text() const {
    return NamedLines(m_lines, [](std::size_t) { return std::string(); });
}

void ReplacedLines::Add(int lineNumber, std::string texts) {
    m_lines.Add(lineNumber);
    m_texts.push_back(std::move(texts));
}

std::string ReplacedLines::Text() const {
    return NamedLines(m_lines.All(), [this](std::size_t index) { return " (" + m_texts[index] + ")"; });
}

std::string RefusedAmountLines::Text() const {
    std::string text;
    const std::size_t named = std::min(m_lines.size(), kLinesNamed);
    for (std::size_t index = 0; index < named; ++index)
        text += (index == 0 ? "line " : "; line ") + std::to_string(m_lines[index].lineNumber) + ", " +
                RefusedFieldsText(m_lines[index].fields, " and ");
    if (m_lines.size() > named) text += "; and " + std::to_string(m_lines.size() - named) + " more";
    return text;
}

void LossSummary::Add(const ExplainedLine& line) {
    if (line.descriptionReplaced != Replaced::None || line.referenceReplaced != Replaced::None)
        m_replaced.Add(line.lineNumber, line.ReplacedTexts());
    if (line.looksUtf8) m_utf8ReadInAnsi.Add(line.lineNumber);
    switch (KindOf(line)) {
        case LineKind::Title:
            m_passedOver = line;
            break;
        case LineKind::Stopped:
            m_stop = line;
            break;
        case LineKind::Undated:
            m_undated.Add(line.lineNumber);
            ++m_imported;
            break;
        case LineKind::Imported:
            ++m_imported;
            break;
        case LineKind::EmptyRow:
            m_emptyRows.Add(line.lineNumber);
            break;
        case LineKind::OtherAccount:
            AddOtherAccount(line);
            break;
        case LineKind::UnreadableAmount:
            m_unreadableAmounts.Add(line);
            break;
        case LineKind::TwoAmounts:
            m_twoAmounts.Add(line);
            break;
        case LineKind::NoAmount:
            ++m_noAmount;
            break;
        case LineKind::NotRead:
            AddNotRead(line);
            break;
        case LineKind::Header:
            break;
    }
}

void LossSummary::AddOtherAccount(const ExplainedLine& line) {
    ++m_otherAccount;
    if (m_moreOtherAccounts) return;
    const WrittenAccount account{line.sortCode->written, line.accountNumber->written};
    if (std::find(m_otherAccounts.begin(), m_otherAccounts.end(), account) != m_otherAccounts.end()) return;
    if (m_otherAccounts.size() == kAccountsKept)
        m_moreOtherAccounts = true;
    else
        m_otherAccounts.push_back(account);
}

// An end-of-file mark is passed over only as the file's last line: one
// that a line follows counts as that line comes.
void LossSummary::AddNotRead(const ExplainedLine& line) {
    ++m_notRead;
    if (m_markPending) {
        ++m_notReadThatCount;
        ++m_lostAfterStop;
        m_markPending = false;
    }
    const bool unreadable = line.wouldHaveBeen == LineFate::Unreadable;
    if (unreadable && line.endOfFileMark) {
        m_markPending = true;
        return;
    }
    if (HoldsNothing(line)) return;
    ++m_notReadThatCount;
    m_lostAfterStop += line.wouldHaveBeen == LineFate::Imported || unreadable;
}

bool LossSummary::StopIsTheEnd() const {
    return HoldsNothing(*m_stop) || (m_stop->endOfFileMark && m_notRead == 0);
}

bool LossSummary::LostLinesAtOrAfterTheStop() const {
    return m_stop && (!StopIsTheEnd() || m_lostAfterStop > 0);
}

std::optional<int> LossSummary::StoppedBeforeTheEnd() const {
    if (!m_stop || (StopIsTheEnd() && m_notReadThatCount == 0)) return std::nullopt;
    return m_stop->lineNumber;
}
