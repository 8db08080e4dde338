// A map pack as one file to share: a plain POSIX tar ("ustar") archive, so `tar tf` lists it,
// holding one folder named after the pack with the pack's files and a manifest:
//
//   mypack/manifest.txt   format=1, pack=mypack, levels=3, check=ready, one checked= line a level
//   mypack/pref.ini
//   mypack/level01.dat ... (and level01.src ... when the designer's sources go along)
//   mypack/levels.ini, and the pack's own landscapes and songs when it has any
//
// The reader trusts nothing in the bytes: it takes the whole archive apart in memory and
// refuses it whole, with one line saying why, at the first thing out of place, so that an
// installer that writes only what the reader handed back never writes a file of a hostile
// archive. Platform-free; the game, the level tools and the editor share this one format.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mdx::world {

// The file name players give a shared pack: "mypack.mdxpack".
constexpr char kPackArchiveExtension[] = ".mdxpack";
// The manifest's name inside the pack's folder of the archive.
constexpr char kPackManifestFile[] = "manifest.txt";

// How much the reader takes before it refuses an archive as too big.
struct PackArchiveLimits {
  std::size_t maxFileBytes = std::size_t{16} << 20;     // one file (a song is about 1.6 MiB)
  std::size_t maxFiles = 256;                           // 98 levels with sources, and the rest
  std::size_t maxArchiveBytes = std::size_t{96} << 20;  // the archive as a whole
};

struct PackArchiveFile {
  std::string name;   // within the pack folder: "pref.ini", "level07.dat"
  std::string bytes;  // the file's contents
};

// A pack taken out of (or about to go into) an archive.
struct PackArchive {
  std::string packName;                 // the folder the pack is installed as
  int levelCount = 0;                   // levels 1 to levelCount, all present
  std::vector<std::string> checkLines;  // the exporter's check, one line a level, as told
  std::vector<PackArchiveFile> files;   // the pack's files, without the manifest
};

// Whether name may name a pack folder made from an archive: 1 to 64 letters, digits, '_', '-'
// and '.', not starting with '.'; so it can never climb out of, or hide in, the packs folder.
bool isSafePackName(std::string_view name);

// Whether a pack folder may hold a file of this name: pref.ini, a level file or its source,
// the level words file, or one of mediaNames (the pack media the game reads).
bool isPackFileName(std::string_view name, const std::vector<std::string>& mediaNames);

// The archive's bytes: the manifest first, then files in the order given, each member with
// mode 0644 and time 0 so the same pack always gives the same bytes.
std::string writePackArchive(const PackArchive& archive);

// Takes bytes apart into archive. Refuses, with error saying why, an archive that is cut short
// or has a broken header or checksum, a member that is not a plain file (a link, a device, a
// folder), a path outside one pack folder (absolute, "..", a second folder), a file name a pack
// does not hold, the same name twice, more or bigger files than limits allow, and a manifest
// that is missing, unreadable or disagrees with what the archive holds (name, levels, pref.ini).
bool readPackArchive(std::string_view bytes, const std::vector<std::string>& mediaNames,
                     PackArchive& archive, std::string& error,
                     const PackArchiveLimits& limits = {});

}  // namespace mdx::world
