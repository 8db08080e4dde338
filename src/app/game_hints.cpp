// The hint from the solver: the hint key asks where the falling piece should land, the search
// runs beside the frame loop, and its answer is shown as a see-through copy of the piece there
// or as a short line. The hint changes only what is drawn, never the level, so a session with
// hints replays alike whatever the search found and however long it took.
#include "app/game.h"

namespace mdx::app {

using world::StateDropping;
using world::StateReady;

void Game::hintKey(const KeyState& keys) {
  const bool down = (keys[DIK_H] & kKeyDown) != 0;
  const bool released = hintKeyHeld_ && !down;
  hintKeyHeld_ = down;
  if (released) askForHint();
}

// A hint is for a piece still to be steered: on the ready sign (the first piece) or while the
// pieces fall, not behind the quit prompt. A piece already shown or searched for is left be.
void Game::askForHint() {
  const int32_t gameState = state.progress.gameState;
  const int32_t piece = state.pieces.pieceIndex;
  const bool steerable = (gameState == StateReady || gameState == StateDropping) && levelInPlay() &&
                         state.keys.quitPrompt == 0 && piece < state.world.pieceCount;
  world::HintView& hint = state.hint;
  if (!steerable || hintAskedFor_ == piece || (hint.ghost && hint.pieceIndex == piece)) return;
  hint.pieceIndex = piece;
  hint.ghost = false;
  hint.line = "Looking for a hint...";
  hint.lineStays = false;
  hintAskedFor_ = piece;
  hintSearch_->submit(state);
}

// Run before each picture: the answer is shown in the frame it arrives in, and the copy goes
// in the first frame after its piece has landed.
void Game::followHint() {
  world::HintView& hint = state.hint;
  const int32_t piece = state.pieces.pieceIndex;
  if (hintAskedFor_ != kNoPiece) {
    if (hintAskedFor_ != piece) {
      hintSearch_->cancel();  // the piece landed before the answer came
      hintAskedFor_ = kNoPiece;
    } else if (const std::optional<level::Hint> answer = hintSearch_->poll()) {
      hintAskedFor_ = kNoPiece;
      showHintAnswer(*answer);
    }
  }
  if (hint.pieceIndex == piece) return;
  hint.pieceIndex = piece;
  hint.ghost = false;
  if (!hint.lineStays) hint.line.clear();
}

void Game::showHintAnswer(const level::Hint& answer) {
  world::HintView& hint = state.hint;
  hint.line.clear();
  switch (answer.outcome) {
    case level::HintOutcome::Place:
      hint.ghost = true;
      hint.column = answer.column;
      hint.row = answer.row;
      hint.offer.clear();
      if (hintShown) hintShown(state.progress.levelNumber);
      break;
    case level::HintOutcome::NoSolution:
      // Nothing placed later can save the level: the line stays until it starts again.
      hint.line = "No solution from here - press " + keyNameOf(kCommandRestart);
      hint.lineStays = true;
      break;
    case level::HintOutcome::NotFound:
      hint.line = "No hint found in time";
      break;
  }
}

void Game::forgetHint() {
  hintSearch_->cancel();
  hintAskedFor_ = kNoPiece;
  world::HintView& hint = state.hint;
  hint.ghost = false;
  hint.pieceIndex = state.pieces.pieceIndex;
  hint.line.clear();
  hint.lineStays = false;
  const bool lostOften =
      losses_ >= kLossesBeforeHintOffer && lostLevel_ == state.progress.levelNumber;
  hint.offer = lostOften ? "Press " + keyNameOf(kCommandHint) + " for a hint" : "";
}

void Game::noteLostAttempt() {
  const int32_t level = state.progress.levelNumber;
  losses_ = lostLevel_ == level ? losses_ + 1 : 1;
  lostLevel_ = level;
}

std::string Game::keyNameOf(std::size_t command) const {
  return state.keyLabels.keys[command];
}

}  // namespace mdx::app
