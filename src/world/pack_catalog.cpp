#include "world/pack_catalog.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "world/level_meta.h"
#include "world/pack_list.h"

namespace mdx::world {
namespace {

namespace fs = std::filesystem;

constexpr char kMediaFolder[] = "media";
constexpr char kTitleSong[] = "marvolen.mp3";
constexpr char kEndingSong[] = "the_end.mp3";
constexpr std::array<const char*, kPackSongs> kPackSongFiles = {"level01.mp3", "level02.mp3",
                                                                "level03.mp3"};
constexpr std::string_view kLevelPrefix = "level";
constexpr std::string_view kLevelSuffix = ".dat";

// folder/name, or name alone for the working directory.
std::string inFolder(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path = folder;
  if (path.back() != '/') path += '/';
  return path.append(name);
}

bool isFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool isFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The player's folders holding a pref.ini, sorted by name.
std::vector<CatalogPack> playersPacks(const std::string& playersFolder) {
  std::vector<CatalogPack> packs;
  if (playersFolder.empty()) return packs;
  std::error_code error;
  for (fs::directory_iterator it(playersFolder, error), end; !error && it != end;
       it.increment(error)) {
    if (isFolder(it->path()) && isFile(it->path() / kPrefFile)) {
      packs.push_back({it->path().filename().string(), it->path().string(), true});
    }
  }
  std::sort(packs.begin(), packs.end(),
            [](const CatalogPack& a, const CatalogPack& b) { return a.name < b.name; });
  return packs;
}

// The name a pack gives itself in its words file; its catalogue name when it gives none (an
// older pack, or one whose words file cannot be read).
std::string titleOf(const PackLayout& layout, const std::string& name) {
  const std::string own = readPackMeta(layout.wordsPath()).packName;
  return own.empty() ? name : own;
}

}  // namespace

std::string levelFileName(int32_t n) {
  const std::string number = std::to_string(n);
  const std::string padded = (n >= 0 && n <= 9) ? "0" + number : number;
  return std::string(kLevelPrefix) + padded + std::string(kLevelSuffix);
}

std::optional<int32_t> levelNumberOfFile(std::string_view name) {
  if (name.size() < kLevelPrefix.size() + 2 + kLevelSuffix.size() ||
      name.substr(0, kLevelPrefix.size()) != kLevelPrefix ||
      name.substr(name.size() - kLevelSuffix.size()) != kLevelSuffix) {
    return std::nullopt;
  }
  const std::string_view digits =
      name.substr(kLevelPrefix.size(), name.size() - kLevelPrefix.size() - kLevelSuffix.size());
  // Only as many digits as a level number has: no sign, no overflow, and only the spelling
  // levelFileName makes (so "level007.dat" is no level file).
  if (digits.size() > 9) return std::nullopt;
  int32_t number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (levelFileName(number) != name) return std::nullopt;
  return number;
}

std::string PackLayout::levelPath(int32_t n) const {
  if (n == kEndingLevel) return mediaFile(levelFileName(n));
  return packFile(levelFileName(n));
}

std::string PackLayout::prefPath() const {
  return packFile(kPrefFile);
}

std::string PackLayout::wordsPath() const {
  return packFile(kLevelMetaFileName);
}

std::string PackLayout::songPath(int32_t music) const {
  if (music >= 1 && music <= kPackSongs) {
    return packFile(kPackSongFiles[static_cast<std::size_t>(music - 1)]);
  }
  if (music == kEndingLevel) return mediaFile(kEndingSong);
  return "";
}

std::string PackLayout::titleSongPath() const {
  return mediaFile(kTitleSong);
}

std::string PackLayout::mediaFile(std::string_view name) const {
  return inFolder(inFolder(dataFolder, kMediaFolder), name);
}

std::string PackLayout::dataFile(std::string_view name) const {
  return inFolder(dataFolder, name);
}

std::string PackLayout::packFile(std::string_view name) const {
  return inFolder(packFolder, name);
}

PackLayout shippedPackLayout(const std::string& dataFolder, const std::string& name) {
  // A name that is a path of its own (an unlisted --pack folder) is taken as it is.
  const bool ownPath = !name.empty() && name.front() == '/';
  return {dataFolder, ownPath ? name : inFolder(dataFolder, name)};
}

std::string PackCatalog::nameAt(int32_t index, const std::string& current) const {
  if (index < 0 || static_cast<std::size_t>(index) >= packs.size()) return current;
  return packs[static_cast<std::size_t>(index)].name;
}

const CatalogPack* PackCatalog::find(std::string_view name) const {
  for (const CatalogPack& pack : packs) {
    if (pack.name == name) return &pack;
  }
  return nullptr;
}

std::string PackCatalog::shownName(const CatalogPack& pack) const {
  const auto sameTitle = [&pack](const CatalogPack& other) { return other.title == pack.title; };
  if (std::count_if(packs.begin(), packs.end(), sameTitle) > 1) {
    return pack.title + " (" + pack.name + ")";
  }
  return pack.title;
}

std::string PackCatalog::shownNameOf(const std::string& name) const {
  const CatalogPack* pack = find(name);
  return pack != nullptr ? shownName(*pack) : titleOf(layoutOf(name), name);
}

PackLayout PackCatalog::layout(const CatalogPack& pack) const {
  return {dataFolder, pack.folder};
}

PackLayout PackCatalog::layoutOf(const std::string& name) const {
  const CatalogPack* pack = find(name);
  return pack != nullptr ? layout(*pack) : shippedPackLayout(dataFolder, name);
}

PackCatalog readPackCatalog(const std::string& dataFolder, const std::string& playersFolder) {
  PackCatalog catalog;
  catalog.dataFolder = dataFolder;
  const PackList list = readPackList(inFolder(dataFolder, kPackListFile));
  catalog.listOpened = list.opened;
  for (const std::string& name : list.entries) {
    catalog.packs.push_back({name, shippedPackLayout(dataFolder, name).packFolder, false});
  }
  for (CatalogPack& pack : playersPacks(playersFolder)) {
    if (catalog.find(pack.name) != nullptr) {
      catalog.refused.push_back("your pack \"" + pack.folder + "\" is left out: a shipped pack " +
                                "has the name \"" + pack.name + "\"; rename its folder");
      continue;
    }
    catalog.packs.push_back(std::move(pack));
  }
  for (CatalogPack& pack : catalog.packs) pack.title = titleOf(catalog.layout(pack), pack.name);
  return catalog;
}

std::string playersPackFolder(const std::string& dataHome) {
  return dataHome.empty() ? "" : inFolder(dataHome, "marvolen-dx/packs");
}

}  // namespace mdx::world
