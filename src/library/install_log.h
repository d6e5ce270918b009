// The library's step log: one line per call and step, appended to inst2k.log in the
// temporary folder (the distribution may be a read-only CD) as it happens, so a
// crash still leaves the steps before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pinst {

class TInstallLog {
 public:
  // The log file: inst2k.log in the temporary folder.
  static std::string Path();

  void Line(const std::string& text);
  // "<what>: 0x%08X".
  void Code(const std::string& what, uint32_t code);

  // Every line written through this object, for the caller and tests.
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// 0x%08X of a code.
std::string HexCode(uint32_t code);

}  // namespace pinst
