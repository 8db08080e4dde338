// Marvolen DX in a web page: the program entry and the functions the page calls (web/page.js).
// The game's data is packed at /game; the saved progress and settings live under /saved, a
// folder kept in the browser's IndexedDB storage.
#include <emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/web_shell.h"

namespace {

std::unique_ptr<mdx::app::WebShell> shell;

void runFrame() {
  if (shell) shell->frame();
}

}  // namespace

extern "C" {

// The form's choices as JSON (see WebShell::settingsJson); the string lives until the next call.
EMSCRIPTEN_KEEPALIVE const char* mdx_web_settings() {
  static std::string json;
  if (!shell) shell = std::make_unique<mdx::app::WebShell>();
  json = shell->settingsJson();
  return json.c_str();
}

// Play: 1 when the game runs, 0 when it could not start.
EMSCRIPTEN_KEEPALIVE int mdx_web_play(int packIndex, int sound) {
  if (!shell) shell = std::make_unique<mdx::app::WebShell>();
  return shell->play(packIndex, sound != 0) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE double mdx_web_mixed_samples() {
  return static_cast<double>(mdx::app::audibleSamplesMixed());
}

}  // extern "C"

int main() {
  if (access((std::string(mdx::app::kPageDataFolder) + "/" + mdx::world::kPackListFile).c_str(),
             R_OK) != 0) {
    std::fputs("marvolen: the game's data is missing from the page\n", stderr);
    return 1;
  }
  // The saved files follow the XDG folders, which point into the kept folder.
  setenv("XDG_DATA_HOME", "/saved/data", 1);
  setenv("XDG_CONFIG_HOME", "/saved/config", 1);
  // The browser's animation frame calls one frame; it starts idle and plays after the form's
  // Play. The kept folder is read back first; the page then shows its form.
  emscripten_set_main_loop(runFrame, 0, 0);
  EM_ASM({
    FS.mkdir('/saved');
    FS.mount(IDBFS, {}, '/saved');
    FS.syncfs(
        true, function(error) {
          if (error)
            console.error("marvolen: cannot read the saved files of this browser: " + error);
          if (Module.onStorageReady) Module.onStorageReady();
        });
  });
  return 0;
}
