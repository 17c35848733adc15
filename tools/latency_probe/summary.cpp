#include "summary.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace probe {
namespace {

// Nearest rank: the smallest sample with at least that share of the samples at or below it.
double Percentile(const std::vector<double>& sorted, double share) {
  const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

Summary Summarise(std::vector<double> samples) {
  Summary summary;
  if (samples.empty()) return summary;
  std::sort(samples.begin(), samples.end());
  const double n = static_cast<double>(samples.size());
  summary.count = static_cast<int>(samples.size());
  summary.median = Percentile(samples, 0.5);
  summary.p90 = Percentile(samples, 0.9);
  summary.p99 = Percentile(samples, 0.99);
  summary.max = samples.back();
  summary.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / n;
  double squares = 0;
  for (const double s : samples) squares += (s - summary.mean) * (s - summary.mean);
  summary.deviation = std::sqrt(squares / n);
  return summary;
}

}  // namespace probe
