// Runs a real program of ours from outside, as a user's shell would, for the tests that check
// what the programs print and the status they end with.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace mdx::testing {

struct ProgramRun {
  int status = -1;  // the exit status; -1 when the program did not end by itself
  std::string out;  // what it wrote to standard output
};

// Runs command through the shell (redirections such as 2>&1 allowed) and reads its output.
inline ProgramRun runProgram(const std::string& command) {
  ProgramRun result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

}  // namespace mdx::testing
