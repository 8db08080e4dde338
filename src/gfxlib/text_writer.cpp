#include "gfxlib/text_writer.h"

namespace mdx::gfx {

int32_t TextWriter::create(DrawBackend& backend, uint32_t colour_) {
  release();
  backend_ = &backend;
  font_ = backend.createFont();
  ready = 1;
  colour = colour_;
  return kOk;
}

int32_t TextWriter::draw(const std::string& text, int32_t x, int32_t y) {
  if (ready == 0) return kFail;
  if (backend_ == nullptr || font_ == 0) return 0;
  return backend_->drawText(font_, text, x, y, colour);
}

int32_t TextWriter::width(const std::string& text) const {
  if (backend_ == nullptr || font_ == 0) return 0;
  return backend_->textWidth(font_, text);
}

void TextWriter::release() {
  backend_ = nullptr;
  font_ = 0;
}

}  // namespace mdx::gfx
