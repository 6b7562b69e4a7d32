#include "ComparisonTable.h"

#include <cstdio>

namespace zelk::bench {
namespace {

double Ratio(double ours, double peer) { return peer > 0 ? ours / peer : 0; }

double WallRatio(const ComparisonRow& row) { return Ratio(row.ours.seconds, row.peer.seconds); }
double CpuRatio(const ComparisonRow& row) {
  return Ratio(row.ours.cpuSeconds, row.peer.cpuSeconds);
}
double Growth(const GrowthRow& row) { return Ratio(row.many.peakMegabytes, row.few.peakMegabytes); }

std::string GoalText(const Goal& goal) {
  char text[64];
  if (goal.maxOurPeakMegabytes > 0) {
    std::snprintf(text, sizeof text, "<= %g, ours < %g MiB", goal.maxWallRatio,
                  goal.maxOurPeakMegabytes);
  } else {
    std::snprintf(text, sizeof text, "<= %g", goal.maxWallRatio);
  }
  return text;
}

const char* FailedNote(bool allRunsOk) {
  return allRunsOk ? "" : "; a run FAILED, the figures do not compare";
}

const char* Met(const ComparisonRow& row) {
  if (!row.ours.ok || !row.peer.ok) return "no (a run failed)";
  const bool fastEnough = WallRatio(row) <= row.goal.maxWallRatio;
  const bool smallEnough =
      row.goal.maxOurPeakMegabytes <= 0 || row.ours.peakMegabytes < row.goal.maxOurPeakMegabytes;
  return fastEnough && smallEnough ? "yes" : "no";
}

const char* Met(const GrowthRow& row) {
  if (!row.few.ok || !row.many.ok) return "no (a run failed)";
  return Growth(row) <= row.maxGrowth ? "yes" : "no";
}

}  // namespace

void PrintRatioLine(const ComparisonRow& row) {
  std::printf("  -> ours/peer: wall %.2f, CPU %.2f (goal %s)%s\n\n", WallRatio(row), CpuRatio(row),
              GoalText(row.goal).c_str(), FailedNote(row.ours.ok && row.peer.ok));
}

void PrintGrowthLine(const GrowthRow& row) {
  std::printf("  -> peak at %d / at %d pages: %.2f (goal <= %g)%s\n\n", row.manyPages, row.fewPages,
              Growth(row), row.maxGrowth, FailedNote(row.few.ok && row.many.ok));
}

void PrintTable(const std::vector<ComparisonRow>& rows, const std::vector<GrowthRow>& growth) {
  std::printf("%-44s | %-24s | %-24s | %-12s | %-22s | %s\n", "row", "ours wall / CPU / peak",
              "peer wall / CPU / peak", "ours/peer", "goal (wall)", "met");
  std::printf("%-44s | %-24s | %-24s | %-12s | %-22s |\n", "", "s / s / MiB", "s / s / MiB",
              "wall / CPU", "");
  for (const ComparisonRow& row : rows) {
    std::printf("%-44s | %6.2f %6.2f %8.1f  | %6.2f %6.2f %8.1f  | %5.2f %5.2f  | %-22s | %s\n",
                row.label.c_str(), row.ours.seconds, row.ours.cpuSeconds, row.ours.peakMegabytes,
                row.peer.seconds, row.peer.cpuSeconds, row.peer.peakMegabytes, WallRatio(row),
                CpuRatio(row), GoalText(row.goal).c_str(), Met(row));
  }
  std::printf("\n%-44s | %-14s | %-14s | %-12s | %-22s | %s\n", "row (ours only)", "peak few MiB",
              "peak many MiB", "many/few", "goal", "met");
  for (const GrowthRow& row : growth) {
    char label[96];
    std::snprintf(label, sizeof label, "%s, %d vs %d pages", row.label.c_str(), row.fewPages,
                  row.manyPages);
    char goal[32];
    std::snprintf(goal, sizeof goal, "<= %g", row.maxGrowth);
    std::printf("%-44s | %14.1f | %14.1f | %12.2f | %-22s | %s\n", label, row.few.peakMegabytes,
                row.many.peakMegabytes, Growth(row), goal, Met(row));
  }
}

}  // namespace zelk::bench
