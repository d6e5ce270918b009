#include "sys/win_version.h"

#include "platform/platform.h"
#include "platform/system.h"

namespace pinst {

int GetWinVersion() {
  const OsVersion v = Os().system->GetVersion();
  return static_cast<int>(v.major * 10 + v.minor);
}

bool IsWow64() { return Os().system->IsWow64Process().value_or(false); }

}  // namespace pinst
