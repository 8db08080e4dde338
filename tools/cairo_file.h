// Pictures drawn with Cairo, written as files through base::writeFileSafely: Cairo encodes into
// memory first, so a failed write never leaves half a picture under the real name.
#pragma once

#include <cairo.h>

#include <string>

#include "base/files.h"

namespace mdx::tools {

// A cairo_write_func_t that appends the bytes to the std::string its closure points to.
inline cairo_status_t appendToString(void* closure, const unsigned char* data,
                                     unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Writes bytes Cairo produced with the given status to path; false with error (naming the
// file) when Cairo failed or the file cannot be written.
inline bool writeCairoOutput(cairo_status_t status, const std::string& bytes,
                             const std::string& path, std::string& error) {
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot draw " + path + ": " + cairo_status_to_string(status);
    return false;
  }
  return base::writeFileSafely(path, bytes, error);
}

// Writes surface as a PNG file at path.
inline bool writePngFile(cairo_surface_t* surface, const std::string& path, std::string& error) {
  std::string bytes;
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, appendToString, &bytes);
  return writeCairoOutput(status, bytes, path, error);
}

}  // namespace mdx::tools
