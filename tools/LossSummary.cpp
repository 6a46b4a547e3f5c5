#include "LossSummary.h"

namespace {

std::string Lines(int count) { return std::to_string(count) + (count == 1 ? " line" : " lines"); }

std::string Were(int count) { return count == 1 ? " was" : " were"; }

}  // namespace

void LossSummary::Add(const ExplainedLine& line) {
    switch (line.fate) {
        case LineFate::PassedOver:
            m_passedOver = line;
            break;
        case LineFate::Unreadable:
            m_stop = line;
            break;
        case LineFate::OtherAccount:
            ++m_otherAccount;
            break;
        case LineFate::NoAmount:
            ++m_noAmount;
            break;
        case LineFate::NotRead:
            ++m_notRead;
            m_nonBlankNotRead += !line.blank;
            m_lostAfterStop += line.wouldHaveBeen == LineFate::Imported ||
                               (line.wouldHaveBeen == LineFate::Unreadable && !line.blank);
            break;
        case LineFate::Header:
        case LineFate::Imported:
            break;
    }
}

std::optional<int> LossSummary::StoppedBeforeTheEnd() const {
    if (!m_stop || (m_stop->blank && m_nonBlankNotRead == 0)) return std::nullopt;
    return m_stop->lineNumber;
}

std::vector<std::string> LossSummary::Warnings() const {
    std::vector<std::string> warnings;
    if (m_passedOver)
        warnings.push_back("line " + std::to_string(m_passedOver->lineNumber) + " passed over: " + m_passedOver->reason);
    if (StoppedBeforeTheEnd())
        warnings.push_back("The import stopped at line " + std::to_string(m_stop->lineNumber) +
                           ", which is not a transaction line (" + m_stop->reason + "); " + Lines(m_notRead) +
                           " after it" + Were(m_notRead) + " not read.");
    if (m_otherAccount > 0)
        warnings.push_back(Lines(m_otherAccount) + Were(m_otherAccount) + " passed over as another account's.");
    if (m_noAmount > 0)
        warnings.push_back(Lines(m_noAmount) + Were(m_noAmount) + " passed over without a debit or credit amount.");
    return warnings;
}
