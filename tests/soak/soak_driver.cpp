#include "soak_driver.h"

#include <malloc.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>

#include "render/scene.h"
#include "world/grid.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of live heap bytes (its allocator replaces malloc's).
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

namespace mdx::soak {

namespace {

using world::GameState;

// The keys of play, pressed often, and the keys that leave a level, pressed rarely (a quit or
// restart every few seconds would end every level before the robot gets anywhere).
constexpr std::array<uint8_t, 5> kPlayKeys = {app::DIK_LEFT, app::DIK_RIGHT, app::DIK_DOWN,
                                              app::DIK_SPACE, app::DIK_RETURN};
constexpr std::array<uint8_t, 4> kRareKeys = {app::DIK_R, app::DIK_Q, app::DIK_UP, app::DIK_F2};

// Codes the rules may write into the layers besides what the level file held: pieces write
// blocks 2, 4, 5, 10, 11, 16, 17 and 30, the gate pass the filler, the robot itself and the
// explosion marker; lifts move cars and shafts, stair pieces write stairs.
constexpr std::array<int32_t, 12> kWrittenBlocks = {0, 2, 4, 5, 10, 11, 16, 17, 30, 98, 99, 999};
constexpr std::array<int32_t, 5> kWrittenDevices = {0, 2, 3, 10, 11};

// One run of the program: start-up, frames, shutdown when the window is destroyed.
struct Program {
  Program(app::Clock& clock, app::KeySource& keys, CountingBackend& backend,
          const std::string& dataFolder, const std::string& packName)
      : music(library, &messages),
        presenter(assets, backend),
        game(clock, keys, presenter, window, &music, &messages) {
    game.state.pack = world::shippedPackLayout(dataFolder, packName);
    render::loadAssets(assets, backend, game.state.pack, &messages);
    game.state.options.packName = packName;
    game.state.options.soundEnabled = 1;
    game.state.options.windowed = 1;
    game.windowActive = 1;
    game.createWriters = [this, &backend] {
      assets.blackWriter.create(backend, 0xFF000000u);
      assets.whiteWriter.create(backend, 0xFFFFFFFFu);
    };
    static int shown = 0;
    game.stateLog = [](const std::string& line) {
      if (std::getenv("MDX_SOAK_TRACE") && shown++ < 40) std::printf("%s\n", line.c_str());
    };
    game.startUp();
  }
  ~Program() { music.stopSound(); }

  // Draws each frame with the game's own scene drawing.
  struct ScenePresenter : app::ScenePresenter {
    ScenePresenter(render::Assets& assets, gfx::DrawBackend& backend)
        : assets(assets), backend(backend) {}
    void present(const GameState& state) override { render::drawScene(state, assets, backend); }
    render::Assets& assets;
    gfx::DrawBackend& backend;
  };

  world::RecordingMessageBoxes messages;
  sound::RecordingSoundLibrary library;
  sound::Music music;
  render::Assets assets;
  ScenePresenter presenter;
  app::RecordingWindow window;
  app::Game game;
};

// The invariants of a level in play, checked after every frame.
class InvariantChecker {
 public:
  // Takes note of the codes a freshly started level holds.
  void levelStarted(const GameState& state) {
    blocks_ = std::set<int32_t>(kWrittenBlocks.begin(), kWrittenBlocks.end());
    devices_ = std::set<int32_t>(kWrittenDevices.begin(), kWrittenDevices.end());
    blocks_.insert(state.world.blockLayer.begin(), state.world.blockLayer.end());
    devices_.insert(state.world.deviceLayer.begin(), state.world.deviceLayer.end());
    levelLoaded_ = true;
  }

  void programStarted() {
    levelLoaded_ = false;
    haveTimers_ = false;
  }

  // The first broken invariant after a frame, or an empty string.
  std::string check(const app::Game& game, uint32_t now) {
    const GameState& state = game.state;
    if (state.pieces.pieceColumn < 0 || state.pieces.pieceColumn > 31)
      return "piece column " + std::to_string(state.pieces.pieceColumn);
    std::string timers = checkTimers(game.timers, now);
    if (!timers.empty()) return timers;
    if (!levelLoaded_) return "";
    for (int32_t code : state.world.blockLayer) {
      if (blocks_.count(code) == 0) return "block code " + std::to_string(code) + " appeared";
    }
    for (int32_t code : state.world.deviceLayer) {
      if (devices_.count(code) == 0) return "device code " + std::to_string(code) + " appeared";
    }
    const int32_t gameState = state.progress.gameState;
    const bool playing = gameState != world::StateTitle;
    if (playing && state.world.robotExploded == 0 && state.world.levelComplete == 0) {
      int robots = 0;
      for (int32_t code : state.world.blockLayer) robots += code == world::kRobot ? 1 : 0;
      if (robots != 1) return std::to_string(robots) + " robot cells";
    }
    return "";
  }

 private:
  // Each timestamp moves only forwards and never past the clock.
  std::string checkTimers(const app::FrameTimers& timers, uint32_t now) {
    const std::array<uint32_t, 5> stamps = {timers.redraw, timers.animation, timers.step,
                                            timers.blink, timers.effect};
    for (size_t i = 0; i < stamps.size(); ++i) {
      if (stamps[i] > now) return "timer " + std::to_string(i) + " ahead of the clock";
      if (haveTimers_ && stamps[i] < lastStamps_[i])
        return "timer " + std::to_string(i) + " ran backwards";
    }
    lastStamps_ = stamps;
    haveTimers_ = true;
    return "";
  }

  std::set<int32_t> blocks_;
  std::set<int32_t> devices_;
  bool levelLoaded_ = false;
  std::array<uint32_t, 5> lastStamps_{};
  bool haveTimers_ = false;
};

std::string describe(const GameState& state, uint64_t frame) {
  std::ostringstream out;
  out << " at frame " << frame << " (" << app::stateName(state.progress.gameState) << ", level "
      << state.progress.levelNumber << ", pack " << state.options.packName << ")";
  return out.str();
}

}  // namespace

bool RandomKeySource::read(app::KeyState& state) {
  // The player takes breaks now and then: long enough for an exit sequence to run its course
  // (a confirm key during it cuts it short), short enough to keep the game moving.
  if (random_() % 400 == 0) idle_ = !idle_;
  const uint32_t roll = random_() % 100;
  if (idle_ || roll < 6) {
    held_.fill(0);
  } else if (roll < 20) {
    held_[kPlayKeys[random_() % kPlayKeys.size()]] = app::kKeyDown;
  } else if (roll < 30) {
    held_[kPlayKeys[random_() % kPlayKeys.size()]] = 0;
  }
  if (!idle_ && random_() % 1500 == 0)
    held_[kRareKeys[random_() % kRareKeys.size()]] = app::kKeyDown;
  state = held_;
  return true;
}

void CountingBackend::drawSprite(gfx::TextureId texture, const gfx::SpriteDraw&) {
  if (texture <= 0 || texture > textures) ++badTextures;
  ++sprites;
}

int32_t CountingBackend::drawText(gfx::FontId, const std::string&, int32_t, int32_t, uint32_t) {
  ++texts;
  return 16;
}

int64_t liveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<int64_t>(mallinfo2().uordblks);
#endif
}

SoakReport runSoak(uint64_t frames, const std::string& dataFolder,
                   const std::vector<std::string>& packs, uint32_t seed) {
  SoakReport report;
  std::mt19937 random(seed);
  app::VirtualClock clock(1000);
  RandomKeySource keys(seed + 1);
  CountingBackend backend;
  InvariantChecker checker;
  size_t packChoice = 0;
  auto program = std::make_unique<Program>(clock, keys, backend, dataFolder, packs[packChoice]);
  ++report.programRuns;
  int lastStarts = 0;
  GameState previous = program->game.state;

  for (uint64_t frame = 1; frame <= frames && report.firstFault.empty(); ++frame) {
    // Frames come at uneven intervals, now and then after a long stall.
    clock.advance(random() % 10000 == 0 ? 2500 : 1 + random() % 35);
    if (random() % 2500 == 0) program->game.escapeReleased();  // the quit prompt, or quit
    program->game.runFrame();
    program->library.calls.clear();  // the recording is not needed, only the calls
    const GameState& state = program->game.state;

    if (program->game.levelStarts != lastStarts) {
      lastStarts = program->game.levelStarts;
      ++report.levelStarts;
      checker.levelStarted(state);
    }
    const int32_t now = state.progress.gameState;
    const int32_t before = previous.progress.gameState;
    if (now == world::StateTitle && before != world::StateTitle) {
      ++report.titleVisits;
      packChoice = (packChoice + 1) % packs.size();  // the next game plays the other pack
      program->game.state.options.packName = packs[packChoice];
      program->game.state.pack = world::shippedPackLayout(dataFolder, packs[packChoice]);
    }
    if (now == world::StateEnding && before != world::StateEnding) ++report.endingVisits;
    if (state.world.levelComplete && !previous.world.levelComplete) ++report.levelsCompleted;
    if (state.world.robotExploded && !previous.world.robotExploded) ++report.blowUps;

    std::string fault = checker.check(program->game, clock.now);
    if (fault.empty() && !program->messages.shown.empty())
      fault = "message \"" + program->messages.shown.front().text + "\"";
    if (fault.empty() && backend.badTextures != 0) fault = "a draw of an unknown texture";
    if (!fault.empty()) report.firstFault = fault + describe(state, frame);
    previous = state;
    report.frames = frame;

    if (frames >= 4 && frame % (frames / 4) == 0)
      report.heapAtCheckpoints.push_back(liveHeapBytes());
    if (program->window.destroyed > 0) {  // the player chose quit: a new run of the program
      program.reset();
      program = std::make_unique<Program>(clock, keys, backend, dataFolder, packs[packChoice]);
      ++report.programRuns;
      lastStarts = 0;
      checker.programStarted();
      previous = program->game.state;
    }
  }
  report.spritesDrawn = backend.sprites;
  return report;
}

}  // namespace mdx::soak
