// A console reporter that also keeps each benchmark's CPU time per iteration, for ratios:
// on a shared machine the wall time mostly measures the other processes.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;

  // CPU time per iteration in nanoseconds; 0 when the benchmark did not run.
  double Nanoseconds(const std::string& name) const;

 private:
  std::map<std::string, double> nanoseconds_;
};
