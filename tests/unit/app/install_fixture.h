// A distribution with one USB/parallel model on the simulated Windows, the
// installer's windows as the program makes them, and the run read back as the
// sim's trace.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/installer_windows.h"
#include "config/lang_strings.h"
#include "platform/sim/sim_windows.h"
#include "platform/system.h"

namespace pinst::testdata {

inline const std::string kModel = "Tessaly XP-100";
inline const std::string kHwid = "TessalyXP-1009A2B";
inline const std::string kUsbDevice = "USBPRINT\\TESSALYXP-100\\7&1A2B&0&USB003";

class InstallTest : public ::testing::Test {
 protected:
  InstallTest() {
    InitLangStrings(0x0409);
    win.files.AddFile("i386\\XP100.inf",
                      "[Manufacturer]\r\n\"Tessaly\"=Tessaly\r\n\r\n[Tessaly]\r\n\"" + kModel +
                          "\"=XP100.Install,LPTENUM\\" + kHwid +
                          ",USBPRINT\\XP100Generic\r\n\r\n"
                          "[Strings]\r\nProviderName=\"Tessaly\"\r\n");
    win.spooler.AddPorts("USB", 3, "USB Monitor", "Virtual printer port for USB");
    // The library installs a printer of the model's name on the port it is given.
    lib.onInstall = [this](const sim::SimInstallCall& call) {
      if (!libraryAnswers.empty()) {
        lib.installResult = libraryAnswers.front().first;
        lib.lastInstallError = libraryAnswers.front().second;
        libraryAnswers.pop_front();
      }
      if (lib.installResult > 1 || win.spooler.Find(kModel)) return;
      win.spooler.drivers.push_back(kModel);
      win.spooler.AddLocalPrinter(kModel, kModel, call.portName);
    };
    ServiceRuns(true);
  }

  // install.ini with the model's section; extra lines come first, so that they
  // win over the section's own (the first key of a name counts).
  void WriteIni(const std::string& extra = "") {
    win.files.AddFile("install.ini", "[XP100]\r\n" + extra +
                                         "InstallSettingFile2K=i386\\XP100.inf\r\n"
                                         "InstallDll2K=i386\\inst2k.dll\r\nPrintProcess=\r\n");
  }
  void ServiceRuns(bool runs) {
    win.console.Script("sc query NvPrnMon",
                       {"SERVICE_NAME: NvPrnMon\r\n        STATE              : 1  STOPPED\r\n"});
    win.console.Script("sc start NvPrnMon",
                       {runs ? "        STATE              : 4  RUNNING\r\n" : "FAILED 1053\r\n"});
  }
  void UsbPrinterConnected() { lib.devices = {{kHwid, kUsbDevice, "Virtual port for USB003"}}; }
  void Wow64() {
    win.system.wow64 = true;
    win.files.AddFile("X64\\Instavo64.exe", "helper");
    win.files.AddFile("X64\\inst2k64.dll", "library");
  }
  std::unique_ptr<TInstallerWindows> Start(const std::vector<std::string>& args = {}) {
    auto windows = std::make_unique<TInstallerWindows>(args);
    if (!windows->Main.FHideMode) windows->Main.Show();
    win.trace.Clear();
    win.system.messageBoxAnswers.clear();
    return windows;
  }
  void Answer(std::initializer_list<int> answers) {
    win.system.messageBoxAnswers.insert(win.system.messageBoxAnswers.end(), answers);
  }

  // The trace without the library's questions about devices and its error
  // switch, which every run asks the same way.
  std::vector<std::string> Trace() const {
    std::vector<std::string> steps;
    for (const std::string& line : win.trace.Lines()) {
      if (line.rfind("FuncFindExistDevice", 0) == 0 || line.rfind("ShowErrorCode", 0) == 0 ||
          line.rfind("load ", 0) == 0) {
        continue;
      }
      steps.push_back(line);
    }
    return steps;
  }
  // The message boxes of the trace.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> boxes;
    for (const std::string& line : win.trace.Lines()) {
      if (line.rfind("box ", 0) == 0) boxes.push_back(line);
    }
    return boxes;
  }

  // FuncInst2K's result and last error for the next installs, in order.
  std::deque<std::pair<int32_t, uint32_t>> libraryAnswers;
  sim::SimWindows win;
  sim::SimInstallerLibrary& lib = win.libraries.AddLibrary("i386\\inst2k.dll");
};

// A trace line for a message box.
inline std::string Box(uint32_t flags, const std::string& caption, const std::string& text,
                       int answer) {
  char head[32];
  std::snprintf(head, sizeof head, "box %02X ", static_cast<unsigned>(flags));
  return head + caption + ": " + text + " -> " + std::to_string(answer);
}

// The box of a failed install with its code as eight hexadecimal digits.
inline std::string Failure(const std::string& code) {
  return Box(kMbOk | kMbIconError, "Notice",
             "Driver Install Fail Now(0x" + code + ")\r\nPlease Retry in wait for a minute !",
             kIdOk);
}

}  // namespace pinst::testdata
