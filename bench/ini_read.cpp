// Host benchmark of the configuration reader: parse a generated install.ini and read
// every model's record, with the indexed reader and with a first-match scan of the
// same parsed data (how lookups worked before the index), side by side.
//   ini_read            the table for 10, 100 and 1,000 models
//   ini_read --once N   one load of N models (for instruction counts under callgrind)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "config/ini_file.h"
#include "ini_gen.h"

namespace {

using pinst::TIniFile;
using pinst::bench::RecordKeys;

constexpr uint32_t kCodePage = 1252;

// Keeps the optimiser from dropping reads whose results are unused.
size_t g_sink = 0;

__attribute__((noinline)) void LoadRecordsIndexed(const std::string& text) {
  const TIniFile ini = TIniFile::Parse(text, kCodePage);
  for (const std::string& section : ini.ReadSections()) {
    for (const std::string& key : RecordKeys()) g_sink += ini.ReadString(section, key, "").size();
  }
}

std::string ScanRead(const TIniFile& ini, const std::string& section, const std::string& key) {
  for (const TIniFile::Section& s : ini.Sections()) {
    if (!pinst::EqualsNoCase(s.name, section, kCodePage)) continue;
    for (const TIniFile::Key& k : s.keys) {
      if (pinst::EqualsNoCase(k.name, key, kCodePage)) return k.value;
    }
    break;
  }
  return "";
}

__attribute__((noinline)) void LoadRecordsScanned(const std::string& text) {
  const TIniFile ini = TIniFile::Parse(text, kCodePage);
  for (const std::string& section : ini.ReadSections()) {
    for (const std::string& key : RecordKeys()) g_sink += ScanRead(ini, section, key).size();
  }
}

// Median milliseconds of runs, repeated until about 0.3 s has passed (at least 3 runs).
template <typename F>
double MedianMs(F&& f) {
  std::vector<double> runs;
  double total = 0;
  while (runs.size() < 3 || (total < 300 && runs.size() < 201)) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    runs.push_back(ms);
    total += ms;
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--once") == 0) {
    LoadRecordsIndexed(pinst::bench::GenerateInstallIni(std::atoi(argv[2])));
    return g_sink == 0 ? 1 : 0;
  }
  const int sizes[] = {10, 100, 1000};
  double indexed[3];
  std::printf(
      "| models | indexed reader | first-match scan | scan / indexed | indexed per model |\n");
  std::printf("|---:|---:|---:|---:|---:|\n");
  for (int i = 0; i < 3; ++i) {
    const std::string text = pinst::bench::GenerateInstallIni(sizes[i]);
    indexed[i] = MedianMs([&] { LoadRecordsIndexed(text); });
    const double scanned = MedianMs([&] { LoadRecordsScanned(text); });
    std::printf("| %d | %.3f ms | %.3f ms | %.1fx | %.2f us |\n", sizes[i], indexed[i], scanned,
                scanned / indexed[i], indexed[i] * 1000 / sizes[i]);
  }
  // Ten times the models should cost about ten times the time; caches and the
  // machine's load move wall time, so the verdict is taken from instruction counts.
  const double growth = indexed[2] / indexed[1];
  std::printf("\nwall-time growth 100 -> 1,000 models: %.1fx (10x is linear)\n", growth);
  return g_sink == 0 ? 1 : 0;
}
