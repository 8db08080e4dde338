#include "app/sdl_play_window.h"

#include <cstdio>

#include "app/game.h"
#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"

namespace mdx::app {

void noteOnStderr(const std::string& note) {
  std::fprintf(stderr, "marvolen: %s\n", note.c_str());
}

bool openGameWindow(PlaySetup& setup) {
  gfx::DisplayRequest request;
  request.windowScale = setup.windowScale;
  request.hidden = true;
  request.vsync = !setup.commandLine.uncapped;
  if (render::createDeviceAndLoadAssets(setup.options, setup.pack, request, setup.device,
                                        setup.assets, setup.messages) >= 0) {
    return true;
  }
  noteOnStderr("cannot open the game window with a renderer (" + std::string(SDL_GetError()) +
               "); try --windowed, or SDL_RENDER_DRIVER=software");
  return false;
}

PlayWindow::PlayWindow(PlaySetup& setup)
    : window(setup.device.display->window()),
      pacer(makeSystemFramePacer(setup.device.display->refreshRate())),
      keyBindings(resolveKeys(setup.keyChoices, sdlKeyNaming(), noteOnStderr)),
      boundKeys(keys, keyBindings),
      presenter(setup.assets, *setup.device.backend, setup.commandLine.uncapped ? nullptr : &pacer),
      padKeys(boundKeys, keyBindings),
      setup_(setup) {}

bool PlayWindow::show() {
  if (!keys.init(window, &setup_.messages)) {
    noteOnStderr("cannot read the keyboard (" + std::string(SDL_GetError()) +
                 "); try another window system session");
    return false;
  }
  pointer.install(window);
  SdlPointer::showFor(setup_.options.windowed != 0);
  setup_.device.display->show();
  SDL_RaiseWindow(window);  // the keyboard goes to the game once the dialog has gone
  setup_.messages.setOwner(window);
  // Game pads hold keys in the same key state; without the controller layer the keyboard.
  padKeys.init();
  return true;
}

void PlayWindow::close() {
  SDL_HideWindow(window);
  setup_.messages.setOwner(nullptr);
}

void connectGame(Game& game, PlaySetup& setup) {
  game.state.options = setup.options;
  game.state.pack = setup.pack;
  game.state.packTitle = setup.packTitle;
  constexpr uint32_t kBlackText = 0xFF000000u;
  constexpr uint32_t kWhiteText = 0xFFFFFFFFu;
  game.createWriters = [&setup] {
    setup.assets.blackWriter.create(*setup.device.backend, kBlackText);
    setup.assets.whiteWriter.create(*setup.device.backend, kWhiteText);
  };
  game.stateLog = setup.stateLog;
  game.windowActive = 1;  // the window counts as active from its creation
}

}  // namespace mdx::app
