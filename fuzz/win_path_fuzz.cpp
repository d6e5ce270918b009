// Windows path arithmetic and the ANSI text helpers under it. Input: the current
// folder (a random-length string), the path, then one code-page byte.
#include "base/ansi_text.h"
#include "base/win_path.h"
#include "fuzz_input.h"

using namespace pinst;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint32_t codePage = fuzz::PickCodePage(in);
  const std::string folder = in.ConsumeRandomLengthString();
  const std::string path = in.ConsumeRemainingBytesAsString();

  const std::string absolute = AbsolutePath(folder, path, codePage);
  fuzz::Require(!absolute.empty());
  fuzz::Require(FolderOf(path, codePage) + FileNameOf(path, codePage) == path);
  fuzz::Require(FileNameStart(path, codePage) <= path.size());
  RelativePath(AbsolutePath(folder, ".", codePage), absolute, codePage);
  RelativePath(folder, path, codePage);

  const std::string upper = AsciiUpper(path, codePage);
  fuzz::Require(upper.size() == path.size() && EqualsNoCase(upper, path, codePage));
  const size_t at = FindSingleByte(path, '\\', codePage);
  fuzz::Require(at == std::string::npos || path[at] == '\\');
  fuzz::Require(TrimControls(path).size() <= path.size());
  return 0;
}
