#include "app/sdl_shell.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "app/data_dirs.h"
#include "app/dialog_model.h"
#include "app/frame_pacer.h"
#include "app/game.h"
#include "app/replay.h"
#include "app/saved_progress.h"
#include "app/saved_settings.h"
#include "app/sdl_clock.h"
#include "app/sdl_dialog.h"
#include "app/sdl_event_loop.h"
#include "app/sdl_gamepad.h"
#include "app/sdl_icon.h"
#include "app/sdl_keyboard.h"
#include "app/sdl_play_window.h"
#include "app/worker_hint_search.h"
#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "gfxlib/sdl_message_boxes.h"
#include "level/pack_share.h"
#include "render/scene.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "world/state_text.h"

namespace mdx::app {

namespace {

// The window scale: as asked, or the largest that fits the chosen display's usable area.
int windowScaleFor(const CommandLine& commandLine, const std::optional<int>& savedScale,
                   uint32_t displayIndex) {
  if (commandLine.scale > 0) return commandLine.scale;
  if (savedScale) return *savedScale;
  SDL_Rect usable{};
  const int display = static_cast<int>(displayIndex) < SDL_GetNumVideoDisplays()
                          ? static_cast<int>(displayIndex)
                          : 0;
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
  return chooseWindowScale(usable.w, usable.h);
}

// Without any window system SDL falls back to drawing off screen, where nobody could play;
// that counts as no display unless it was asked for by name (SDL_VIDEODRIVER).
bool displayIsReal() {
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible =
      driver != nullptr && (std::string(driver) == "offscreen" || std::string(driver) == "dummy");
  return !invisible || SDL_getenv("SDL_VIDEODRIVER") != nullptr;
}

// chooseOptions' result after a --pack that names no map pack.
constexpr int kBadPackOption = -100;

// A start-up step failed: one line on stderr saying what and what to try; status 1.
int startupFailure(const std::string& what) {
  noteOnStderr(what);
  return 1;
}

// The dialog part: opens the dialog model, presets it with the remembered settings and then the
// command line, shows the dialog unless --no-dialog, and remembers the choices on Play.
// Returns the dialog's result, kDialogFailed or kBadPackOption; windowScale gets the scale and
// keys the player's keys.
int chooseOptions(world::Options& options, const world::PackCatalog& catalog,
                  const CommandLine& commandLine, world::MessageBoxes& messages, int& windowScale,
                  KeyChoices& keys) {
  StartupDialog dialog(options, &messages);
  std::optional<std::vector<std::string>> displays;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) displays = gfx::listDisplayNames();
  dialog.open(displays, catalog);
  const std::string settingsPath = settingsFilePath();
  if (commandLine.resetSettings) forgetSettings(settingsPath, noteOnStderr);
  const SavedSettings saved =
      commandLine.resetSettings ? SavedSettings{} : loadSettings(settingsPath, noteOnStderr);
  presetSavedSettings(dialog, saved, noteOnStderr);
  keys = saved.keys;
  const std::string error = presetDialog(dialog, options, commandLine);
  if (!error.empty()) {
    noteOnStderr(error);
    return kBadPackOption;
  }
  const int result = commandLine.noDialog ? kDialogPlay : runStartupDialog(dialog);
  windowScale = windowScaleFor(commandLine, saved.scale, options.adapterIndex);
  if (result == kDialogPlay) {
    saveSettings(settingsPath,
                 settingsToSave(options, dialog.controls.packList, saved, commandLine, windowScale),
                 noteOnStderr);
  }
  return result;
}

// Plays a replay's steps in the window at the pace they were recorded. Closing the window
// ends it early.
void playInWindow(Game& game, const Replay& replay, ReplayPlayer& player,
                  const SdlWindowControl& window) {
  const uint64_t begin = SDL_GetTicks64();
  const uint32_t first = replay.steps.front().readings.front();
  for (const ReplayStep& step : replay.steps) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      const WindowEventKind kind = classifyEvent(event);
      if (kind == WindowEventKind::Quit || kind == WindowEventKind::CloseRequested) return;
    }
    const uint64_t due = step.readings.empty() ? 0 : step.readings.front() - first;
    const uint64_t now = SDL_GetTicks64() - begin;
    if (due > now) SDL_Delay(static_cast<uint32_t>(std::min<uint64_t>(due - now, 1000)));
    playStep(game, replay, step, player);
    if (window.destroyed) return;
  }
}

// Reads the replay of --replay and checks it can play here; a message on stderr when not.
std::optional<Replay> loadReplay(const std::string& path, const world::PackCatalog& catalog) {
  std::ifstream in(path, std::ios::binary);
  std::string error = in ? "" : "cannot open the replay";
  std::optional<Replay> replay;
  if (in) replay = readReplay(in, error);
  if (replay) error = replayMismatch(*replay, catalog.layoutOf(replay->packName).packFolder);
  if (error.empty()) return replay;
  noteOnStderr(path + ": " + error);
  return std::nullopt;
}

// Plays a replay in the window, reading its recorded clock and keys.
void playRecorded(PlaySetup& setup, PlayWindow& parts, const Replay& replay) {
  ReplayPlayer player;
  Game game(player, player, parts.presenter, parts.control, &setup.music, &setup.messages);
  connectGame(game, setup);
  // The replay's record stands in for the saved progress, which it neither reads nor writes.
  ProgressFile record("", noteOnStderr);
  connectReplayRecord(game, replay, record);
  playInWindow(game, replay, player, parts.control);
  // The whole final state, to compare with the simulator's play of the same replay.
  if (setup.stateLog) setup.stateLog("replay ended " + world::stateJson(game.state));
}

// Shows how the dropped packs' installs went: the whole result on stderr, a short line in the
// window (not in a recorded session, whose notices a replay must see again).
void tellFinishedInstalls(level::BackgroundPackInstaller& installer, Game& game, bool recording) {
  for (const level::PackInstall& install : installer.takeFinished()) {
    std::fprintf(stderr, "%smarvolen: %s\n", install.installed ? "" : install.checkReport.c_str(),
                 install.message.c_str());
    if (!recording) game.showNotice(level::installNotice(install));
  }
}

// Runs the window's event loop on the game until the player quits; a recorder, when given,
// is told of every call into the game.
void runEventLoop(Game& game, PlaySetup& setup, PlayWindow& parts, ReplayRecorder* recorder) {
  SdlEventSource events;
  EventLoop loop(game, events, parts.control);
  loop.gameWindowId = SDL_GetWindowID(parts.window);
  loop.switchFullScreen = [&setup, &parts](bool toFullScreen) {
    // The Enter of Alt+Enter is no confirm key, whether the switch works or not.
    parts.keys.swallowEnterUntilReleased();
    if (!setup.device.display->setFullscreen(toFullScreen)) return false;
    SdlPointer::showFor(!toFullScreen);
    return true;
  };
  if (!setup.commandLine.uncapped) {
    loop.onWindowEvent = [&parts] { parts.presenter.invalidate(); };
  }
  if (recorder != nullptr) {
    loop.beforeGameCall = [recorder](ReplayEvent event) { recorder->begin(event); };
  }
  // A pack file dropped on the window is installed while the game goes on.
  level::BackgroundPackInstaller installer(setup.pack.dataFolder, userPackFolder());
  loop.onFileDropped = [&installer](const std::string& path) { installer.start(path); };
  loop.beforeFrame = [&installer, &game, recorder] {
    if (installer.busy()) tellFinishedInstalls(installer, game, recorder != nullptr);
  };
  loop.run();
}

// Plays from the title (or --level) with the saved progress, reading the real clock and keys,
// through the recorder when one is given.
void playLive(PlaySetup& setup, PlayWindow& parts, ReplayRecorder* recorder) {
  Clock& clock = recorder != nullptr ? recorder->clock() : parts.clock;
  KeySource& keys = recorder != nullptr ? recorder->keys() : parts.padKeys;
  // The hint's search runs beside the frame loop; made before the game, it outlives it.
  WorkerHintSearch hintSearch;
  Game game(clock, keys, parts.presenter, parts.control, &setup.music, &setup.messages);
  game.useHintSearch(hintSearch);
  connectGame(game, setup);
  game.timers.rule =
      setup.commandLine.frameBoundTimers ? TimerRule::FrameBound : TimerRule::CatchUp;
  parts.padKeys.escapeReleased = [&game, recorder] {
    if (!game.windowActive) return;
    if (recorder != nullptr) recorder->begin(ReplayEvent::Escape);
    game.escapeReleased();
  };
  const CommandLine& commandLine = setup.commandLine;
  ProgressFile progress(commandLine.noSave ? "" : progressFilePath(), noteOnStderr);
  connectProgress(game, progress);
  // A replay holds the keys as the commands read them, not the key a page change took, so
  // the keys page is left out of recorded sessions, which then play back alike.
  if (recorder == nullptr) {
    game.linkKeysPage(
        {&parts.boundKeys, &parts.keyBindings, sdlKeyNaming(), [](const BoundKeys& keys) {
           rememberKeys(settingsFilePath(), choicesOf(keys), noteOnStderr);
         }});
  }
  if (recorder != nullptr) recorder->beginSession(game.state, game.timers.rule);
  game.playTest = commandLine.playTest;
  game.startUp();
  if (commandLine.level > 0) game.beginGame(commandLine.level);
  runEventLoop(game, setup, parts, recorder);
  parts.padKeys.escapeReleased = nullptr;
  setup.options.soundEnabled = game.state.options.soundEnabled;
}

// Plays a session and writes it to the --record file.
void playAndRecord(PlaySetup& setup, PlayWindow& parts, const std::string& path) {
  ReplayRecorder recorder(parts.clock, parts.padKeys);
  recorder.replay.packName = setup.options.packName;
  recorder.replay.windowed = setup.options.windowed;
  recorder.replay.startLevel = setup.commandLine.level;
  playLive(setup, parts, &recorder);
  const std::string error = saveRecording(recorder.replay, path, setup.pack.packFolder);
  if (!error.empty()) noteOnStderr(error);
}

// Everything between the dialog and the shutdown: device, keyboard, window, loop.
// Returns the exit status: 0, or 1 after a start-up failure (reported on stderr).
int playGame(PlaySetup& setup, const world::PackCatalog& catalog, const Replay* replay) {
  // A replay names its pack itself; otherwise the dialog's list entry settles it.
  if (replay == nullptr) settlePackName(setup.options, catalog);
  setup.pack = catalog.layoutOf(setup.options.packName);
  setup.packTitle = catalog.shownNameOf(setup.options.packName);
  if (!openGameWindow(setup)) return 1;
  PlayWindow parts(setup);
  if (!parts.show()) return 1;
  if (replay != nullptr) {
    playRecorded(setup, parts, *replay);
    parts.close();
    return 0;
  }
  if (setup.commandLine.recordFile) {
    playAndRecord(setup, parts, *setup.commandLine.recordFile);
  } else {
    playLive(setup, parts, nullptr);
  }
  parts.close();
  // A window the player resized opens at its new size next time.
  rememberWindowScale(settingsFilePath(), setup.windowScale, setup.device.display->windowScale(),
                      noteOnStderr);
  return 0;
}

}  // namespace

int runProgram(const CommandLine& commandLine, const std::string& dataFolder,
               const std::function<void(const std::string&)>& stateLog) {
  const std::string noDisplay =
      "; start the game inside a graphical session, or set DISPLAY or WAYLAND_DISPLAY";
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    return startupFailure("cannot reach a display (" + std::string(SDL_GetError()) + ")" +
                          noDisplay);
  }
  if (!displayIsReal()) {
    SDL_Quit();
    return startupFailure("cannot reach a display (no window system found)" + noDisplay);
  }
  gfx::SdlMessageBoxes messages;
  world::Options options;
  sound::MixerSoundLibrary library;
  sound::Music music(library, &messages);
  render::Device device;
  render::Assets assets;

  const world::PackCatalog catalog = readGameCatalog(dataFolder);
  for (const std::string& refused : catalog.refused) noteOnStderr(refused);

  int windowScale = 1;
  KeyChoices keys;
  std::optional<Replay> replay;
  if (commandLine.replayFile) {
    replay = loadReplay(*commandLine.replayFile, catalog);
    if (!replay) {
      SDL_Quit();
      return 1;
    }
    options.packName = replay->packName;  // the replay's pack and window, no dialog
    options.windowed = replay->windowed;
    windowScale = windowScaleFor(commandLine, std::nullopt, 0);
  }
  const int result =
      replay ? kDialogPlay
             : chooseOptions(options, catalog, commandLine, messages, windowScale, keys);
  if (result == kDialogFailed) {
    SDL_Quit();
    return startupFailure("cannot open the settings dialog (" + std::string(SDL_GetError()) +
                          "); try --no-dialog");
  }
  if (result == kBadPackOption) {
    SDL_Quit();
    return 2;
  }
  int status = 0;
  if (result == kDialogPlay) {
    PlaySetup setup{options, commandLine, windowScale, music, messages,
                    device,  assets,      stateLog,    keys,  {}};
    status = playGame(setup, catalog, replay ? &*replay : nullptr);
  }
  // The shutdown runs on every path after the dialog. The window goes first, so it closes the
  // moment the player asks; the sound is silenced and freed without waiting for the device to
  // drain, which would keep the process alive for two buffer lengths after its window.
  render::releaseDevice(device, assets);
  if (library.started()) {
    library.closeLeavingDevice();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return status;
  }
  SDL_Quit();
  return status;
}

}  // namespace mdx::app
