// What an import left out of the host's statement, in plain words: a first
// line the format check passed over, the line at which the import stopped
// with the lines after it that were not read, and the lines passed over as
// another account's or without an amount. Built from the explanation of each
// line, as the walk of the file gives them.
#pragma once

#include "StatementExplainer.h"

#include <optional>
#include <string>
#include <vector>

class LossSummary {
public:
    void Add(const ExplainedLine& line);

    // One line of text for each kind of loss that happened, in file order.
    std::vector<std::string> Warnings() const;

    // True when the import stopped before a non-blank line that it would
    // have imported or could not read either: data the host did not get.
    bool LostLinesAfterTheStop() const { return m_lostAfterStop > 0; }

    // The line at which the import stopped, unless it stopped at a blank
    // line with nothing but blank lines after it: that is the end of the file.
    std::optional<int> StoppedBeforeTheEnd() const;

private:
    std::optional<ExplainedLine> m_passedOver;
    std::optional<ExplainedLine> m_stop;
    int m_notRead = 0;
    int m_nonBlankNotRead = 0;
    int m_lostAfterStop = 0;
    int m_otherAccount = 0;
    int m_noAmount = 0;
};
