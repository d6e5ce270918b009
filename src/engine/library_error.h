// The one error the installer raises: the installer library, or its install
// function, is missing. Caught at the top and shown in a message box.
#pragma once

#include <stdexcept>
#include <string>

namespace pinst {

class TLibraryError : public std::runtime_error {
 public:
  // text is the text-table message (Lang().StrDllNotFound or StrDllFunctionBad).
  explicit TLibraryError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace pinst
