#include "library/install_log.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/platform.h"

namespace pinst {

std::string TInstallLog::Path() { return Os().files->TempDirectory() + "inst2k.log"; }

void TInstallLog::Line(const std::string& text) {
  lines_.push_back(text);
  // A log that cannot be written costs the install nothing.
  Os().files->AppendToFile(Path(), text + "\r\n");
}

void TInstallLog::Code(const std::string& what, uint32_t code) {
  Line(what + ": " + HexCode(code));
}

std::string HexCode(uint32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
  return text;
}

}  // namespace pinst
