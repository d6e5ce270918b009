// Spooler answers whose size only the spooler knows: ask with no buffer for the
// bytes needed, then read into a buffer of that size.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/spooler.h"

namespace pinst {

// Reads a list that grows while it is read (jobs arriving) this many times at most.
constexpr int kSizedReads = 3;

// call(bufferSize, needed) makes one spooler call with a buffer of bufferSize bytes.
// True when a call succeeded; false with the spooler's last error otherwise.
template <typename Call>
bool CallWithNeededSize(Call call) {
  uint32_t needed = 0;
  if (call(uint32_t{0}, needed)) return true;  // an empty answer fits in no buffer
  for (int read = 0; read < kSizedReads; ++read) {
    if (Os().spooler->GetLastError() != kErrorInsufficientBuffer) return false;
    const uint32_t size = needed;
    if (call(size, needed)) return true;
    if (needed <= size) return false;
  }
  return false;
}

}  // namespace pinst
