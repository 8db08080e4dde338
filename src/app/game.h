// The game object: owns the whole game state, the frame loop's timers and the window flags,
// and runs the frame loop's start-up, one frame at a time, and the keyboard commands.
// The platform shell owns the window and the event loop and calls in here; the clock, the
// keyboard, the drawing, the window and the music come in through small interfaces, so the
// whole game runs headless under a virtual clock in tests and replays.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/clock.h"
#include "app/frontend.h"
#include "app/hint_search.h"
#include "app/key_source.h"
#include "app/keys_page.h"
#include "app/timers.h"
#include "sound/music.h"
#include "world/game_state.h"
#include "world/stuck_watch.h"

namespace mdx::app {

// What starts the state log's last line of a play-test: "play-test won in 57 steps".
constexpr const char* kPlayTestLine = "play-test ";

// "StateTitle" and so on: the name of a gameState value, "State?" for an unknown one.
const char* stateName(int32_t gameState);

// The title screen's look: the first landscape with both parallax strips.
void setTitleLook(world::World& world);

class Game {
 public:
  // music and messages may be null (no sound, no message boxes). The music doubles as the
  // world's sample sink; sound calls are made only while options.soundEnabled is set.
  Game(Clock& clock, KeySource& keys, ScenePresenter& presenter, WindowControl& window,
       sound::Music* music, world::MessageBoxes* messages);
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The frame loop's start-up, run once before the first frame: the text writers (hook),
  // the animation start values, the sound start-up when enabled, the five timestamps.
  void startUp();

  // One frame: draw (polling the keyboard first), then the timed work in its fixed order.
  // The shell calls it whenever the window is active and no event is waiting.
  void runFrame();

  // Polls the keyboard and draws one picture: the first step of every frame. Replays of older
  // sessions also call it alone, as the shell then did after events.
  void drawFrame();

  // Reads the keyboard once and runs the commands of released keys, in their fixed order.
  void pollKeyboard();

  // The Escape key was released (it arrives as a window event): it closes the How to play
  // pages when they are shown; otherwise on the title screen the window is destroyed (quit),
  // and during play the quit prompt is shown or hidden.
  void escapeReleased();

  world::GameState state;
  FrameTimers timers;
  int32_t windowActive = 0;  // set by the shell from the window's activation and size events
  // 1 from the first frame a second after start-up, windowed only. The window once repainted
  // on a size change only from then on; size changes are now repainted by the next frame, and
  // the flag stays as the game's first second in a window, which recordings hold.
  uint8_t redrawReady = 0;

  // Creates the two text writers at start-up; set by the drawing side.
  std::function<void()> createWriters;
  // Receives one line per game-state change and per level start: "state StateReady level 2".
  std::function<void(const std::string&)> stateLog;
  // Told the level the player may now start (the completed level's number plus one) when the
  // robot reaches the exit of one of the pack's levels. The saved progress listens here.
  std::function<void(int32_t nextLevel)> levelReached;

  // Starts the given level of the pack at once, as START GAME does with the title's level
  // choice (also for --level).
  void beginGame(int32_t level);

  // Shows line (a few words) to the player at the foot of the screen for kNoticeTime ms,
  // below the lines shown before it; the oldest goes when more than kMaxNotices are shown.
  // For what the player must know but need not answer: a failed save, a song that cannot play.
  void showNotice(const std::string& line);
  static constexpr uint32_t kNoticeTime = 8000;
  static constexpr int kMaxNotices = 3;

  // How many levels were started so far (new game, next level, restart, ending).
  int levelStarts = 0;

  // Set for a play-test (--play-test): the first level's result ends the game instead of the
  // next level, a restart or the stuck hint, and the state log gets it as a last line, e.g.
  // "play-test won in 57 steps".
  bool playTest = false;

  // The hint key's search: the game's own searches at once (tests, replays, the web page) until
  // the shell gives it another, which must outlive the game.
  void useHintSearch(HintSearch& search) { hintSearch_ = &search; }
  // Told the level number each time a hint is shown in it. The saved progress listens here.
  std::function<void(int32_t level)> hintShown;
  // After this many lost attempts at one level in a row the game offers a hint.
  static constexpr int kLossesBeforeHintOffer = 3;

  // Lets the title's keys command open the keys page, which shows and changes the keys in
  // link; the title then shows the key that opens it.
  void linkKeysPage(KeysPageLink link);

 private:
  bool soundOn() const { return state.options.soundEnabled && music_ != nullptr; }
  // A level the player can restart: ready, dropping or running (also blown up), not won.
  bool levelInPlay() const;
  // While the quit prompt or the How to play pages are shown: moves the level's timers on by the
  // time since last call.
  void holdLevelTimers();
  // Starts level levelNumber (the caller has set levelNumber and gameState). When its file
  // cannot be opened the game goes back to the title instead and this returns false.
  bool startCurrentLevel();
  // The title screen with its look and music, as Q from the quit prompt goes there.
  void backToTitle();
  void switchMusic();
  // Writes a log line when the game state changed or a level started since the last line.
  void logChanges();

  // How often a timer runs in this frame, by the game's timer rule (see timers.h).
  int timerRuns(uint32_t& stamp, uint32_t period);
  int stepTimerRuns(uint32_t period);

  // Frame steps.
  void dropStep();
  void effectTimer();
  void worldStepTimer();
  void worldStep();
  void goToNextLevel();
  void restartAfterBlowUp();
  void watchForStuck();
  // A play-test's end: logs "play-test " + result and closes the window.
  void endPlayTest(const std::string& result);
  // Lets the notices go once they have been shown long enough.
  void expireNotices();

  // Key commands, in the order the poll runs them.
  void upKey(const KeyState& keys);
  bool downKey(const KeyState& keys);  // true when it has just ended the dropping phase
  void sideKey(const KeyState& keys, uint8_t key, world::Latch latch, bool left);
  void titleLevelKey(const KeyState& keys, uint8_t key, world::Latch latch, bool left);
  void choiceKey(const KeyState& keys, uint8_t key, world::Latch latch, int32_t& choice,
                 int32_t last, bool left);
  void restartKey(const KeyState& keys);
  void musicKey(const KeyState& keys);
  void quitKey(const KeyState& keys);
  void confirmKey(const KeyState& keys);
  void peekKey(const KeyState& keys);
  void confirm();
  void howToKey(const KeyState& keys);
  void howToPageKeys(const KeyState& keys);
  // Opens (on its first page) or closes the How to play pages.
  void showHowTo(bool shown);
  void keyboardDropStep();
  // The keys page (keys_page.cpp).
  void openKeysKey(const KeyState& keys);
  void keysPageKeys(const KeyState& keys);
  void takeNewKey(const KeyState& raw);
  bool keysPageEscape();  // true when the page took the Escape
  void showKeys();
  // The hint (game_hints.cpp). The hint key asks for a hint for the falling piece; every frame
  // takes the search's answer and lets a hint go once its piece has landed.
  void hintKey(const KeyState& keys);
  void askForHint();
  void followHint();
  void showHintAnswer(const level::Hint& answer);
  // A level starts or is left: the search is called off and the hint goes; the offer of a hint
  // stays while the level is the one lost often.
  void forgetHint();
  // The level in play was lost (blown up, or restarted once its pieces began to fall).
  void noteLostAttempt();
  // The name of the key the player gives command with.
  std::string keyNameOf(std::size_t command) const;
  // Notes the clock when the falling piece has changed since the last note.
  void notePieceChange();
  // A Down press starting now would come too soon after a piece landed to be meant for the
  // piece that followed it.
  bool downTooSoonForPiece() const;

  RememberingClock clock_;
  KeySource& keys_;
  ScenePresenter& presenter_;
  WindowControl& window_;
  sound::Music* music_;
  world::StuckWatch stuckWatch_;  // the world steps of the level in play, for the stuck hint
  int worldSteps_ = 0;  // the robot's world steps in this run of the level, up to its result
  bool playTestEnded_ = false;
  uint8_t handledThisPoll_ = 0;
  uint32_t heldSince_ = 0;  // clock reading the held level timers were last moved on at
  // Down counts only for the piece that falls while it is pressed: the piece at the press,
  // or kNoPiece for a press made while no piece could be steered.
  static constexpr int32_t kNoPiece = -1;
  int32_t downPiece_ = kNoPiece;
  bool downHeld_ = false;
  // A Down pressed this soon after a later piece appears was meant for the one that landed.
  static constexpr uint32_t kLandedDownGrace = 150;
  int32_t shownPiece_ = 0;      // the piece whose appearance was last noted
  uint32_t pieceShownAt_ = 0;   // the clock reading it appeared at
  bool restartCounts_ = false;  // the R held now was pressed in, and stayed in, a level in play
  ImmediateHintSearch ownHintSearch_;
  HintSearch* hintSearch_ = &ownHintSearch_;
  bool hintKeyHeld_ = false;
  int32_t hintAskedFor_ = kNoPiece;  // the piece the search under way is for
  int32_t lostLevel_ = 0;            // the level lost losses_ times in a row
  int losses_ = 0;
  KeysPageLink keysLink_;
  bool keysKeyHeld_ = false;
  KeyState pageKeysBefore_{};   // the keys at the page's last poll, as the commands read them
  KeyState rawKeysBefore_{};    // and as read
  uint32_t noticeShownAt_ = 0;  // clock reading of the latest notice
  int32_t loggedState_ = -1;
  int loggedLevelStarts_ = 0;
};

}  // namespace mdx::app
