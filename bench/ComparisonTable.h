#pragma once
// The figures of ours beside a peer tool, row by row, with the goal on
// ours ÷ peer, and of ours alone at two page counts for peak memory that
// should stay flat; printed as ratio lines and as one table at the end.

#include "BenchRun.h"

#include <string>
#include <vector>

namespace zelk::bench {

// Met when ours ÷ peer by the clock is at most `maxWallRatio` (the goals
// are about speed; the CPU ratio is printed beside it) and, when
// `maxOurPeakMegabytes` is not 0, our peak memory stays below it.  A
// failed run of either side misses the goal.
struct Goal {
  double maxWallRatio = 1;
  double maxOurPeakMegabytes = 0;
};

struct ComparisonRow {
  std::string label;
  RunFigures ours;
  RunFigures peer;
  Goal goal;
};

// Ours alone at a few and at many pages; met when the peak at many pages
// is at most `maxGrowth` times the peak at a few.
struct GrowthRow {
  std::string label;
  int fewPages = 0;
  int manyPages = 0;
  RunFigures few;
  RunFigures many;
  double maxGrowth = 1;
};

// "  -> ours/peer: wall 0.42, CPU 0.38 (goal <= 1)"
void PrintRatioLine(const ComparisonRow& row);
// "  -> peak at 2000 ÷ at 200 pages: 1.05 (goal <= 1.25)"
void PrintGrowthLine(const GrowthRow& row);

void PrintTable(const std::vector<ComparisonRow>& rows, const std::vector<GrowthRow>& growth);

}  // namespace zelk::bench
