// The small interfaces through which the headless world reaches the platform:
// sound effects and message boxes. The game plugs SDL in; tests and tools plug in recorders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mdx::world {

// The seven sound effects, in the order they are loaded.
enum class Sample { Button, Lift, Run, Fin, Move, Stick, Explode };
constexpr int kSampleCount = 7;

// "media/button01.wav" and so on: the file each effect is loaded from.
constexpr const char* sampleFile(Sample sample) {
  switch (sample) {
    case Sample::Button:
      return "media/button01.wav";
    case Sample::Lift:
      return "media/lift01.wav";
    case Sample::Run:
      return "media/run01.wav";
    case Sample::Fin:
      return "media/fin.wav";
    case Sample::Move:
      return "media/move.wav";
    case Sample::Stick:
      return "media/stick.wav";
    case Sample::Explode:
      return "media/explode.wav";
  }
  return "";
}

// Plays one effect, fire and forget. The caller has already checked that sound is enabled.
class SampleSink {
 public:
  virtual ~SampleSink() = default;
  virtual void playSample(Sample sample) = 0;
};

enum class MessageIcon { Error, Information };

// Shows a modal message; returns when the user has dismissed it.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void showMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
};

// Test and tool doubles that remember what they were asked.
class RecordingSampleSink : public SampleSink {
 public:
  void playSample(Sample sample) override { played.push_back(sample); }
  std::vector<Sample> played;
};

struct RecordedMessage {
  std::string text;
  std::string caption;
  MessageIcon icon;
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  void showMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
    shown.push_back({std::string(text), std::string(caption), icon});
  }
  std::vector<RecordedMessage> shown;
};

}  // namespace mdx::world
