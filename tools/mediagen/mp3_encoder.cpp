#include "mediagen/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

#include "mediagen/audio_file.h"

namespace mdx::media {

namespace {

struct LameDeleter {
  void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

}  // namespace

bool encodeMp3(const StereoBuffer& audio, std::vector<uint8_t>& mp3, std::string& error) {
  if (audio.left.size() != audio.right.size()) {
    error = "left and right channels differ in length";
    return false;
  }
  std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
  if (!gf) {
    error = "LAME cannot start";
    return false;
  }
  lame_set_in_samplerate(gf.get(), kSampleRate);
  lame_set_out_samplerate(gf.get(), kSampleRate);
  lame_set_num_channels(gf.get(), 2);
  lame_set_mode(gf.get(), JOINT_STEREO);
  lame_set_brate(gf.get(), 160);
  lame_set_quality(gf.get(), 7);
  lame_set_bWriteVbrTag(gf.get(), 1);
  if (lame_init_params(gf.get()) < 0) {
    error = "LAME refuses the encoding settings";
    return false;
  }
  mp3.clear();
  const size_t chunk = 8192;
  std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
  for (size_t at = 0; at < audio.left.size(); at += chunk) {
    const int n = int(std::min(chunk, audio.left.size() - at));
    const int bytes = lame_encode_buffer_ieee_float(gf.get(), &audio.left[at], &audio.right[at], n,
                                                    buffer.data(), int(buffer.size()));
    if (bytes < 0) {
      error = "LAME failed while encoding (code " + std::to_string(bytes) + ")";
      return false;
    }
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + bytes);
  }
  const int tail = lame_encode_flush(gf.get(), buffer.data(), int(buffer.size()));
  if (tail < 0) {
    error = "LAME failed while flushing";
    return false;
  }
  mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + tail);
  // The first frame was written as a placeholder; fill in the finished gapless header.
  unsigned char tag[2880];
  const size_t tagSize = lame_get_lametag_frame(gf.get(), tag, sizeof tag);
  if (tagSize == 0 || tagSize > mp3.size()) {
    error = "LAME gave no gapless header";
    return false;
  }
  std::copy(tag, tag + tagSize, mp3.begin());
  return true;
}

}  // namespace mdx::media
