// The map packs the game can play, and where every file of a pack lies.
//
// The game's data folder holds the shared media (media/, with the ending level and the title
// and ending songs), mappacks.ini and the shipped packs, one folder each. A player keeps packs
// of their own in a folder of their own (the data folder of an installed game is read-only);
// each such pack is a folder holding a pref.ini. Every path of a pack's files is made here, so
// the readers need no working directory: they are handed full paths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mdx::world {

// The ending follows a pack's last level under this level number. Its level file lies in the
// shared media folder, and a level file naming it as its music plays the ending song.
constexpr int32_t kEndingLevel = 99;
// The most levels a pack can number: the ending's number is taken.
constexpr int32_t kMaxPackLevels = kEndingLevel - 1;
// The pack played when nothing else is chosen; it also holds the media a new pack copies.
constexpr char kDefaultPackName[] = "mappack1";
// The list of shipped packs in the data folder, one folder name per line.
constexpr char kPackListFile[] = "mappacks.ini";
// The file that makes a folder a pack: a label line, then the number of the last level.
constexpr char kPrefFile[] = "pref.ini";
// A level file's music value 1 to kPackSongs plays that song of the pack.
constexpr int32_t kPackSongs = 3;

// The file name of level n: "level07.dat" (two digits for 0 to 9, plain decimal else).
std::string levelFileName(int32_t n);

// The level number a file name made by levelFileName stands for; nullopt for other names
// ("level7.dat", "level07.src", "pref.ini").
std::optional<int32_t> levelNumberOfFile(std::string_view name);

// Where the files of one pack lie.
struct PackLayout {
  std::string dataFolder;  // the game's data folder; "" means the working directory
  std::string packFolder;  // the pack's own folder

  // Level n of the pack; the ending (kEndingLevel) from the shared media folder.
  std::string levelPath(int32_t n) const;
  std::string prefPath() const;
  // The names, ideas and hints of the pack's levels.
  std::string wordsPath() const;
  // The song a level's music value plays: 1 to kPackSongs the pack's songs, kEndingLevel the
  // ending song; "" for any other value (the level keeps the music that plays).
  std::string songPath(int32_t music) const;
  // The song of the title screen.
  std::string titleSongPath() const;
  // A file of the shared media folder ("blank.tga" is DATA/media/blank.tga).
  std::string mediaFile(std::string_view name) const;
  // A file named relative to the data folder ("media/fin.wav" is DATA/media/fin.wav).
  std::string dataFile(std::string_view name) const;
  // A file of the pack's own folder (its landscapes, its songs).
  std::string packFile(std::string_view name) const;
};

// The layout of a pack shipped in dataFolder as its folder name.
PackLayout shippedPackLayout(const std::string& dataFolder, const std::string& name);

// One playable pack.
struct CatalogPack {
  std::string name;    // what --pack and the settings name; the progress is kept under it
  std::string folder;  // where its files lie
  bool playersOwn = false;
  std::string title = "";  // what the player knows it by: its own name, else name
};

struct PackCatalog {
  std::string dataFolder;
  bool listOpened = false;           // false: mappacks.ini could not be read
  std::vector<CatalogPack> packs;    // the shipped packs in list order, then the player's by name
  std::vector<std::string> refused;  // one line per player's pack left out, saying why

  // The name of pack index (the dialog's choice), or current when there is no such pack.
  std::string nameAt(int32_t index, const std::string& current) const;
  // The pack of that name; nullptr when the catalogue has none.
  const CatalogPack* find(std::string_view name) const;
  // How the dialog and the title name pack: its title, with its name in brackets after it
  // when another pack has the same title ("Classics (mappack1)").
  std::string shownName(const CatalogPack& pack) const;
  // shownName of the named pack; a pack the catalogue does not list (an unlisted --pack
  // folder) is named by its own name, else by name.
  std::string shownNameOf(const std::string& name) const;
  PackLayout layout(const CatalogPack& pack) const;
  // The layout of the named pack. A name the catalogue does not list is taken as a folder of
  // the data folder (or a path of its own), as an unlisted --pack folder is played.
  PackLayout layoutOf(const std::string& name) const;
};

// Reads the catalogue: the packs dataFolder's mappacks.ini lists, then every folder of
// playersFolder that holds a pref.ini ("" or a missing folder: none). A player's pack named as
// a shipped one is refused (and named in refused): progress is kept by pack name, and --pack
// and the remembered settings could not tell the two apart.
PackCatalog readPackCatalog(const std::string& dataFolder, const std::string& playersFolder);

// The player's pack folder below their data home ($XDG_DATA_HOME or ~/.local/share); "" when
// dataHome is "".
std::string playersPackFolder(const std::string& dataHome);

}  // namespace mdx::world
