#include "app/web_shell.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <emscripten.h>

#include <atomic>
#include <cstdio>

#include "app/game.h"
#include "app/saved_progress.h"
#include "app/sdl_clock.h"
#include "app/sdl_event_loop.h"
#include "app/sdl_gamepad.h"
#include "app/sdl_icon.h"
#include "app/sdl_keyboard.h"
#include "app/sdl_presenter.h"
#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/assets.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "world/state_text.h"

namespace mdx::app {

namespace {

void noteOnStderr(const std::string& note) {
  std::fprintf(stderr, "marvolen: %s\n", note.c_str());
}

// Sample values the mixer has handed to the browser that were not silence, counted after each
// mix: the page's tests read it to know the sound is really playing.
std::atomic<long> audibleSamples{0};

void countAudibleSamples(void*, Uint8* stream, int length) {
  const auto* samples = reinterpret_cast<const int16_t*>(stream);
  long audible = 0;
  for (int i = 0; i < length / 2; ++i) audible += samples[i] != 0 ? 1 : 0;
  audibleSamples += audible;
}

}  // namespace

void keepFilesInBrowser() {
  EM_ASM({
    FS.syncfs(
        false, function(error) {
          if (error) {
            console.error("marvolen: the browser did not keep the saved files: " + error);
          } else {
            console.log("marvolen: saved files kept in the browser");
          }
        });
  });
}

long audibleSamplesMixed() {
  return audibleSamples.load();
}

// Everything that lives from Play to the end of the game: the device, the keyboard, the game
// and its loop. Members are declared in the order they are needed, so they close in reverse.
class WebSession {
 public:
  explicit WebSession(gfx::SdlMessageBoxes& messages) : music(library, &messages) {}
  ~WebSession() {
    render::releaseDevice(device, assets);
    library.close();
  }

  sound::MixerSoundLibrary library;
  sound::Music music;
  render::Device device;
  render::Assets assets;
  SdlKeySource keys;
  SdlPadKeySource padKeys{keys};
  SdlClock clock;
  SdlWindowControl windowControl;
  std::unique_ptr<SdlScenePresenter> presenter;
  std::unique_ptr<Game> game;
  std::unique_ptr<ProgressFile> progress;
  SdlEventSource events;
  std::unique_ptr<EventLoop> loop;
};

WebShell::WebShell() {
  // The page stands for the one display there is.
  dialog_.open(std::vector<std::string>{"Browser"}, "mappacks.ini");
  saved_ = loadSettings(settingsFilePath(), noteOnStderr);
  presetSavedSettings(dialog_, saved_);
}

WebShell::~WebShell() = default;

std::string WebShell::settingsJson() {
  std::string packs;
  for (const std::string& pack : dialog_.controls.packList) {
    packs += (packs.empty() ? "" : ",") + world::jsonString(pack);
  }
  return "{\"packs\":[" + packs + "],\"pack\":" + std::to_string(dialog_.controls.packSelection) +
         ",\"sound\":" + (dialog_.controls.soundChecked ? "true" : "false") + "}";
}

bool WebShell::play(int packIndex, bool sound) {
  if (session_) return true;
  dialog_.selectPack(packIndex);
  dialog_.setSoundChecked(sound);
  dialog_.command(kIdPlay);
  saveSettings(settingsFilePath(),
               settingsToSave(options_, dialog_.controls.packList, saved_, CommandLine{}, 1),
               noteOnStderr);
  keepFilesInBrowser();
  settlePackName(options_);

  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    noteOnStderr("cannot start the page's video (" + std::string(SDL_GetError()) + ")");
    return false;
  }
  auto session = std::make_unique<WebSession>(messages_);
  gfx::DisplayRequest request;  // a 640 x 480 canvas; the page scales it
  if (render::createDeviceAndLoadAssets(options_, request, session->device, session->assets,
                                        messages_) < 0) {
    noteOnStderr("cannot draw on the page (" + std::string(SDL_GetError()) + ")");
    return false;
  }
  SDL_Window* window = session->device.display->window();
  if (!session->keys.init(window, &messages_)) return false;
  session->padKeys.init();
  session_ = std::move(session);
  WebSession& s = *session_;
  s.presenter = std::make_unique<SdlScenePresenter>(s.assets, *s.device.backend);
  s.game = std::make_unique<Game>(s.clock, s.padKeys, *s.presenter, s.windowControl, &s.music,
                                  &messages_);
  Game& game = *s.game;
  s.padKeys.escapeReleased = [&game] {
    if (game.windowActive) game.escapeReleased();
  };
  game.state.options = options_;
  connectTextWriters(game, s.assets, *s.device.backend);
  game.stateLog = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
  game.windowActive = 1;
  s.progress = std::make_unique<ProgressFile>(progressFilePath(), noteOnStderr);
  connectProgress(game, *s.progress);
  auto levelReached = game.levelReached;
  game.levelReached = [levelReached](int32_t nextLevel) {
    levelReached(nextLevel);
    keepFilesInBrowser();
  };
  game.startUp();
  Mix_SetPostMix(countAudibleSamples, nullptr);

  s.loop = std::make_unique<EventLoop>(game, s.events, s.windowControl);
  // Full screen belongs to the page (its button, or Alt+Enter there); the Enter of Alt+Enter is
  // no confirm key for the game.
  s.loop->switchFullScreen = [&s](bool) {
    s.keys.swallowEnterUntilReleased();
    return false;
  };
  return true;
}

void WebShell::frame() {
  if (!session_) return;
  EventLoop& loop = *session_->loop;
  SDL_Event event;
  while (!loop.quit && SDL_PollEvent(&event)) loop.handle(event);
  if (loop.quit) {
    endSession();
    return;
  }
  Game& game = *session_->game;
  if (game.windowActive) {
    game.runFrame();
    ++loop.framesRun;
  }
}

void WebShell::endSession() {
  Mix_SetPostMix(nullptr, nullptr);
  session_.reset();
  SDL_Quit();
  EM_ASM({
    if (Module.onGameEnded) Module.onGameEnded();
  });
}

}  // namespace mdx::app
