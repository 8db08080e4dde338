// The editor window's pack manager panel: the levels of one pack as small pictures with their
// names, proof and win share; buttons that move, rename, duplicate, delete and add levels,
// with undo; and the pack check's findings, each opening its level at its cell.
#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "edit/pack_figures.h"
#include "edit/pack_manager.h"
#include "level/pack_commands.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace mdx::edit {

class Canvas;
class EditModel;
class ProofWorker;

// What the panel uses of the editor window.
struct PackPanelHost {
  SDL_Renderer* renderer = nullptr;
  Canvas* canvas = nullptr;  // draws the levels' pictures
  std::string gameDir;
  const EditModel* model = nullptr;    // the open level, added with "Add the open level"
  const ProofWorker* proof = nullptr;  // its proof, which the export asks for
  std::function<void()> wake;          // wakes the window's event loop (any thread)
  std::function<void(const std::string& path, int cell)> openLevel;           // cell -1: none
  std::function<void(const std::string& text)> say;                           // the status message
  std::function<void(const std::string& kind, const std::string& text)> log;  // the window's log
};

class PackManagerPanel {
 public:
  PackManagerPanel(PackPanelHost host, const std::string& packDir);
  ~PackManagerPanel();
  PackManagerPanel(const PackManagerPanel&) = delete;
  PackManagerPanel& operator=(const PackManagerPanel&) = delete;

  // Shows or hides the panel; shown first, it opens the pack in its folder field when that
  // folder is a pack.
  void toggle();
  // Makes the pictures of levels new to the panel. Called each frame before the editor draws
  // its canvas, which shares the canvas's one picture with them.
  void prepare();
  // Draws the panel's own window when it is shown (between ImGui's NewFrame and Render).
  void draw();

 private:
  void drawFolder();
  void drawLevels();
  bool drawLevelRow(const PackLevel& level);
  void drawButtons();
  void drawFindings();
  void startCheck();
  void firstLevel();
  void refresh();  // after the manager's revision moved: pictures, figures, the name field
  SDL_Texture* thumbnail(const PackLevel& level);
  void report(bool done, const std::string& error, const std::string& success);

  PackPanelHost host_;
  bool shown_ = false;
  PackManager manager_;
  uint64_t shownRevision_ = 0;
  int selected_ = 0;  // level number; 0 for none
  char folder_[512] = "";
  char name_[256] = "";
  std::unique_ptr<FiguresWorker> figures_;
  std::map<std::string, SDL_Texture*> thumbnails_;  // by level file text
  std::vector<level::PackFinding> findings_;
  std::future<std::vector<level::PackFinding>> checking_;
  std::atomic<bool> cancelCheck_{false};
};

}  // namespace mdx::edit
