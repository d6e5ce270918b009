// A BMP file's header, read with every offset and size checked against the file,
// so that what passes can be handed to the window system without it reading past
// the end; and the size a picture is drawn at in a box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pinst {

struct TPixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const TPixelSize&) const = default;
};

struct TBmpInfo {
  TPixelSize size;
  int bitsPerPixel = 0;
};

// The largest picture taken: a side of more pixels, or a file of more bytes, is no
// logo.
inline constexpr int kBmpMaxSide = 4096;
inline constexpr size_t kBmpMaxBytes = 4 * 1024 * 1024;

// The header of an uncompressed BMP (1, 4, 8, 24 or 32 bits a pixel, or 16 and 32
// with bit fields) whose palette and pixels lie within the file; nullopt with the
// reason in English otherwise.
// tooLarge, when given, tells a picture beyond the limits from a broken one.
std::optional<TBmpInfo> ReadBmpInfo(std::string_view file, std::string& why,
                                    bool* tooLarge = nullptr);

// The size a picture is drawn at in a box: as it is when it fits, else scaled down
// until it does, its aspect kept (rounded to whole pixels, at least one each way).
// Never scaled up.
TPixelSize FitWithin(TPixelSize picture, TPixelSize box);

}  // namespace pinst
