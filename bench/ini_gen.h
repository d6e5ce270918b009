// A generated install.ini and the keys one model's record is read from, shared by
// the host and Windows reader benchmarks.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace pinst::bench {

// The keys TIniOptions reads for one model, in its order (English guide keys).
inline const std::vector<std::string>& RecordKeys() {
  static const std::vector<std::string> keys = {"InstallSettingFile2K",
                                                "InstallGuide2",
                                                "QuickGuide2",
                                                "HandBook2",
                                                "Hint2",
                                                "SelectPort",
                                                "DefaultPortName",
                                                "ForceOnlineCheck",
                                                "PromptCheck",
                                                "InstallDll2K",
                                                "UnInstallImage2K",
                                                "RegSetImage2000",
                                                "InstallImage64",
                                                "Installdll64",
                                                "UnInstallImage2K",
                                                "AutoMode",
                                                "QuiteMode",
                                                "PrintProcess",
                                                "BeforeRun",
                                                "AfterRun",
                                                "ServiceName",
                                                "ServiceExe",
                                                "ForceUninstallService",
                                                "NTX86FilesPath",
                                                "NTX64FilesPath",
                                                "NTIA64FilesPath"};
  return keys;
}

// Short names, so 1,000 of them fit the 16,384-byte section list and every record loads.
inline std::string ModelSection(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "P%04d", i);
  return name;
}

// Each model sets most keys, in file order unlike the read order; a few are left
// out so some reads fall back to their defaults.
inline std::string GenerateInstallIni(int models) {
  std::string text;
  for (int i = 0; i < models; ++i) {
    const std::string n = std::to_string(i);
    text += "[" + ModelSection(i) + "]\r\n";
    text += "; model " + n + "\r\n";
    text += "NTIA64FilesPath=IA64\r\nNTX64FilesPath=X64\r\nNTX86FilesPath=I386\r\n";
    text += "InstallSettingFile2K=drivers\\model" + n + "\\prn" + n + ".inf\r\n";
    text += "InstallGuide2=docs\\guide" + n + ".pdf\r\nQuickGuide2=docs\\quick" + n + ".pdf\r\n";
    text += "HandBook2=docs\\book" + n + ".pdf\r\nHint2=Model " + n + " on the parallel port\r\n";
    text += "SelectPort=1\r\nDefaultPortName=LPT1:\r\nForceOnlineCheck=0\r\nPromptCheck=1\r\n";
    text += "InstallDll2K=i386\\inst2k.dll\r\nUnInstallImage2K=i386\\NvPrnUni.exe\r\n";
    text += "RegSetImage2000=i386\\Setup\r\nInstallImage64=X64\\Instavo64.exe\r\n";
    text += "AutoMode=0\r\nQuiteMode=0\r\nPrintProcess=WinPrint\r\n";
    text += "ServiceName=\r\nForceUninstallService=0\r\n";
  }
  return text;
}

}  // namespace pinst::bench
