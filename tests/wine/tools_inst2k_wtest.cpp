// The test installer library and the 64-bit helper, as built into tools/out/, against
// Wine's real loader, spooler and window messages. Each test works in a scratch copy
// of the tools so it can write their INI files freely.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "engine/helper_protocol.h"
#include "wine_stage.h"

namespace pinst {
namespace {

using FuncInst2KFn = int32_t(__stdcall*)(const char*, const char*, const char*, HWND);
using FuncFindExistDeviceFn = BOOL(__stdcall*)(const char*, char*, char*);
using ShowErrorCodeFn = void(__stdcall*)(BOOL);
using LastInstallErrorCodeFn = uint32_t(__stdcall*)();

constexpr char kModel[] = "Tessaly XP-100 Tools Test";
constexpr char kHardwareId[] = "TessalyXP-1009A2B";
constexpr char kUsbDeviceId[] = "USBPRINT\\TESSALYXP-1009A2B\\7&1F2E&0&USB003";
constexpr char kParallelDeviceId[] = "LPTENUM\\TESSALYXP-1009A2B\\1&7D5A0F&0&LPT1.4";
constexpr uint32_t kNoSuchDevinst = 0xE000020B;
constexpr uint32_t kNoCatalogForOemInf = 0xE000022F;

using wine::DeleteTree;
using wine::ReadText;
using wine::WriteText;

std::string ToolsOut32() { return wine::ToolsI386(); }
std::string ToolsOut64() { return wine::ToolsX64(); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Inf(const std::string& model) {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nProvider=%ProviderName%\r\n\r\n"
         "[Manufacturer]\r\n%ProviderName%=TessalyTest\r\n\r\n"
         "[TessalyTest]\r\n\"" +
         model + "\"=XP100.Install,LPTENUM\\" + kHardwareId + ",USBPRINT\\" + kHardwareId +
         "\r\n\"Second Model\"=XP100.Install,LPTENUM\\Other\r\n\r\n"
         "[XP100.Install]\r\nDriverFile=UNIDRV.DLL\r\n\r\n"
         "[Strings]\r\nProviderName=\"TessalyTest\"\r\n";
}

struct PrinterSeen {
  std::string port;
  std::string driver;
};

// Printers of this name the spooler lists, with their port and driver.
std::vector<PrinterSeen> PrintersNamed(const std::string& name) {
  DWORD needed = 0, count = 0;
  ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  std::vector<PrinterSeen> found;
  if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) {
    return found;
  }
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (name == printers[i].pPrinterName) {
      found.push_back({printers[i].pPortName, printers[i].pDriverName});
    }
  }
  return found;
}

void DeletePrintersNamed(const std::string& name) {
  for (size_t i = 0; i < PrintersNamed(name).size() + 1; ++i) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &access)) break;
    ::DeletePrinter(printer);
    ::ClosePrinter(printer);
  }
  // The 64-bit helper's library adds its driver for the x64 environment.
  for (const char* environment : {static_cast<const char*>(nullptr), "Windows x64"}) {
    ::DeletePrinterDriverA(nullptr, const_cast<char*>(environment),
                           const_cast<char*>(name.c_str()));
  }
}

// A scratch distribution: <temp>\pinst_tools_<pid>\ with i386\ and X64\ below it.
class ToolsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "pinst_tools_" + std::to_string(::GetCurrentProcessId()) + "\\";
    DeleteTree(root_);
    ASSERT_TRUE(::CreateDirectoryA(root_.c_str(), nullptr));
    ::CreateDirectoryA((root_ + "i386").c_str(), nullptr);
    ::CreateDirectoryA((root_ + "X64").c_str(), nullptr);
    WriteText(root_ + "i386\\T.inf", Inf(kModel));
    ::GetCurrentDirectoryA(MAX_PATH, previousDirectory_);
    DeletePrintersNamed(kModel);
  }
  void TearDown() override {
    ::SetCurrentDirectoryA(previousDirectory_);
    DeletePrintersNamed(kModel);
    DeleteTree(root_);
  }

  static std::string Device(int n, const std::string& deviceId, const std::string& portText,
                            const std::string& hardwareId = kHardwareId) {
    return "[Device" + std::to_string(n) + "]\r\nHardwareId=" + hardwareId +
           "\r\nDeviceId=" + deviceId + "\r\nPortText=" + portText + "\r\n";
  }

  std::string root_;
  char previousDirectory_[MAX_PATH] = {};
};

// The 32-bit library loaded into this process.
class Library32 : public ToolsFixture {
 protected:
  void SetUp() override {
    ToolsFixture::SetUp();
    ASSERT_TRUE(::CopyFileA((ToolsOut32() + "inst2k.dll").c_str(),
                            (root_ + "i386\\inst2k.dll").c_str(), FALSE))
        << "build the i686 tools first: " << ToolsOut32();
    library_ = ::LoadLibraryA((root_ + "i386\\inst2k.dll").c_str());
    ASSERT_NE(library_, nullptr);
    install_ = Export<FuncInst2KFn>("FuncInst2K");
    find_ = Export<FuncFindExistDeviceFn>("FuncFindExistDevice");
    show_ = Export<ShowErrorCodeFn>("ShowErrorCode");
    lastError_ = Export<LastInstallErrorCodeFn>("LastInstallErrorCode");
    ASSERT_TRUE(install_ && find_ && show_ && lastError_);
  }
  void TearDown() override {
    if (library_) ::FreeLibrary(library_);
    ToolsFixture::TearDown();
  }

  template <typename Fn>
  Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library_, name)));
  }
  void Configure(const std::string& ini) { WriteText(root_ + "i386\\inst2k.ini", ini); }
  std::vector<std::string> Log() { return Lines(ReadText(root_ + "i386\\inst2k.log")); }
  std::string InfPath() { return root_ + "i386\\T.inf"; }

  HMODULE library_ = nullptr;
  FuncInst2KFn install_ = nullptr;
  FuncFindExistDeviceFn find_ = nullptr;
  ShowErrorCodeFn show_ = nullptr;
  LastInstallErrorCodeFn lastError_ = nullptr;
};

// The names in a loaded library's export table.
std::vector<std::string> ExportNames(HMODULE library) {
  const auto* base = reinterpret_cast<const BYTE*>(library);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::vector<std::string> names;
  if (entry.Size == 0) return names;
  const auto* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    names.push_back(reinterpret_cast<const char*>(base + nameOffsets[i]));
  }
  return names;
}

#ifndef _WIN64
uintptr_t StackPointer() {
  uintptr_t sp = 0;
  asm volatile("mov %%esp, %0" : "=r"(sp));
  return sp;
}
#endif

TEST_F(Library32, FourPlainExportsThatCleanUpTheirOwnArguments) {
  EXPECT_EQ(ExportNames(library_),
            (std::vector<std::string>{"FuncFindExistDevice", "FuncInst2K", "LastInstallErrorCode",
                                      "ShowErrorCode"}));
  EXPECT_EQ(::GetProcAddress(library_, "FuncInst2K@16"), nullptr);
  EXPECT_EQ(::GetProcAddress(library_, "_FuncInst2K@16"), nullptr);
  EXPECT_EQ(::GetProcAddress(library_, "funcinst2k"), nullptr);  // names are case-sensitive

#ifndef _WIN64
  // A function that left its arguments on the stack would move the stack pointer. (x64
  // has one calling convention, in which the caller cleans up.)
  char device[260] = {}, port[260] = {};
  const uintptr_t before = StackPointer();
  show_(FALSE);
  find_("nothing", device, port);
  lastError_();
  install_("", "nothing", "LPT1:", nullptr);
  const uintptr_t after = StackPointer();
  EXPECT_EQ(before, after);
#endif
}

TEST_F(Library32, FindExistDeviceAnswersFromItsIniReadOnEveryCall) {
  char device[260], port[260];
  auto ask = [&](const char* id) {
    std::memset(device, 'x', sizeof device);
    std::memset(port, 'x', sizeof port);
    return find_(id, device, port);
  };
  EXPECT_FALSE(ask(kHardwareId)) << "no inst2k.ini: no devices";
  EXPECT_STREQ(device, "");
  EXPECT_STREQ(port, "");

  Configure(Device(1, kParallelDeviceId, "LPT1") +
            Device(2, kUsbDeviceId, "Virtual printer port for USB003", "TessalyTP-58D1C0"));
  EXPECT_TRUE(ask("tessalyxp-1009a2b")) << "hardware ids compare without letter case";
  EXPECT_STREQ(device, kParallelDeviceId);
  EXPECT_STREQ(port, "LPT1");
  EXPECT_TRUE(ask("TessalyTP-58D1C0"));
  EXPECT_STREQ(device, kUsbDeviceId);
  EXPECT_STREQ(port, "Virtual printer port for USB003");
  EXPECT_FALSE(ask("TessalyXP-1009A2"));
  EXPECT_STREQ(device, "");
  EXPECT_FALSE(ask(""));

  // Texts longer than the 260-byte buffers come back cut, still zero-terminated.
  Configure(Device(1, std::string(400, 'D'), std::string(300, 'P')));
  EXPECT_TRUE(ask(kHardwareId));
  EXPECT_EQ(std::string(device), std::string(259, 'D'));
  EXPECT_EQ(std::string(port), std::string(259, 'P'));
}

TEST_F(Library32, OnlineInstallWithoutThePresentDeviceFailsWithNoSuchDevinst) {
  Configure(Device(1, kUsbDeviceId, "USB003", "TessalyXP-1009A2C"));
  EXPECT_EQ(install_(InfPath().c_str(), kHardwareId, "LPT1:", nullptr), 2);
  EXPECT_EQ(lastError_(), kNoSuchDevinst);
  EXPECT_TRUE(PrintersNamed(kModel).empty());
}

TEST_F(Library32, InstallAddsAPrinterOfTheModelNameOnTheGivenPort) {
  Configure(Device(1, kParallelDeviceId, "LPT1"));
  ASSERT_TRUE(::SetCurrentDirectoryA(root_.c_str()));  // a relative INF path is taken from here
  const int32_t result =
      install_("i386\\T.inf", kHardwareId, "LPT2:", reinterpret_cast<HWND>(uintptr_t{4242}));
  EXPECT_LE(result, 1);
  EXPECT_EQ(lastError_(), 0u);
  const auto printers = PrintersNamed(kModel);
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0].port, "LPT2:");
  EXPECT_EQ(printers[0].driver, kModel);

  // A second install leaves the one printer as it is.
  EXPECT_LE(install_("i386\\T.inf", kHardwareId, "LPT3:", nullptr), 1);
  ASSERT_EQ(PrintersNamed(kModel).size(), 1u);
  EXPECT_EQ(PrintersNamed(kModel)[0].port, "LPT2:");

  const auto log = Log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0],
            "FuncInst2K inf=\"i386\\T.inf\" hwid=\"TessalyXP-1009A2B\" port=\"LPT2:\" "
            "owner=4242 -> 0 error=0x00000000");
  EXPECT_EQ(log[1], "  driver \"Tessaly XP-100 Tools Test\" added");
}

TEST_F(Library32, MissingPortFallsBackToLpt1AndSaysSo) {
  Configure(Device(1, kUsbDeviceId, "USB003"));
  EXPECT_LE(install_(InfPath().c_str(), kHardwareId, "USB003", nullptr), 1);
  const auto printers = PrintersNamed(kModel);
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0].port, "LPT1:");
  const std::string log = ReadText(root_ + "i386\\inst2k.log");
  EXPECT_NE(log.find("  port \"USB003\" does not exist, using \"LPT1:\""), std::string::npos)
      << log;
}

TEST_F(Library32, OfflineIdNeedsNoPresentDevice) {
  EXPECT_LE(install_(InfPath().c_str(), "LPTOFFLINE\\TessalyXP-1009A2B", "LPT1:", nullptr), 1);
  EXPECT_EQ(lastError_(), 0u);
  EXPECT_EQ(PrintersNamed(kModel).size(), 1u);
}

TEST_F(Library32, FixedOutcomeIsReturnedWithoutInstalling) {
  Configure(Device(1, kParallelDeviceId, "LPT1") +
            "[Install]\r\nResult=2\r\nErrorCode=0xE000022F\r\n");
  EXPECT_EQ(install_(InfPath().c_str(), kHardwareId, "LPT1:", nullptr), 2);
  EXPECT_EQ(lastError_(), kNoCatalogForOemInf);
  EXPECT_TRUE(PrintersNamed(kModel).empty());

  Configure("[Install]\r\nResult=-1\r\n");
  EXPECT_EQ(install_(InfPath().c_str(), kHardwareId, "LPT1:", nullptr), -1);
  EXPECT_EQ(lastError_(), 0u);
  EXPECT_TRUE(PrintersNamed(kModel).empty());
}

TEST_F(Library32, UnreadableInfFailsWithAFileOrSectionCode) {
  Configure(Device(1, kParallelDeviceId, "LPT1"));
  EXPECT_EQ(install_((root_ + "i386\\missing.inf").c_str(), kHardwareId, "LPT1:", nullptr), 2);
  EXPECT_EQ(lastError_(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  WriteText(root_ + "i386\\bare.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
  EXPECT_EQ(install_((root_ + "i386\\bare.inf").c_str(), kHardwareId, "LPT1:", nullptr), 2);
  EXPECT_EQ(lastError_(), 0xE0000101u);
  EXPECT_TRUE(PrintersNamed(kModel).empty());
}

TEST_F(Library32, EveryCallIsLoggedWithItsArguments) {
  char device[260] = {}, port[260] = {};
  show_(FALSE);
  find_(kHardwareId, device, port);
  install_(nullptr, kHardwareId, "LPT1:", nullptr);
  lastError_();
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "ShowErrorCode show=0",
                       "FuncFindExistDevice hwid=\"TessalyXP-1009A2B\" -> 0",
                       "FuncInst2K inf=(null) hwid=\"TessalyXP-1009A2B\" port=\"LPT1:\" owner=0 "
                       "-> 2 error=0xE000020B",
                       "LastInstallErrorCode -> 0xE000020B",
                   }));
}

// --- The 64-bit helper, started the way the installer starts it, reporting to a window of
// this program. Only a 64-bit prefix can run it.

std::vector<MSG> g_reports;

LRESULT CALLBACK ReportWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INSTALL_FAILED || message == WM_INSTALL_SUCCEEDED) {
    g_reports.push_back(MSG{window, message, wParam, lParam, 0, {}});
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

class Helper64 : public ToolsFixture {
 protected:
  void SetUp() override {
#ifndef _WIN64
    BOOL wow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow64);
    if (!wow64) GTEST_SKIP() << "the 64-bit helper needs a 64-bit prefix";
#endif
    ToolsFixture::SetUp();
    for (const char* file : {"Instavo64.exe", "inst2k64.dll"}) {
      ASSERT_TRUE(
          ::CopyFileA((ToolsOut64() + file).c_str(), (root_ + "X64\\" + file).c_str(), FALSE))
          << "build the x86_64 tools first: " << ToolsOut64();
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ReportWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ToolsHelperReports";
    ::RegisterClassA(&windowClass);
    window_ = ::CreateWindowA("ToolsHelperReports", "reports", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    g_reports.clear();
  }
  void TearDown() override {
    if (window_) ::DestroyWindow(window_);
    if (!IsSkipped()) ToolsFixture::TearDown();
  }

  void Configure(const std::string& ini) { WriteText(root_ + "X64\\inst2k.ini", ini); }

  // Starts the helper from the distribution folder as the installer does, waits for it
  // while dispatching this thread's messages, then takes what is left in the queue.
  DWORD Run(const std::string& arguments) {
    ::SetCurrentDirectoryA(root_.c_str());
    std::string commandLine = "X64\\Instavo64.exe" + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                          nullptr, (root_ + "X64\\").c_str(), &startup, &process)) {
      ADD_FAILURE() << "CreateProcessA failed with " << ::GetLastError();
      return 0xFFFFFFFF;
    }
    ::CloseHandle(process.hThread);
    for (;;) {
      const DWORD wait =
          ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 60000, QS_ALLINPUT);
      DispatchPending();
      if (wait != WAIT_OBJECT_0 + 1) break;  // ended, or gave up waiting
    }
    DispatchPending();
    DWORD exitCode = STILL_ACTIVE;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    if (exitCode == STILL_ACTIVE) {
      ADD_FAILURE() << "the helper did not end";
      ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hProcess);
    return exitCode;
  }

  std::string Standard(const std::string& hardwareId) {
    return " /Handle " + std::to_string(reinterpret_cast<uintptr_t>(window_)) +
           " /Dll \"inst2k64.dll\" /Inf \"..\\i386\\T.inf\" /HWID " + hardwareId;
  }

  static void DispatchPending() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }

  HWND window_ = nullptr;
};

TEST_F(Helper64, SuccessIsOneSucceededReportAndExitCodeZero) {
  Configure(Device(1, kUsbDeviceId, "Virtual printer port for USB003"));
  EXPECT_EQ(Run(Standard(kHardwareId)), 0u);
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(g_reports[0].message, static_cast<UINT>(WM_INSTALL_SUCCEEDED));
  EXPECT_EQ(g_reports[0].hwnd, window_);

  // The USB device's port text gives the port; Wine has no USB003, so LPT1: was used.
  const std::vector<std::string> log = Lines(ReadText(root_ + "X64\\inst2k.log"));
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], "ShowErrorCode show=0");
  EXPECT_EQ(
      log[2].substr(0, log[2].find(" owner=")),
      "FuncInst2K inf=\"" + root_ + "i386\\T.inf\" hwid=\"TessalyXP-1009A2B\" port=\"USB003\"");
  EXPECT_EQ(
      log[2].substr(log[2].find(" owner=")),
      " owner=" + std::to_string(reinterpret_cast<uintptr_t>(window_)) + " -> 0 error=0x00000000");
  const auto printers = PrintersNamed(kModel);
  ASSERT_EQ(printers.size(), 1u) << "the 64-bit spooler client's printer is seen from here";
  EXPECT_EQ(printers[0].port, "LPT1:");
}

TEST_F(Helper64, ParallelOrOfflineDeviceGoesToLpt1) {
  Configure(Device(1, kParallelDeviceId, "Printer port LPT2"));
  EXPECT_EQ(Run(Standard(kHardwareId)), 0u);
  EXPECT_EQ(Run(Standard("LPTOFFLINE\\TessalyXP-1009A2B")), 0u);
  ASSERT_EQ(g_reports.size(), 2u);
  EXPECT_EQ(g_reports[0].message, static_cast<UINT>(WM_INSTALL_SUCCEEDED));
  EXPECT_EQ(g_reports[1].message, static_cast<UINT>(WM_INSTALL_SUCCEEDED));
  const std::string log = ReadText(root_ + "X64\\inst2k.log");
  EXPECT_NE(log.find("hwid=\"TessalyXP-1009A2B\" port=\"LPT1:\""), std::string::npos) << log;
  EXPECT_NE(log.find("hwid=\"LPTOFFLINE\\TessalyXP-1009A2B\" port=\"LPT1:\""), std::string::npos)
      << log;
}

TEST_F(Helper64, FailureIsOneFailedReportWithTheLibraryCode) {
  // No device present: the library's own code, carried whole by the exit code too.
  EXPECT_EQ(Run(Standard(kHardwareId)), kNoSuchDevinst);
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(g_reports[0].message, static_cast<UINT>(WM_INSTALL_FAILED));
  EXPECT_EQ(static_cast<uint32_t>(g_reports[0].lParam), kNoSuchDevinst);
  EXPECT_TRUE(PrintersNamed(kModel).empty());

  g_reports.clear();
  Configure("[Install]\r\nResult=2\r\nErrorCode=0xE000022F\r\n");
  EXPECT_EQ(Run(Standard(kHardwareId)), kNoCatalogForOemInf);
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(static_cast<uint32_t>(g_reports[0].lParam), kNoCatalogForOemInf);

  // A failure without a code still reports (LParam 0) and still exits non-zero.
  g_reports.clear();
  Configure("[Install]\r\nResult=5\r\n");
  EXPECT_EQ(Run(Standard(kHardwareId)), static_cast<DWORD>(ERROR_INSTALL_FAILURE));
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(g_reports[0].message, static_cast<UINT>(WM_INSTALL_FAILED));
  EXPECT_EQ(g_reports[0].lParam, 0);
}

TEST_F(Helper64, ItsOwnFailuresAreReportedToo) {
  const std::string handle = " /Handle " + std::to_string(reinterpret_cast<uintptr_t>(window_));
  EXPECT_EQ(Run(handle + " /Dll \"missing64.dll\" /Inf \"..\\i386\\T.inf\" /HWID X"),
            static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(g_reports[0].message, static_cast<UINT>(WM_INSTALL_FAILED));
  EXPECT_EQ(g_reports[0].lParam, ERROR_MOD_NOT_FOUND);

  g_reports.clear();
  EXPECT_EQ(Run(handle + " /Dll \"inst2k64.dll\" /Inf \"..\\i386\\T.inf\""),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  ASSERT_EQ(g_reports.size(), 1u);
  EXPECT_EQ(g_reports[0].lParam, ERROR_INVALID_PARAMETER);

  // Without a window there is nobody to tell; only the exit code speaks.
  g_reports.clear();
  EXPECT_EQ(Run(" /Dll \"inst2k64.dll\" /Inf \"..\\i386\\T.inf\" /HWID X"),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(g_reports.empty());
}

}  // namespace
}  // namespace pinst
