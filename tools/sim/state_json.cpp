#include "sim/state_json.h"

#include <cmath>
#include <cstdio>

namespace mdx::sim {
namespace {

using world::GameState;

// Builds "key": value pairs separated by commas.
class ObjectWriter {
 public:
  ObjectWriter() : text_("{") {}

  void raw(std::string_view key, const std::string& value) {
    if (text_.size() > 1) text_ += ',';
    text_ += jsonString(key);
    text_ += ':';
    text_ += value;
  }
  void number(std::string_view key, long long value) { raw(key, std::to_string(value)); }
  void real(std::string_view key, float value) { raw(key, jsonFloat(value)); }

  template <typename Range>
  void numbers(std::string_view key, const Range& values) {
    std::string list = "[";
    for (const auto& value : values) {
      if (list.size() > 1) list += ',';
      list += std::to_string(static_cast<long long>(value));
    }
    raw(key, list + "]");
  }

  std::string finish() { return text_ + "}"; }

 private:
  std::string text_;
};

void writeWorld(ObjectWriter& out, const world::World& w) {
  out.numbers("blockLayer", w.blockLayer);
  out.numbers("deviceLayer", w.deviceLayer);
  out.number("robotColumn", w.robotColumn);
  out.number("robotRow", w.robotRow);
  out.number("robotFalling", w.robotFalling);
  out.number("robotClimbing", w.robotClimbing);
  out.number("robotFrame", w.robotFrame);
  out.number("liftCounter", w.liftCounter);
  out.number("liftReturnTimer", w.liftReturnTimer);
  out.number("gateState", w.gateState);
}

void writePieces(ObjectWriter& out, const GameState& game) {
  const world::World& w = game.world;
  out.number("pieceCount", w.pieceCount);
  out.numbers("pieceTypes", w.pieceTypes);
  out.number("pieceIndex", game.pieces.pieceIndex);
  out.number("pieceColumn", game.pieces.pieceColumn);
  out.number("pieceRow", game.pieces.pieceRow);
  std::vector<int32_t> shape;
  for (const auto& row : game.pieces.pieceShape) shape.insert(shape.end(), row.begin(), row.end());
  out.numbers("pieceShape", shape);
  out.number("pieceShapeInBlocks", game.pieces.pieceShapeInBlocks);
}

std::string soundList(const std::vector<world::Sample>& sounds) {
  std::string list = "[";
  for (world::Sample sample : sounds) {
    if (list.size() > 1) list += ',';
    list += jsonString(world::sampleFile(sample));
  }
  return list + "]";
}

std::string messageList(const std::vector<world::RecordedMessage>& messages) {
  std::string list = "[";
  for (const world::RecordedMessage& message : messages) {
    if (list.size() > 1) list += ',';
    list += "{\"caption\":" + jsonString(message.caption) +
            ",\"text\":" + jsonString(message.text) + "}";
  }
  return list + "]";
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string jsonFloat(float value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

std::string stateJson(const GameState& game, const std::vector<world::Sample>& sounds,
                      const std::vector<world::RecordedMessage>& messages) {
  const world::World& w = game.world;
  ObjectWriter out;
  writeWorld(out, w);
  out.real("gateTurn", game.scene.gateTurn);
  out.number("levelComplete", w.levelComplete);
  out.number("robotExploded", w.robotExploded);
  out.number("explosionTicks", w.explosionTicks);
  out.real("robotExplosionX", w.robotExplosionX);
  out.real("robotExplosionY", w.robotExplosionY);
  out.real("lightX", w.lightX);
  out.real("lightY", w.lightY);
  writePieces(out, game);
  out.number("landscapeChoice", w.landscapeChoice);
  out.number("parallax1On", w.parallax1On);
  out.number("parallax2Mode", w.parallax2Mode);
  out.number("levelMusic", w.levelMusic);
  out.number("landscapeMotion", w.landscapeMotion);
  out.number("levelNumber", game.progress.levelNumber);
  out.number("levelCount", game.progress.levelCount);
  out.raw("sounds", soundList(sounds));
  out.raw("messages", messageList(messages));
  return out.finish();
}

}  // namespace mdx::sim
