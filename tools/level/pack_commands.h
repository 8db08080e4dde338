// Map packs made and checked by command: marvolen-level pack new|add|check, and the same steps
// for the editor's export. A pack is a folder beside mappacks.ini (or in the player's pack
// folder) holding pref.ini (a label line, then the number of the last level), level01.dat,
// level02.dat, ... and the media the game reads from a pack (its two landscape pictures and
// three level songs).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "level/level_checks.h"

namespace mdx::level {

// The game data folder (its mappack1 holds the default pack media): dirOption when given, else
// the game's own data search ($MARVOLEN_DATA, the game's folder beside this program, the data
// installed beside that, $XDG_DATA_DIRS). Returns "" after writing the folders tried to err
// when nothing is found; a passed-over $MARVOLEN_DATA is named on err too.
std::string findGameDir(const std::string& dirOption, std::ostream& err);

// The pack's media files (no pref.ini, no level files, no words file) as the default pack of
// gameDir has them: file names within the pack folder, sorted. Empty when gameDir has no default
// pack.
std::vector<std::string> packMediaFiles(const std::string& gameDir);

// The path of level n of the pack in dir ("dir/level07.dat"), as the game builds it.
std::string packLevelPath(const std::string& dir, int number);

// The path of level n's source beside its level file ("dir/level07.src"): pack add keeps the
// source there, and pack check then points at its lines.
std::string packSourcePath(const std::string& dir, int number);

// How many level files the pack in dir has, counted from level 1 up to the first one missing.
int packLevelsFound(const std::string& dir);

// The text of a pref.ini naming count as the pack's last level.
std::string packPrefText(int count);

// The number of the pack's last level from dir/pref.ini, read as the game reads it (0 when
// the file is missing).
int packLevelCount(const std::string& dir);

// The path of the pack's file of level names, ideas and hints.
std::string packMetaPath(const std::string& dir);

// The name, idea and hint of the level at path: a source's own lines; for a level file
// "levelNN.dat", level NN's in the words file of the pack folder it lies in. Empty when there
// are none (problems of the words file are left to the pack check).
world::LevelMeta levelMetaOf(const std::string& path);

// Copies into dir every media file of gameDir's default pack that dir lacks, so that the game
// finds all the pack media it reads; false with error when gameDir has no default pack media.
bool copyDefaultMedia(const std::string& dir, const std::string& gameDir, std::string& error);

// Makes dir a new pack: pref.ini naming no level yet, copies of the default pack's media
// from gameDir, and the pack's name added to mappacks.ini in dir's parent folder (created
// when missing; no empty entry is left). A pack in the player's pack folder (userPackFolder in
// app/data_dirs.h) gets no mappacks.ini: the game lists those by their pref.ini. Refuses a dir
// that already holds a pref.ini.
bool createPack(const std::string& dir, const std::string& gameDir, std::string& error);

// Adds a level to the pack in dir as its next levelNN.dat (with sourceText, when not empty,
// as levelNN.src beside it), puts its name, idea and hint into the pack's words file and
// raises pref.ini's count, but only a level packRefusal lets in (warnings are the level's rule
// warnings) and only while the words file has no broken line; anything else is refused with
// the reason in error and nothing is written. number is the new level's number.
bool addToPack(const std::string& dir, const LevelSource& level,
               const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict,
               const std::string& sourceText, int& number, std::string& error);

// Rebuilds level number of the pack in dir (one of its pref.ini's levels) from level: its
// level file and its words, as addToPack writes them and with the same refusals; the source
// beside it and pref.ini are left alone. Refused, with nothing written, like addToPack.
bool rebuildPackLevel(const std::string& dir, int number, const LevelSource& level,
                      const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict,
                      std::string& error);

// Writes the pack's words file in dir from the names, ideas and hints of sources, the pack's
// levels from 1 in order, and the pack's own name: packName, or the one the file gave when
// nullopt (the build makes the shipped packs' file this way). A name that does not fit is
// refused and nothing is written.
bool writePackMetaFrom(const std::string& dir, const std::vector<std::string>& sources,
                       const std::optional<std::string>& packName, std::string& error);

// One thing the pack check found, as data: the editor lists these and opens a level at the
// cell, marvolen-level prints them.
struct PackFinding {
  std::string text;     // one line, "FILE:LINE:COLUMN: ..." or "DIR: ..."
  std::string detail;   // lines that explain it (a lost level's furthest try), each ending '\n'
  int level = 0;        // the level it is about; 0 for the pack as a whole
  int cell = -1;        // the map cell it points at (world::cellIndex), -1 for none
  bool problem = true;  // counts as a problem (a level's warnings count in its verdict line)
};

// Checks the pack in dir: every level (its source beside the level file when there is one,
// else the level file) as pack add decides, pref.ini's count against the level files, the
// words file (each broken line, words of a level the pack lacks), every media file the
// default pack of gameDir has, and the pack's entry in mappacks.ini (not for a pack in the
// player's pack folder, which needs none). One finding per level's verdict (a level pack add
// would refuse is a problem; a lost level's points where its robot ends), one per warning and
// one per problem.
std::vector<PackFinding> packFindings(const std::string& dir, const std::string& gameDir,
                                      const CheckOptions& options);

// The same findings written to out, a line each; returns the number of problems.
int checkPack(const std::string& dir, const std::string& gameDir, const CheckOptions& options,
              std::ostream& out);

// checkPack without the entry in mappacks.ini: what a pack must pass wherever it lies (a pack
// to share, a pack being installed among the player's packs).
int checkPackFiles(const std::string& dir, const std::string& gameDir, const CheckOptions& options,
                   std::ostream& out);

// marvolen-level pack new DIR | add DIR SOURCE | check DIR | meta DIR SOURCE... | export DIR
// FILE | install FILE, with [--data DIR] and
// [--budget SECONDS]: 0 on success, 1 when refused or problems were found, 2 on bad arguments.
int packCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace mdx::level
