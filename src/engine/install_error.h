// The one error an install raises: a file the install cannot go on without. It
// carries a code and the file; the words for the user are chosen by the
// program from its text table.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pinst {

enum class TInstallFault : uint8_t {
  kLibraryMissing,          // the installer library cannot be loaded
  kLibraryFunctionMissing,  // the library lacks its install function
  kModelUnreadable,         // the INF names no model
  kInfUnreadable,           // the INF exists but cannot be read
};

class TInstallError : public std::runtime_error {
 public:
  TInstallError(TInstallFault fault, const std::string& file)
      : std::runtime_error(Describe(fault, file)), fault_(fault), file_(file) {}
  TInstallFault Fault() const { return fault_; }
  const std::string& File() const { return file_; }

 private:
  static std::string Describe(TInstallFault fault, const std::string& file) {
    switch (fault) {
      case TInstallFault::kLibraryMissing:
        return "installer library not loaded: " + file;
      case TInstallFault::kLibraryFunctionMissing:
        return "installer library without FuncInst2K: " + file;
      case TInstallFault::kModelUnreadable:
        return "no printer model in " + file;
      default:
        return "cannot read " + file;
    }
  }

  TInstallFault fault_;
  std::string file_;
};

}  // namespace pinst
