#include <cstdio>
#include <filesystem>
#include <memory>

#include "contact_sheet.h"
#include "generator.h"
#include "pictures.h"
#include "tga_file.h"

namespace mdx::media {

bool generatePictures(const GeneratorOptions& options) {
  std::vector<PictureSpec> specs = mediaPictures();
  for (size_t i = 0; i < options.packs.size(); ++i) {
    for (PictureSpec& picture : packPictures(options.packs[i], int(i))) specs.push_back(picture);
  }
  std::vector<std::unique_ptr<Canvas>> drawn;
  std::vector<SheetEntry> sheet;
  bool ok = true;
  for (const PictureSpec& picture : specs) {
    auto canvas = std::make_unique<Canvas>(picture.width, picture.height);
    picture.draw(*canvas);
    const std::filesystem::path path = std::filesystem::path(options.gameDir) / picture.file;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::string error;
    const std::vector<uint8_t> bytes =
        encodeTga(canvas->width(), canvas->height(), canvas->straightBgra());
    if (bytes.empty() || !writeFileAtomically(path.string(), bytes, error)) {
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
