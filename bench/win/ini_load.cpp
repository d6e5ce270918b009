// install.ini load under Wine: the installer's reader (parse once, then every
// model's record) side by side with GetPrivateProfileStringA reading the same keys
// from the same file, as a plain port would. Prints one table row per size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../ini_gen.h"
#include "config/ini_file.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"

namespace {

using pinst::bench::RecordKeys;

double NowMs() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return t.QuadPart * 1000.0 / f.QuadPart;
}

// Both sides return the number of value bytes read, which must agree.
size_t LoadOurs(const std::string& path) {
  size_t bytes = 0;
  const auto ini = pinst::TIniFile::Load(path);
  if (!ini) return 0;
  for (const std::string& section : ini->ReadSections()) {
    for (const std::string& key : RecordKeys()) bytes += ini->ReadString(section, key, "").size();
  }
  return bytes;
}

size_t LoadPlatform(const std::string& path) {
  size_t bytes = 0;
  std::vector<char> names(16384);
  ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
  char value[2048];
  for (const char* s = names.data(); *s; s += std::strlen(s) + 1) {
    for (const std::string& key : RecordKeys()) {
      bytes += ::GetPrivateProfileStringA(s, key.c_str(), "", value, sizeof value, path.c_str());
    }
  }
  return bytes;
}

template <typename F>
double MedianMs(int runs, F&& f) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const double t0 = NowMs();
    f();
    ms.push_back(NowMs() - t0);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main() {
  pinst::win32::Win32Platform platform;
  char temp[MAX_PATH];
  ::GetTempPathA(sizeof temp, temp);
  int failures = 0;
  for (int models : {10, 100, 1000}) {
    const std::string path = std::string(temp) + "pi_bench_install.ini";
    pinst::Os().files->WriteWholeFile(path, pinst::bench::GenerateInstallIni(models));
    const size_t ours = LoadOurs(path);
    const size_t theirs = LoadPlatform(path);
    if (ours == 0 || ours != theirs) ++failures;
    const double oursMs = MedianMs(5, [&] { LoadOurs(path); });
    const double theirMs = MedianMs(models >= 1000 ? 1 : 3, [&] { LoadPlatform(path); });
    std::printf(
        "| 1. install.ini load, %d models | %.2f ms | GetPrivateProfileStringA %.1f ms "
        "| %.0fx faster | >= 100x at 1,000 |%s\n",
        models, oursMs, theirMs, theirMs / oursMs, ours == theirs ? "" : " VALUES DIFFER");
    ::DeleteFileA(path.c_str());
  }
  return failures == 0 ? 0 : 1;
}
