// One whole picture of the game: the backgrounds, then the title, play field or ending on top.
#pragma once

#include "gfxlib/draw_backend.h"
#include "render/assets.h"
#include "world/game_state.h"

namespace mdx::render {

// Draws and presents one frame from the game state, changing none of it. Called by the
// frame loop after the keyboard poll, and by the window when it needs repainting.
void drawScene(const world::GameState& state, Assets& assets, gfx::DrawBackend& backend);

// The landscape picture chosen by landscapeChoice (1 to 3), moved as landscapeMotion says;
// nothing for other choices or a negative motion.
void drawLandscape(const world::GameState& state, Assets& assets);

// The lower parallax strip's two copies (when parallax2Mode is 2) at y 380.
void drawLowerStrip(const world::GameState& state, Assets& assets);

// The upper parallax strip's two copies (when parallax1On is 1) at y 0.
void drawUpperStrip(const world::GameState& state, Assets& assets);

}  // namespace mdx::render
