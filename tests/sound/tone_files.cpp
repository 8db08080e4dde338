#include "tone_files.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

namespace mdx::sound::testing {

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<int16_t> sineTone(double frequency, double seconds, double amplitude) {
  const size_t count = static_cast<size_t>(std::lround(seconds * kRate));
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) {
    const double value = amplitude * std::sin(2.0 * kPi * frequency * i / kRate);
    samples[i] = static_cast<int16_t>(std::lround(value * 32767.0));
  }
  return samples;
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  putLe(out, 36 + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  putLe(out, 16, 4);
  putLe(out, 1, 2);  // PCM
  putLe(out, 1, 2);  // mono
  putLe(out, static_cast<uint32_t>(rate), 4);
  putLe(out, static_cast<uint32_t>(rate * 2), 4);
  putLe(out, 2, 2);
  putLe(out, 16, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  putLe(out, dataBytes, 4);
  for (int16_t s : samples) putLe(out, static_cast<uint16_t>(s), 2);
  return writeBytes(path, out);
}

std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& samples, int kbps) {
  lame_global_flags* lame = lame_init();
  if (lame == nullptr) return {};
  lame_set_in_samplerate(lame, kRate);
  lame_set_out_samplerate(lame, kRate);
  lame_set_num_channels(lame, 1);
  lame_set_mode(lame, MONO);
  lame_set_brate(lame, kbps);
  lame_set_VBR(lame, vbr_off);
  lame_set_bWriteVbrTag(lame, 1);
  lame_set_write_id3tag_automatic(lame, 0);
  std::vector<uint8_t> out;
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    return {};
  }
  std::vector<int16_t> pcm(samples);
  std::vector<unsigned char> buffer(pcm.size() + pcm.size() / 4 + 7200 + 16384);
  int written = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(pcm.size()),
                                   buffer.data(), static_cast<int>(buffer.size()));
  if (written >= 0) out.assign(buffer.begin(), buffer.begin() + written);
  written = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
  if (written >= 0) out.insert(out.end(), buffer.begin(), buffer.begin() + written);
  // The info frame is the placeholder at the very start of the stream; fill it in now
  // that the sample count, delay and padding are known.
  std::vector<unsigned char> tag(4096);
  const size_t tagBytes = lame_get_lametag_frame(lame, tag.data(), tag.size());
  if (tagBytes > 0 && tagBytes <= out.size()) std::copy_n(tag.begin(), tagBytes, out.begin());
  lame_close(lame);
  return out;
}

bool writeMp3Tone(const std::string& path, double frequency, double seconds) {
  const std::vector<uint8_t> mp3 = encodeMp3(sineTone(frequency, seconds));
  return !mp3.empty() && writeBytes(path, mp3);
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

bool writeTruncatedCopy(const std::string& from, const std::string& to, size_t keep) {
  std::vector<uint8_t> bytes = readBytes(from);
  if (bytes.size() > keep) bytes.resize(keep);
  return writeBytes(to, bytes);
}

bool writeRandomBytes(const std::string& path, size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(count);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return writeBytes(path, bytes);
}

}  // namespace mdx::sound::testing
