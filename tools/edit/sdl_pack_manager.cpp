#include "edit/sdl_pack_manager.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "edit/edit_model.h"
#include "edit/proof.h"
#include "edit/sdl_canvas.h"
#include "edit/sdl_prompts.h"
#include "gfxlib/sdl_display.h"

namespace mdx::edit {

namespace {

// A level's picture in the list: the game's 640 x 480 picture at a quarter of its size.
constexpr int kThumbWidth = gfx::kScreenWidth / 4;
constexpr int kThumbHeight = gfx::kScreenHeight / 4;
constexpr float kFindingsHeight = 170.0f;

void copyText(char* out, size_t size, const std::string& text) {
  std::snprintf(out, size, "%s", text.c_str());
}

}  // namespace

PackManagerPanel::PackManagerPanel(PackPanelHost host, const std::string& packDir)
    : host_(std::move(host)) {
  copyText(folder_, sizeof folder_, packDir);
  figures_ = std::make_unique<FiguresWorker>(packFigureLimits(), host_.wake);
}

PackManagerPanel::~PackManagerPanel() {
  cancelCheck_ = true;
  if (checking_.valid()) checking_.wait();
  figures_.reset();
  for (const auto& [key, texture] : thumbnails_) SDL_DestroyTexture(texture);
}

void PackManagerPanel::toggle() {
  shown_ = !shown_;
  if (host_.log) host_.log("pack-panel", shown_ ? "shown" : "hidden");
  std::string ignored;
  if (shown_ && !manager_.isOpen() && manager_.open(folder_, ignored)) firstLevel();
}

// A pack just opened starts with its first level chosen, or none when it has no level.
void PackManagerPanel::firstLevel() {
  selected_ = manager_.levels().empty() ? 0 : 1;
}

void PackManagerPanel::prepare() {
  if (!shown_ || !manager_.isOpen()) return;
  if (manager_.revision() != shownRevision_) refresh();
  for (const PackLevel& level : manager_.levels()) {
    if (level.error.empty()) thumbnail(level);
  }
}

void PackManagerPanel::refresh() {
  shownRevision_ = manager_.revision();
  std::vector<level::LevelSource> levels;
  std::map<std::string, SDL_Texture*> kept;
  for (const PackLevel& level : manager_.levels()) {
    if (!level.error.empty()) continue;
    levels.push_back(level.level);
    const std::string key = level::writeDat(level.level);
    const auto found = thumbnails_.find(key);
    if (found == thumbnails_.end()) continue;
    kept.insert(*found);
    thumbnails_.erase(found);
  }
  for (const auto& [key, texture] : thumbnails_) SDL_DestroyTexture(texture);
  thumbnails_ = std::move(kept);
  figures_->submit(levels);
  const int count = static_cast<int>(manager_.levels().size());
  selected_ = std::clamp(selected_, count > 0 ? 1 : 0, count);
  const std::string name = selected_ > 0 ? manager_.levels()[selected_ - 1].meta.name : "";
  copyText(name_, sizeof name_, name);
  if (host_.log) host_.log("pack", manager_.dir() + " " + std::to_string(count) + " levels");
}

// The level drawn by the editor's canvas, shrunk into a picture of its own. Made before the
// frame's canvas is drawn: the canvas has one picture, which the editor's grid then takes back.
SDL_Texture* PackManagerPanel::thumbnail(const PackLevel& level) {
  const std::string key = level::writeDat(level.level);
  if (const auto found = thumbnails_.find(key); found != thumbnails_.end()) return found->second;
  SDL_Texture* picture = SDL_CreateTexture(host_.renderer, SDL_PIXELFORMAT_RGBA8888,
                                           SDL_TEXTUREACCESS_TARGET, kThumbWidth, kThumbHeight);
  if (picture == nullptr) return nullptr;
  SDL_Texture* whole = host_.canvas->draw(startedGame(level.level), CanvasView{});
  SDL_SetRenderTarget(host_.renderer, picture);
  SDL_RenderCopy(host_.renderer, whole, nullptr, nullptr);
  SDL_SetRenderTarget(host_.renderer, nullptr);
  thumbnails_[key] = picture;
  return picture;
}

void PackManagerPanel::report(bool done, const std::string& error, const std::string& success) {
  host_.say(done ? success : error);
}

void PackManagerPanel::draw() {
  if (!shown_) return;
  ImGui::SetNextWindowSize(ImVec2(620, 760), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowPos(ImVec2(240, 60), ImGuiCond_FirstUseEver);
  if (ImGui::Begin("Pack manager", &shown_)) {
    drawFolder();
    if (manager_.isOpen()) {
      drawButtons();
      ImGui::Separator();
      drawLevels();
      ImGui::Separator();
      drawFindings();
    }
  }
  ImGui::End();
}

void PackManagerPanel::drawFolder() {
  ImGui::TextUnformatted("Pack folder");
  ImGui::SetNextItemWidth(-80);
  const bool entered = ImGui::InputText("##packfolder", folder_, sizeof folder_,
                                        ImGuiInputTextFlags_EnterReturnsTrue);
  ImGui::SameLine();
  if (ImGui::Button("Open") || entered) {
    std::string error;
    const bool opened = manager_.open(folder_, error);
    report(opened, error, std::string("pack ") + folder_ + " opened");
    if (opened) {
      firstLevel();
      findings_.clear();
    }
  }
}

void PackManagerPanel::drawButtons() {
  std::string error;
  const int count = static_cast<int>(manager_.levels().size());
  const std::string which = "level " + std::to_string(selected_);
  ImGui::BeginDisabled(selected_ == 0);
  if (ImGui::Button("Up") && selected_ > 1) {
    if (manager_.move(selected_, -1, error)) --selected_;
    report(error.empty(), error, which + " moved up");
  }
  ImGui::SameLine();
  if (ImGui::Button("Down") && selected_ < count) {
    if (manager_.move(selected_, 1, error)) ++selected_;
    report(error.empty(), error, which + " moved down");
  }
  if (host_.log) host_.log("place pack-down", lastItemPlace());
  ImGui::SameLine();
  if (ImGui::Button("Duplicate")) {
    report(manager_.duplicate(selected_, error), error, which + " duplicated");
  }
  ImGui::SameLine();
  if (ImGui::Button("Delete")) report(manager_.remove(selected_, error), error, which + " deleted");
  ImGui::SameLine();
  if (ImGui::Button("Open in the editor")) {
    host_.openLevel(manager_.levels()[selected_ - 1].path, -1);
  }
  ImGui::SetNextItemWidth(-80);
  ImGui::InputTextWithHint("##levelname", "the level's name", name_, sizeof name_);
  ImGui::SameLine();
  if (ImGui::Button("Rename")) {
    report(manager_.rename(selected_, name_, error), error, which + " renamed");
  }
  ImGui::EndDisabled();
  ImGui::BeginDisabled(manager_.undoSteps() == 0);
  if (ImGui::Button("Undo")) report(manager_.undo(error), error, "pack change undone");
  ImGui::EndDisabled();
  ImGui::SameLine();
  if (ImGui::Button("Add the open level")) {
    int number = 0;
    const bool added = manager_.addLevel(host_.model->level(), host_.proof->status(),
                                         host_.model->revision(), host_.gameDir, number, error);
    if (added) selected_ = number;
    report(added, error, "the open level is level " + std::to_string(number) + " of the pack");
  }
}

void PackManagerPanel::drawLevels() {
  const float height = ImGui::GetContentRegionAvail().y - kFindingsHeight;
  ImGui::BeginChild("packlevels", ImVec2(0, height), true);
  int measured = 0;
  for (const PackLevel& level : manager_.levels()) measured += drawLevelRow(level) ? 1 : 0;
  ImGui::EndChild();
  if (host_.log) {
    host_.log("pack-figures", std::to_string(measured) + " of " +
                                  std::to_string(manager_.levels().size()) + " measured");
  }
}

// A picture, then the number and name (a click selects the level, a double click opens it in
// the editor), its figures once measured, and the file it lies in. True when the figures are in.
bool PackManagerPanel::drawLevelRow(const PackLevel& level) {
  ImGui::PushID(level.number);
  bool measured = false;
  const auto found =
      level.error.empty() ? thumbnails_.find(level::writeDat(level.level)) : thumbnails_.end();
  if (found != thumbnails_.end()) {
    ImGui::Image(found->second, ImVec2(kThumbWidth, kThumbHeight));
  } else {
    ImGui::Dummy(ImVec2(kThumbWidth, kThumbHeight));
  }
  if (ImGui::IsItemClicked()) selected_ = level.number;
  ImGui::SameLine();
  ImGui::BeginGroup();
  char label[320];
  std::snprintf(label, sizeof label, "%02d  %s", level.number,
                level.meta.name.empty() ? "(no name)" : level.meta.name.c_str());
  if (ImGui::Selectable(label, selected_ == level.number, ImGuiSelectableFlags_AllowDoubleClick)) {
    selected_ = level.number;
    copyText(name_, sizeof name_, level.meta.name);
    if (ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left)) host_.openLevel(level.path, -1);
  }
  if (!level.error.empty()) {
    ImGui::TextWrapped("%s", level.error.c_str());
  } else if (const std::optional<LevelFigures> figures = figures_->figures(level.level)) {
    ImGui::TextUnformatted(describeFigures(*figures).c_str());
    measured = true;
  } else {
    ImGui::TextDisabled("measuring...");
  }
  ImGui::TextDisabled("%s", level.path.c_str());
  ImGui::EndGroup();
  ImGui::PopID();
  return measured;
}

void PackManagerPanel::drawFindings() {
  const bool checking = checking_.valid();
  if (checking && checking_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    findings_ = checking_.get();
    int problems = 0;
    for (const level::PackFinding& finding : findings_) problems += finding.problem ? 1 : 0;
    host_.say("pack check: " +
              (problems == 0 ? std::string("ready") : std::to_string(problems) + " problem(s)"));
  }
  ImGui::BeginDisabled(checking_.valid());
  if (ImGui::Button(checking_.valid() ? "Checking the pack..." : "Check the pack")) startCheck();
  ImGui::EndDisabled();
  ImGui::SameLine();
  ImGui::TextDisabled("a click opens the level at the cell");
  ImGui::BeginChild("findings", ImVec2(0, 0), true, ImGuiWindowFlags_HorizontalScrollbar);
  for (size_t i = 0; i < findings_.size(); ++i) {
    const level::PackFinding& finding = findings_[i];
    ImGui::PushID(static_cast<int>(i));
    const int level = finding.level;
    const bool opens = level >= 1 && level <= static_cast<int>(manager_.levels().size());
    if (ImGui::Selectable(finding.text.c_str(), false) && opens) {
      selected_ = level;
      host_.openLevel(manager_.levels()[level - 1].path, finding.cell);
    }
    if (!finding.detail.empty() && ImGui::IsItemHovered()) {
      ImGui::SetTooltip("%s", finding.detail.c_str());
    }
    ImGui::PopID();
  }
  ImGui::EndChild();
}

// The check decides every level, which takes seconds: it runs beside the window, and ends
// early when the panel goes.
void PackManagerPanel::startCheck() {
  cancelCheck_ = false;
  level::CheckOptions options;
  options.cancel = &cancelCheck_;
  checking_ = std::async(std::launch::async, [this, options, dir = manager_.dir()] {
    std::vector<level::PackFinding> found = level::packFindings(dir, host_.gameDir, options);
    if (host_.wake) host_.wake();
    return found;
  });
}

}  // namespace mdx::edit
