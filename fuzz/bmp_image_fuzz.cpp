// The BMP header reader on any file a maker names as a logo or model picture. Input:
// the file's bytes. What passes must have its pixels inside the file, within the
// limits, and fit its boxes.
#include <string_view>

#include "base/bmp_image.h"
#include "config/brand.h"
#include "fuzz_input.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  std::string why;
  bool tooLarge = false;
  const std::optional<TBmpInfo> info = ReadBmpInfo(file, why, &tooLarge);
  fuzz::Require(info.has_value() == why.empty());
  if (!info) return 0;
  fuzz::Require(!tooLarge && size <= kBmpMaxBytes);
  const TPixelSize s = info->size;
  fuzz::Require(s.width >= 1 && s.height >= 1 && s.width <= kBmpMaxSide && s.height <= kBmpMaxSide);
  const uint64_t stride = ((static_cast<uint64_t>(s.width) * info->bitsPerPixel + 31) / 32) * 4;
  const uint32_t pixelsAt = static_cast<uint32_t>(data[10]) | data[11] << 8 | data[12] << 16 |
                            static_cast<uint32_t>(data[13]) << 24;
  fuzz::Require(pixelsAt + stride * static_cast<uint64_t>(s.height) <= size);
  for (const TPixelSize box : {kLogoBox, kPictureBox}) {
    const TPixelSize drawn = FitWithin(s, box);
    fuzz::Require(drawn.width >= 1 && drawn.height >= 1 && drawn.width <= box.width &&
                  drawn.height <= box.height && drawn.width <= s.width && drawn.height <= s.height);
  }
  return 0;
}
