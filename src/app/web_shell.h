// The game in a web page. The page asks for the settings in its own form (the map pack and the
// sound, preset with the remembered ones) in place of the settings dialog; Play opens the game
// on the page's canvas and runs one frame per call from the browser's animation frame. The
// saved progress and settings live in the browser's storage and are written back to it after
// every save. Only the platform differs: the game, its drawing, keyboard and sound are the
// desktop's.
#pragma once

#include <memory>
#include <string>

#include "app/dialog_model.h"
#include "app/saved_settings.h"
#include "gfxlib/sdl_message_boxes.h"
#include "world/game_state.h"

namespace mdx::app {

// Where the page's game data lies in the browser's file system.
constexpr char kPageDataFolder[] = "/game";

class WebSession;

class WebShell {
 public:
  WebShell();
  ~WebShell();

  // The choices the page's form offers, as JSON: {"packs":[names],"pack":index,"sound":bool},
  // preset with the remembered settings. Reads mappacks.ini and the settings file.
  std::string settingsJson();

  // Play in the form: remembers the choices, opens the game and starts its frames. False (with
  // a line on stderr) when the game could not start.
  bool play(int packIndex, bool sound);

  // One frame, called by the browser: takes the waiting events, then runs the game's frame.
  // Ends the session when the player quits (Escape on the title).
  void frame();

  bool playing() const { return session_ != nullptr; }

 private:
  void endSession();

  gfx::SdlMessageBoxes messages_;
  world::Options options_;
  StartupDialog dialog_{options_, &messages_};
  SavedSettings saved_;
  std::unique_ptr<WebSession> session_;
};

// Writes the browser's copy of the saved files after a change, so a reload finds them.
void keepFilesInBrowser();

// How many sample values that were not silence the mixer has played so far.
long audibleSamplesMixed();

}  // namespace mdx::app
