// Autosave as a designer meets it: a minute of edits lands beside the source, the next start
// is offered it, and a discard or a save leaves nothing behind.
#include "edit/autosave.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "level/level_source.h"

namespace mdx::edit {
namespace {

namespace fs = std::filesystem;

class EditAutosave : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder_);
    fs::copy_file(MDX_SOURCE_DIR "/levels/mappack1/level07.src", source_);
    std::string error;
    ASSERT_TRUE(model_.open(source_, error)) << error;
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_ = fs::temp_directory_path() / ("mdx-autosave-" + std::to_string(getpid()));
  std::string source_ = (folder_ / "drops.src").string();
  std::chrono::steady_clock::time_point now_{};
  Autosaver autosaver_{[this] { return now_; }};
  EditModel model_;
  std::string error_;
};

TEST_F(EditAutosave, AMinuteOfEditsIsWrittenAndOfferedAtTheNextStart) {
  ASSERT_TRUE(model_.paint(0, 0, {Layer::Blocks, 3}));
  now_ += std::chrono::seconds(59);
  ASSERT_TRUE(autosaver_.tick(model_, error_));
  EXPECT_FALSE(fs::exists(autosavePath(source_)));  // not yet a minute
  now_ += std::chrono::seconds(1);
  ASSERT_TRUE(autosaver_.tick(model_, error_)) << error_;
  ASSERT_TRUE(fs::exists(autosavePath(source_)));
  EXPECT_TRUE(autosaveNewer(source_));
  EditModel recovered;
  ASSERT_TRUE(recoverAutosave(recovered, source_, error_)) << error_;
  EXPECT_TRUE(sameLevel(recovered.level(), model_.level()));
  EXPECT_TRUE(recovered.dirty());
  EXPECT_EQ(recovered.path(), source_);
  ASSERT_TRUE(recovered.undo());  // back to the source as it was saved
  EXPECT_FALSE(recovered.dirty());
}

TEST_F(EditAutosave, NothingIsWrittenForALevelWithoutEdits) {
  now_ += std::chrono::minutes(5);
  ASSERT_TRUE(autosaver_.saveNow(model_, error_));
  EXPECT_FALSE(fs::exists(autosavePath(source_)));
  EXPECT_FALSE(autosaveNewer(source_));
}

TEST_F(EditAutosave, DiscardRemovesItAndAnOlderAutosaveIsNotOffered) {
  model_.paint(1, 1, {Layer::Blocks, 5});
  ASSERT_TRUE(autosaver_.saveNow(model_, error_)) << error_;
  autosaver_.discard(source_);
  EXPECT_FALSE(fs::exists(autosavePath(source_)));
  ASSERT_TRUE(autosaver_.saveNow(model_, error_));
  // A save after the autosave makes the source the newer file.
  fs::last_write_time(autosavePath(source_),
                      fs::last_write_time(source_) - std::chrono::seconds(10));
  EXPECT_FALSE(autosaveNewer(source_));
}

}  // namespace
}  // namespace mdx::edit
