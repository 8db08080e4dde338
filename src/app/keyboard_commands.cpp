// The keyboard commands. Every command fires when its key is released: while the key is down
// its latch is set, and the first poll that finds the key up with the latch set runs it.
#include <algorithm>

#include "app/game.h"
#include "world/timed_steps.h"

namespace mdx::app {

using world::LatchConfirm;
using world::LatchDown;
using world::LatchMusic;
using world::LatchQuit;
using world::LatchRestart;
using world::LatchUp;
using world::StateDropping;
using world::StateEnding;
using world::StateReady;
using world::StateRunning;
using world::StateTitle;

namespace {

bool isDown(const KeyState& keys, uint8_t key) {
  return (keys[key] & kKeyDown) != 0;
}

}  // namespace

void Game::pollKeyboard() {
  KeyState keys{};
  handledThisPoll_ = 0;
  if (!keys_.read(keys)) {
    // An unreadable keyboard counts as all keys up, so held commands fire now.
    keys.fill(0);
    keys_.acquire();
  }
  if (state.keysPage.open) {
    keysPageKeys(keys);
    return;
  }
  if (state.keys.howToPage != 0) {
    howToPageKeys(keys);
    return;
  }
  upKey(keys);
  const bool dropEnded = downKey(keys);
  if (!dropEnded) {
    sideKey(keys, DIK_LEFT, world::LatchLeft, true);
    sideKey(keys, DIK_RIGHT, world::LatchRight, false);
  }
  restartKey(keys);
  musicKey(keys);
  quitKey(keys);
  confirmKey(keys);
  openKeysKey(keys);
  peekKey(keys);
  howToKey(keys);
  hintKey(keys);
}

void Game::upKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[LatchUp];
  if (isDown(keys, DIK_UP)) {
    latch = 1;
    return;
  }
  if (!latch) return;
  if (state.progress.gameState == StateTitle) {
    state.keys.titleChoice = 1;
    state.playSample(world::Sample::Button);
  }
  latch = 0;
}

bool Game::downKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[LatchDown];
  const int32_t gameState = state.progress.gameState;
  const bool steering = gameState == StateDropping && state.keys.quitPrompt == 0;
  notePieceChange();
  if (isDown(keys, DIK_DOWN)) {
    if (!downHeld_) {
      const bool forThisPiece = steering && !downTooSoonForPiece();
      downPiece_ = forThisPiece ? state.pieces.pieceIndex : kNoPiece;
    }
    downHeld_ = true;
    // A press made on the ready sign, while the robot walks, for an earlier piece or an
    // instant after it landed never reaches the piece that falls now.
    const bool counts = steering && state.pieces.pieceIndex == downPiece_;
    latch = (gameState == StateTitle || counts) ? 1 : 0;
    return false;
  }
  downHeld_ = false;
  // While an explosion plays the release waits, latch kept.
  if (!latch || state.world.explosionTicks != 0) return false;
  if (gameState == StateTitle) {
    state.keys.titleChoice = 0;
    state.playSample(world::Sample::Button);
    latch = 0;
  } else if (steering) {
    // The latch stays set: the piece drops one row per poll until something clears it.
    keyboardDropStep();
    return state.progress.gameState != StateDropping;
  } else if (gameState != StateDropping) {
    latch = 0;  // the piece it was meant for is gone
  }
  return false;
}

void Game::notePieceChange() {
  if (state.pieces.pieceIndex == shownPiece_) return;
  shownPiece_ = state.pieces.pieceIndex;
  pieceShownAt_ = clock_.latest();
}

// The level's first piece follows no other, so it has no grace time. The readings are the
// frame loop's last ones, a frame behind at most, on both sides alike.
bool Game::downTooSoonForPiece() const {
  return shownPiece_ > 0 && clock_.latest() - pieceShownAt_ < kLandedDownGrace;
}

// One row of the fast drop. Unlike the timed drop it plays no sound.
void Game::keyboardDropStep() {
  world::Pieces& p = state.pieces;
  p.pieceCommand = world::kPieceFallStep;
  state.handlePieceCommand();
  ++p.pieceRow;
  if (p.pieceRow > 27) state.keys.keyLatch[LatchDown] = 0;
  world::bottomRowStep(state);
  if (p.pieceIndex >= state.world.pieceCount) {
    state.progress.gameState = StateRunning;
    state.scene.hudPhase = 1;
    logChanges();
  }
}

// Left or Right: asks the piece handler, then moves the piece one column if allowed.
void Game::sideKey(const KeyState& keys, uint8_t key, world::Latch latchIndex, bool left) {
  if (state.progress.gameState == StateTitle) {
    titleLevelKey(keys, key, latchIndex, left);
    return;
  }
  if (state.progress.gameState != StateDropping) return;
  uint8_t& latch = state.keys.keyLatch[latchIndex];
  if (state.keys.quitPrompt != 0) {
    latch = 0;  // the prompt holds the piece: a press made behind it is dropped
    return;
  }
  if (isDown(keys, key)) {
    latch = 1;
    return;
  }
  if (!latch) return;
  world::sideMoveStep(state, left);
  latch = 0;
}

// Left or Right on the title: the level START GAME begins with, one lower or higher, from 1 to
// the highest level reached.
void Game::titleLevelKey(const KeyState& keys, uint8_t key, world::Latch latchIndex, bool left) {
  world::Keys& k = state.keys;
  if (k.titleLevelLimit <= 1) return;  // no level reached yet: nothing to choose
  choiceKey(keys, key, latchIndex, k.titleLevel, k.titleLevelLimit, left);
}

// Moves choice one lower or higher within 1 to last when key is released. A choice at its end
// stays there and makes no sound.
void Game::choiceKey(const KeyState& keys, uint8_t key, world::Latch latchIndex, int32_t& choice,
                     int32_t last, bool left) {
  uint8_t& latch = state.keys.keyLatch[latchIndex];
  if (isDown(keys, key)) {
    latch = 1;
    return;
  }
  if (!latch) return;
  latch = 0;
  const int32_t chosen = std::clamp(choice + (left ? -1 : 1), 1, last);
  if (chosen == choice) return;
  choice = chosen;
  state.playSample(world::Sample::Button);
}

void Game::restartKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[LatchRestart];
  if (isDown(keys, DIK_R)) {
    // A press counts while it stays within one level in play: pressed on the title or held
    // through the exit sequence into the next level it restarts nothing.
    restartCounts_ = (latch == 0 || restartCounts_) && levelInPlay();
    latch = 1;
    return;
  }
  if (!latch) return;
  latch = 0;
  if (!restartCounts_ || !levelInPlay()) return;
  state.keys.keyLatch[LatchDown] = 0;
  state.keys.quitPrompt = 0;
  // A restart once the pieces began to fall gives the attempt up; on the ready sign it is none.
  if (state.progress.gameState != StateReady) noteLostAttempt();
  state.progress.gameState = StateReady;
  startCurrentLevel();
  logChanges();
}

void Game::musicKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[LatchMusic];
  if (isDown(keys, DIK_F2)) {
    latch = 1;
    return;
  }
  if (!latch) return;
  if (soundOn()) {
    // Turning the music off also keeps Space or Enter of the same poll from acting.
    if (music_->musicOn) handledThisPoll_ = 1;
    music_->toggleMusic();
  }
  latch = 0;
}

void Game::quitKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[LatchQuit];
  if (isDown(keys, DIK_Q)) {
    if (state.keys.quitPrompt == 1) latch = 1;
    return;
  }
  if (!latch) return;
  latch = 0;
  backToTitle();
}

// Space, Enter and keypad Enter share one latch: the command fires once all are up.
void Game::confirmKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[LatchConfirm];
  if (isDown(keys, DIK_SPACE) || isDown(keys, DIK_RETURN) || isDown(keys, DIK_NUMPADENTER)) {
    latch = 1;
    return;
  }
  if (!latch) return;
  confirm();
  latch = 0;
  logChanges();
}

// Unlike the commands, the peek acts while its key is held rather than on release: the field
// shows for as long as the player looks. It changes only what is drawn, so the ready level
// still waits for Space and a prompted level stays held.
void Game::peekKey(const KeyState& keys) {
  const int32_t gameState = state.progress.gameState;
  const bool inLevel = gameState != StateTitle;
  state.keys.peeking = inLevel && isDown(keys, DIK_TAB) ? 1 : 0;
}

void Game::confirm() {
  // Behind the quit prompt the level waits: Space neither starts nor skips anything.
  if (state.keys.quitPrompt != 0) return;
  world::Progress& progress = state.progress;
  if (progress.gameState == StateTitle && !handledThisPoll_) {
    if (state.keys.titleChoice == 0) {
      window_.destroyWindow();
    } else {
      handledThisPoll_ = 1;  // the same release must not also leave StateReady
      beginGame(state.keys.titleLevel);
    }
  }
  if (progress.gameState == StateReady && !handledThisPoll_) progress.gameState = StateRunning;
  // Cuts the exit sequence short: where waiting goes, the next level or the ending.
  if (state.world.levelComplete == 1) goToNextLevel();
}

// The keys of the How to play pages: Left and Right turn the page, the music key still works,
// and the How to play key closes them. Every other key waits until the pages are closed.
void Game::howToPageKeys(const KeyState& keys) {
  int32_t& page = state.keys.howToPage;
  choiceKey(keys, DIK_LEFT, world::LatchLeft, page, world::kHowToPages, true);
  choiceKey(keys, DIK_RIGHT, world::LatchRight, page, world::kHowToPages, false);
  musicKey(keys);
  howToKey(keys);
}

// F1 opens the How to play pages on the title and in a level in play (not behind the quit
// prompt), and closes them again.
void Game::howToKey(const KeyState& keys) {
  uint8_t& latch = state.keys.keyLatch[world::LatchHowTo];
  if (isDown(keys, DIK_F1)) {
    latch = 1;
    return;
  }
  if (!latch) return;
  latch = 0;
  if (state.keys.howToPage != 0) {
    showHowTo(false);
  } else if (state.keys.quitPrompt == 0 && !state.keysPage.open &&
             (state.progress.gameState == StateTitle || levelInPlay())) {
    showHowTo(true);
  }
}

// Opening starts on the first page and holds the level's timers from now; a key held into or
// out of the pages is forgotten, so it cannot act on what lies behind them.
void Game::showHowTo(bool shown) {
  state.keys.howToPage = shown ? 1 : 0;
  state.keys.keyLatch.fill(0);
  heldSince_ = clock_.ticks();
  state.playSample(world::Sample::Button);
}

}  // namespace mdx::app
