// The text table's formats filled in. Input: a code (4 bytes from the end), the
// format (a random-length string), the text.
#include "config/lang_format.h"
#include "fuzz_input.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint32_t code = in.ConsumeIntegral<uint32_t>();
  const std::string format = in.ConsumeRandomLengthString();
  const std::string text = in.ConsumeRemainingBytesAsString();
  FormatText(format, text);
  // A code has at most 8 digits; a precision may ask for more (capped by the buffer).
  fuzz::Require(FormatCode(format, code).size() <= format.size() * 112);
  return 0;
}
