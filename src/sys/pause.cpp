#include "sys/pause.h"

#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

void Pause(std::initializer_list<uint32_t> steps) {
  for (uint32_t ms : steps) Os().system->Sleep(ms);
}

}  // namespace pinst
