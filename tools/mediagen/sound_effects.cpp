// Each effect is built from a few oscillators and noise with exponential envelopes and
// one-pole filters; all of it is plain arithmetic, so the samples are the same every run.
#include "mediagen/sound_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "mediagen/audio_file.h"
#include "mediagen/synth.h"
#include "world/services.h"

namespace mdx::media {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// One-pole low-pass filter with a cutoff in hertz.
class LowPass {
 public:
  double run(double x, double cutoff) {
    const double a = 1.0 - std::exp(-kTwoPi * cutoff / kSampleRate);
    y_ += a * (x - y_);
    return y_;
  }

 private:
  double y_ = 0;
};

std::vector<float> silence(double seconds) {
  return std::vector<float>(size_t(seconds * kSampleRate), 0.0f);
}

double envelope(double t, double attack, double decay) {
  return (t < attack ? t / attack : 1.0) * std::exp(-t / decay);
}

// A short bright blip in two steps of pitch: menu moves, switches and call buttons.
std::vector<float> button() {
  std::vector<float> s = silence(0.11);
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSampleRate;
    const double f = t < 0.035 ? 1320 : 1980;
    phase += kTwoPi * f / kSampleRate;
    const double tone = std::sin(phase) + 0.25 * std::sin(2 * phase);
    const double second = t < 0.035 ? 0 : envelope(t - 0.035, 0.003, 0.04);
    s[i] = float(0.5 * tone * (envelope(t, 0.002, 0.02) + second));
  }
  return s;
}

// The lift: a motor hum that rises in pitch, with a gentle tremolo.
std::vector<float> lift() {
  std::vector<float> s = silence(0.26);
  double phase = 0;
  LowPass filter;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSampleRate;
    phase += kTwoPi * (110 + 90 * t / 0.26) / kSampleRate;
    const double saw = std::fmod(phase / kTwoPi, 1.0) * 2 - 1;
    const double tremolo = 0.75 + 0.25 * std::sin(kTwoPi * 28 * t);
    s[i] = float(0.45 * filter.run(saw, 900) * tremolo);
  }
  return s;
}

// A footstep: a soft low knock with a little metal click on top; shorter than a world step.
std::vector<float> footstep() {
  std::vector<float> s = silence(0.09);
  Noise noise(11);
  LowPass filter;
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSampleRate;
    phase += kTwoPi * (180 - 600 * t) / kSampleRate;
    const double knock = std::sin(phase) * envelope(t, 0.001, 0.02);
    const double click = filter.run(noise.next(), 5000) * envelope(t, 0.0005, 0.006);
    s[i] = float(0.6 * knock + 0.5 * click);
  }
  return s;
}

// The exit fanfare: a rising major arpeggio on a bell-like tone, ending on a held chord.
std::vector<float> fanfare() {
  std::vector<float> s = silence(1.5);
  const double notes[] = {523.25, 659.25, 783.99, 1046.5};
  const double starts[] = {0.0, 0.12, 0.24, 0.36};
  for (int n = 0; n < 4; ++n) {
    const size_t first = size_t(starts[n] * kSampleRate);
    const double hold = n == 3 ? 0.6 : 0.35;
    for (size_t i = first; i < s.size(); ++i) {
      const double t = double(i - first) / kSampleRate;
      const double f = notes[n];
      const double bell =
          std::sin(kTwoPi * f * t + 1.2 * std::sin(kTwoPi * 2 * f * t) * std::exp(-t / 0.3));
      const double square = std::sin(kTwoPi * f * t) + std::sin(kTwoPi * 3 * f * t) / 3;
      s[i] += float(0.2 * (0.7 * bell + 0.3 * square) * envelope(t, 0.004, hold));
    }
  }
  return s;
}

// The drop tick: a short wooden tock.
std::vector<float> dropTick() {
  std::vector<float> s = silence(0.05);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSampleRate;
    s[i] = float(0.45 * std::sin(kTwoPi * 880 * t) * envelope(t, 0.0008, 0.009) +
                 0.2 * std::sin(kTwoPi * 1760 * t) * envelope(t, 0.0005, 0.004));
  }
  return s;
}

// The landing: a thud that drops in pitch, with a clank of metal.
std::vector<float> landing() {
  std::vector<float> s = silence(0.22);
  Noise noise(23);
  LowPass filter;
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSampleRate;
    phase += kTwoPi * (120 * std::exp(-t / 0.06) + 45) / kSampleRate;
    const double thud = std::sin(phase) * envelope(t, 0.001, 0.06);
    const double clank =
        (std::sin(kTwoPi * 1240 * t) + std::sin(kTwoPi * 1710 * t)) * envelope(t, 0.0008, 0.025);
    const double dust = filter.run(noise.next(), 2500) * envelope(t, 0.001, 0.03);
    s[i] = float(0.7 * thud + 0.12 * clank + 0.35 * dust);
  }
  return s;
}

// The explosion: a burst of noise whose filter closes, over a deep rumble.
std::vector<float> explosion() {
  std::vector<float> s = silence(1.3);
  Noise noise(37);
  LowPass bright, dark;
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = double(i) / kSampleRate;
    const double n = noise.next();
    const double burst = bright.run(n, 200 + 6000 * std::exp(-t / 0.12)) * envelope(t, 0.002, 0.35);
    const double rumble = dark.run(n, 120) * envelope(t, 0.01, 0.5) * 3;
    phase += kTwoPi * (60 * std::exp(-t / 0.3) + 30) / kSampleRate;
    const double boom = std::sin(phase) * envelope(t, 0.003, 0.25);
    s[i] = float(0.55 * burst + 0.5 * rumble + 0.5 * boom);
  }
  return s;
}

void normalise(std::vector<float>& s, float peak) {
  float highest = 0;
  for (float v : s) highest = std::max(highest, std::fabs(v));
  if (highest > 0) {
    for (float& v : s) v *= peak / highest;
  }
}

}  // namespace

void fadeEdges(std::vector<float>& samples, double fadeSeconds) {
  // Rounded up, so that even a one-sample sound starts and ends at silence.
  const size_t n = std::min((samples.size() + 1) / 2, size_t(fadeSeconds * kSampleRate));
  for (size_t i = 0; i < n; ++i) {
    const float gain = float(0.5 - 0.5 * std::cos(3.141592653589793 * double(i) / double(n)));
    samples[i] *= gain;
    samples[samples.size() - 1 - i] *= gain;
  }
}

std::vector<SoundEffect> makeSoundEffects() {
  using world::Sample;
  using world::sampleFile;
  std::vector<SoundEffect> effects = {
      {sampleFile(Sample::Button), button()},     {sampleFile(Sample::Lift), lift()},
      {sampleFile(Sample::Run), footstep()},      {sampleFile(Sample::Fin), fanfare()},
      {sampleFile(Sample::Move), dropTick()},     {sampleFile(Sample::Stick), landing()},
      {sampleFile(Sample::Explode), explosion()},
  };
  const float peaks[] = {0.5f, 0.45f, 0.5f, 0.6f, 0.4f, 0.7f, 0.85f};
  for (size_t i = 0; i < effects.size(); ++i) {
    normalise(effects[i].samples, peaks[i]);
    fadeEdges(effects[i].samples, 0.004);
  }
  return effects;
}

}  // namespace mdx::media
