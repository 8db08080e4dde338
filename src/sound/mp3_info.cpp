#include "sound/mp3_info.h"

#include <algorithm>
#include <fstream>

namespace mdx::sound {

namespace {

constexpr size_t kFrameSearchBytes = 4096;
constexpr uint64_t kId3v1Bytes = 128;  // an ID3v1 tag: the file's last 128 bytes

uint32_t bigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
         (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
}

bool isFrameSync(const std::vector<uint8_t>& bytes, size_t at) {
  if (at + 4 > bytes.size() || bytes[at] != 0xFF || (bytes[at + 1] & 0xE0) != 0xE0) return false;
  const int version = (bytes[at + 1] >> 3) & 3;  // 1 is reserved
  const int layer = (bytes[at + 1] >> 1) & 3;    // 0 is reserved
  const int bitrate = bytes[at + 2] >> 4;        // 15 is invalid
  const int rate = (bytes[at + 2] >> 2) & 3;     // 3 is reserved
  return version != 1 && layer != 0 && bitrate != 15 && rate != 3;
}

// The side information that precedes the info frame's tag depends on the MPEG version and
// on whether the frame is mono.
size_t sideInfoBytes(uint8_t versionByte, uint8_t modeByte) {
  const bool mpeg1 = ((versionByte >> 3) & 3) == 3;
  const bool mono = (modeByte >> 6) == 3;
  if (mpeg1) return mono ? 17 : 32;
  return mono ? 9 : 17;
}

}  // namespace

uint64_t id3v2TagSize(const std::vector<uint8_t>& head) {
  if (head.size() < 10 || head[0] != 'I' || head[1] != 'D' || head[2] != '3') return 0;
  uint64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (head[i] & 0x80) return 0;  // not a syncsafe size: not a tag
    size = (size << 7) | head[i];
  }
  const bool footer = (head[5] & 0x10) != 0;
  return 10 + size + (footer ? 10 : 0);
}

Mp3InfoFrame parseMp3InfoFrame(const std::vector<uint8_t>& bytes, uint64_t audioStart) {
  Mp3InfoFrame info;
  size_t at = 0;
  while (at < bytes.size() && at < kFrameSearchBytes && !isFrameSync(bytes, at)) ++at;
  if (!isFrameSync(bytes, at)) return info;
  const size_t tag = at + 4 + sideInfoBytes(bytes[at + 1], bytes[at + 3]);
  if (tag + 8 > bytes.size()) return info;
  const std::string id(bytes.begin() + tag, bytes.begin() + tag + 4);
  if (id != "Xing" && id != "Info") return info;
  info.found = true;
  info.audioStart = audioStart + at;
  const uint32_t flags = bigEndian32(bytes, tag + 4);
  size_t field = tag + 8;
  if (flags & 1) field += 4;  // frame count comes first
  if ((flags & 2) && field + 4 <= bytes.size()) info.declaredBytes = bigEndian32(bytes, field);
  return info;
}

bool isMp3WithoutAudio(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return false;
  const uint64_t fileSize = static_cast<uint64_t>(file.tellg());
  std::vector<uint8_t> head(std::min<uint64_t>(10, fileSize));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  const uint64_t audioStart = id3v2TagSize(head);
  uint64_t audioEnd = fileSize;
  if (fileSize >= kId3v1Bytes) {
    char tag[3] = {};
    file.seekg(static_cast<std::streamoff>(fileSize - kId3v1Bytes));
    file.read(tag, 3);
    if (file && tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G') audioEnd -= kId3v1Bytes;
  }
  if (audioStart >= audioEnd) return true;
  std::vector<uint8_t> audio(
      static_cast<size_t>(std::min<uint64_t>(kFrameSearchBytes + 4, audioEnd - audioStart)));
  file.clear();
  file.seekg(static_cast<std::streamoff>(audioStart));
  file.read(reinterpret_cast<char*>(audio.data()), static_cast<std::streamsize>(audio.size()));
  audio.resize(static_cast<size_t>(file.gcount()));
  for (size_t at = 0; at + 4 <= audio.size(); ++at) {
    if (isFrameSync(audio, at)) return false;
  }
  return true;
}

bool isMp3CutShort(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return false;
  const uint64_t fileSize = static_cast<uint64_t>(file.tellg());
  std::vector<uint8_t> head(10);
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(head.data()), 10)) return false;
  const uint64_t audioStart = id3v2TagSize(head);
  if (audioStart >= fileSize) return audioStart > 0;  // a tag that runs past the end
  std::vector<uint8_t> frame(
      static_cast<size_t>(std::min<uint64_t>(kFrameSearchBytes + 200, fileSize - audioStart)));
  file.seekg(static_cast<std::streamoff>(audioStart));
  file.read(reinterpret_cast<char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
  frame.resize(static_cast<size_t>(file.gcount()));
  const Mp3InfoFrame info = parseMp3InfoFrame(frame, audioStart);
  return info.found && info.declaredBytes > 0 && fileSize - info.audioStart < info.declaredBytes;
}

}  // namespace mdx::sound
