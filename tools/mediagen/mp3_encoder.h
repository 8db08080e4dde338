// MP3 encoding with LAME, with the gapless (LAME/Info) header so that decoders can trim the
// encoder's delay and padding and the track loops without a gap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mediagen/synth.h"

namespace mdx::media {

// Encodes stereo 44100 Hz samples at a constant 160 kbit/s. Returns false and sets `error`
// if LAME refuses.
bool encodeMp3(const StereoBuffer& audio, std::vector<uint8_t>& mp3, std::string& error);

}  // namespace mdx::media
