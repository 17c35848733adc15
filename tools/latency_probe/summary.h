// The figures the probe prints for a set of durations: order statistics, mean and spread.
#pragma once

#include <vector>

namespace probe {

struct Summary {
  int count = 0;
  double median = 0, p90 = 0, p99 = 0, max = 0, mean = 0, deviation = 0;
};

// All in the samples' own unit; an empty set gives zeros.
Summary Summarise(std::vector<double> samples);

}  // namespace probe
