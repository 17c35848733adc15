// Sounds built from enveloped tones: steady notes, glides, and their sum as 16-bit PCM.
#pragma once

#include <cstdint>
#include <vector>

struct Tone {
  double startHz = 440.0;
  double endHz = 440.0;  // the pitch glides exponentially from startHz to here
  double seconds = 0.1;
  double attackSeconds = 0.005;  // raised-cosine fade in, so the tone starts from silence
  double releaseSeconds = 0.02;  // raised-cosine fade out, so it ends in silence
  double decayPerSecond = 0.0;   // exponential fall of the level while it sounds
  double vibratoHz = 0.0;
  double vibratoDepth = 0.0;             // a fraction of the pitch
  std::vector<double> partials = {1.0};  // weights of the fundamental and its overtones
};

class Sound {
 public:
  Sound(int sampleRate, double seconds);

  // Mixes the tone in, starting `atSeconds` from the beginning, scaled by `gain`.
  void Add(const Tone& tone, double atSeconds, double gain);
  // The sound scaled so that its loudest sample is `peak` of full scale.
  std::vector<std::int16_t> ToPcm(double peak) const;

  int sampleRate() const { return sampleRate_; }

 private:
  int sampleRate_;
  std::vector<double> samples_;
};
