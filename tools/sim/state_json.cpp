#include "sim/state_json.h"

#include "world/state_fields.h"

namespace mdx::sim {
namespace {

using world::GameState;
using world::jsonString;

// The fields the simulator prints, in its output's order (puzzle state only: no options,
// scene animation or keys, except the swing bars' turn, which the rules read).
constexpr const char* kPrintedFields[] = {
    "blockLayer",      "deviceLayer",   "robotColumn",   "robotRow",        "robotFalling",
    "robotClimbing",   "robotFrame",    "liftCounter",   "liftReturnTimer", "gateState",
    "gateTurn",        "levelComplete", "robotExploded", "explosionTicks",  "robotExplosionX",
    "robotExplosionY", "lightX",        "lightY",        "pieceCount",      "pieceTypes",
    "pieceIndex",      "pieceColumn",   "pieceRow",      "pieceShape",      "pieceShapeInBlocks",
    "landscapeChoice", "parallax1On",   "parallax2Mode", "levelMusic",      "landscapeMotion",
    "levelNumber",     "levelCount"};

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

std::string stateJson(const GameState& game, const std::vector<world::Sample>& sounds,
                      const std::vector<world::RecordedMessage>& messages) {
  std::string out = "{";
  for (const char* name : kPrintedFields)
    out += jsonString(name) + ":" + world::fieldJson(game, name) + ",";
  out += "\"sounds\":" + soundList(sounds);
  out += ",\"messages\":" + messageList(messages);
  return out + "}";
}

std::string fullStateJson(const GameState& game) {
  return world::stateJson(game);
}

}  // namespace mdx::sim
