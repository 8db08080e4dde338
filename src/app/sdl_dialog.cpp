#include "app/sdl_dialog.h"

#include <SDL.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/sdl_dialog_renderer.h"
#include "app/sdl_icon.h"
#include "gfxlib/sdl_backend.h"

namespace mdx::app {
namespace {

// The box is laid out in dialog units, 231 x 94 of them, two pixels each.
constexpr float kUnit = 2.0f;
constexpr int kWidth = 231 * 2;
constexpr int kHeight = 94 * 2;
constexpr float kFontSize = 14.0f;

ImVec2 at(float x, float y) {
  return ImVec2(x * kUnit, y * kUnit);
}

// The font the game's own text uses: the game folder's copy first, then the system's. Only a
// file that exists is handed to ImGui, which treats a missing font file as a programming error.
bool addGameFont(ImGuiIO& io, const std::string& dataFolder) {
  for (const std::string& path : gfx::defaultFontPaths(dataFolder)) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) continue;
    if (io.Fonts->AddFontFromFileTTF(path.c_str(), kFontSize) != nullptr) return true;
  }
  return false;
}

// A group box: a thin frame with its caption cut into the top edge.
void groupBox(const char* caption, float x, float y, float w, float h) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 textSize = ImGui::CalcTextSize(caption);
  const ImVec2 topLeft = at(x, y);
  const ImVec2 corner(topLeft.x, topLeft.y + textSize.y / 2);
  const ImVec2 bottomRight = at(x + w, y + h);
  const ImU32 line = ImGui::GetColorU32(ImGuiCol_Border);
  draw->AddRect(corner, bottomRight, line);
  const ImVec2 textPos(topLeft.x + 6, topLeft.y);
  draw->AddRectFilled(ImVec2(textPos.x - 2, textPos.y),
                      ImVec2(textPos.x + textSize.x + 2, textPos.y + textSize.y),
                      ImGui::GetColorU32(ImGuiCol_WindowBg));
  draw->AddText(textPos, ImGui::GetColorU32(ImGuiCol_Text), caption);
}

// A right-aligned label in the box x, y, w (dialog units).
void rightLabel(const char* text, float x, float y, float w) {
  const float width = ImGui::CalcTextSize(text).x;
  ImGui::SetCursorPos(ImVec2((x + w) * kUnit - width, y * kUnit));
  ImGui::TextUnformatted(text);
}

// A drop-down list; returns the index the user picked, or -1.
int dropDown(const char* id, const std::vector<std::string>& items, int selection, float x, float y,
             float w) {
  ImGui::SetCursorPos(at(x, y));
  ImGui::SetNextItemWidth(w * kUnit);
  const char* preview = selection >= 0 ? items[selection].c_str() : "";
  int picked = -1;
  if (ImGui::BeginCombo(id, preview)) {
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
      // An empty map-pack line is a real entry; give it a visible row.
      const std::string label =
          (items[i].empty() ? std::string(" ") : items[i]) + "##" + std::to_string(i);
      if (ImGui::Selectable(label.c_str(), i == selection)) picked = i;
      if (i == selection) ImGui::SetItemDefaultFocus();
    }
    ImGui::EndCombo();
  }
  return picked;
}

class DialogWindow {
 public:
  explicit DialogWindow(StartupDialog& dialog) : dialog_(dialog) {}
  ~DialogWindow();
  bool open();
  void run();

 private:
  void handle(const SDL_Event& event);
  void drawFrame();
  void drawControls();

  StartupDialog& dialog_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  bool imguiReady_ = false;
  bool platformReady_ = false;
  DialogRenderer drawer_;
  SdlPointer pointer_;
  bool popupOpen_ = false;
  bool exitFocused_ = false;
};

DialogWindow::~DialogWindow() {
  if (platformReady_) ImGui_ImplSDL2_Shutdown();
  if (imguiReady_) ImGui::DestroyContext();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

bool DialogWindow::open() {
  window_ = SDL_CreateWindow("Marvolen DX", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                             kHeight, SDL_WINDOW_HIDDEN);
  if (!window_) return false;
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) return false;
  pointer_.install(window_);

  ImGui::CreateContext();
  imguiReady_ = true;
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // the dialog saves nothing
  io.LogFilename = nullptr;
  io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
  ImGui::StyleColorsLight();
  ImGui::GetStyle().FramePadding = ImVec2(4, 2);
  ImGui::GetStyle().FrameBorderSize = 1.0f;
  if (!addGameFont(io, dialog_.catalog.dataFolder)) io.Fonts->AddFontDefault();
  io.Fonts->Build();
  if (!drawer_.init(renderer_)) return false;
  platformReady_ = ImGui_ImplSDL2_InitForSDLRenderer(window_);
  if (!platformReady_) return false;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  return true;
}

void DialogWindow::handle(const SDL_Event& event) {
  const bool closeBox = event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT &&
                                                   event.window.event == SDL_WINDOWEVENT_CLOSE);
  if (closeBox) {
    dialog_.command(kIdCancel);
    return;
  }
  if (event.type == SDL_KEYDOWN && !popupOpen_) {
    const SDL_Keycode key = event.key.keysym.sym;
    if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
      dialog_.enterKey(exitFocused_ ? kIdExit : kIdPlay);
      return;
    }
    if (key == SDLK_ESCAPE) {
      dialog_.command(kIdCancel);
      return;
    }
  }
  ImGui_ImplSDL2_ProcessEvent(&event);
}

void DialogWindow::drawControls() {
  DialogControls& c = dialog_.controls;
  ImGui::SetCursorPos(at(121, 74));
  if (ImGui::Button("Play", at(50, 14))) dialog_.command(kIdPlay);
  ImGui::SetItemDefaultFocus();
  // The default button wears a darker frame.
  ImGui::GetWindowDrawList()->AddRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(),
                                      IM_COL32(0, 0, 0, 255), 0.0f, 0, 2.0f);
  ImGui::SetCursorPos(at(175, 74));
  if (ImGui::Button("Exit", at(50, 14))) dialog_.command(kIdExit);
  exitFocused_ = ImGui::IsItemFocused();

  groupBox("Rendering Mode", 7, 39, 70, 36);
  ImGui::SetCursorPos(at(13, 49));
  if (ImGui::RadioButton("Full-screen", c.fullScreenChecked)) dialog_.command(kIdFullScreen);
  ImGui::SetCursorPos(at(13, 59));
  if (ImGui::RadioButton("Windowed", c.windowedChecked)) dialog_.command(kIdWindowed);

  ImGui::SetCursorPos(at(85, 40));
  bool sound = c.soundChecked;
  if (ImGui::Checkbox("Enable Sound", &sound)) dialog_.setSoundChecked(sound);

  groupBox("Video Settings", 6, 5, 219, 29);
  rightLabel("Display Adapter:", 10, 18, 55);
  const int adapter = dropDown("##adapters", c.adapterList, c.adapterSelection, 70, 16, 149);
  if (adapter >= 0) dialog_.selectAdapter(adapter);
  rightLabel("Map pack:", 80, 57, 39);
  const int pack = dropDown("##packs", dialog_.packLabels(), c.packSelection, 121, 55, 97);
  if (pack >= 0) dialog_.selectPack(pack);
}

void DialogWindow::drawFrame() {
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(ImVec2(kWidth, kHeight));
  ImGui::Begin("##settings", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
  drawControls();
  ImGui::End();
  popupOpen_ = ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel);
  ImGui::Render();
  SDL_SetRenderDrawColor(renderer_, 240, 240, 240, 255);
  SDL_RenderClear(renderer_);
  drawer_.render(ImGui::GetDrawData());
  SDL_RenderPresent(renderer_);
}

void DialogWindow::run() {
  // ImGui settles a change over a frame or two; draw a few frames after each event and
  // otherwise sleep in SDL_WaitEvent, so an open dialog costs no processor time.
  constexpr int kFramesAfterEvent = 3;
  int framesLeft = kFramesAfterEvent;
  while (!dialog_.ended()) {
    SDL_Event event;
    if (framesLeft <= 0) {
      if (!SDL_WaitEvent(&event)) {
        // The event system broke down: leave as if cancelled rather than spin.
        dialog_.command(kIdCancel);
        break;
      }
      handle(event);
      framesLeft = kFramesAfterEvent;
    }
    while (!dialog_.ended() && SDL_PollEvent(&event)) {
      handle(event);
      framesLeft = kFramesAfterEvent;
    }
    if (dialog_.ended()) break;
    drawFrame();
    --framesLeft;
  }
}

}  // namespace

int runStartupDialog(StartupDialog& dialog) {
  DialogWindow window(dialog);
  if (!window.open()) return kDialogFailed;
  window.run();
  return dialog.result;
}

}  // namespace mdx::app
