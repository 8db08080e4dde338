#include "app/game.h"

#include <algorithm>

#include "world/timed_steps.h"

namespace mdx::app {

using world::StateDropping;
using world::StateEnding;
using world::StateReady;
using world::StateRunning;
using world::StateTitle;

const char* stateName(int32_t gameState) {
  switch (gameState) {
    case StateTitle:
      return "StateTitle";
    case StateRunning:
      return "StateRunning";
    case StateDropping:
      return "StateDropping";
    case StateReady:
      return "StateReady";
    case StateEnding:
      return "StateEnding";
  }
  return "State?";
}

Game::Game(Clock& clock, KeySource& keys, ScenePresenter& presenter, WindowControl& window,
           sound::Music* music, world::MessageBoxes* messages)
    : state(music, messages),
      clock_(clock),
      keys_(keys),
      presenter_(presenter),
      window_(window),
      music_(music) {
  state.keyLabels = defaultKeyLabels();
}

void setTitleLook(world::World& world) {
  world.landscapeChoice = 1;
  world.parallax1On = 1;
  world.parallax2Mode = 2;
}

void Game::startUp() {
  if (createWriters) createWriters();
  setAnimationStartValues(state.scene);
  // Before any level is loaded the level values are all 0, which would show the first title
  // screen on black with no strips; it gets the same look as a return to the title with Q.
  setTitleLook(state.world);
  // Without a sound device the game plays on silent; the music has said so once.
  if (soundOn() && !music_->startSound(state.pack)) state.options.soundEnabled = 0;
  startTimers(timers, clock_);
  noticeShownAt_ = clock_.latest();  // notices from before the start show their full time
  if (soundOn() && !music_->unplayableSongs.empty()) showNotice(music_->unplayableSongsLine());
  logChanges();
}

void Game::runFrame() {
  drawFrame();
  if (playTestEnded_) return;  // the window closes; nothing moves meanwhile
  expireNotices();
  if (state.keys.quitPrompt == 1 || state.keys.howToPage != 0) {
    holdLevelTimers();
    for (int n = timerRuns(timers.blink, kBlinkPeriod); n > 0; --n) blinkTick(state.scene);
    return;
  }
  world::Progress& progress = state.progress;
  if (progress.gameState == StateRunning && state.pieces.pieceIndex < state.world.pieceCount) {
    progress.gameState = StateDropping;
    logChanges();
  }
  for (int n = timerRuns(timers.animation, kAnimationPeriod); n > 0; --n) animationTick(state);
  for (int n = timerRuns(timers.blink, kBlinkPeriod); n > 0; --n) blinkTick(state.scene);
  if (progress.gameState == StateDropping) dropStep();
  effectTimer();
  if (progress.gameState == StateRunning || progress.gameState == StateEnding) worldStepTimer();
  if (state.options.windowed && timerRuns(timers.redraw, kSecondPeriod) > 0) redrawReady = 1;
}

int Game::timerRuns(uint32_t& stamp, uint32_t period) {
  return app::timerRuns(clock_, stamp, period, timers.rule);
}

// The drop and the world step share one timestamp. The first run after a switch between them
// (or after a level start) starts a fresh beat instead of making up the other's periods.
int Game::stepTimerRuns(uint32_t period) {
  const TimerRule rule = timers.stepPeriod == period ? timers.rule : TimerRule::FrameBound;
  timers.stepPeriod = period;
  return app::timerRuns(clock_, timers.step, period, rule);
}

void Game::drawFrame() {
  pollKeyboard();
  followHint();
  presenter_.present(state);
}

void Game::escapeReleased() {
  if (keysPageEscape()) return;
  if (state.keys.howToPage != 0) {
    showHowTo(false);
    return;
  }
  int32_t& gameState = state.progress.gameState;
  if (gameState == StateTitle) window_.destroyWindow();
  if (gameState >= StateRunning && gameState <= StateEnding) {
    state.keys.quitPrompt = state.keys.quitPrompt == 0 ? 1 : 0;
    heldSince_ = clock_.ticks();
  }
}

// The level's timers move on by the time the prompt or the pages have been shown, so each one
// resumes where it stood; only the blinking lights go on.
void Game::holdLevelTimers() {
  const uint32_t now = clock_.ticks();
  const uint32_t held = now - heldSince_;
  heldSince_ = now;
  timers.animation += held;
  timers.step += held;
  timers.effect += held;
}

bool Game::levelInPlay() const {
  const int32_t gameState = state.progress.gameState;
  const bool playState =
      gameState == StateReady || gameState == StateDropping || gameState == StateRunning;
  return playState && state.world.levelComplete == 0;
}

bool Game::startCurrentLevel() {
  const world::LevelFileReport report = state.startLevel(state.progress.levelNumber);
  ++levelStarts;
  if (!report.opened) {
    // The message has named the file; an empty level would wait for ever.
    backToTitle();
    return false;
  }
  stuckWatch_.reset();
  timers.stepPeriod = 0;
  worldSteps_ = 0;
  state.scene.stuckHint = 0;
  forgetHint();
  return true;
}

void Game::backToTitle() {
  state.progress.gameState = StateTitle;
  state.scene.fadeLevel = 255;
  state.world.levelComplete = 0;
  // Like the exit sequence above, a blow-up flight under way is called off: otherwise its
  // end would restart the level and pull the player back from the title.
  state.world.robotExploded = 0;
  setTitleLook(state.world);
  state.keys.quitPrompt = 0;
  state.keys.titleLevel = state.keys.titleLevelLimit;  // the level choice starts on the record
  forgetHint();
  if (soundOn()) music_->playTitleMusic();
  logChanges();
}

// A level the robot can no longer win shows the hint to restart it. The ending's robot walks
// for ever by design, and a blown-up robot restarts by itself.
void Game::watchForStuck() {
  if (state.progress.gameState != StateRunning || state.world.robotExploded != 0) return;
  if (!stuckWatch_.afterWorldStep(state, worldSteps_ - 1)) return;
  state.scene.stuckHint = 1;
  if (playTest) endPlayTest("stuck after " + std::to_string(worldSteps_) + " steps");
}

void Game::endPlayTest(const std::string& result) {
  if (playTestEnded_) return;
  playTestEnded_ = true;
  if (stateLog) stateLog(kPlayTestLine + result);
  window_.destroyWindow();
}

void Game::showNotice(const std::string& line) {
  std::string& notices = state.scene.notices;
  notices += line + "\n";
  if (std::count(notices.begin(), notices.end(), '\n') > kMaxNotices) {
    notices.erase(0, notices.find('\n') + 1);
  }
  // The frame loop's last reading: taking a new one here would add a reading replays lack.
  noticeShownAt_ = clock_.latest();
}

void Game::expireNotices() {
  if (!state.scene.notices.empty() && clock_.latest() - noticeShownAt_ >= kNoticeTime) {
    state.scene.notices.clear();
  }
}

void Game::switchMusic() {
  if (soundOn()) music_->switchMusic(state.world.levelMusic);
}

void Game::logChanges() {
  const int32_t gameState = state.progress.gameState;
  if (gameState == loggedState_ && levelStarts == loggedLevelStarts_) return;
  loggedState_ = gameState;
  loggedLevelStarts_ = levelStarts;
  if (stateLog) {
    stateLog(std::string("state ") + stateName(gameState) + " level " +
             std::to_string(state.progress.levelNumber));
  }
}

// A drop period is longer than the catch-up limit, so the drop runs at most once a frame and
// the rows it moves stay apart: the rules below settle each one.
static_assert(kCatchUpLimit < kDropPeriod, "a late drop would move two rows in one frame");

// The timed drop every 600 ms, then the rules that hold every frame while pieces fall.
void Game::dropStep() {
  if (stepTimerRuns(kDropPeriod) > 0) world::dropStep(state);
  world::bottomRowStep(state);
  if (state.pieces.pieceIndex >= state.world.pieceCount) {
    state.progress.gameState = StateRunning;
    state.scene.hudPhase = 1;  // the piece bar slides away
    logChanges();
  }
}

// The 20 ms effects; a restart after the blow-up flight ends the runs of this frame, which
// belonged to the level before.
void Game::effectTimer() {
  const int starts = levelStarts;
  for (int n = timerRuns(timers.effect, kEffectPeriod); n > 0 && levelStarts == starts; --n) {
    if (effectTick(state)) restartAfterBlowUp();
  }
}

// The world steps due, until one of them starts another level.
void Game::worldStepTimer() {
  const int starts = levelStarts;
  for (int n = stepTimerRuns(kWorldStepPeriod); n > 0 && levelStarts == starts; --n) worldStep();
}

void Game::worldStep() {
  if (!state.world.levelComplete) {
    const bool walking = state.progress.gameState == StateRunning && state.world.robotExploded == 0;
    world::worldStepWithFrame(state);
    if (walking) ++worldSteps_;
    if (!state.world.levelComplete) {
      watchForStuck();
      return;
    }
    const world::Progress& progress = state.progress;
    if (levelReached && progress.levelNumber <= progress.levelCount) {
      levelReached(progress.levelNumber + 1);
    }
  }
  if (!exitSequenceStep(state)) return;
  if (playTest) {
    endPlayTest("won in " + std::to_string(worldSteps_) + " steps");
  } else {
    goToNextLevel();
  }
}

void Game::beginGame(int32_t level) {
  world::Progress& progress = state.progress;
  progress.gameState = StateReady;
  progress.levelNumber = level < 1 ? 1 : level;
  if (startCurrentLevel()) switchMusic();
  logChanges();
}

// The end of the exit sequence: the next level, or the ending after the pack's last level.
void Game::goToNextLevel() {
  world::Progress& progress = state.progress;
  losses_ = 0;  // won at last
  ++progress.levelNumber;
  state.scene.robotScale = 1.0f;
  progress.gameState = StateReady;
  state.world.levelComplete = 0;
  if (progress.levelNumber > progress.levelCount) {
    progress.levelNumber = world::kEndingLevel;
    progress.gameState = StateEnding;
  }
  if (!startCurrentLevel()) return;
  switchMusic();
  logChanges();
}

// The blown-up robot has flown off: the same level again, with the music left as it is.
void Game::restartAfterBlowUp() {
  if (playTest) {
    endPlayTest("lost: the robot blew up on a bomb after " + std::to_string(worldSteps_) +
                " steps");
    return;
  }
  state.keys.keyLatch[world::LatchDown] = 0;
  state.progress.gameState = StateReady;
  noteLostAttempt();
  startCurrentLevel();
  logChanges();
}

}  // namespace mdx::app
