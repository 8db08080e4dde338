// A look at an MP3 file's header before it is streamed: the info frame that encoders put at
// the front records the stream's length in bytes, which tells a file cut short in transfer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdx::sound {

struct Mp3InfoFrame {
  bool found = false;          // a "Xing" or "Info" frame starts the audio
  uint64_t audioStart = 0;     // offset of the first frame (after any ID3v2 tag)
  uint64_t declaredBytes = 0;  // the stream length the frame records; 0 when it has none
};

// Reads the info frame from the first bytes of the audio (the bytes at `audioStart`).
Mp3InfoFrame parseMp3InfoFrame(const std::vector<uint8_t>& frameBytes, uint64_t audioStart);

// Size of the ID3v2 tag at the start of `head` (header and footer included), 0 when none.
uint64_t id3v2TagSize(const std::vector<uint8_t>& head);

// True when the file holds no MPEG audio frame between its tags: nothing but an ID3v1 tag
// (the last 128 bytes, "TAG" first) and an ID3v2 tag, or no frame header in the first 4 KiB
// of what lies between them. Such a file is refused before the mixer sees it: the mixer
// leaks a little memory on every load of a tag-only file.
bool isMp3WithoutAudio(const std::string& path);

// True when the file's info frame records more audio bytes than the file holds. A file
// without an info frame, or one that cannot be opened, is not called cut short here.
bool isMp3CutShort(const std::string& path);

}  // namespace mdx::sound
