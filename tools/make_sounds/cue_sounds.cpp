#include "cue_sounds.h"

#include <cstddef>

#include "tone.h"

namespace {

// Loud enough to hear, with headroom so that no sample clips.
constexpr double kPeak = 0.7;
// A little warmth over a pure sine without turning harsh.
const std::vector<double> kSoftPartials = {1.0, 0.3, 0.12, 0.05};
// Odd overtones for a hollow, brassy voice.
const std::vector<double> kHollowPartials = {1.0, 0.0, 0.35, 0.0, 0.15, 0.0, 0.06};

Tone Note(double hz, double seconds, const std::vector<double>& partials) {
  Tone tone;
  tone.startHz = hz;
  tone.endHz = hz;
  tone.seconds = seconds;
  tone.partials = partials;
  return tone;
}

}  // namespace

// A short bright pip: it sounds on every bounce, so it must stay out of the way.
std::vector<std::int16_t> MakeClick() {
  constexpr double kSeconds = 0.06;
  Tone pip = Note(1568.0, kSeconds, {1.0, 0.15});
  pip.attackSeconds = 0.004;
  pip.releaseSeconds = 0.015;
  pip.decayPerSecond = 40.0;
  Sound sound(kCueSampleRate, kSeconds);
  sound.Add(pip, 0.0, 1.0);
  return sound.ToPcm(kPeak);
}

// A rising major arpeggio, the last note held.
std::vector<std::int16_t> MakeStart() {
  constexpr double kNotes[] = {523.25, 659.25, 783.99, 1046.50};
  constexpr double kStep = 0.16;
  constexpr double kLastSeconds = 0.5;
  Sound sound(kCueSampleRate, 3 * kStep + kLastSeconds);
  for (std::size_t i = 0; i < std::size(kNotes); ++i) {
    const bool last = i + 1 == std::size(kNotes);
    Tone note = Note(kNotes[i], last ? kLastSeconds : kStep, kSoftPartials);
    note.releaseSeconds = last ? 0.2 : 0.04;
    note.decayPerSecond = last ? 2.0 : 3.0;
    sound.Add(note, static_cast<double>(i) * kStep, 1.0);
  }
  return sound.ToPcm(kPeak);
}

// A falling tone with a slight waver.
std::vector<std::int16_t> MakeLostBall() {
  constexpr double kSeconds = 1.1;
  Tone fall;
  fall.startHz = 880.0;
  fall.endHz = 196.0;
  fall.seconds = kSeconds;
  fall.attackSeconds = 0.01;
  fall.releaseSeconds = 0.25;
  fall.vibratoHz = 7.0;
  fall.vibratoDepth = 0.01;
  fall.partials = kSoftPartials;
  Sound sound(kCueSampleRate, kSeconds);
  sound.Add(fall, 0.0, 1.0);
  return sound.ToPcm(kPeak);
}

// Three short steps down by semitones, then a long sagging note.
std::vector<std::int16_t> MakeGameOver() {
  constexpr double kNotes[] = {392.00, 369.99, 349.23, 329.63};
  constexpr double kStep = 0.38;
  constexpr double kGap = 0.04;
  constexpr double kLastSeconds = 1.0;
  Sound sound(kCueSampleRate, 3 * kStep + kLastSeconds);
  for (std::size_t i = 0; i < std::size(kNotes); ++i) {
    const bool last = i + 1 == std::size(kNotes);
    Tone note = Note(kNotes[i], last ? kLastSeconds : kStep - kGap, kHollowPartials);
    note.attackSeconds = 0.02;
    note.releaseSeconds = last ? 0.3 : 0.06;
    if (last) {
      note.endHz = kNotes[i] * 0.94;
      note.vibratoHz = 5.0;
      note.vibratoDepth = 0.012;
    }
    sound.Add(note, static_cast<double>(i) * kStep, 1.0);
  }
  return sound.ToPcm(kPeak);
}
