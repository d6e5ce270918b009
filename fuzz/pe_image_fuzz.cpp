// The PE reader of the distribution check on any file a maker might put where a
// library or the 64-bit helper belongs. Input: the file's bytes.
#include <string_view>

#include "fuzz_input.h"
#include "verify/pe_image.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TPeImage image = ReadPeImage(std::string_view(reinterpret_cast<const char*>(data), size));
  // A broken file still says what it is; names are whole C strings from the file.
  if (image.problem == TPeProblem::kNotMz) fuzz::Require(image.exportNames.empty());
  for (const std::string& name : image.exportNames) {
    fuzz::Require(name.size() <= 512 && name.find('\0') == std::string::npos);
  }
  fuzz::Require(image.exportNames.size() <= size / 4);
  return 0;
}
