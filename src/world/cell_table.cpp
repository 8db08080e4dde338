#include "world/cell_table.h"

namespace mdx::world {

std::string cellName(Layer layer, int32_t code) {
  const CellKind* kind = findCellKind(layer, code);
  if (kind == nullptr)
    return (layer == Layer::Block ? "block code " : "device code ") + std::to_string(code);
  if (kind->firstCode == kind->lastCode) return kind->name;
  return kind->name + (" " + std::to_string(code));
}

}  // namespace mdx::world
