// The map characters and piece shapes the tool prints, against the game's tables and the
// docs that show them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "level/legend.h"
#include "level/tool_commands.h"
#include "world/grid.h"

namespace mdx::level {
namespace {

std::string docs() {
  std::ifstream in(std::string(MDX_SOURCE_DIR) + "/docs/LEVELS.md");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Vocabulary, ShapesMatchThePieceTableAndTheDocs) {
  std::ostringstream out;
  EXPECT_EQ(shapesCommand(out), 0);
  const std::string shapes = out.str();
  // The pillar is a column of four blocks in the box's middle; the lift is shaft over its car.
  EXPECT_NE(shapes.find("row 0 .|.       .#.       ...       ...       ...\n"), std::string::npos)
      << shapes;
  EXPECT_NE(shapes.find("row 3 .C.       .#.       .#.       .#.       .#.\n"), std::string::npos)
      << shapes;
  // The docs show the same picture, indented in a list item.
  const std::string table = shapes.substr(shapes.find("      lift"));
  std::string indented;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) indented += "  " + line + "\n";
  EXPECT_NE(docs().find(indented), std::string::npos) << "docs/LEVELS.md should show:\n"
                                                      << indented;
}

TEST(Vocabulary, LegendListsEveryDefaultAndWhichNeedAnEntry) {
  std::ostringstream out;
  EXPECT_EQ(legendCommand(out), 0);
  const std::string legend = out.str();
  EXPECT_NE(legend.find("  @  99  robot start\n"), std::string::npos) << legend;
  EXPECT_NE(legend.find("  g  42  conveyor, left end  (media/block042.tga)  "
                        "[define it: char block g 42]"),
            std::string::npos)
      << legend;
  EXPECT_NE(legend.find("  E  8  exit  (media/block108.tga)\n"), std::string::npos);
  // Blocks go by the material a designer sees; codes without a character are still listed.
  EXPECT_NE(legend.find("  3  3  red brick  (media/block003.tga)"), std::string::npos);
  EXPECT_NE(legend.find("codes 62 to 97: invisible block, solid, no picture"), std::string::npos);
  for (const LegendDefault& entry : defaultDeviceEntries()) EXPECT_TRUE(entry.plain);
  int32_t code = 0;
  EXPECT_TRUE(Legend::defaultBlocks().codeOf('z', code));
  EXPECT_EQ(code, world::kLastPicturedBlock);
}

}  // namespace
}  // namespace mdx::level
