#include "world/pack_archive.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>

#include "base/text.h"
#include "world/level_format.h"
#include "world/level_meta.h"
#include "world/pack_catalog.h"

namespace mdx::world {
namespace {

constexpr std::size_t kBlock = 512;
constexpr int kManifestFormat = 1;
constexpr std::string_view kCheckReady = "ready";

// The ustar header fields this format uses, as offsets and widths within a header block.
struct Field {
  std::size_t at, width;
};
constexpr Field kName{0, 100};
constexpr Field kMode{100, 8};
constexpr Field kUid{108, 8};
constexpr Field kGid{116, 8};
constexpr Field kSize{124, 12};
constexpr Field kTime{136, 12};
constexpr Field kChecksum{148, 8};
constexpr std::size_t kTypeAt = 156;
constexpr Field kMagic{257, 6};
constexpr Field kVersion{263, 2};
constexpr Field kPrefix{345, 155};
constexpr char kPlainFile = '0';
constexpr char kOldPlainFile = '\0';

std::size_t paddedSize(std::size_t size) {
  return (size + kBlock - 1) / kBlock * kBlock;
}

// The header's checksum: the sum of its bytes with the checksum field counted as spaces.
unsigned headerChecksum(std::string_view header) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < kBlock; ++i) {
    const bool inField = i >= kChecksum.at && i < kChecksum.at + kChecksum.width;
    sum += inField ? unsigned{' '} : static_cast<unsigned char>(header[i]);
  }
  return sum;
}

// value in octal, zero-padded to fill field but its last byte (a NUL).
void putOctal(std::string& header, Field field, std::uint64_t value) {
  std::string digits(field.width - 1, '0');
  for (std::size_t i = digits.size(); i-- > 0 && value != 0; value >>= 3) {
    digits[i] = static_cast<char>('0' + (value & 7));
  }
  header.replace(field.at, digits.size(), digits);
}

std::string memberHeader(const std::string& path, std::size_t size) {
  std::string header(kBlock, '\0');
  header.replace(kName.at, path.size(), path);
  putOctal(header, kMode, 0644);
  putOctal(header, kUid, 0);
  putOctal(header, kGid, 0);
  putOctal(header, kSize, size);
  putOctal(header, kTime, 0);
  header[kTypeAt] = kPlainFile;
  header.replace(kMagic.at, kMagic.width, std::string("ustar\0", 6));
  header.replace(kVersion.at, kVersion.width, "00");
  // The checksum field: six octal digits, a NUL and a space, as tar writes it.
  char checksum[8];
  std::snprintf(checksum, sizeof checksum, "%06o", headerChecksum(header) & 0777777u);
  header.replace(kChecksum.at, 6, checksum, 6);
  header[kChecksum.at + 6] = '\0';
  header[kChecksum.at + 7] = ' ';
  return header;
}

// A NUL-terminated text field (the whole field when it has no NUL).
std::string_view textField(std::string_view header, Field field) {
  const std::string_view text = header.substr(field.at, field.width);
  return text.substr(0, std::min(text.find('\0'), text.size()));
}

// An octal number field: optional leading spaces, digits, then only NULs and spaces.
bool readOctal(std::string_view header, Field field, std::uint64_t& value) {
  const std::string_view text = header.substr(field.at, field.width);
  std::size_t i = text.find_first_not_of(' ');
  value = 0;
  const std::size_t digitsFrom = i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '7'; ++i) {
    value = value * 8 + static_cast<std::uint64_t>(text[i] - '0');
  }
  if (i == digitsFrom || i > 11) return false;  // no digits, or more than a size field holds
  return text.find_first_not_of(std::string_view("\0 ", 2), i) == std::string_view::npos;
}

std::string manifestText(const PackArchive& archive) {
  std::string text = "format=" + std::to_string(kManifestFormat) + "\npack=" + archive.packName +
                     "\nlevels=" + std::to_string(archive.levelCount) +
                     "\ncheck=" + std::string(kCheckReady) + "\n";
  for (const std::string& line : archive.checkLines) text += "checked=" + line + "\n";
  return text;
}

// Reads the manifest's fields into archive; its format, pack name and check are checked here,
// its level count against the files once they are all read.
bool readManifest(std::string_view text, PackArchive& archive, std::string& error) {
  std::string format, check, levels;
  for (const base::Line& line : base::splitLines(text)) {
    const std::size_t equals = line.text.find('=');
    const bool control = std::any_of(line.text.begin(), line.text.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
    if (line.text.empty() || line.text[0] == '#') continue;
    if (equals == std::string::npos || control) {
      error = "the manifest has a broken line: \"" + base::escaped(line.text) + "\"";
      return false;
    }
    const std::string key = line.text.substr(0, equals), value = line.text.substr(equals + 1);
    if (key == "format") format = value;
    if (key == "pack") archive.packName = value;
    if (key == "levels") levels = value;
    if (key == "check") check = value;
    if (key == "checked") archive.checkLines.push_back(value);
  }
  if (format != std::to_string(kManifestFormat)) {
    error = "the manifest's format \"" + base::escaped(format) + "\" is not one this game reads";
  } else if (levels.empty() || levels.size() > 2 ||
             levels.find_first_not_of("0123456789") != std::string::npos ||
             (archive.levelCount = std::stoi(levels)) < 1 || archive.levelCount > kMaxPackLevels) {
    error = "the manifest's level count \"" + base::escaped(levels) + "\" is not 1 to " +
            std::to_string(kMaxPackLevels);
  } else if (check != kCheckReady) {
    error = "the manifest says the pack did not pass its check (\"" + base::escaped(check) + "\")";
  }
  return error.empty();
}

// One member's header at bytes[at]: its path and size, or false with error.
bool readHeader(std::string_view header, std::string& path, std::uint64_t& size,
                std::string& error) {
  std::uint64_t stored = 0;
  if (textField(header, kMagic) != "ustar" || header.substr(kVersion.at, 2) != "00") {
    error = "a header is not a ustar header";
  } else if (!readOctal(header, kChecksum, stored) || stored != headerChecksum(header)) {
    error = "a header's checksum does not match (the file is damaged)";
  } else if (header[kTypeAt] != kPlainFile && header[kTypeAt] != kOldPlainFile) {
    error = "\"" + base::escaped(textField(header, kName)) +
            "\" is not a plain file (a link, a device or a folder)";
  } else if (!readOctal(header, kSize, size)) {
    error = "a header's size is not a number";
  }
  const std::string_view prefix = textField(header, kPrefix);
  path = (prefix.empty() ? "" : std::string(prefix) + "/") + std::string(textField(header, kName));
  return error.empty();
}

// Whether path is "packName/FILE" with a file a pack holds (or the manifest); the pack name is
// taken from the first member.
bool checkPath(const std::string& path, const std::vector<std::string>& mediaNames,
               std::string& packName, std::string& fileName, std::string& error) {
  const std::size_t slash = path.find('/');
  const std::string folder = path.substr(0, slash);
  fileName = slash == std::string::npos ? "" : path.substr(slash + 1);
  if (path.empty() || path[0] == '/' || path.find("..") != std::string::npos) {
    error = "\"" + base::escaped(path) + "\" would be written outside the pack's folder";
  } else if (!isSafePackName(folder) || (!packName.empty() && folder != packName)) {
    error = "\"" + base::escaped(path) + "\" is not in the pack's one folder";
  } else if (fileName != kPackManifestFile && !isPackFileName(fileName, mediaNames)) {
    error = "\"" + base::escaped(path) + "\" is no file a pack holds";
  }
  packName = folder;
  return error.empty();
}

// Whether the files agree with the manifest: levels 1 to levelCount and pref.ini saying so.
bool agreesWithManifest(const PackArchive& archive, std::string& error) {
  int levels = 0;
  const PackArchiveFile* pref = nullptr;
  for (const PackArchiveFile& file : archive.files) {
    if (levelNumberOfFile(file.name)) ++levels;
    if (file.name == kPrefFile) pref = &file;
    if (levelNumberOfFile(file.name).value_or(0) > archive.levelCount) levels = -1;
  }
  const std::string count = std::to_string(archive.levelCount);
  if (levels != archive.levelCount) {
    error = "the manifest says " + count + " levels, but the level files disagree";
  } else if (pref == nullptr) {
    error = "the archive has no pref.ini";
  } else if (readLevelCount(pref->bytes) != archive.levelCount) {
    error = "pref.ini's count disagrees with the manifest's " + count + " levels";
  }
  return error.empty();
}

}  // namespace

bool isSafePackName(std::string_view name) {
  if (name.empty() || name.size() > 64 || name[0] == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
  });
}

bool isPackFileName(std::string_view name, const std::vector<std::string>& mediaNames) {
  if (name == kPrefFile || name == kLevelMetaFileName) return true;
  if (const auto number = levelNumberOfFile(name)) return *number >= 1 && *number <= kMaxPackLevels;
  if (base::endsWith(name, ".src")) {
    const std::string dat = std::string(name.substr(0, name.size() - 4)) + ".dat";
    return isPackFileName(dat, mediaNames);
  }
  return std::find(mediaNames.begin(), mediaNames.end(), name) != mediaNames.end();
}

std::string writePackArchive(const PackArchive& archive) {
  std::string bytes;
  auto add = [&](const std::string& name, const std::string& contents) {
    bytes += memberHeader(archive.packName + "/" + name, contents.size());
    bytes += contents;
    bytes.append(paddedSize(contents.size()) - contents.size(), '\0');
  };
  add(kPackManifestFile, manifestText(archive));
  for (const PackArchiveFile& file : archive.files) add(file.name, file.bytes);
  bytes.append(2 * kBlock, '\0');  // the end of the archive: two empty blocks
  return bytes;
}

bool readPackArchive(std::string_view bytes, const std::vector<std::string>& mediaNames,
                     PackArchive& archive, std::string& error, const PackArchiveLimits& limits) {
  archive = PackArchive{};
  error.clear();
  if (bytes.size() > limits.maxArchiveBytes) {
    error = "the archive is bigger than a pack can be";
    return false;
  }
  std::string packName, manifest;
  std::set<std::string> seen;
  std::size_t at = 0;
  bool ended = false;
  while (!ended && error.empty()) {
    const std::string_view header = bytes.substr(std::min(at, bytes.size()), kBlock);
    std::string path, fileName;
    std::uint64_t size = 0;
    if (header.size() < kBlock) {
      error = at == 0 ? "the file is not a pack archive" : "the archive is cut short";
    } else if (header.find_first_not_of('\0') == std::string_view::npos) {
      ended = true;
    } else if (readHeader(header, path, size, error) &&
               checkPath(path, mediaNames, packName, fileName, error)) {
      if (size > limits.maxFileBytes) {
        error = "\"" + path + "\" is bigger than a pack's file can be";
      } else if (size > bytes.size() - at - kBlock) {
        error = "the archive is cut short in \"" + path + "\"";
      } else if (!seen.insert(fileName).second) {
        error = "\"" + path + "\" is in the archive twice";
      } else if (seen.size() > limits.maxFiles + 1) {
        error = "the archive holds more files than a pack can";
      } else {
        const std::string contents(bytes.substr(at + kBlock, size));
        if (fileName == kPackManifestFile) {
          manifest = contents;
        } else {
          archive.files.push_back({fileName, contents});
        }
        at += kBlock + paddedSize(size);
      }
    }
  }
  if (error.empty() && manifest.empty()) error = "the archive has no manifest";
  if (error.empty() && readManifest(manifest, archive, error) && archive.packName != packName) {
    error = "the manifest names the pack \"" + base::escaped(archive.packName) +
            "\", but its folder is \"" + packName + "\"";
  }
  if (error.empty()) agreesWithManifest(archive, error);
  if (!error.empty()) archive = PackArchive{};
  return error.empty();
}

}  // namespace mdx::world
