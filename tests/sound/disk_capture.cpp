#include "disk_capture.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace mdx::sound::testing {

namespace {

constexpr int kFrameBytes = 4;  // 16-bit stereo
constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

}  // namespace

DiskCapture::DiskCapture(const std::string& path, int delayMs) : path_(path) {
  std::remove(path.c_str());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1);
}

uint64_t DiskCapture::frames() const {
  std::ifstream file(path_, std::ios::binary | std::ios::ate);
  if (!file) return 0;
  return static_cast<uint64_t>(file.tellg()) / kFrameBytes;
}

bool DiskCapture::waitForFrames(uint64_t target, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (frames() < target) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::vector<float> DiskCapture::readMono(uint64_t from, uint64_t count) const {
  std::ifstream file(path_, std::ios::binary);
  std::vector<int16_t> raw(count * 2);
  file.seekg(static_cast<std::streamoff>(from * kFrameBytes));
  file.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size() * 2));
  raw.resize(static_cast<size_t>(file.gcount()) / 2);
  std::vector<float> mono(raw.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) {
    mono[i] = (static_cast<float>(raw[2 * i]) + static_cast<float>(raw[2 * i + 1])) / 65536.0f;
  }
  return mono;
}

std::vector<float> DiskCapture::record(uint64_t from, double seconds) const {
  const uint64_t count = static_cast<uint64_t>(seconds * kRate);
  waitForFrames(from + count);
  return readMono(from, count);
}

std::vector<float> DiskCapture::listen(double seconds, int chunkFrames) const {
  // The buffer being mixed during the call, and the one queued behind it, may predate it.
  const uint64_t start = frames() + 2 * static_cast<uint64_t>(chunkFrames);
  return record(start, seconds);
}

double toneLevel(const std::vector<float>& samples, double frequency) {
  if (samples.empty()) return 0.0;
  // Goertzel filter at the exact frequency.
  const double w = 2.0 * kPi * frequency / kRate;
  const double coefficient = 2.0 * std::cos(w);
  double previous = 0.0;
  double beforePrevious = 0.0;
  for (float sample : samples) {
    const double current = sample + coefficient * previous - beforePrevious;
    beforePrevious = previous;
    previous = current;
  }
  const double real = previous - beforePrevious * std::cos(w);
  const double imaginary = beforePrevious * std::sin(w);
  return 2.0 * std::sqrt(real * real + imaginary * imaginary) / samples.size();
}

double loudness(const std::vector<float>& samples) {
  if (samples.empty()) return 0.0;
  double sum = 0.0;
  for (float sample : samples) sum += double{sample} * sample;
  return std::sqrt(sum / samples.size());
}

size_t longestQuietRun(const std::vector<float>& samples, float threshold) {
  size_t longest = 0;
  size_t run = 0;
  for (float sample : samples) {
    run = std::fabs(sample) < threshold ? run + 1 : 0;
    if (run > longest) longest = run;
  }
  return longest;
}

}  // namespace mdx::sound::testing
