// The running balance chart of the HTML report, as inline SVG written by
// the tool: the balance each line of the host's account writes, in the order
// the check took the lines, with the lines' dates along the axis, each break
// marked where it occurs with the amount the balance is off by, and the
// overdrawn stretch below zero shaded. A long statement is thinned to at most
// kChartPoints points besides its marked breaks, keeping each stretch's
// lowest and highest balance, so that no dip or peak is lost. Beyond
// kBreakMarks breaks, the breaks of each of kBreakMarks equal stretches of the
// chart share one mark, which says how many it stands for and their lines: a
// mark a break would draw a solid band and a page too large to open.
#pragma once

#include "LinesForReport.h"
#include "RunningBalance.h"

#include <cstddef>
#include <ostream>
#include <vector>

constexpr std::size_t kChartPoints = 2000;
constexpr std::size_t kBreakMarks = 100;

// The indexes of the points of `chain` that the chart draws, in increasing
// order, each once: of the points with a balance, all when they are at most
// `limit`, else the first, the last, and the lowest and the highest of each
// of (limit - 2) / 2 runs of equal length of those between; and besides, each
// index of `breaks` whose point has a balance.
std::vector<std::size_t> PointsDrawn(const std::vector<BalancePoint>& chain, const std::vector<std::size_t>& breaks,
                                     std::size_t limit = kChartPoints);

// Writes the chart of the lines the check took (`points`, in the file's
// order), or a paragraph saying why there is none.
void WriteBalanceChart(std::ostream& out, const std::vector<BalancePoint>& points, const BalanceCheck& check);
