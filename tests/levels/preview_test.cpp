// The preview command: a real picture from a level, and clear failures for bad input.
#include "level/preview.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mdx::level {
namespace {

namespace fs = std::filesystem;

int preview(std::vector<std::string> args, std::ostream& err) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  return previewCommand(static_cast<int>(argv.size()), argv.data(), err);
}

TEST(LevelPreview, DrawsALevelIntoAPng) {
  if (!fs::exists(fs::path(MDX_GAME_DIR) / "media" / "logo.tga")) {
    GTEST_SKIP() << "no generated media in " << MDX_GAME_DIR;
  }
  const std::string out = ::testing::TempDir() + "preview_level01.png";
  fs::remove(out);
  std::ostringstream err;
  ASSERT_EQ(preview({std::string(MDX_SOURCE_DIR) + "/levels/mappack1/level01.src", out, "--data",
                     MDX_GAME_DIR},
                    err),
            0)
      << err.str();
  std::ifstream png(out, std::ios::binary);
  std::vector<unsigned char> header(24);
  png.read(reinterpret_cast<char*>(header.data()), 24);
  ASSERT_TRUE(png.good());
  EXPECT_EQ(std::string(header.begin() + 1, header.begin() + 4), "PNG");
  const auto be32 = [&](int at) {
    return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
  };
  EXPECT_EQ(be32(16), 640);  // IHDR width and height
  EXPECT_EQ(be32(20), 480);
}

TEST(LevelPreview, BadInputFailsWithAMessage) {
  std::ostringstream missing;
  EXPECT_EQ(preview({"/no/such/level.src", ::testing::TempDir() + "x.png"}, missing), 1);
  EXPECT_NE(missing.str().find("/no/such/level.src: cannot read"), std::string::npos);

  const std::string broken = ::testing::TempDir() + "broken.src";
  std::ofstream(broken) << "pieces pillar\nblocks\n...\n";
  std::ostringstream parse;
  EXPECT_EQ(preview({broken, ::testing::TempDir() + "x.png"}, parse), 1);
  EXPECT_NE(parse.str().find(broken + ":2:1: the blocks map has 1 row"), std::string::npos)
      << parse.str();

  std::ostringstream usage;
  EXPECT_EQ(preview({broken}, usage), 2);
  EXPECT_NE(usage.str().find("usage:"), std::string::npos);

  std::ostringstream noFolder;
  const std::string level = std::string(MDX_SOURCE_DIR) + "/levels/mappack1/level01.src";
  EXPECT_EQ(preview({level, ::testing::TempDir() + "x.png", "--data", "/no/such/dir"}, noFolder),
            1);
  EXPECT_NE(noFolder.str().find("/no/such/dir: not a game folder"), std::string::npos);
}

}  // namespace
}  // namespace mdx::level
