#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/files.h"
#include "gfxlib/tga_writer.h"
#include "mediagen/contact_sheet.h"
#include "mediagen/generator.h"
#include "mediagen/pictures.h"
#include "world/services.h"

namespace mdx::media {

namespace {

// Every picture of a run: the media folder's, then each pack's.
std::vector<PictureToDraw> generatedPictures(const std::vector<std::string>& packs) {
  std::vector<PictureToDraw> specs = mediaPictures();
  for (size_t i = 0; i < packs.size(); ++i) {
    for (PictureToDraw& picture : packPictures(packs[i], int(i))) specs.push_back(picture);
  }
  return specs;
}

}  // namespace

std::vector<std::string> outputFiles(const GeneratorOptions& options) {
  std::vector<std::string> files;
  if (options.pictures) {
    for (const PictureToDraw& picture : generatedPictures(options.packs)) {
      files.push_back(picture.file);
    }
  }
  if (options.sounds) {
    for (int i = 0; i < world::kSampleCount; ++i) {
      files.push_back(world::sampleFile(static_cast<world::Sample>(i)));
    }
  }
  if (options.music) {
    for (const MusicTrack& track : musicTracks(options.packs)) files.push_back(track.output);
  }
  return files;
}

bool generatePictures(const GeneratorOptions& options) {
  std::vector<std::unique_ptr<Canvas>> drawn;
  std::vector<SheetEntry> sheet;
  bool ok = true;
  for (const PictureToDraw& picture : generatedPictures(options.packs)) {
    auto canvas = std::make_unique<Canvas>(picture.width, picture.height);
    picture.draw(*canvas);
    const std::filesystem::path path = std::filesystem::path(options.gameDir) / picture.file;
    std::string error;
    const std::vector<uint8_t> bytes = gfx::encodeTga(canvas->picture());
    if (bytes.empty() || !base::writeFileSafely(path.string(), bytes, error)) {
      std::fprintf(stderr, "mediagen: %s: %s\n", picture.file.c_str(),
                   error.empty() ? "picture cannot be encoded" : error.c_str());
      ok = false;
    }
    if (!options.contactSheet.empty()) sheet.push_back({picture.file, canvas.get()});
    drawn.push_back(std::move(canvas));
  }
  if (!options.contactSheet.empty()) {
    std::string error;
    if (!writeContactSheet(sheet, options.contactSheet, error)) {
      std::fprintf(stderr, "mediagen: %s\n", error.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace mdx::media
