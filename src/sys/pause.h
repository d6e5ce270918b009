// The fixed pauses that let the spooler and services settle.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace pinst {

// Each step sleeps that many milliseconds, 0 being a bare yield of the time slice.
void Pause(std::initializer_list<uint32_t> steps);

}  // namespace pinst
