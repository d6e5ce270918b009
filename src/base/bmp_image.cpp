#include "base/bmp_image.h"

#include <algorithm>

namespace pinst {

namespace {

uint32_t U16(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}

uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

std::optional<TBmpInfo> Fail(std::string& why, const char* reason) {
  why = reason;
  return std::nullopt;
}

}  // namespace

std::optional<TBmpInfo> ReadBmpInfo(std::string_view file, std::string& why, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  constexpr size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 40 || file.substr(0, 2) != "BM") {
    return Fail(why, "not a BMP file");
  }
  if (file.size() > kBmpMaxBytes) {
    if (tooLarge) *tooLarge = true;
    return Fail(why, "larger than 4 MB");
  }
  const uint32_t pixelsAt = U32(file, 10);
  const uint32_t headerSize = U32(file, kFileHeader);
  // BITMAPINFOHEADER and its V4 and V5 successors; the old core header is not taken.
  if (headerSize != 40 && headerSize != 108 && headerSize != 124) {
    return Fail(why, "a BMP header of a kind Windows 2000 does not draw");
  }
  if (kFileHeader + headerSize > file.size()) return Fail(why, "cut short in its header");
  const int32_t width = static_cast<int32_t>(U32(file, 18));
  const int32_t rawHeight = static_cast<int32_t>(U32(file, 22));
  const uint32_t planes = U16(file, 26);
  const uint32_t bits = U16(file, 28);
  const uint32_t compression = U32(file, 30);
  const uint32_t colours = U32(file, 46);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || planes != 1) {
    return Fail(why, "a BMP header with no picture size");
  }
  const int64_t height = rawHeight < 0 ? -static_cast<int64_t>(rawHeight) : rawHeight;
  if (width > kBmpMaxSide || height > kBmpMaxSide) {
    if (tooLarge) *tooLarge = true;
    return Fail(why, "more than 4096 pixels a side");
  }
  const bool plain = compression == 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 ||
                                          bits == 24 || bits == 32);
  const bool fields = compression == 3 && (bits == 16 || bits == 32);
  if (!plain && !fields) return Fail(why, "compressed, or of a colour depth BMPs do not have");
  // The palette (or the three masks of a plain header) follows the header.
  uint64_t tableBytes = 0;
  if (bits <= 8) {
    const uint64_t entries = colours == 0 ? (1u << bits) : colours;
    if (entries > (1u << bits)) return Fail(why, "a palette larger than its colour depth");
    tableBytes = entries * 4;
  } else if (fields && headerSize == 40) {
    tableBytes = 12;
  }
  const uint64_t tableEnd = kFileHeader + headerSize + tableBytes;
  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  const uint64_t pixelEnd =
      static_cast<uint64_t>(pixelsAt) + stride * static_cast<uint64_t>(height);
  if (pixelsAt < tableEnd || tableEnd > file.size()) return Fail(why, "cut short in its palette");
  if (pixelEnd > file.size()) return Fail(why, "cut short in its pixels");
  return TBmpInfo{{width, static_cast<int>(height)}, static_cast<int>(bits)};
}

TPixelSize FitWithin(TPixelSize picture, TPixelSize box) {
  if (picture.width <= box.width && picture.height <= box.height) return picture;
  const int64_t w = picture.width;
  const int64_t h = picture.height;
  // The side that overshoots the box more, relative to the box, is the one that fits it.
  if (w * box.height >= h * box.width) {
    const int64_t scaled = (h * box.width + w / 2) / w;
    return {box.width, static_cast<int>(std::max<int64_t>(1, scaled))};
  }
  const int64_t scaled = (w * box.height + h / 2) / h;
  return {static_cast<int>(std::max<int64_t>(1, scaled)), box.height};
}

}  // namespace pinst
