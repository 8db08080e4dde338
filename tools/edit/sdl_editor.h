// The marvolen-edit window: canvas, palette, piece list and look values, live proof status,
// robot-path preview, play-test and export, in one SDL window drawn with Dear ImGui.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "edit/autosave.h"
#include "edit/edit_model.h"
#include "edit/file_choice.h"
#include "edit/game_runner.h"
#include "edit/path_preview.h"
#include "edit/prompt_keys.h"
#include "edit/proof.h"
#include "edit/sdl_canvas.h"

struct ImVec2;
struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;

namespace mdx::app {
class DialogRenderer;
}

namespace mdx::edit {

struct EditorOptions {
  std::string file;         // opened at start; empty for a new level
  std::string gameDir;      // the game data folder: pictures, the default pack's media
  std::string gameProgram;  // the game, started for play-tests
  std::string workDir;      // where relative file names are taken from
  std::string logFile;      // one line per edit revision, proof answer and file written
  double budgetSeconds = kDefaultBudgetSeconds;
};

class EditorWindow {
 public:
  explicit EditorWindow(EditorOptions options);
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // Opens the level file and the window and loads the pictures; false with a message on
  // stderr when the file or the window cannot be opened.
  bool open();
  // Runs until the window is closed (after the unsaved-changes prompt). Waits for events.
  void run();

 private:
  // ImGui settles a change (a click, a prompt opening) over a frame or two: this many frames
  // follow each event and each prompt's opening.
  static constexpr int kFramesAfterEvent = 3;
  // What waits behind the unsaved-changes prompt.
  enum class Pending { None, NewLevel, OpenFile, Quit };
  // The prompts' buttons, left to right.
  enum { kPromptAccept, kPromptCancel };
  enum { kUnsavedSave, kUnsavedDiscard, kUnsavedCancel };

  void handle(const SDL_Event& event);
  bool handleShortcut(const SDL_Event& event);
  void followMouse(const SDL_Event& event);
  void drawFrame();
  void drawMenu();
  void drawPalette();
  void drawCanvas();
  // The canvas parts: origin is the grid's top-left corner on screen.
  void drawHiddenCells(const world::GameState& state, ImVec2 origin, float zoom);
  void handleCanvasMouse(bool hovered, ImVec2 origin, float zoom);
  void drawCanvasOverlay(ImVec2 origin, float zoom);
  void drawSidePanel();
  void drawPieces();
  void drawLook();
  void drawProof();
  void drawStatusBar();
  void drawPopups();
  void drawFilePopup();
  void drawFileChoices();
  void drawKeysPopup();
  void drawExportPopup();
  void drawUnsavedPopup();

  void ask(Pending action);  // runs action now, or after the prompt when there are changes
  void perform(Pending action);
  void save(bool chooseName);
  void startPlayTest();
  void endPlayTest();  // the game has ended: its result, the keyboard back to the editor
  // Shows text under the buttons; a stale one (untilEdit) goes at the next edit.
  void say(const std::string& text, bool untilEdit = false);
  void refreshLevel();  // after the model's revision moved: proof, drawing state, title
  // Writes "kind text" to the log when text differs from the last line of that kind.
  void log(const std::string& kind, const std::string& text);

  EditorOptions options_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<app::DialogRenderer> imgui_;
  bool imguiReady_ = false;
  bool platformReady_ = false;
  uint32_t wakeEvent_ = 0;  // an SDL user event the worker threads push

  EditModel model_;
  std::unique_ptr<Canvas> canvas_;
  std::unique_ptr<ProofWorker> proof_;
  GameRunner game_;
  uint64_t shownRevision_ = 0;
  world::GameState levelState_;  // the level as the game starts it, for drawing

  Brush brush_;
  CanvasView view_;
  float zoom_ = 1.0f;
  bool zoomToFit_ = true;  // the zoom follows the window so that the whole grid shows
  bool gridLines_ = true;
  bool dragging_ = false;
  bool dragErases_ = false;
  int dragRow_ = 0, dragColumn_ = 0;
  int hoverRow_ = -1, hoverColumn_ = -1;
  float mouseX_ = 0, mouseY_ = 0;  // the pointer in the window, from its motion events
  bool mouseInside_ = false;
  char filter_[64] = "";

  std::vector<level::LevelWarning> warnings_;  // the level's rule warnings
  ProofStatus proofShown_;
  bool preview_ = false;
  int previewStep_ = 0;
  uint64_t previewRevision_ = 0;
  PathPreview path_;

  Pending pending_ = Pending::None;
  bool askUnsaved_ = false;
  bool askFile_ = false;
  bool fileForSave_ = false;
  char fileName_[512] = "";
  bool askExport_ = false;
  char exportDir_[512] = "";
  bool askKeys_ = false;
  std::unique_ptr<RecentFiles> recent_;
  // Enter takes a prompt's first button (from its text field too), Escape its Cancel.
  PromptKeys fileKeys_{2, kPromptAccept, kPromptCancel, true};
  PromptKeys exportKeys_{2, kPromptAccept, kPromptCancel, true};
  PromptKeys unsavedKeys_{3, kUnsavedSave, kUnsavedCancel, false};
  PromptKeys keysKeys_{1, kPromptAccept, kPromptAccept, false};
  std::string message_;           // the last file, export or play-test message
  uint64_t messageRevision_ = 0;  // the revision a message lasts for; 0: until the next one
  std::string playTestPack_;
  std::FILE* log_ = nullptr;
  std::map<std::string, std::string> lastLogged_;
  bool quit_ = false;
  int framesLeft_ = 0;
  Autosaver autosaver_{[] { return std::chrono::steady_clock::now(); }};
};

}  // namespace mdx::edit
