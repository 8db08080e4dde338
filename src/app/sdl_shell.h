// The program's life on SDL, in one straight sequence: the startup dialog, the game window
// and its graphics, the keyboard, the frame loop, and the shutdown.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

#include "app/cli_options.h"
#include "app/sdl_presenter.h"

namespace mdx::app {

// Runs the whole program for a parsed command line with the game's data in dataFolder (any
// working directory will do). stateLog, when set, receives the game's state-change lines. Returns
// the process exit status: 0 when the player left (Exit, Esc, the close box), 1 when a start-up
// step failed (no display, no dialog window, no renderer, no keyboard; one line on stderr
// says what and what to try), 2 for a bad --pack.
int runProgram(const CommandLine& commandLine, const std::string& dataFolder,
               const std::function<void(const std::string&)>& stateLog);

}  // namespace mdx::app
