#include "gfxlib/tga_decoder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mdx::gfx {
namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kFooterSize = 26;
constexpr std::size_t kExtensionSize = 495;
constexpr std::size_t kAlphaTypeOffset = 494;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";  // followed by its terminator
// A picture of the largest size, run-length encoded at worst, plus every optional section.
constexpr long long kMaxFileSize = 128LL * 1024 * 1024;
constexpr uint32_t kOpaqueMagenta = 0xFFFF00FFu;

struct Header {
  int idLength, colourMapType, imageType;
  int mapFirst, mapLength, mapEntryBits;
  int width, height, depth, descriptor;
};

int le16(const uint8_t* p) {
  return p[0] | (p[1] << 8);
}
uint32_t le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

Header readHeader(const uint8_t* d) {
  return {d[0], d[1],         d[2],         le16(d + 3), le16(d + 5),
          d[7], le16(d + 12), le16(d + 14), d[16],       d[17]};
}

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t expand5(uint32_t v) {
  return (v << 3) | (v >> 2);
}

uint32_t unpremultiply(uint32_t c, uint32_t a) {
  if (a == 0) return 0;
  const uint32_t v = (c * 255 + a / 2) / a;
  return v > 255 ? 255 : v;
}

// One stored colour (pixel or colour-map entry) of the given bit depth, alpha as stored.
uint32_t colourFrom(const uint8_t* p, int bits, bool grey) {
  if (grey) return bits == 16 ? argb(p[1], p[0], p[0], p[0]) : argb(0xFF, p[0], p[0], p[0]);
  switch (bits) {
    case 15:
    case 16: {
      const uint32_t v = static_cast<uint32_t>(le16(p));
      const uint32_t a = (bits == 16 && (v & 0x8000u)) ? 0xFFu : (bits == 15 ? 0xFFu : 0u);
      return argb(a, expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31));
    }
    case 24:
      return argb(0xFF, p[2], p[1], p[0]);
    default:
      return argb(p[3], p[2], p[1], p[0]);
  }
}

// The alpha-attributes type of the TGA 2.0 extension area, or -1 when the file has none.
int extensionAlphaType(const uint8_t* data, std::size_t size) {
  if (size < kHeaderSize + kFooterSize) return -1;
  const uint8_t* footer = data + size - kFooterSize;
  if (std::memcmp(footer + 8, kFooterSignature, sizeof kFooterSignature) != 0) return -1;
  const uint32_t offset = le32(footer);
  if (offset < kHeaderSize || offset > size - kFooterSize) return -1;
  if (size - kFooterSize - offset < kExtensionSize) return -1;
  if (static_cast<std::size_t>(le16(data + offset)) < kExtensionSize) return -1;
  return data[offset + kAlphaTypeOffset];
}

class Decoder {
 public:
  Decoder(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  DecodeResult run();

 private:
  bool fail(const std::string& why) {
    error_ = why;
    return false;
  }
  bool checkHeader();
  bool readColourMap();
  bool pixelDataCanFill();
  bool readPixels(Picture& picture);
  bool storePixel(Picture& picture, long long n, const uint8_t* raw);
  bool storedAlphaCounts() const;
  void settleAlpha(Picture& picture) const;

  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = kHeaderSize;
  Header h_{};
  bool mapped_ = false, grey_ = false, rle_ = false;
  std::vector<uint32_t> colourMap_;
  std::string error_;
};

bool Decoder::checkHeader() {
  if (size_ < kHeaderSize) return fail("file too short for a Targa header");
  h_ = readHeader(data_);
  const int base = h_.imageType & ~8;
  if (h_.imageType == 0 || (h_.imageType & ~11) != 0 || base < 1 || base > 3)
    return fail("unsupported Targa image type " + std::to_string(h_.imageType));
  mapped_ = base == 1;
  grey_ = base == 3;
  rle_ = (h_.imageType & 8) != 0;
  if (h_.width <= 0 || h_.height <= 0) return fail("picture has zero width or height");
  if (h_.width > kMaxPictureSide || h_.height > kMaxPictureSide)
    return fail("picture larger than 4096 x 4096");
  const int d = h_.depth;
  const bool depthOk = mapped_ ? (d == 8 || d == 16)
                       : grey_ ? (d == 8 || d == 16)
                               : (d == 15 || d == 16 || d == 24 || d == 32);
  if (!depthOk) return fail("unsupported pixel depth " + std::to_string(d));
  if (h_.colourMapType > 1) return fail("unknown colour-map type");
  if (mapped_ && (h_.colourMapType != 1 || h_.mapLength == 0))
    return fail("colour-mapped picture without a colour map");
  return true;
}

bool Decoder::readColourMap() {
  pos_ += static_cast<std::size_t>(h_.idLength);
  if (h_.colourMapType != 1) return true;
  const int bits = h_.mapEntryBits;
  // A map the pixels do not use is skipped whatever its entry size.
  if (mapped_ && bits != 15 && bits != 16 && bits != 24 && bits != 32)
    return fail("unsupported colour-map entry size " + std::to_string(bits));
  const std::size_t entryBytes = static_cast<std::size_t>((bits + 7) / 8);
  const std::size_t bytes = entryBytes * static_cast<std::size_t>(h_.mapLength);
  if (pos_ > size_ || size_ - pos_ < bytes) return fail("file ends inside the colour map");
  if (mapped_) {
    colourMap_.resize(static_cast<std::size_t>(h_.mapLength));
    for (std::size_t i = 0; i < colourMap_.size(); ++i)
      colourMap_[i] = colourFrom(data_ + pos_ + i * entryBytes, bits, false);
  }
  pos_ += bytes;
  return true;
}

// The least pixel data that can fill the picture: every pixel stored, or with run-length packets
// a count byte and one pixel for every 128. A file shorter than that is refused before the
// picture's memory is taken: a few bytes claiming 4096 x 4096 pixels must not cost 64 MiB.
bool Decoder::pixelDataCanFill() {
  const std::size_t bpp = static_cast<std::size_t>((h_.depth + 7) / 8);
  const std::size_t total = static_cast<std::size_t>(h_.width) * h_.height;
  const std::size_t least = rle_ ? (total + 127) / 128 * (1 + bpp) : total * bpp;
  if (pos_ > size_ || size_ - pos_ < least) return fail("file ends inside the pixel data");
  return true;
}

bool Decoder::storePixel(Picture& picture, long long n, const uint8_t* raw) {
  uint32_t colour;
  if (mapped_) {
    const long long index = (h_.depth == 16 ? le16(raw) : raw[0]) - h_.mapFirst;
    if (index < 0 || index >= static_cast<long long>(colourMap_.size()))
      return fail("colour-map index out of range");
    colour = colourMap_[static_cast<std::size_t>(index)];
  } else {
    colour = colourFrom(raw, h_.depth, grey_);
  }
  // Bit 5 of the descriptor: rows stored top first; bit 4: columns stored right first.
  const long long w = picture.width, row = n / w, col = n % w;
  const long long y = (h_.descriptor & 0x20) ? row : picture.height - 1 - row;
  const long long x = (h_.descriptor & 0x10) ? w - 1 - col : col;
  picture.pixels[static_cast<std::size_t>(y * w + x)] = colour;
  return true;
}

bool Decoder::readPixels(Picture& picture) {
  const std::size_t bpp = static_cast<std::size_t>((h_.depth + 7) / 8);
  const long long total = static_cast<long long>(picture.width) * picture.height;
  long long n = 0;
  while (n < total) {
    long long count = 1;
    bool run = false;
    if (rle_) {
      if (pos_ >= size_) return fail("file ends inside the pixel data");
      const uint8_t packet = data_[pos_++];
      run = (packet & 0x80) != 0;
      count = (packet & 0x7F) + 1;
      if (count > total - n) count = total - n;  // a packet may not spill past the picture
    }
    const std::size_t need = run || !rle_ ? bpp : bpp * static_cast<std::size_t>(count);
    if (pos_ > size_ || size_ - pos_ < need) return fail("file ends inside the pixel data");
    for (long long i = 0; i < count; ++i) {
      const uint8_t* raw = data_ + pos_ + (run ? 0 : static_cast<std::size_t>(i) * bpp);
      if (!storePixel(picture, n + i, raw)) return false;
    }
    pos_ += need;
    n += count;
  }
  return true;
}

// Whether the stored alpha bits mean anything, before looking at the pixels themselves.
bool Decoder::storedAlphaCounts() const {
  const int bits = mapped_ ? h_.mapEntryBits : h_.depth;
  const bool hasChannel = grey_ ? h_.depth == 16 : (bits == 16 || bits == 32);
  if (!hasChannel) return false;
  const int alphaType = extensionAlphaType(data_, size_);
  if (alphaType >= 0) return alphaType == 3 || alphaType == 4;
  // A 16-bit colour's top bit is alpha only when the descriptor says so.
  if (!grey_ && bits == 16) return (h_.descriptor & 0x0F) != 0;
  return true;
}

void Decoder::settleAlpha(Picture& picture) const {
  bool useAlpha = storedAlphaCounts();
  if (useAlpha) {
    // A picture that would be invisible everywhere was written with an unused alpha channel.
    bool anyAlpha = false;
    for (uint32_t p : picture.pixels) anyAlpha = anyAlpha || (p >> 24) != 0;
    useAlpha = anyAlpha;
  }
  const bool premultiplied = useAlpha && extensionAlphaType(data_, size_) == 4;
  for (uint32_t& p : picture.pixels) {
    if (!useAlpha) {
      p |= 0xFF000000u;
    } else if (premultiplied) {
      const uint32_t a = p >> 24;
      p = argb(a, unpremultiply((p >> 16) & 0xFF, a), unpremultiply((p >> 8) & 0xFF, a),
               unpremultiply(p & 0xFF, a));
    }
    if (p == kOpaqueMagenta) p = 0;
  }
}

DecodeResult Decoder::run() {
  DecodeResult result;
  if (!checkHeader() || !readColourMap() || !pixelDataCanFill()) {
    result.error = error_;
    return result;
  }
  Picture picture;
  picture.width = h_.width;
  picture.height = h_.height;
  picture.pixels.assign(static_cast<std::size_t>(h_.width) * h_.height, 0xFF000000u);
  if (!readPixels(picture)) {
    result.error = error_;
    return result;
  }
  settleAlpha(picture);
  result.ok = true;
  result.picture = std::move(picture);
  return result;
}

DecodeResult failure(const std::string& why) {
  DecodeResult result;
  result.error = why;
  return result;
}

}  // namespace

DecodeResult decodeTga(const uint8_t* data, std::size_t size) {
  if (data == nullptr) return failure("no data");
  return Decoder(data, size).run();
}

DecodeResult loadTgaFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0)
    return failure("cannot open file: " + std::string(std::strerror(errno)));
  if (S_ISDIR(info.st_mode)) return failure("is a folder, not a picture");
  if (!S_ISREG(info.st_mode)) return failure("not a regular file");
  if (info.st_size <= 0) return failure("file is empty");
  if (info.st_size > kMaxFileSize) return failure("file too large for a picture");
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return failure("cannot open file: " + std::string(std::strerror(errno)));
  std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  if (got != bytes.size()) return failure("cannot read the whole file");
  return decodeTga(bytes.data(), bytes.size());
}

}  // namespace mdx::gfx
