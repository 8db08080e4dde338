// Listening to the mixed output in tests: SDL's "disk" audio driver writes every mixed buffer
// to a file, which these helpers read back and measure (tone level, loudness, silent runs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::sound::testing {

// Points SDL's audio at a file. Construct before the sound library's init. `delayMs` is the
// pause between buffers; small values run the mixer many times faster than real time.
class DiskCapture {
 public:
  explicit DiskCapture(const std::string& path, int delayMs = 4);

  // Frames (16-bit stereo) written so far.
  uint64_t frames() const;
  // Waits until `target` frames are written; false after `timeoutMs`.
  bool waitForFrames(uint64_t target, int timeoutMs = 5000) const;
  // Reads frames [from, from + count) as mono values from -1 to 1.
  std::vector<float> readMono(uint64_t from, uint64_t count) const;
  // The output from frame `from` on, for `seconds`: start from frames() read before a call
  // to catch a short effect whole.
  std::vector<float> record(uint64_t from, double seconds) const;
  // The output of the next `seconds`, starting after the buffers that may have been mixed
  // before the caller's last sound call (`chunkFrames` is the mixer's buffer length).
  std::vector<float> listen(double seconds, int chunkFrames) const;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Peak amplitude (0 to 1) of the sine component at `frequency` Hz in 44100 Hz audio.
double toneLevel(const std::vector<float>& samples, double frequency);
// Root mean square of the samples.
double loudness(const std::vector<float>& samples);
// Length of the longest run of samples whose magnitude stays below `threshold`.
size_t longestQuietRun(const std::vector<float>& samples, float threshold);

}  // namespace mdx::sound::testing
