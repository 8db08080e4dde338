// A drawing back end that records every call, so tests can state what a frame draws.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "gfxlib/draw_backend.h"

namespace mdx::render::testing {

enum class CallKind { Begin, End, Sprite, Text };

// One call: for sprites `name` is the picture's file, for text it is the text itself
// (its point and colour then sit in draw.x, draw.y and draw.colour).
struct RecordedCall {
  CallKind kind;
  std::string name;
  gfx::SpriteDraw draw;
};

class RecordingBackend : public gfx::DrawBackend {
 public:
  std::set<std::string> missingFiles;  // loadTexture fails for these
  std::vector<std::string> loadedFiles;
  std::vector<RecordedCall> calls;

  gfx::TextureId loadTexture(const std::string& fileName) override {
    if (missingFiles.count(fileName) != 0) return 0;
    loadedFiles.push_back(fileName);
    return static_cast<gfx::TextureId>(loadedFiles.size());
  }
  void drawSprite(gfx::TextureId texture, const gfx::SpriteDraw& draw) override {
    if (texture <= 0 || texture > static_cast<gfx::TextureId>(loadedFiles.size())) return;
    calls.push_back({CallKind::Sprite, loadedFiles[static_cast<size_t>(texture - 1)], draw});
  }
  gfx::FontId createFont() override { return 1; }
  // A stand-in font whose every character is kCharWidth pixels wide.
  static constexpr int32_t kCharWidth = 7;
  int32_t textWidth(gfx::FontId, const std::string& text) override {
    return kCharWidth * static_cast<int32_t>(text.size());
  }
  int32_t drawText(gfx::FontId, const std::string& text, int32_t x, int32_t y,
                   uint32_t colour) override {
    gfx::SpriteDraw at;
    at.x = static_cast<float>(x);
    at.y = static_cast<float>(y);
    at.colour = colour;
    calls.push_back({CallKind::Text, text, at});
    return 16;
  }
  void beginScene() override { calls.push_back({CallKind::Begin, "", {}}); }
  void endScene() override { calls.push_back({CallKind::End, "", {}}); }
};

}  // namespace mdx::render::testing
