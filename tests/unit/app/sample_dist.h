// A small distribution folder on the simulated disk: install.ini and the INF
// files the models name.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sim/sim_windows.h"

namespace pinst::testdata {

// An INF whose models section (named by ProviderName) starts with modelName.
inline std::string InfNaming(const std::string& modelName) {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Maker]\r\n\"" + modelName +
         "\"=Model.Install,LPTENUM\\MakerModel1234,MakerModel1234\r\n\r\n[Strings]\r\nProviderName="
         "\"Maker\"\r\n";
}

// Two models: XP100 with all three documents and a hint, TP58 with neither.
inline void AddTwoModels(sim::SimWindows& win, const std::string& extraXp = "",
                         const std::string& extraTp = "") {
  win.files.AddFile("install.ini",
                    "[XP100]\r\nInstallSettingFile2K=i386\\XP100.inf\r\n"
                    "InstallGuide2=ReadmeEN.txt\r\nHandBook2=Manual\\XP100_EN.txt\r\n"
                    "QuickGuide2=Quick.txt\r\nHint2=Dot-matrix printer\r\n" +
                        extraXp +
                        "\r\n[TP58]\r\nInstallSettingFile2K=i386\\TP58.inf\r\n"
                        "InstallGuide2=Missing.txt\r\n" +
                        extraTp);
  win.files.AddFile("i386\\XP100.inf", InfNaming("Tessaly XP-100"));
  win.files.AddFile("i386\\TP58.inf", InfNaming("Tessaly TP-58"));
  win.files.AddFile("ReadmeEN.txt", "guide");
  win.files.AddFile("Manual\\XP100_EN.txt", "manual");
  win.files.AddFile("Quick.txt", "quick");
}

// dist/sample as the repository holds it, every file at its place in the folder.
inline void LoadSampleDistribution(sim::SimWindows& win) {
  const std::filesystem::path sample = std::filesystem::path(PI_SOURCE_DIR) / "dist" / "sample";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(sample)) {
    if (!entry.is_regular_file()) continue;
    std::string relative = std::filesystem::relative(entry.path(), sample).string();
    std::replace(relative.begin(), relative.end(), '/', '\\');
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    win.files.AddFile(relative, bytes.str());
  }
}

}  // namespace pinst::testdata
