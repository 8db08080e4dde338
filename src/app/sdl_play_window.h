// The game window a session is played in, shared by the desktop and the web shells: what the
// session is played with, opening the window with its pictures, the window's parts (pacing,
// keyboard and pads, pointer, clock, drawing) and connecting a new game to them.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

#include "app/cli_options.h"
#include "app/frame_pacer.h"
#include "app/sdl_clock.h"
#include "app/sdl_gamepad.h"
#include "app/sdl_icon.h"
#include "app/sdl_keyboard.h"
#include "app/sdl_presenter.h"
#include "gfxlib/sdl_message_boxes.h"
#include "render/assets.h"
#include "sound/music.h"
#include "world/game_state.h"
#include "world/pack_catalog.h"

namespace mdx::app {

class Game;

// Problems that do not stop the game (bad saved files) go to stderr, one line each.
void noteOnStderr(const std::string& note);

// What a session in the game window is played with: the choices made before it and the
// program-wide parts it draws and sounds with.
struct PlaySetup {
  world::Options& options;
  const CommandLine& commandLine;
  int windowScale;
  sound::Music& music;
  gfx::SdlMessageBoxes& messages;
  render::Device& device;
  render::Assets& assets;
  const std::function<void(const std::string&)>& stateLog;
  KeyChoices keyChoices;        // the player's keys and pad buttons
  world::PackLayout pack = {};  // where the chosen pack's files lie, once it is settled
  std::string packTitle = "";   // and what the player knows it by
};

// Opens the game window with its renderer and pictures; false (with the message on stderr)
// when it cannot.
bool openGameWindow(PlaySetup& setup);

// The open game window's parts a session plays through: pacing, keyboard and pads, pointer,
// clock and drawing.
class PlayWindow {
 public:
  // Paced by default: a wait after each frame to the display's rate. --uncapped keeps the
  // original loop: every frame drawn, as fast as it can.
  explicit PlayWindow(PlaySetup& setup);

  // Takes the keyboard and pads and shows the window; false (with the message on stderr)
  // when the keyboard cannot be read.
  bool show();

  // Hides the window at once (the shutdown follows unseen) and lets messages go ownerless.
  void close();

  SDL_Window* window;
  FramePacer pacer;
  SdlKeySource keys;
  BoundKeys keyBindings;     // the player's keys, or the defaults where they could not be used
  BoundKeySource boundKeys;  // the keyboard as the game's commands read it
  SdlPointer pointer;
  SdlClock clock;
  SdlWindowControl control;
  SdlScenePresenter presenter;
  SdlPadKeySource padKeys;

 private:
  PlaySetup& setup_;
};

// Connects a new game to the window's drawing and the session's choices.
void connectGame(Game& game, PlaySetup& setup);

}  // namespace mdx::app
