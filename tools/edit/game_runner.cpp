#include "edit/game_runner.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "app/game.h"
#include "base/files.h"
#include "base/text.h"

extern char** environ;

namespace mdx::edit {

GameRunner::~GameRunner() {
  if (waiter_.joinable()) waiter_.join();
}

bool GameRunner::start(const std::vector<std::string>& argv, std::function<void(int)> ended,
                       std::string& error) {
  if (running_) {
    error = "the game is already running";
    return false;
  }
  if (waiter_.joinable()) waiter_.join();
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const int failed = posix_spawn(&pid_, args[0], nullptr, nullptr, args.data(), environ);
  if (failed != 0) {
    error = argv[0] + ": " + std::strerror(failed);
    return false;
  }
  running_ = true;
  waiter_ = std::thread([this, ended = std::move(ended)] {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    running_ = false;
    if (ended) ended(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  });
  return true;
}

std::string playTestLog(const std::string& pack) {
  return pack + "/play-test.log";
}

std::string playTestResult(const std::string& logPath) {
  std::string text, error;
  std::string result = "closed before the level ended";
  if (!base::readWholeFile(logPath, text, error)) return result;
  for (const base::Line& line : base::splitLines(text)) {
    if (base::startsWith(line.text, app::kPlayTestLine)) {
      result = line.text.substr(std::strlen(app::kPlayTestLine));
    }
  }
  return result;
}

}  // namespace mdx::edit
