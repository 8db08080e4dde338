#include "world/level_format.h"

namespace mdx::world {
namespace {

// The five level values after the piece types, in file order, with their labels.
constexpr LineSlot::Kind kTailKinds[] = {LineSlot::Landscape, LineSlot::Parallax1,
                                         LineSlot::Parallax2, LineSlot::Music, LineSlot::Motion};
const char* const kTailLabels[] = {"landscapeChoice", "parallax1On", "parallax2Mode", "levelMusic",
                                   "landscapeMotion"};

}  // namespace

LineSlot lineSlot(int line) {
  if (line < 1 || line > kLevelFileLines) return {LineSlot::Outside, 0};
  if (line == 1 || line == kDeviceLabelLine || line == kValuesLabelLine)
    return {LineSlot::Label, 0};
  if (line < kDeviceLabelLine) return {LineSlot::Block, line - kBlockFirstLine};
  if (line < kValuesLabelLine) return {LineSlot::Device, line - kDeviceFirstLine};
  if (line == kPieceCountLine) return {LineSlot::PieceCount, 0};
  const int pair = (line - kFirstPieceLabelLine) / 2;
  if ((line - kFirstPieceLabelLine) % 2 == 0) return {LineSlot::Label, 0};
  if (pair < kPieceTypeSlots) return {LineSlot::PieceType, pair};
  return {kTailKinds[pair - kPieceTypeSlots], 0};
}

std::string defaultLabel(int line) {
  if (!isLabelLine(line)) return "";
  if (line == 1) return "blockLayer";
  if (line == kDeviceLabelLine) return "deviceLayer";
  if (line == kValuesLabelLine) return "pieceCount";
  const int pair = (line - kFirstPieceLabelLine) / 2;
  if (pair < kPieceTypeSlots) return "pieceType" + std::to_string(pair);
  return kTailLabels[pair - kPieceTypeSlots];
}

int32_t readLevelCount(std::string_view prefBytes) {
  LineReader reader(prefBytes);
  reader.skipLine();
  return reader.readValue();
}

}  // namespace mdx::world
