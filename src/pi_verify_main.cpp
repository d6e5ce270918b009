// pi-verify FOLDER [--json] [--codepage=N]: the distribution check on a build
// machine. Prints the findings (lines, or one JSON array) and ends with 0 when there
// are no errors, 1 when there are, 2 when the folder cannot be read.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/host/host_files.h"
#include "platform/platform.h"
#include "platform/sim/sim_system.h"
#include "verify/verify.h"

using namespace pinst;

namespace {

constexpr const char* kUsage =
    "usage: pi-verify FOLDER [--json] [--codepage=N]\n"
    "  Checks a distribution folder (install.ini, INF files, libraries, the 64-bit\n"
    "  helper and the files they name) the way the installer reads it.\n"
    "  --codepage=N  the ANSI code page of the folder's texts (default 1252; 936 GBK,\n"
    "                950 Big5)\n"
    "  exit code: 0 no errors, 1 errors, 2 the folder cannot be read\n";

// Texts in the distribution's code page, for a UTF-8 terminal or JSON reader.
std::string ToUtf8(const std::string& text, uint32_t codePage) {
  const std::string from = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("UTF-8", from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out;
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char buf[256];
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buf, outPtr);
    if (done == static_cast<size_t>(-1) && errno != E2BIG) {
      out += '?';  // a byte the code page does not map
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool json = false;
  uint32_t codePage = 1252;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      json = true;
    } else if (arg.starts_with("--codepage=")) {
      codePage = static_cast<uint32_t>(std::strtoul(arg.c_str() + 11, nullptr, 10));
    } else if (folder.empty() && !arg.starts_with("-")) {
      folder = arg;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (folder.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  // The real folder, and of the system only its code page and the conversion of
  // UTF-16 text into it, which the sim's system model gives without a Windows.
  HostFiles files(folder, codePage);
  sim::SimClock clock;
  sim::SimSystem system(clock);
  system.codePage = codePage;
  Platform platform;
  platform.files = &files;
  platform.system = &system;
  InstallPlatform(platform);

  std::vector<TFinding> findings = VerifyDistribution(files.CurrentDirectory());
  for (TFinding& f : findings) {
    for (std::string* text : {&f.file, &f.where, &f.message}) *text = ToUtf8(*text, codePage);
    if (f.code == kFolderUnreadable) f.file = folder;  // as the user typed it
  }
  if (json) {
    std::fputs(FindingsJson(findings).c_str(), stdout);
  } else {
    for (const TFinding& f : findings) std::printf("%s\n", FormatFinding(f).c_str());
  }
  return VerifyExitCode(findings);
}
