// The robot's world step: lift return, lift top, and the rules for every robot cell.
#include <algorithm>

#include "world/cell_access.h"
#include "world/game_state.h"

namespace mdx::world {
namespace {

constexpr int kRight = 1;
constexpr int kLeft = -1;
constexpr int kBelow = kColumns;
constexpr int kAbove = -kColumns;
constexpr int kUpRight = -kColumns + 1;
constexpr int kUpLeft = -kColumns - 1;
constexpr int kTwoUpOneRight = -2 * kColumns + 1;
constexpr int kLastStandingRow = 25;  // below it a fall wraps to row 0

bool isStair(int32_t code) {
  return code == kStairA || code == kStairB;
}

// One call of worldStep: the rules for each robot cell, sharing the moved flag.
class Step {
 public:
  explicit Step(GameState& game) : game_(game), w_(game.world) {}

  void run() {
    w_.robotClimbing = 0;
    returnLifts();
    liftTop();
    // A robot moved right or down is met again later in this walk; then only the exit and
    // the bar switch can act on it, since every other rule needs moved to be false.
    for (int k = nextRobot(0); k < kCells; k = nextRobot(k + 1)) {
      contact(k);
      exitRule(k);
      barSwitch(k);
      liftButton(k);
      ride(k);
      rightEdge(k);
      if (w_.robotFalling == 0 && !moved_) onGround(k);
      if (w_.robotFalling == 1 && !moved_) inAir(k);
    }
  }

 private:
  // The first robot cell at index from or after it, or kCells. The walk reads each cell as
  // it stands when the walk gets there, so a robot moved on is met again.
  int nextRobot(int from) const {
    const auto begin = w_.blockLayer.begin();
    return static_cast<int>(std::find(begin + from, w_.blockLayer.end(), kRobot) - begin);
  }

  // The block and the device at cell i, as readCell reads them.
  int32_t blockAt(int i) const { return readCell(w_.blockLayer, i); }
  int32_t deviceAt(int i) const { return readCell(w_.deviceLayer, i); }

  // Moves the robot's 99 from one cell to another. A target outside the grid does not exist:
  // the move is not made, the robot stays, and the rule that asked for it does not apply.
  bool moveRobot(int from, int to) {
    if (!isInsideGrid(to)) return false;
    writeCell(w_.blockLayer, from, 0);
    writeCell(w_.blockLayer, to, kRobot);
    return true;
  }

  void play(Sample sample) { game_.playSample(sample); }

  // Lift cars sink one row down their shaft on each step that lowers the timer below 3.
  // The walk goes upward, so a car moves at most one row per step.
  void returnLifts() {
    if (w_.liftReturnTimer <= 0) return;
    w_.liftReturnTimer -= 1;
    if (w_.liftReturnTimer >= 3) return;
    for (int row = kRows - 1; row >= 1; --row) {
      for (int column = kColumns - 1; column >= 0; --column) {
        const std::size_t k = static_cast<std::size_t>(cellIndex(row, column));
        if (w_.deviceLayer[k] == kLiftShaft && w_.deviceLayer[k - kColumns] == kLiftCar) {
          w_.deviceLayer[k] = kLiftCar;
          w_.deviceLayer[k - kColumns] = kLiftShaft;
        }
      }
    }
  }

  // After three rows on a lift the robot tries to step off to the right once.
  void liftTop() {
    if (w_.liftCounter == 4) {
      w_.liftCounter = 0;
      return;
    }
    if (w_.liftCounter != 3) return;
    w_.liftCounter = 4;
    for (int k = 0; k < kCells; ++k) {
      if (blockAt(k) != kRobot || moved_) continue;
      if (w_.robotColumn < 33 && blockAt(k + kRight) == 0 && blockAt(k + kUpRight) == 0)
        stepRight(k);
    }
  }

  bool stepRight(int k) {
    if (!moveRobot(k, k + kRight)) return false;
    w_.robotColumn += 1;
    moved_ = true;
    play(Sample::Run);
    return true;
  }

  // R1: stairs, bombs and conveyors; the first that applies is taken.
  void contact(int k) {
    if (moved_) return;
    if (isStair(deviceAt(k + kRight)) &&
        (blockAt(k + kBelow) > 0 || isStair(deviceAt(k + kBelow))) && blockAt(k + kUpRight) == 0 &&
        blockAt(k + kTwoUpOneRight) == 0 && moveRobot(k, k + kUpRight)) {
      w_.robotRow -= 1;
      w_.robotColumn += 1;
      settle(Sample::Run);
      w_.robotClimbing = 1;
    } else if (isStair(deviceAt(k + kBelow)) && blockAt(k + kRight) == 0 &&
               blockAt(k + kUpRight) == 0 && moveRobot(k, k + kRight)) {
      w_.robotColumn += 1;
      settle(Sample::Run);
    } else if (deviceAt(k + kBelow) == kBomb) {
      explode(k);
      writeCell(w_.deviceLayer, k + kBelow, 0);
    } else if (deviceAt(k) == kBomb) {
      explode(k);
      writeCell(w_.deviceLayer, k, 0);
    } else if (isConveyor(blockAt(k + kBelow)) && blockAt(k + kLeft) == 0 &&
               blockAt(k + kUpLeft) == 0 && moveRobot(k, k + kLeft)) {
      conveyed(k);
      settle(Sample::Run);
    }
  }

  // A conveyor moves the robot to index k - 1. From column 0 that is column 33 of the row
  // above, and the robot's column and row follow that cell so the edge rules stay consistent.
  void conveyed(int k) {
    if (k % kColumns == 0) {
      w_.robotColumn = kColumns - 1;
      w_.robotRow = k / kColumns - 1;
    } else {
      w_.robotColumn -= 1;
    }
  }

  // The end of a move that puts the robot on its feet.
  void settle(Sample sample) {
    moved_ = true;
    w_.robotFalling = 0;
    play(sample);
  }

  void explode(int k) {
    w_.robotExplosionX = cellPixelX(k % kColumns);
    w_.robotExplosionY = cellPixelY(k / kColumns);
    w_.robotExploded = 1;
    w_.explosionTicks = 1;
    writeCell(w_.blockLayer, k, kExplosionMarker);
    settle(Sample::Explode);
  }

  // R2, also after a move: the robot in an exit cell completes the level.
  void exitRule(int k) {
    if (deviceAt(k) != kExit || w_.levelComplete != 0) return;
    w_.levelComplete = 1;
    w_.robotFrame = 3;
    settle(Sample::Fin);
  }

  // R3, also after a move: the bar switch starts a turn; it sounds even mid-turn.
  void barSwitch(int k) {
    if (w_.liftCounter >= 3 || deviceAt(k) != kBarSwitch) return;
    if (w_.gateState == 0) {
      w_.gateState = 1;
    } else if (w_.gateState == 2) {
      w_.gateState = 3;
    }
    w_.robotFalling = 0;
    play(Sample::Button);
  }

  // R4: stepping onto a lift call button, whatever that cell held.
  void liftButton(int k) {
    if (deviceAt(k + kRight) != kLiftButton || w_.liftCounter >= 3 || moved_) return;
    if (!moveRobot(k, k + kRight)) return;
    w_.robotColumn += 1;
    w_.liftReturnTimer = 4;
    settle(Sample::Run);
    play(Sample::Button);
  }

  // R5: a lift car carries the robot up one row, leaving shaft behind.
  void ride(int k) {
    if (deviceAt(k) != kLiftCar || w_.liftCounter >= 3 || moved_) return;
    if (!isInsideGrid(k + kAbove)) return;
    writeCell(w_.deviceLayer, k, kLiftShaft);
    writeCell(w_.blockLayer, k, 0);
    writeCell(w_.deviceLayer, k + kAbove, kLiftCar);
    writeCell(w_.blockLayer, k + kAbove, kRobot);
    w_.robotRow -= 1;
    w_.liftCounter += 1;
    moved_ = true;
    play(Sample::Lift);
  }

  // R6: past column 32 the robot reappears in column 0 of its row.
  void rightEdge(int k) {
    if (w_.robotColumn <= 32 || moved_) return;
    moveRobot(k, k - k % kColumns);
    w_.robotColumn = 0;
    moved_ = true;
    play(Sample::Run);
  }

  // A fall of one row, or from the bottom rows a wrap to row 0 of the same column.
  bool fallOrWrap(int k) {
    if (w_.robotRow <= kLastStandingRow) {
      if (!moveRobot(k, k + kBelow)) return false;
      w_.robotRow += 1;
    } else {
      moveRobot(k, k % kColumns);
      w_.robotRow = 0;
    }
    moved_ = true;
    w_.robotFalling = 1;
    return true;
  }

  // R7: standing robot falls, or walks right, or stands still.
  void onGround(int k) {
    if (blockAt(k + kBelow) == 0 && fallOrWrap(k)) return;
    if (blockAt(k + kBelow) != 0 && blockAt(k + kRight) == 0 && blockAt(k + kUpRight) == 0 &&
        w_.robotColumn < 33) {
      stepRight(k);
    }
  }

  // R8: a falling robot lands on a car, a call button or anything solid, or keeps falling.
  void inAir(int k) {
    if (deviceAt(k + kBelow) == kLiftCar && moveRobot(k, k + kBelow)) {
      w_.robotRow += 1;
      moved_ = true;
      w_.robotFalling = 0;
    }
    if (deviceAt(k + kBelow) == kLiftButton && w_.liftCounter < 3 && !moved_ &&
        moveRobot(k, k + kBelow)) {
      w_.robotRow += 1;
      w_.liftReturnTimer = 4;
      settle(Sample::Button);
    }
    if (blockAt(k + kBelow) > 0 && !moved_) {
      moved_ = true;
      w_.robotFalling = 0;
      if (w_.robotColumn < 33 && blockAt(k + kRight) == 0 && blockAt(k + kUpRight) == 0 &&
          moveRobot(k, k + kRight)) {
        w_.robotColumn += 1;
        play(Sample::Run);
      }
    }
    if (!moved_ && (w_.robotRow > kLastStandingRow || blockAt(k + kBelow) == 0)) fallOrWrap(k);
  }

  GameState& game_;
  World& w_;
  bool moved_ = false;
};

}  // namespace

void GameState::worldStep() {
  Step(*this).run();
}

}  // namespace mdx::world
