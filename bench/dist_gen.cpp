// Writes a distribution folder's install.ini with N models (bench/ini_gen.h) and each
// model's INF, for the start-up benchmark under Wine: dist_gen FOLDER N.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ini_gen.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

std::string Inf(int i) {
  const std::string n = std::to_string(i);
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
         "Provider=%ProviderName%\r\n\r\n[Manufacturer]\r\n%ProviderName%=Bench\r\n\r\n"
         "[Bench]\r\n\"Bench Model " +
         n + "\"=M" + n + ".Install,LPTENUM\\BenchModel" + n + "\r\n\r\n[M" + n +
         ".Install]\r\nDriverFile=UNIDRV.DLL\r\n\r\n"
         "[Strings]\r\nProviderName=\"Bench\"\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dist_gen FOLDER MODELS\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const int models = std::atoi(argv[2]);
  std::filesystem::create_directories(root);
  if (!WriteFile(root / "install.ini", pinst::bench::GenerateInstallIni(models))) return 1;
  for (int i = 0; i < models; ++i) {
    // The same path the generated install.ini names, in Linux form.
    const std::filesystem::path folder = root / "drivers" / ("model" + std::to_string(i));
    std::filesystem::create_directories(folder);
    if (!WriteFile(folder / ("prn" + std::to_string(i) + ".inf"), Inf(i))) return 1;
  }
  return 0;
}
