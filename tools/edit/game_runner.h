// Runs another program (the game, for a play-test) and waits for it on a thread of its own,
// so the window's event loop sleeps instead of polling.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace mdx::edit {

class GameRunner {
 public:
  GameRunner() = default;
  ~GameRunner();  // waits for a running program
  GameRunner(const GameRunner&) = delete;
  GameRunner& operator=(const GameRunner&) = delete;

  // Starts program with its arguments; ended runs on the waiting thread when it exits. False
  // with error set when a program is already running or it cannot be started.
  bool start(const std::vector<std::string>& argv, std::function<void(int status)> ended,
             std::string& error);
  bool running() const { return running_; }

 private:
  std::thread waiter_;
  std::atomic<bool> running_{false};
  pid_t pid_ = -1;
};

// The log file the game of a play-test writes, inside the play-test's pack folder.
std::string playTestLog(const std::string& pack);

// What the play-test's game logged as the level's result ("won in 57 steps"), or what to say
// when it logged none (the game was closed first, or could not start).
std::string playTestResult(const std::string& logPath);

}  // namespace mdx::edit
