#include "sound/music.h"

namespace mdx::sound {

namespace {

constexpr int kMixRate = 44100;
constexpr int kMixChannels = 32;

}  // namespace

bool Music::startSound(const world::PackLayout& pack) {
  library_.setBufferSize(soundBufferLength);
  if (!library_.init(kMixRate, kMixChannels)) {
    if (messages_ != nullptr) {
      messages_->showMessage(kNoSoundMessage, "Sound", world::MessageIcon::Information);
    }
    return false;
  }
  titleStream = openSong(pack.titleSongPath());
  endStream = openSong(pack.songPath(world::kEndingLevel));
  for (size_t i = 0; i < levelStreams.size(); ++i) {
    levelStreams[i] = openSong(pack.songPath(static_cast<int32_t>(i) + 1));
  }
  for (int i = 0; i < world::kSampleCount; ++i) {
    samples[i] =
        library_.loadSample(pack.dataFile(world::sampleFile(static_cast<world::Sample>(i))));
  }
  currentStream = titleStream;
  library_.playStream(kChannelFree, titleStream);
  library_.setVolume(kChannelAll, musicVolume);
  return true;
}

StreamHandle Music::openSong(const std::string& fileName) {
  const StreamHandle stream = library_.openStream(fileName);
  if (stream == 0) unplayableSongs.push_back(fileName);
  return stream;
}

std::string Music::unplayableSongsLine() const {
  if (unplayableSongs.size() > 1) {
    return std::to_string(unplayableSongs.size()) + " songs missing or broken: no music there";
  }
  if (unplayableSongs.empty()) return "";
  const std::string& path = unplayableSongs.front();
  return "Song missing or broken: " + path.substr(path.rfind('/') + 1);
}

void Music::switchMusic(int32_t levelMusic) {
  if (levelMusic >= 1 && levelMusic <= world::kPackSongs) {
    changeStream(levelStreams[static_cast<size_t>(levelMusic - 1)]);
  } else if (levelMusic == world::kEndingLevel) {
    changeStream(endStream);
  } else {
    changeStream(currentStream);  // starts again from its beginning
  }
}

void Music::stopSound() {
  library_.stopStream(currentStream);
  library_.closeStream(currentStream);
  for (SampleHandle sample : samples) library_.freeSample(sample);
  // The streams that are not current end with the library.
  library_.close();
}

void Music::toggleMusic() {
  if (musicOn != 0) {
    library_.stopStream(currentStream);
    musicOn = 0;
  } else {
    restartCurrent();
    musicOn = 1;
  }
}

void Music::playTitleMusic() {
  changeStream(titleStream);
}

void Music::changeStream(StreamHandle stream) {
  if (musicOn == 0) {
    currentStream = stream;  // the stopped music stays stopped
    return;
  }
  library_.stopStream(currentStream);
  currentStream = stream;
  restartCurrent();
}

void Music::playSample(world::Sample sample) {
  const int index = static_cast<int>(sample);
  if (index < 0 || index >= world::kSampleCount) return;
  library_.playSample(samples[static_cast<size_t>(index)]);
}

void Music::restartCurrent() {
  library_.playStream(0, currentStream);
  library_.setVolume(0, musicVolume);
}

}  // namespace mdx::sound
