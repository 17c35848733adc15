#include "tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Overtones close to the Nyquist frequency would fold back as harsh noise.
constexpr double kHighestPartialShare = 0.45;
constexpr double kFullScale = 32767.0;

double RaisedCosine(double fraction) {
  return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(fraction, 0.0, 1.0));
}

double Envelope(const Tone& tone, double t) {
  const double in = tone.attackSeconds > 0.0 ? RaisedCosine(t / tone.attackSeconds) : 1.0;
  const double left = tone.seconds - t;
  const double out = tone.releaseSeconds > 0.0 ? RaisedCosine(left / tone.releaseSeconds) : 1.0;
  return in * out * std::exp(-tone.decayPerSecond * t);
}

double Pitch(const Tone& tone, double t) {
  const double glide = tone.startHz * std::pow(tone.endHz / tone.startHz, t / tone.seconds);
  const double vibrato = std::sin(2.0 * std::numbers::pi * tone.vibratoHz * t);
  return glide * (1.0 + tone.vibratoDepth * vibrato);
}

double Partials(const Tone& tone, double phase, double hz, int sampleRate) {
  double sum = 0.0;
  for (std::size_t i = 0; i < tone.partials.size(); ++i) {
    const double harmonic = static_cast<double>(i + 1);
    if (hz * harmonic > kHighestPartialShare * sampleRate) break;
    sum += tone.partials[i] * std::sin(harmonic * phase);
  }
  return sum;
}

}  // namespace

Sound::Sound(int sampleRate, double seconds)
    : sampleRate_(sampleRate),
      samples_(static_cast<std::size_t>(std::ceil(seconds * sampleRate)), 0.0) {}

void Sound::Add(const Tone& tone, double atSeconds, double gain) {
  const auto first = static_cast<std::size_t>(std::lround(atSeconds * sampleRate_));
  const auto count = static_cast<std::size_t>(std::lround(tone.seconds * sampleRate_));
  // The phase is accumulated so that a gliding pitch stays continuous.
  double phase = 0.0;
  for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
    const double t = static_cast<double>(i) / sampleRate_;
    const double hz = Pitch(tone, t);
    samples_[first + i] += gain * Envelope(tone, t) * Partials(tone, phase, hz, sampleRate_);
    phase = std::fmod(phase + 2.0 * std::numbers::pi * hz / sampleRate_, 2.0 * std::numbers::pi);
  }
}

std::vector<std::int16_t> Sound::ToPcm(double peak) const {
  double loudest = 0.0;
  for (double sample : samples_) loudest = std::max(loudest, std::abs(sample));
  const double scale = loudest > 0.0 ? peak * kFullScale / loudest : 0.0;
  std::vector<std::int16_t> pcm;
  pcm.reserve(samples_.size());
  for (double sample : samples_) {
    const double scaled = std::clamp(std::round(sample * scale), -kFullScale, kFullScale);
    pcm.push_back(static_cast<std::int16_t>(scaled));
  }
  return pcm;
}
