// Test media made on the spot: sine tones written as 16-bit WAV files or encoded to MP3
// with LAME, plus damaged copies (cut short, random bytes) for the bad-input cases.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::sound::testing {

// A mono sine of the given frequency and peak amplitude (0 to 1) at 44100 Hz.
std::vector<int16_t> sineTone(double frequency, double seconds, double amplitude = 0.5);

// Writes mono 16-bit PCM as a plain WAV file; false when the file cannot be written.
bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate = 44100);

// Encodes mono 16-bit PCM at 44100 Hz to a CBR MP3 with LAME, including the LAME info
// frame that tells decoders the encoder delay and padding. Empty on encoder failure.
std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& samples, int kbps = 128);

// Writes a tone as an MP3 file; false on failure.
bool writeMp3Tone(const std::string& path, double frequency, double seconds);

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);

// Copies the first `keep` bytes of `from` to `to` (a file cut short in transfer).
bool writeTruncatedCopy(const std::string& from, const std::string& to, size_t keep);

// Writes `count` pseudo-random bytes from a fixed seed.
bool writeRandomBytes(const std::string& path, size_t count, uint32_t seed);

}  // namespace mdx::sound::testing
