// The breaks of a running balance check in the order of the file's lines
// (the check lists them in the order it took the lines), for lines asked
// about in that order: --explain and the HTML report's table mark each
// break on its line as they go down the file.
#pragma once

#include "RunningBalance.h"

#include <algorithm>
#include <cstddef>
#include <vector>

class BreaksInFileOrder {
public:
    explicit BreaksInFileOrder(const BalanceCheck& check) {
        for (const BalanceBreak& found : check.breaks) m_breaks.push_back(&found);
        std::sort(m_breaks.begin(), m_breaks.end(),
                  [](const BalanceBreak* a, const BalanceBreak* b) { return a->lineNumber < b->lineNumber; });
    }

    // The break at `lineNumber`, or null.
    const BalanceBreak* At(int lineNumber) {
        while (m_next < m_breaks.size() && m_breaks[m_next]->lineNumber < lineNumber) ++m_next;
        if (m_next == m_breaks.size() || m_breaks[m_next]->lineNumber != lineNumber) return nullptr;
        return m_breaks[m_next];
    }

private:
    std::vector<const BalanceBreak*> m_breaks;
    std::size_t m_next = 0;
};
