// The marvolen-edit window: canvas, palette, piece list and look values, live proof status,
// robot-path preview, play-test and export, in one SDL window drawn with Dear ImGui.
#pragma once

#include <array>
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
#include "edit/sdl_pack_manager.h"

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
  enum { kRecoverAutosave, kDiscardAutosave };
  // The canvas's mouse tools, for the left button; the right one does the same with the
  // brush's layer emptied (and clears the selection).
  enum class Tool {
    Paint,   // paints a cell; a drag fills a rectangle
    Select,  // a drag selects a rectangle; a drag from inside the selection moves its cells
    Fill,    // fills the connected cells of the clicked cell's code
    Line,    // a drag draws a straight line
  };

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
  // Outlines what the drag under way will change.
  void drawDrag(int row, int column, ImVec2 origin, float zoom);
  void drawCanvasOverlay(ImVec2 origin, float zoom);
  void drawToolsMenu();
  void drawSidePanel();
  void drawPieces();
  void drawLook();
  void drawWords();
  void drawProof();
  void drawStatusBar();
  void drawPopups();
  void drawFilePopup();
  void drawFileChoices();
  void drawKeysPopup();
  void drawExportPopup();
  void drawUnsavedPopup();
  void drawRecoverPopup();

  void ask(Pending action);  // runs action now, or after the prompt when there are changes
  void perform(Pending action);
  void save(bool chooseName);
  // After a file opened: asks whether to recover its autosave when that is newer than it.
  void offerRecovery();
  void startPlayTest();
  void endPlayTest();  // the game has ended: its result, the keyboard back to the editor
  // Shows text under the buttons; a stale one (untilEdit) goes at the next edit.
  void say(const std::string& text, bool untilEdit = false);
  void refreshLevel();  // after the model's revision moved: proof, drawing state, title
  // The region tools: the drag ending at (row, column) applied with its tool; the keys of the
  // tools, the clipboard and the mirror (true when the key was theirs).
  void endDrag(int row, int column);
  bool handleRegionKey(int key, bool ctrl);
  void copySelection(bool cut);
  void pasteAt(int row, int column);
  void mirrorSelection();
  // Where a drag of the selection from its start to (row, column) puts it.
  CellRect movedSelection(int row, int column) const;
  static const char* toolName(Tool tool);
  void openPackPanel();  // makes the pack manager panel, hidden, on the export's folder
  // Writes "kind text" to the log when text differs from the last line of that kind.
  void log(const std::string& kind, const std::string& text);
  // Logs "place WHAT X Y": where the item just drawn lies in the window, for scripts.
  void logPlace(const std::string& what);

  // The Share menu: a pack written as one file, a pack file installed (sdl_editor_share.cpp).
  bool handleShareShortcut(int key, bool shift);
  void drawShareMenu();
  void offerPackExport();
  void drawSharePopups();
  void drawPackExportPopup();
  void drawPackImportPopup();
  struct SharePrompts {
    bool askExport = false;
    bool askImport = false;
    char packDir[512] = "";   // the pack folder to write as one file
    char packFile[512] = "";  // the pack file to install
    PromptKeys exportKeys{2, kPromptAccept, kPromptCancel, true};
    PromptKeys importKeys{2, kPromptAccept, kPromptCancel, true};
  };

  // The SDL window and the ImGui back ends drawing into it.
  struct Screen {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<app::DialogRenderer> imgui;
    bool imguiReady = false;
    bool platformReady = false;
    uint32_t wakeEvent = 0;  // an SDL user event the worker threads push
  };

  // How the canvas shows the grid, and where the mouse is over it.
  struct CanvasState {
    CanvasView view;
    float zoom = 1.0f;
    bool zoomToFit = true;  // the zoom follows the window so that the whole grid shows
    bool gridLines = true;
    int hoverRow = -1, hoverColumn = -1;  // the cell under the mouse; -1 when none
    float mouseX = 0, mouseY = 0;         // the pointer in the window, from its motion events
    bool mouseInside = false;
    int markedCell = -1;  // ringed on the grid: the cell a pack finding points at
  };

  // A mouse button held over the canvas: its tool acts from the cell it went down on to the
  // one it comes up on.
  struct CanvasDrag {
    bool active = false;
    bool erases = false;  // the right button
    bool moves = false;   // the selection's cells are dragged
    Tool tool = Tool::Paint;
    int row = 0, column = 0;
  };

  // The tool the left button uses, and the selected rectangle the clipboard keys act on.
  struct RegionState {
    Tool tool = Tool::Paint;
    bool selected = false;
    CellRect selection;
  };

  // The palette's search and the brush taken from it.
  struct PaletteChoice {
    Brush brush;
    char filter[64] = "";
  };

  // The proof's answer as the side panel shows it, the level's rule warnings, and the robot's
  // path made from the answer, shown over the canvas and scrubbed step by step.
  struct ProofShown {
    ProofStatus status;
    std::vector<level::LevelWarning> warnings;
    PathPreview path;
    uint64_t pathRevision = 0;  // the proof revision the path was made from
    bool preview = false;       // the path is shown
    int previewStep = 0;
  };

  // The prompts: which are asked for (each opens at the next frame), what their fields hold
  // and their keys. Enter takes a prompt's first button (from its text field too), Escape
  // its Cancel.
  struct Prompts {
    Pending pending = Pending::None;  // what waits behind the unsaved-changes prompt
    bool askUnsaved = false;
    bool askFile = false;
    bool askExport = false;
    bool askKeys = false;
    bool askRecover = false;
    bool fileForSave = false;  // the file prompt saves as (or else opens)
    char fileName[512] = "";
    char exportDir[512] = "";
    std::unique_ptr<RecentFiles> recent;
    PromptKeys fileKeys{2, kPromptAccept, kPromptCancel, true};
    PromptKeys exportKeys{2, kPromptAccept, kPromptCancel, true};
    PromptKeys unsavedKeys{3, kUnsavedSave, kUnsavedCancel, false};
    PromptKeys keysKeys{1, kPromptAccept, kPromptAccept, false};
    // Escape recovers too: a key pressed in haste must not delete the autosave.
    PromptKeys recoverKeys{2, kRecoverAutosave, kRecoverAutosave, false};
  };

  // The message under the buttons, and the log scripts follow the window by.
  struct Messages {
    std::string text;       // the last file, export or play-test message
    uint64_t revision = 0;  // the revision a message lasts for; 0: until the next one
    std::FILE* log = nullptr;
    std::map<std::string, std::string> lastLogged;  // by kind
  };

  EditorOptions options_;
  Screen screen_;
  bool quit_ = false;
  int framesLeft_ = 0;  // frames still to draw before waiting for events

  EditModel model_;
  uint64_t shownRevision_ = 0;
  world::GameState levelState_;  // the level as the game starts it, for drawing
  Autosaver autosaver_{[] { return std::chrono::steady_clock::now(); }};
  std::unique_ptr<ProofWorker> proof_;
  GameRunner game_;
  std::string playTestPack_;  // the play-test's throw-away pack while the game runs

  std::unique_ptr<Canvas> canvas_;
  CanvasState canvasState_;
  CanvasDrag drag_;
  RegionState region_;
  PaletteChoice palette_;
  // The text fields of the level's name, idea and hint, by key; room for the longest text.
  using WordBuffer = std::array<char, 256>;
  std::map<std::string, WordBuffer> wordBuffers_;
  ProofShown proofShown_;
  Prompts prompts_;
  SharePrompts share_;
  Messages messages_;
  std::unique_ptr<PackManagerPanel> packPanel_;
};

}  // namespace mdx::edit
