#include "mediagen/audio_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mdx::media {

namespace {

void put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t((v >> (8 * i)) & 0xFF));
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

}  // namespace

int16_t toPcm16(float sample) {
  const float clipped = std::clamp(sample, -1.0f, 1.0f);
  return int16_t(std::lround(clipped * 32767.0f));
}

std::vector<uint8_t> encodeWav(const std::vector<float>& samples, int channels) {
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  put(out, 36 + dataBytes, 4);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put(out, 16, 4);
  put(out, 1, 2);  // PCM
  put(out, uint32_t(channels), 2);
  put(out, kSampleRate, 4);
  put(out, uint32_t(kSampleRate * channels * 2), 4);
  put(out, uint32_t(channels * 2), 2);
  put(out, 16, 2);
  putTag(out, "data");
  put(out, dataBytes, 4);
  for (float s : samples) put(out, uint16_t(toPcm16(s)), 2);
  return out;
}

}  // namespace mdx::media
