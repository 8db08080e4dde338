#include "app/web_shell.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <emscripten.h>

#include <atomic>
#include <cstdio>

#include "app/game.h"
#include "app/replay.h"
#include "app/saved_progress.h"
#include "app/sdl_event_loop.h"
#include "app/sdl_play_window.h"
#include "render/assets.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "world/state_text.h"

namespace mdx::app {

namespace {

// Sample values the mixer has handed to the browser that were not silence, counted after each
// mix: the page's tests read it to know the sound is really playing.
std::atomic<long> audibleSamples{0};

void countAudibleSamples(void*, Uint8* stream, int length) {
  const auto* samples = reinterpret_cast<const int16_t*>(stream);
  long audible = 0;
  for (int i = 0; i < length / 2; ++i) audible += samples[i] != 0 ? 1 : 0;
  audibleSamples += audible;
}

// The page's frames come from the browser, so the game sets no pace of its own: every frame
// is drawn and none waits.
CommandLine browserPaced() {
  CommandLine commandLine;
  commandLine.uncapped = true;
  return commandLine;
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

// Everything that lives from Play to the end of the game: the sound, the window with its
// parts, the game and its loop, declared in the order they are made, so they close in reverse.
class WebSession {
 public:
  WebSession(world::Options& options, gfx::SdlMessageBoxes& messages)
      : music(library, &messages), setup{options, commandLine, 1,        music, messages,
                                         device,  assets,      stateLog, {}} {}
  ~WebSession() {
    Mix_SetPostMix(nullptr, nullptr);
    loop.reset();
    game.reset();
    window.reset();
    render::releaseDevice(device, assets);
    library.close();
  }

  // Opens the window on the page's canvas and starts the game on the title screen.
  bool start();

  sound::MixerSoundLibrary library;
  sound::Music music;
  render::Device device;
  render::Assets assets;
  const CommandLine commandLine = browserPaced();
  const std::function<void(const std::string&)> stateLog = [](const std::string& line) {
    std::printf("%s\n", line.c_str());
  };
  PlaySetup setup;
  std::unique_ptr<PlayWindow> window;
  std::unique_ptr<Game> game;
  std::unique_ptr<ProgressFile> progress;
  SdlEventSource events;
  std::unique_ptr<EventLoop> loop;
};

bool WebSession::start() {
  if (!openGameWindow(setup)) return false;
  window = std::make_unique<PlayWindow>(setup);
  if (!window->show()) return false;
  game = std::make_unique<Game>(window->clock, window->padKeys, window->presenter, window->control,
                                &music, &setup.messages);
  connectGame(*game, setup);
  Game& g = *game;
  window->padKeys.escapeReleased = [&g] {
    if (g.windowActive) g.escapeReleased();
  };
  progress = std::make_unique<ProgressFile>(progressFilePath(), noteOnStderr);
  connectProgress(g, *progress);
  auto levelReached = g.levelReached;
  g.levelReached = [levelReached](int32_t nextLevel) {
    levelReached(nextLevel);
    keepFilesInBrowser();
  };
  g.startUp();
  Mix_SetPostMix(countAudibleSamples, nullptr);

  loop = std::make_unique<EventLoop>(g, events, window->control);
  // Full screen belongs to the page (its button, or Alt+Enter there), which scales the canvas;
  // the game keeps drawing as in a window. The Enter of Alt+Enter is no confirm key.
  loop->switchFullScreen = [this](bool) {
    window->keys.swallowEnterUntilReleased();
    return false;
  };
  return true;
}

WebShell::WebShell() {
  // The page stands for the one display there is.
  // The browser keeps no packs of the player's own.
  dialog_.open(std::vector<std::string>{"Browser"}, world::readPackCatalog(kPageDataFolder, ""));
  saved_ = loadSettings(settingsFilePath(), noteOnStderr);
  presetSavedSettings(dialog_, saved_, noteOnStderr);
}

WebShell::~WebShell() = default;

std::string WebShell::settingsJson() {
  std::string packs;
  for (const std::string& pack : dialog_.packLabels()) {
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
  saved_ = settingsToSave(options_, dialog_.controls.packList, saved_, CommandLine{}, 1);
  saveSettings(settingsFilePath(), saved_, noteOnStderr);
  keepFilesInBrowser();
  settlePackName(options_, dialog_.catalog);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    noteOnStderr("cannot start the page's video (" + std::string(SDL_GetError()) + ")");
    return false;
  }
  session_ = std::make_unique<WebSession>(options_, messages_);
  session_->setup.pack = dialog_.catalog.layoutOf(options_.packName);
  session_->setup.packTitle = dialog_.catalog.shownNameOf(options_.packName);
  if (session_->start()) return true;
  endSession();
  return false;
}

void WebShell::frame() {
  if (!session_) return;
  session_->loop->runOnce();
  if (session_->loop->quit) endSession();
}

void WebShell::endSession() {
  // Sound changes made with the music key are kept for the next Play.
  if (session_->game) options_.soundEnabled = session_->game->state.options.soundEnabled;
  session_.reset();
  SDL_Quit();
  EM_ASM({
    if (Module.onGameEnded) Module.onGameEnded();
  });
}

}  // namespace mdx::app
