#include "platform/platform.h"

namespace pinst {

namespace {
Platform& Current() {
  static Platform current;
  return current;
}
}  // namespace

Platform& Os() { return Current(); }

Platform InstallPlatform(const Platform& platform) {
  Platform previous = Current();
  Current() = platform;
  return previous;
}

}  // namespace pinst
