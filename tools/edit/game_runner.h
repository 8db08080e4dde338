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

}  // namespace mdx::edit
