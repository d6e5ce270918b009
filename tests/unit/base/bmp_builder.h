// BMP files built in memory for the tests: a header that says what is asked, and
// as many pixel bytes as that header needs (or fewer).
#pragma once

#include <cstdint>
#include <string>

namespace pinst::testdata {

struct TBmpSpec {
  int32_t width = 4;
  int32_t height = 2;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t colours = 0;   // palette entries (0: all of the depth's)
  int64_t cutPixels = 0;  // bytes left off the end
};

inline void Put(std::string& b, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string Bmp(const TBmpSpec& s = {}) {
  const uint32_t palette = s.bits <= 8 ? 4 * (s.colours ? s.colours : (1u << s.bits)) : 0;
  const uint32_t offset = 14 + 40 + palette;
  const int64_t rows = s.height < 0 ? -static_cast<int64_t>(s.height) : s.height;
  const int64_t stride = ((static_cast<int64_t>(s.width) * s.bits + 31) / 32) * 4;
  const int64_t size = offset + stride * rows - s.cutPixels;
  std::string b(static_cast<size_t>(size), '\x40');
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 2, static_cast<uint32_t>(size), 4);
  Put(b, 10, offset, 4);
  Put(b, 14, 40, 4);
  Put(b, 18, static_cast<uint32_t>(s.width), 4);
  Put(b, 22, static_cast<uint32_t>(s.height), 4);
  Put(b, 26, 1, 2);
  Put(b, 28, s.bits, 2);
  Put(b, 30, s.compression, 4);
  Put(b, 46, s.colours, 4);
  return b;
}

}  // namespace pinst::testdata
