#include "ratio_reporter.h"

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
    nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime() *
                                         benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                                         benchmark::GetTimeUnitMultiplier(run.time_unit);
  }
  ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::Nanoseconds(const std::string& name) const {
  const auto found = nanoseconds_.find(name);
  return found == nanoseconds_.end() ? 0.0 : found->second;
}
