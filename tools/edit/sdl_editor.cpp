#include "edit/sdl_editor.h"

#include <SDL.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cstdio>
#include <filesystem>
#include <utility>

#include "app/player_files.h"
#include "app/sdl_dialog_renderer.h"
#include "edit/pack_export.h"

namespace mdx::edit {

namespace {

constexpr int kWindowWidth = 1600;
constexpr int kWindowHeight = 1000;
constexpr float kFontSize = 15.0f;
constexpr float kKeyRepeatDelay = 0.5f;  // seconds
constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// The recent files' list, under the player's configuration folder.
constexpr const char* kRecentFilesName = "/marvolen-dx/editor-recent";

void copyName(char* out, size_t size, const std::string& text) {
  std::snprintf(out, size, "%s", text.c_str());
}

// Wakes the window's event loop from another thread with the window's own event.
std::function<void()> waker(uint32_t wakeEvent) {
  return [wakeEvent] {
    SDL_Event event{};
    event.type = wakeEvent;
    SDL_PushEvent(&event);
  };
}

bool windowFailed() {
  std::fprintf(stderr, "marvolen-edit: cannot open the window: %s\n", SDL_GetError());
  return false;
}

}  // namespace

EditorWindow::EditorWindow(EditorOptions options) : options_(std::move(options)) {}

EditorWindow::~EditorWindow() {
  proof_.reset();      // its thread may still push wake events
  packPanel_.reset();  // so do its threads, and its pictures go before their renderer
  if (screen_.platformReady) ImGui_ImplSDL2_Shutdown();
  screen_.imgui.reset();
  if (screen_.imguiReady) ImGui::DestroyContext();
  canvas_.reset();  // its textures go before their renderer
  if (screen_.renderer) SDL_DestroyRenderer(screen_.renderer);
  if (screen_.window) SDL_DestroyWindow(screen_.window);
  if (messages_.log) std::fclose(messages_.log);
}

void EditorWindow::log(const std::string& kind, const std::string& text) {
  if (messages_.log == nullptr || messages_.lastLogged[kind] == text) return;
  messages_.lastLogged[kind] = text;
  std::fprintf(messages_.log, "%s %s\n", kind.c_str(), text.c_str());
  std::fflush(messages_.log);
}

bool EditorWindow::open() {
  if (!options_.logFile.empty()) messages_.log = std::fopen(options_.logFile.c_str(), "w");
  log("data", options_.gameDir);
  log("game", options_.gameProgram);
  if (!options_.file.empty()) {
    std::string error;
    if (!model_.open(options_.file, error)) {
      std::fprintf(stderr, "marvolen-edit: %s\n", error.c_str());
      return false;
    }
  }
  // The window takes what the screen leaves free, up to its own size.
  SDL_Rect usable{0, 0, kWindowWidth, kWindowHeight};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, kWindowWidth, kWindowHeight};
  screen_.window =
      SDL_CreateWindow("Marvolen DX level editor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       std::min(kWindowWidth, usable.w), std::min(kWindowHeight, usable.h),
                       SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!screen_.window) return windowFailed();
  screen_.renderer =
      SDL_CreateRenderer(screen_.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
  if (!screen_.renderer)
    screen_.renderer = SDL_CreateRenderer(screen_.window, -1, SDL_RENDERER_SOFTWARE);
  if (!screen_.renderer) return windowFailed();
  canvas_ = std::make_unique<Canvas>();
  const int pictures = canvas_->init(
      screen_.renderer, world::shippedPackLayout(options_.gameDir, world::kDefaultPackName));
  log("pictures", std::to_string(pictures));
  if (pictures == 0) {
    std::fprintf(stderr, "marvolen-edit: no pictures in the game folder %s\n",
                 options_.gameDir.c_str());
  }
  ImGui::CreateContext();
  screen_.imguiReady = true;
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  // A held key repeats after half a second, as on the desktop: ImGui's own quarter second
  // turned a 100 ms press into two when a frame or two ran slow.
  io.KeyRepeatDelay = kKeyRepeatDelay;
  ImGui::StyleColorsLight();
  if (!io.Fonts->AddFontFromFileTTF(kFontFile, kFontSize)) io.Fonts->AddFontDefault();
  io.Fonts->Build();
  screen_.imgui = std::make_unique<app::DialogRenderer>();
  if (!screen_.imgui->init(screen_.renderer)) return windowFailed();
  screen_.platformReady = ImGui_ImplSDL2_InitForSDLRenderer(screen_.window);
  if (!screen_.platformReady) return windowFailed();
  screen_.wakeEvent = SDL_RegisterEvents(1);
  proof_ = std::make_unique<ProofWorker>(options_.budgetSeconds, waker(screen_.wakeEvent));
  const std::string exportDir = defaultExportFolder();
  copyName(prompts_.exportDir, sizeof prompts_.exportDir,
           exportDir.empty() ? options_.workDir + "/mypack" : exportDir);
  openPackPanel();
  const std::string config = app::xdgFolder("XDG_CONFIG_HOME", ".config");
  prompts_.recent = std::make_unique<RecentFiles>(config.empty() ? "" : config + kRecentFilesName);
  if (!model_.path().empty()) prompts_.recent->add(model_.path());
  refreshLevel();
  offerRecovery();
  return true;
}

void EditorWindow::run() {
  // Sleeps in SDL_WaitEvent between events: an idle editor costs no processor time. The
  // proof's worker and the play-test's waiter wake it with the screen's wake event. Each key
  // going down or up is drawn in a frame of its own before later events: ImGui reads keys as
  // held or not at each frame, so a quick tap, or a release and the next press of one key,
  // coming in one batch would be lost.
  framesLeft_ = kFramesAfterEvent;
  const auto isKey = [](const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
  };
  while (!quit_) {
    SDL_Event event;
    bool keyMoved = false;
    std::string error;
    if (!autosaver_.tick(model_, error)) say(error);
    if (framesLeft_ <= 0) {
      // Wakes every few seconds without events so that an idle editor still autosaves.
      if (!SDL_WaitEventTimeout(&event, 5000)) continue;
      handle(event);
      keyMoved = isKey(event);
    }
    while (!quit_ && !keyMoved && SDL_PollEvent(&event)) {
      handle(event);
      keyMoved = isKey(event);
    }
    if (quit_) break;
    if (model_.revision() != shownRevision_) refreshLevel();
    drawFrame();
    --framesLeft_;
  }
}

namespace {

// The back end takes Ctrl, Shift, Alt and Super as SDL holds them now, after every event already
// queued: a quick Ctrl+A whose releases are queued behind its press reached a text field as a
// plain A, and the typing after it went into the old text. The key event's own modifiers are
// those held when the key went down or up.
void keepKeyModifiers(const SDL_Keysym& key) {
  ImGuiIO& io = ImGui::GetIO();
  io.KeyCtrl = (key.mod & KMOD_CTRL) != 0;
  io.KeyShift = (key.mod & KMOD_SHIFT) != 0;
  io.KeyAlt = (key.mod & KMOD_ALT) != 0;
  io.KeySuper = (key.mod & KMOD_GUI) != 0;
}

}  // namespace

void EditorWindow::handle(const SDL_Event& event) {
  framesLeft_ = kFramesAfterEvent;
  if (event.type == SDL_QUIT ||
      (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
    ask(Pending::Quit);
    return;
  }
  if (event.type == screen_.wakeEvent) {
    if (!game_.running() && !playTestPack_.empty()) endPlayTest();
    return;
  }
  followMouse(event);
  if (handleShortcut(event)) return;
  ImGui_ImplSDL2_ProcessEvent(&event);
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) keepKeyModifiers(event.key.keysym);
}

// The back end asks the X server where the pointer is, and some servers answer with a stale
// place until a button is held, which froze the cell readout; the window's own motion events
// always say where it is.
void EditorWindow::followMouse(const SDL_Event& event) {
  if (event.type == SDL_MOUSEMOTION) {
    canvasState_.mouseX = static_cast<float>(event.motion.x);
    canvasState_.mouseY = static_cast<float>(event.motion.y);
    canvasState_.mouseInside = true;
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_LEAVE) {
    canvasState_.mouseInside = false;
  }
}

// The editor's keys act on the canvas and the level. While a prompt (or a menu) is open the
// single keys are the prompt's, so keys meant for it never pick, preview or play-test; the
// Ctrl keys still save and undo, which the unsaved-changes prompt follows.
bool EditorWindow::handleShortcut(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN || ImGui::GetIO().WantTextInput) return false;
  const SDL_Keycode key = event.key.keysym.sym;
  const bool ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
  const bool shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
  if (!ctrl && ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId)) return false;
  if (!ctrl) {
    // I: the eyedropper, the cell under the mouse becomes the brush. P: the path preview.
    // F5: play-test. F1: the keys.
    if (key == SDLK_i && canvasState_.hoverRow >= 0)
      model_.pick(canvasState_.hoverRow, canvasState_.hoverColumn, palette_.brush);
    if (key == SDLK_p) proofShown_.preview = !proofShown_.preview;
    if (key == SDLK_F5 && !game_.running()) startPlayTest();
    if (key == SDLK_F1) prompts_.askKeys = true;
    if (key == SDLK_i || key == SDLK_p || key == SDLK_F5 || key == SDLK_F1) return true;
    return handleRegionKey(key, false);
  }
  if (handleShareShortcut(key, shift)) return true;
  switch (key) {
    case SDLK_e:
      prompts_.askExport = true;
      return true;
    case SDLK_n:
      ask(Pending::NewLevel);
      return true;
    case SDLK_o:
      ask(Pending::OpenFile);
      return true;
    case SDLK_s:
      save(shift);
      return true;
    case SDLK_z:
      model_.undo();
      return true;
    case SDLK_y:
      model_.redo();
      return true;
    case SDLK_q:
      ask(Pending::Quit);
      return true;
    case SDLK_p:
      packPanel_->toggle();
      return true;
    default:
      return handleRegionKey(key, true);
  }
}

void EditorWindow::refreshLevel() {
  shownRevision_ = model_.revision();
  proof_->submit(shownRevision_, model_.level());
  levelState_ = startedGame(model_.level());
  proofShown_.warnings = level::ruleWarnings(model_.level());
  const std::string name = model_.path().empty() ? "new level" : model_.path();
  const std::string title = (model_.dirty() ? "* " : "") + name + " - Marvolen DX level editor";
  SDL_SetWindowTitle(screen_.window, title.c_str());
  log("revision", std::to_string(shownRevision_) + (model_.dirty() ? " dirty" : " clean"));
  if (messages_.revision != 0 && messages_.revision != shownRevision_) say("");
}

// The pack manager opens a pack's level in this window only when the open level has no
// unsaved changes; a finding's cell is ringed on the grid until the next click on it.
void EditorWindow::openPackPanel() {
  PackPanelHost host;
  host.renderer = screen_.renderer;
  host.canvas = canvas_.get();
  host.gameDir = options_.gameDir;
  host.model = &model_;
  host.proof = proof_.get();
  host.wake = waker(screen_.wakeEvent);
  host.say = [this](const std::string& text) { say(text); };
  host.log = [this](const std::string& kind, const std::string& text) { log(kind, text); };
  host.openLevel = [this](const std::string& path, int cell) {
    std::string error;
    if (model_.dirty()) {
      say("save the open level first (Ctrl+S), or undo its changes");
    } else if (!model_.open(path, error)) {
      say(error);
    } else {
      prompts_.recent->add(path);
      canvasState_.markedCell = cell;
      say("opened " + path +
          (cell < 0 ? "" : " at " + level::cellName(cell) + " (ringed on the grid)"));
    }
  };
  packPanel_ = std::make_unique<PackManagerPanel>(std::move(host), prompts_.exportDir);
}

void EditorWindow::ask(Pending action) {
  if (model_.dirty() && action != Pending::None) {
    prompts_.pending = action;
    prompts_.askUnsaved = true;
  } else {
    perform(action);
  }
}

void EditorWindow::perform(Pending action) {
  switch (action) {
    case Pending::NewLevel:
      model_.newLevel();
      say("new level");
      break;
    case Pending::OpenFile:
      prompts_.fileForSave = false;
      prompts_.askFile = true;
      copyName(prompts_.fileName, sizeof prompts_.fileName, model_.path());
      break;
    case Pending::Quit:
      if (!model_.path().empty()) autosaver_.discard(model_.path());
      quit_ = true;
      break;
    case Pending::None:
      break;
  }
}

void EditorWindow::save(bool chooseName) {
  if (chooseName || model_.path().empty()) {
    prompts_.fileForSave = true;
    prompts_.askFile = true;
    copyName(prompts_.fileName, sizeof prompts_.fileName, model_.path());
    return;
  }
  std::string error;
  const uint64_t edited = model_.revision();  // saving moves it on; the proof is of this one
  const bool saved = model_.save(error);
  say(saved ? rebuildSavedPackLevel(model_.path(), model_.level(), proofShown_.status, edited)
            : error);
  if (saved) prompts_.recent->add(model_.path());
  if (saved) autosaver_.discard(model_.path());
  refreshLevel();
}

void EditorWindow::offerRecovery() {
  if (!model_.path().empty() && autosaveNewer(model_.path())) prompts_.askRecover = true;
}

void EditorWindow::say(const std::string& text, bool untilEdit) {
  messages_.text = text;
  messages_.revision = untilEdit ? model_.revision() : 0;
}

void EditorWindow::startPlayTest() {
  std::string error;
  if (!autosaver_.saveNow(model_, error)) say(error);
  const std::string pack = makePlayTestPack(model_.level(), options_.gameDir, error);
  if (pack.empty()) {
    say(error);
    return;
  }
  const uint32_t wake = screen_.wakeEvent;
  // The game ends on the level's result and tells it on its log; the play-test's pack is
  // thrown away after, so the player's saved progress is left alone.
  const std::vector<std::string> args = {
      options_.gameProgram, "--data",     options_.gameDir, "--pack", pack,
      "--no-dialog",        "--windowed", "--level",        "1",      "--play-test",
      "--no-save",          "--log",      playTestLog(pack)};
  if (!game_.start(
          args,
          [wake](int) {
            SDL_Event event{};
            event.type = wake;
            SDL_PushEvent(&event);
          },
          error)) {
    say(error);
    std::filesystem::remove_all(pack);
    return;
  }
  playTestPack_ = pack;
  say("play-test running: it ends with the level, or close the game to come back");
}

void EditorWindow::endPlayTest() {
  say("play-test: " + playTestResult(playTestLog(playTestPack_)));
  std::error_code ec;
  std::filesystem::remove_all(playTestPack_, ec);
  playTestPack_.clear();
  // The keyboard comes back to the editor, as it was before the game's window took it.
  SDL_RaiseWindow(screen_.window);
  SDL_SetWindowInputFocus(screen_.window);
}

void EditorWindow::drawFrame() {
  ImGui_ImplSDL2_NewFrame();
  if (canvasState_.mouseInside)
    ImGui::GetIO().MousePos = ImVec2(canvasState_.mouseX, canvasState_.mouseY);
  ImGui::NewFrame();
  packPanel_->prepare();
  const ImGuiViewport* screen = ImGui::GetMainViewport();
  ImGui::SetNextWindowPos(screen->WorkPos);
  ImGui::SetNextWindowSize(screen->WorkSize);
  ImGui::Begin("##editor", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_MenuBar |
                   ImGuiWindowFlags_NoBringToFrontOnFocus);
  drawMenu();
  drawPalette();
  ImGui::SameLine();
  drawCanvas();
  ImGui::SameLine();
  drawSidePanel();
  drawStatusBar();
  drawPopups();
  ImGui::End();
  packPanel_->draw();
  ImGui::Render();
  SDL_SetRenderDrawColor(screen_.renderer, 220, 220, 220, 255);
  SDL_RenderClear(screen_.renderer);
  screen_.imgui->render(ImGui::GetDrawData());
  SDL_RenderPresent(screen_.renderer);
}

}  // namespace mdx::edit
