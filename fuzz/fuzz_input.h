// What the targets share: the code pages the readers know, picked by one byte, and
// a way to turn a broken property into a crash the fuzzer keeps.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

namespace pinst::fuzz {

// The last byte of an input modulo 5: 1252, 936, 950, 932, 949.
inline uint32_t PickCodePage(FuzzedDataProvider& in) {
  static constexpr uint32_t kCodePages[] = {1252, 936, 950, 932, 949};
  return in.PickValueInArray(kCodePages);
}

inline void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace pinst::fuzz
