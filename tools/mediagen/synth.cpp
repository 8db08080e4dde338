#include "mediagen/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "mediagen/audio_file.h"

namespace mdx::media {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double noteFrequency(int pitch) {
  return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// Band-limiting correction for the jumps of saw and pulse waves.
double polyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double sawAt(double phase, double dt) {
  return 2.0 * phase - 1.0 - polyBlep(phase, dt);
}

double pulseAt(double phase, double dt, double duty) {
  double v = phase < duty ? 1.0 : -1.0;
  v += polyBlep(phase, dt);
  v -= polyBlep(std::fmod(phase + 1.0 - duty, 1.0), dt);
  return v;
}

double onePoleCoefficient(double cutoff) {
  return 1.0 - std::exp(-kTwoPi * std::min(cutoff, 18000.0) / kSampleRate);
}

// Attack, decay to the sustain level, hold until the gate closes, then release. Advanced
// one sample at a time with constant factors, which is much cheaper than exponentials.
class Envelope {
 public:
  Envelope(const Instrument& in, double gate)
      : in_(in),
        attackSamples_(in.attack * kSampleRate),
        gateSamples_(gate * kSampleRate),
        decayFactor_(std::exp(-1.0 / (in.decay * kSampleRate))),
        releaseFactor_(in.release > 0 ? std::exp(-1.0 / (in.release * kSampleRate)) : 0.0) {}

  double next() {
    double level;
    if (n_ < attackSamples_) {
      level = n_ / attackSamples_;
    } else {
      level = in_.sustain + (1.0 - in_.sustain) * decay_;
      decay_ *= decayFactor_;
    }
    if (n_ < gateSamples_) {
      held_ = level;
    } else {
      released_ *= releaseFactor_;
      level = std::min(level, held_) * released_;
    }
    ++n_;
    return level;
  }

 private:
  const Instrument& in_;
  double attackSamples_, gateSamples_, decayFactor_, releaseFactor_;
  double n_ = 0, decay_ = 1, held_ = 0, released_ = 1;
};

struct Mix {
  std::vector<float>& left;
  std::vector<float>& right;
  std::vector<float>& send;
};

// Where one voice goes: its left and right gains (from its pan) and its echo send.
struct Gains {
  explicit Gains(const Instrument& in)
      : left(std::sqrt(0.5 * (1.0 - in.pan))),
        right(std::sqrt(0.5 * (1.0 + in.pan))),
        send(in.echo) {}
  double left, right, send;
};

void addSample(Mix& mix, long at, double value, const Gains& g) {
  if (at < 0 || at >= long(mix.left.size())) return;
  mix.left[at] += float(value * g.left);
  mix.right[at] += float(value * g.right);
  mix.send[at] += float(value * g.send);
}

// exp(-t / seconds), advanced one sample per call.
class Decay {
 public:
  explicit Decay(double seconds) : factor_(std::exp(-1.0 / (seconds * kSampleRate))) {}
  double next() {
    const double v = value_;
    value_ *= factor_;
    return v;
  }

 private:
  double factor_;
  double value_ = 1.0;
};

void renderTone(Mix& mix, const Instrument& in, long start, double gate, int pitch) {
  const double f0 = noteFrequency(pitch);
  const double tail = in.release * 4.5 + 0.002;
  const long count = long((gate + tail) * kSampleRate);
  double phase = 0, phases[3] = {0, 0.33, 0.67}, lp1 = 0, lp2 = 0;
  const double fade = 0.003 * kSampleRate;         // a few milliseconds at the very end: no click
  const double vibratoScale = in.depth * 0.05776;  // semitones to a frequency ratio, ln 2 / 12
  const double bellFactor = std::exp(-1.0 / (0.25 * kSampleRate));
  const double pluckFactor = std::exp(-1.0 / (0.12 * kSampleRate));
  double bellIndex = 2.2, pluckSweep = 1.0, a = 0;
  Envelope envelope(in, gate);
  const Gains gains(in);
  for (long i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    double f = f0;
    if (in.vibrato > 0 && t > 0.12) f *= 1.0 + vibratoScale * std::sin(kTwoPi * in.vibrato * t);
    const double dt = f / kSampleRate;
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
    double v = 0;
    switch (in.wave) {
      case Wave::Sine:
        v = std::sin(kTwoPi * phase);
        break;
      case Wave::Triangle:
        v = 4.0 * std::fabs(phase - 0.5) - 1.0;
        break;
      case Wave::Square:
        v = pulseAt(phase, dt, 0.5);
        break;
      case Wave::Pulse:
        v = pulseAt(phase, dt, in.duty) - (2 * in.duty - 1);  // centred on zero
        break;
      case Wave::Saw:
        v = sawAt(phase, dt);
        break;
      case Wave::Bell:
        v = std::sin(kTwoPi * phase + bellIndex * std::sin(kTwoPi * 3.5 * f0 * t));
        bellIndex *= bellFactor;
        break;
      case Wave::Pluck:
        v = sawAt(phase, dt) * 0.7 + (pulseAt(phase, dt, 0.3) + 0.4) * 0.3;
        break;
      case Wave::Pad:
        for (int k = 0; k < 3; ++k) {
          const double fk = f * (1.0 + in.detune * (k - 1) * 0.01);
          phases[k] += fk / kSampleRate;
          if (phases[k] >= 1.0) phases[k] -= 1.0;
          v += sawAt(phases[k], fk / kSampleRate) / 3.0;
        }
        break;
    }
    double cutoff = in.cutoff;
    if (in.wave == Wave::Pluck) {
      cutoff = (in.cutoff > 0 ? in.cutoff : 6000) * pluckSweep + 300;
      pluckSweep *= pluckFactor;
    }
    if (cutoff > 0) {
      if (i % 32 == 0) a = onePoleCoefficient(cutoff);  // the pluck's sweep is slow enough
      lp1 += a * (v - lp1);
      lp2 += a * (lp1 - lp2);
      v = lp2;
    }
    double level = envelope.next() * in.volume;
    if (count - i < fade) level *= double(count - i) / fade;
    addSample(mix, start + i, v * level, gains);
  }
}

void renderDrum(Mix& mix, const Instrument& in, long start, int letter) {
  Noise noise((uint32_t(start) ^ uint32_t(letter)) * 747796405u + 2891336453u);
  double length = 0.3;
  switch (letter) {
    case 'h':
      length = 0.12;
      break;
    case 'o':
      length = 0.6;
      break;
    case 't':
      length = 0.5;
      break;
    case 'c':
      length = 1.6;
      break;
    default:
      break;
  }
  const long count = long(length * kSampleRate);
  const Gains gains(in);
  const double lowPass = onePoleCoefficient(letter == 's' ? 5000 : 9000);
  Decay fast(0.004), sweep(letter == 't' ? 0.05 : 0.03), body(0.16), snareTone(0.05),
      snareNoise(0.11), hat(0.03), openHat(0.16), tom(0.18), crash(0.5);
  double phase = 0, lp = 0;
  for (long i = 0; i < count; ++i) {
    const double n = noise.next();
    lp += lowPass * (n - lp);
    const double hp = n - lp;  // high-passed noise for the cymbals
    double v = 0;
    switch (letter) {
      case 'k':
        phase += kTwoPi * (45 + 110 * sweep.next()) / kSampleRate;
        v = std::sin(phase) * body.next() * 1.1 + n * 0.15 * fast.next();
        break;
      case 's':
        phase += kTwoPi * 190 / kSampleRate;
        v = 0.5 * std::sin(phase) * snareTone.next() + 0.7 * lp * snareNoise.next();
        break;
      case 'h':
        v = 0.55 * hp * hat.next();
        break;
      case 'o':
        v = 0.45 * hp * openHat.next();
        break;
      case 't':
        phase += kTwoPi * (110 + 90 * sweep.next()) / kSampleRate;
        v = std::sin(phase) * tom.next();
        break;
      default:
        v = 0.4 * hp * crash.next();
        break;
    }
    const double edge = std::min(1.0, double(count - i) / 200.0);
    addSample(mix, start + i, v * in.volume * edge, gains);
  }
}

// Feedback echo on the send: the left side repeats after `delay` samples, the right side a
// little later, which widens the sound.
void applyEcho(const Song& song, std::vector<float>& send, StereoBuffer& out, double stepSamples) {
  const long delays[2] = {long(song.echoSteps * stepSamples),
                          long(song.echoSteps * stepSamples * 1.5)};
  std::vector<float>* sides[2] = {&out.left, &out.right};
  for (int s = 0; s < 2; ++s) {
    std::vector<float> line(send.size(), 0.0f);
    const long d = std::max(1L, delays[s]);
    for (long i = d; i < long(send.size()); ++i) {
      line[i] = float(send[i - d] + song.echoFeedback * line[i - d]);
      (*sides[s])[i] += float(song.echoMix * line[i]);
    }
  }
}

// A gentle high-pass far below hearing keeps the waveform centred on zero.
void removeDcOffset(std::vector<float>& samples) {
  double previousIn = 0, previousOut = 0;
  for (float& sample : samples) {
    const double out = sample - previousIn + 0.9995 * previousOut;
    previousIn = sample;
    previousOut = out;
    sample = float(out);
  }
}

}  // namespace

long loopSamples(const Song& song) {
  const double seconds = song.totalSteps() * 60.0 / (song.tempo * 4.0);
  const long frames = std::max(1L, std::lround(seconds * kSampleRate / kMp3FrameSamples));
  return frames * kMp3FrameSamples;
}

StereoBuffer renderLoop(const Song& song, float peak) {
  const long loop = loopSamples(song);
  const int steps = std::max(1, song.totalSteps());
  const double stepSamples = double(loop) / steps;
  StereoBuffer both;
  both.left.assign(size_t(2 * loop), 0.0f);
  both.right.assign(size_t(2 * loop), 0.0f);
  std::vector<float> send(size_t(2 * loop), 0.0f);
  Mix mix{both.left, both.right, send};
  const std::vector<NoteEvent> notes = song.flatten();
  for (int pass = 0; pass < 2; ++pass) {
    for (const NoteEvent& n : notes) {
      const Instrument& in = song.instruments[n.instrument];
      const long start = std::lround((pass * steps + n.step) * stepSamples);
      if (in.drums) {
        renderDrum(mix, in, start, n.pitch);
      } else {
        renderTone(mix, in, start, n.length * stepSamples / kSampleRate * 0.92, n.pitch);
      }
    }
  }
  applyEcho(song, send, both, stepSamples);
  removeDcOffset(both.left);
  removeDcOffset(both.right);
  StereoBuffer out;
  out.left.assign(both.left.begin() + loop, both.left.end());
  out.right.assign(both.right.begin() + loop, both.right.end());
  float highest = 0;
  for (size_t i = 0; i < out.left.size(); ++i) {
    highest = std::max({highest, std::fabs(out.left[i]), std::fabs(out.right[i])});
  }
  if (highest > 0 && peak > 0) {
    for (size_t i = 0; i < out.left.size(); ++i) {
      out.left[i] *= peak / highest;
      out.right[i] *= peak / highest;
    }
  }
  return out;
}

}  // namespace mdx::media
