// Export into a map pack and play-testing: both put the edited level where the game reads
// levels, as a level file in a pack folder. Packs are made and filled by the level tools'
// pack commands.
#pragma once

#include <string>

#include "edit/proof.h"
#include "level/level_source.h"
#include "level/pack_share.h"

namespace mdx::edit {

// Why the level of revision may not be exported yet with this proof, or an empty string when
// the proof is current and answered; the pack commands then decide (only a proven level goes
// into a pack).
std::string exportRefusal(const ProofStatus& proof, uint64_t revision);

// Adds the level to the pack in packDir as its next level (number tells which), its source
// beside it, making the folder a pack first (media copied from gameDir's default pack) when it
// has no pref.ini. Refuses, with the reason in error and before anything is written, a proof
// that is not current and a level the pack commands would refuse.
bool exportToPack(const level::LevelSource& level, const ProofStatus& proof, uint64_t revision,
                  const std::string& packDir, const std::string& gameDir, int& number,
                  std::string& error);

// After the level source at sourcePath was saved: when it is a level of a pack ("levelNN.src"
// beside the pack's levelNN.dat, in a folder with a pref.ini), rebuilds the level file the game
// plays and the level's words from level, as export builds them, but only with a current
// proof the pack commands accept. Returns the save's message: "saved PATH", then
// "; rebuilt level03.dat" or "; the pack still plays the old level03.dat: REASON" for a pack
// level, so the designer knows whether the game plays the edit.
std::string rebuildSavedPackLevel(const std::string& sourcePath, const level::LevelSource& level,
                                  const ProofStatus& proof, uint64_t revision);

// Where export puts the level unless told otherwise: the pack "mypack" among the player's own
// packs, which the game lists, so an exported level can be played at once. "" when the
// player has no data home (neither $XDG_DATA_HOME nor $HOME).
std::string defaultExportFolder();

// Makes a fresh temporary pack folder holding the level as its level 1, a pref.ini of one
// level and links to the media of gameDir's default pack, for a play-test. Returns its path,
// or an empty string with error set.
std::string makePlayTestPack(const level::LevelSource& level, const std::string& gameDir,
                             std::string& error);

// The pack folder the level file at levelPath lies in (a folder with a pref.ini), or "" when
// it lies in none: the pack the share menu offers to export.
std::string packFolderOf(const std::string& levelPath);

// Where the pack in packDir is written as one file: folder/NAME.mdxpack, NAME the pack
// folder's own name ("" when packDir names no folder).
std::string packFileFor(const std::string& packDir, const std::string& folder);

// Writes the pack in packDir as the one file archivePath, after the pack check. message says
// what was written, or why nothing was (the pack manager lists the check's findings).
bool exportPackFile(const std::string& packDir, const std::string& archivePath,
                    const std::string& gameDir, std::string& message);

// Installs the pack file archivePath among the player's packs, as the game's --install-pack
// does.
level::PackInstall importPackFile(const std::string& archivePath, const std::string& gameDir);

}  // namespace mdx::edit
