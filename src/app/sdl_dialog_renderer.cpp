#include "app/sdl_dialog_renderer.h"

#include <SDL.h>
#include <imgui.h>

#include <cstddef>

namespace mdx::app {

DialogRenderer::~DialogRenderer() {
  if (fontTexture_) SDL_DestroyTexture(fontTexture_);
}

bool DialogRenderer::init(SDL_Renderer* renderer) {
  renderer_ = renderer;
  ImGuiIO& io = ImGui::GetIO();
  unsigned char* pixels = nullptr;
  int width = 0;
  int height = 0;
  // RGBA bytes in memory: ABGR8888 as a packed 32-bit format on little-endian machines.
  io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
  fontTexture_ =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, width, height);
  if (!fontTexture_) return false;
  SDL_UpdateTexture(fontTexture_, nullptr, pixels, width * 4);
  SDL_SetTextureBlendMode(fontTexture_, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(fontTexture_, SDL_ScaleModeLinear);
  io.Fonts->SetTexID(static_cast<ImTextureID>(fontTexture_));
  return true;
}

void DialogRenderer::render(ImDrawData* data) {
  if (!renderer_ || !data) return;
  const ImVec2 origin = data->DisplayPos;
  for (int n = 0; n < data->CmdListsCount; ++n) {
    const ImDrawList* list = data->CmdLists[n];
    const ImDrawVert* vertices = list->VtxBuffer.Data;
    const ImDrawIdx* indices = list->IdxBuffer.Data;
    for (const ImDrawCmd& cmd : list->CmdBuffer) {
      if (cmd.UserCallback) {
        if (cmd.UserCallback != ImDrawCallback_ResetRenderState) cmd.UserCallback(list, &cmd);
        continue;
      }
      const SDL_Rect clip{static_cast<int>(cmd.ClipRect.x - origin.x),
                          static_cast<int>(cmd.ClipRect.y - origin.y),
                          static_cast<int>(cmd.ClipRect.z - cmd.ClipRect.x),
                          static_cast<int>(cmd.ClipRect.w - cmd.ClipRect.y)};
      if (clip.w <= 0 || clip.h <= 0) continue;
      SDL_RenderSetClipRect(renderer_, &clip);
      const char* base = reinterpret_cast<const char*>(vertices + cmd.VtxOffset);
      // ImGui's packed colour is R, G, B, A in memory, the byte order of SDL_Color.
      SDL_RenderGeometryRaw(
          renderer_, static_cast<SDL_Texture*>(cmd.GetTexID()),
          reinterpret_cast<const float*>(base + offsetof(ImDrawVert, pos)), sizeof(ImDrawVert),
          reinterpret_cast<const SDL_Color*>(base + offsetof(ImDrawVert, col)), sizeof(ImDrawVert),
          reinterpret_cast<const float*>(base + offsetof(ImDrawVert, uv)), sizeof(ImDrawVert),
          list->VtxBuffer.Size - static_cast<int>(cmd.VtxOffset), indices + cmd.IdxOffset,
          static_cast<int>(cmd.ElemCount), sizeof(ImDrawIdx));
    }
  }
  SDL_RenderSetClipRect(renderer_, nullptr);
}

}  // namespace mdx::app
