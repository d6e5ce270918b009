// The driver installation engine against the real Windows layer and the companion
// programs: the test installer library, the 64-bit helper, the device console, the
// web-print control and the settings tool.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include "engine/hardware_ids.h"
#include "engine/helper_protocol.h"
#include "engine/install_error.h"
#include "engine/library_bridge.h"
#include "engine/printer_settings.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "platform/win32/win32_platform.h"
#include "sys/win_version.h"
#include "wine_stage.h"

namespace pinst {
namespace {

const char kInf[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
    "[Manufacturer]\r\n%ProviderName%=Tessaly\r\n\r\n"
    "[Tessaly]\r\n"
    "\"Tessaly XP-100\"=XP100.Install,LPTENUM\\TessalyXP-1009A2B,USBPRINT\\TessalyXP-100\r\n\r\n"
    "[XP100.Install]\r\nDataFile=XP100.gpd\r\nDriverFile=UNIDRV.DLL\r\n\r\n"
    "[Strings]\r\nProviderName=\"Tessaly\"\r\n";
const char kModel[] = "Tessaly XP-100";
const char kUsbDevice[] = "USBPRINT\\TESSALYXP-100\\7&1F2E&0&USB003";

void DeletePrinterNamed(const char* name) {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (::OpenPrinterA(const_cast<char*>(name), &printer, &defaults)) {
    ::DeletePrinter(printer);
    ::ClosePrinter(printer);
  }
}

// The fields a test looks at, read straight from the spooler.
struct PrinterFacts {
  bool found = false;
  std::string port;
  std::string processor;
  DWORD attributes = 0;
};

PrinterFacts ReadPrinter(const char* name) {
  PrinterFacts facts;
  HANDLE printer = nullptr;
  if (!::OpenPrinterA(const_cast<char*>(name), &printer, nullptr)) return facts;
  DWORD needed = 0;
  ::GetPrinterA(printer, 2, nullptr, 0, &needed);
  std::string buffer(needed, '\0');
  if (needed > 0 &&
      ::GetPrinterA(printer, 2, reinterpret_cast<BYTE*>(buffer.data()), needed, &needed)) {
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    facts.found = true;
    facts.port = info->pPortName ? info->pPortName : "";
    facts.processor = info->pPrintProcessor ? info->pPrintProcessor : "";
    facts.attributes = info->Attributes;
  }
  ::ClosePrinter(printer);
  return facts;
}

std::string DefaultPrinter() {
  char name[260] = {};
  DWORD size = sizeof name;
  return ::GetDefaultPrinterA(name, &size) ? name : "";
}

class RealEngine : public ::testing::Test {
 protected:
  RealEngine() : stage("engine") {
    DeletePrinterNamed(kModel);
    wine::WriteText(stage.Root() + "i386\\XP100.inf", kInf);
  }
  ~RealEngine() override { DeletePrinterNamed(kModel); }

  // Takes a companion program into the stage; the test fails when it was not built.
  void Take(const std::string& from, const std::string& to) {
    ASSERT_TRUE(stage.Take(from, to)) << from << " missing: build the tools first";
  }
  // A device the test library (32-bit: i386, 64-bit: X64) reports as present.
  void AddDevice(const char* folder, const char* hardwareId, const char* deviceId,
                 const char* portText) {
    const std::string ini = stage.Root() + folder + "\\inst2k.ini";
    ::WritePrivateProfileStringA("Device1", "HardwareId", hardwareId, ini.c_str());
    ::WritePrivateProfileStringA("Device1", "DeviceId", deviceId, ini.c_str());
    ::WritePrivateProfileStringA("Device1", "PortText", portText, ini.c_str());
  }
  std::string Log(const char* file) { return wine::ReadText(stage.Root() + file); }

  win32::Win32Platform platform;
  wine::Stage stage;
  uint32_t errorCode = 99;
  std::string port = "before";

  bool Install(uintptr_t owner, const char* prefix, bool online) {
    TLibraryInstall request;
    request.ownerWindow = owner;
    request.infPath = "i386\\XP100.inf";
    request.offlinePrefix = prefix;
    request.libraryPath = "i386\\inst2k.dll";
    request.online = online;
    return InstallByLibrary(request, errorCode, port);
  }
  void StartHelper(uintptr_t owner, ProcessHandle& helper) {
    THelperStart request;
    request.ownerWindow = owner;
    request.helperPath = "X64\\Instavo64.exe";
    request.infPath = "i386\\XP100.inf";
    request.offlinePrefix = "LPTOFFLINE\\";
    request.library64Path = "X64\\inst2k64.dll";
    request.library32Path = "i386\\inst2k.dll";
    StartHelper64(request, helper, port);
  }
};

TEST_F(RealEngine, UsbPrinterFoundByItsHardwareIdIsInstalledOnItsUsbPort) {
  Take(wine::ToolsI386() + "inst2k.dll", "i386\\inst2k.dll");
  AddDevice("i386", "TessalyXP-1009A2B", kUsbDevice, "Virtual printer port for USB003");
  EXPECT_EQ(FindConnectedPrinter("i386\\XP100.inf", "i386\\inst2k.dll", port), kFoundByHardwareId);
  EXPECT_EQ(port, "USB003");
  SetLibraryErrorDisplay("i386\\inst2k.dll", false);
  ASSERT_TRUE(Install(0x1234, "LPTOFFLINE\\", true));
  EXPECT_EQ(errorCode, 0u);
  EXPECT_EQ(port, "USB003");
  const std::string log = Log("i386\\inst2k.log");
  EXPECT_NE(log.find("ShowErrorCode show=0\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("FuncInst2K inf=\"i386\\XP100.inf\" hwid=\"TessalyXP-1009A2B\" "
                     "port=\"USB003\" owner=4660 -> 0"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("LastInstallErrorCode -> 0x00000000"), std::string::npos) << log;
  // The library put the model's printer into the spooler.
  EXPECT_TRUE(ReadPrinter(kModel).found);
}

TEST_F(RealEngine, CompatibleIdOfflinePrefixAndNoDeviceReachTheLibrary) {
  Take(wine::ToolsI386() + "inst2k.dll", "i386\\inst2k.dll");
  AddDevice("i386", "TessalyXP-100", kUsbDevice, "USB003");
  EXPECT_TRUE(Install(0, "SERENUM\\", false));
  EXPECT_EQ(port, "LPT1:");
  DeletePrinterNamed(kModel);
  EXPECT_TRUE(Install(0, "SERENUM\\", true));
  EXPECT_EQ(port, "USB003");
  AddDevice("i386", "SomethingElse", kUsbDevice, "USB003");
  EXPECT_FALSE(Install(0, "SERENUM\\", true));
  EXPECT_EQ(errorCode, 0xE000020Bu);
  EXPECT_EQ(port, "LPT1:");
  const std::string log = Log("i386\\inst2k.log");
  // Found by its compatible id, so offline too the library gets that id.
  EXPECT_NE(log.find("hwid=\"SERENUM\\TessalyXP-100\" port=\"LPT1:\""), std::string::npos) << log;
  EXPECT_NE(log.find("hwid=\"TessalyXP-100\" port=\"USB003\""), std::string::npos) << log;
  EXPECT_NE(log.find("hwid=\"TessalyXP-1009A2B\" port=\"LPT1:\" owner=0 -> 2 error=0xE000020B"),
            std::string::npos)
      << log;
}

TEST_F(RealEngine, MissingLibraryOrAFileThatIsNoLibraryRaisesTheTableText) {
  EXPECT_THROW(Install(0, "", true), TInstallError);
  EXPECT_THROW(SetLibraryErrorDisplay("i386\\XP100.inf", false), TInstallError);
  EXPECT_FALSE(RegisterServerFile(stage.Root() + "i386\\XP100.inf"));
  std::string device, text;
  EXPECT_FALSE(FindExistDevice("i386\\inst2k.dll", "X", device, text));
  EXPECT_EQ(port, "before");
}

TEST_F(RealEngine, ChangePrinterSetsPortProcessorRawOnlyAndTheDefault) {
  Take(wine::ToolsI386() + "inst2k.dll", "i386\\inst2k.dll");
  ASSERT_TRUE(Install(0, "LPTOFFLINE\\", false));
  ASSERT_TRUE(ReadPrinter(kModel).found);
  EXPECT_NE(Log("i386\\inst2k.log").find("hwid=\"LPTOFFLINE\\TessalyXP-1009A2B\" port=\"LPT1:\""),
            std::string::npos);
  EXPECT_TRUE(ChangePrinter({kModel, "", "", "LPT2:", true, "TsRaw"}));
  PrinterFacts facts = ReadPrinter(kModel);
  EXPECT_EQ(facts.port, "LPT2:");
  EXPECT_EQ(facts.processor, "TsRaw");
  EXPECT_EQ(facts.attributes & (PRINTER_ATTRIBUTE_RAW_ONLY | PRINTER_ATTRIBUTE_SHARED),
            static_cast<DWORD>(PRINTER_ATTRIBUTE_RAW_ONLY));
  EXPECT_EQ(DefaultPrinter(), kModel);

  EXPECT_TRUE(ChangePrinter({kModel, "", "", "NOPORT9:", false, ""}));
  facts = ReadPrinter(kModel);
  EXPECT_EQ(facts.port, "LPT2:");
  EXPECT_EQ(facts.processor, "WinPrint");
  EXPECT_EQ(facts.attributes & PRINTER_ATTRIBUTE_RAW_ONLY, 0u);
  EXPECT_FALSE(ChangePrinter({"No Such Printer", "", "", "LPT1:", false, ""}));
}

TEST_F(RealEngine, WebPrintControlIsCopiedToTheSystemFolderAndRegistered) {
  Take(wine::ToolsI386() + "WebPrint.ocx", "i386\\WebPrint.ocx");
  char system[MAX_PATH] = {};
  ::GetSystemDirectoryA(system, MAX_PATH);
  const std::string target = std::string(system) + "\\WebPrint.ocx";
  const std::string log = std::string(system) + "\\WebPrint.log";
  ::DeleteFileA(log.c_str());
  EXPECT_TRUE(InstallWebPrintControl(stage.Root() + ".\\i386\\WebPrint.ocx"));
  EXPECT_NE(::GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(wine::ReadText(log), "DllRegisterServer\r\n");
  EXPECT_FALSE(InstallWebPrintControl(stage.Root() + "i386\\Missing.ocx"));
  ::DeleteFileA(log.c_str());
  ::DeleteFileA(target.c_str());
}

TEST_F(RealEngine, RescanFindsTheParallelPrinterThroughTheDeviceConsole) {
  Take(wine::ToolsI386() + "devcon.exe", "i386\\devcon.exe");
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanNoStatus);  // none in the folder itself
  Take(wine::ToolsI386() + "devcon.exe", "devcon.exe");
  const std::string ini = stage.Root() + "devcon.ini";
  ::WritePrivateProfileStringA("Device1", "InstanceId",
                               "LPTENUM\\TESSALYXP-1009A2B\\1&7D5A0F&0&LPT1.4", ini.c_str());
  ::WritePrivateProfileStringA("Device1", "Name", "Tessaly XP-100", ini.c_str());
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanBrandDevice);
  const std::string log = Log("i386\\devcon.log");
  EXPECT_NE(log.find("rescan"), std::string::npos) << log;
}

TEST_F(RealEngine, HelperStartedFromThe32BitInstallerReportsToItsWindow) {
#ifdef _WIN64
  GTEST_SKIP() << "only the 32-bit exe takes the helper path, under WOW64";
#endif
  Take(wine::ToolsI386() + "inst2k.dll", "i386\\inst2k.dll");
  ProcessHandle helper;
  if (!IsWow64()) {
    StartHelper(1, helper);
    EXPECT_FALSE(helper);
    EXPECT_EQ(port, "before");
    EXPECT_EQ(Log("i386\\inst2k.log"), "");
    return;
  }
  Take(wine::ToolsX64() + "Instavo64.exe", "X64\\Instavo64.exe");
  Take(wine::ToolsX64() + "inst2k64.dll", "X64\\inst2k64.dll");
  AddDevice("i386", "TessalyXP-1009A2B", kUsbDevice, "Virtual printer port for USB003");
  AddDevice("X64", "TessalyXP-1009A2B", kUsbDevice, "Virtual printer port for USB003");

  HWND window = ::CreateWindowExA(0, "STATIC", "helper reports", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  StartHelper(reinterpret_cast<uintptr_t>(window), helper);
  ASSERT_TRUE(helper);
  EXPECT_EQ(port, "USB003");

  UINT report = 0;
  LPARAM code = -1;
  const DWORD start = ::GetTickCount();
  while (report == 0 && ::GetTickCount() - start < 60000) {
    MSG msg;
    while (::PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_INSTALL_FAILED || msg.message == WM_INSTALL_SUCCEEDED) {
        ASSERT_EQ(report, 0u) << "a second report";
        report = msg.message;
        code = msg.lParam;
      }
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
  }
  EXPECT_EQ(report, static_cast<UINT>(WM_INSTALL_SUCCEEDED)) << "lParam " << code;
  ASSERT_TRUE(helper.Wait(10000));
  EXPECT_EQ(helper.ExitCode(), 0u);
  // Exactly one report: nothing more arrives after the helper has ended.
  MSG extra;
  EXPECT_FALSE(::PeekMessageA(&extra, window, WM_INSTALL_FAILED, WM_INSTALL_SUCCEEDED, PM_REMOVE));
  ::DestroyWindow(window);

  const std::string log = Log("X64\\inst2k.log");
  EXPECT_NE(log.find("FuncInst2K inf=\"" + stage.Root() +
                     "i386\\XP100.inf\" "
                     "hwid=\"TessalyXP-1009A2B\" port=\"USB003\""),
            std::string::npos)
      << log;
  EXPECT_TRUE(ReadPrinter(kModel).found);
}

// Wine reports Windows 2000 to a program of this name only.
const char kWin2kCopy[] = "engine_w2k.exe";
const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\engine_w2k.exe";

// Inside that copy this runs instead of the tests: the settings tool around an
// install, and the name without its extension, which is not there as written.
const int kWin2kChild = [] {
  if (::GetEnvironmentVariableA("PINST_WIN2K_CHILD", nullptr, 0) == 0) return 0;
  win32::Win32Platform platform;
  if (GetWinVersion() != 50) ::ExitProcess(2);
  RunRegSetTool(true, "i386\\Setup.exe");
  RunRegSetTool(false, "i386\\Setup.exe");
  RunRegSetTool(true, "i386\\Setup");
  ::ExitProcess(0);
}();

TEST_F(RealEngine, SettingsToolRunsOnlyOnWindows2000) {
  Take(wine::ToolsI386() + "Setup.exe", "i386\\Setup.exe");
  ASSERT_NE(GetWinVersion(), 50);
  RunRegSetTool(true, "i386\\Setup.exe");
  EXPECT_EQ(Log("i386\\Setup.log"), "");

  // A copy of this program, told it runs on Windows 2000, runs the tool twice.
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  Take(self, kWin2kCopy);
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win2k"), 6);
  ::RegCloseKey(key);
  ::SetEnvironmentVariableA("PINST_WIN2K_CHILD", "1");
  ProcessStartInfo child;
  child.commandLine = kWin2kCopy;
  ProcessHandle process(Os().processes->Start(child));
  const bool ended = process.Wait(60000);
  ::SetEnvironmentVariableA("PINST_WIN2K_CHILD", nullptr);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kAppDefaults);
  ASSERT_TRUE(process);
  ASSERT_TRUE(ended);
  EXPECT_EQ(process.ExitCode(), 0u);
  EXPECT_EQ(Log("i386\\Setup.log"), "Auto\r\nAuto Disable\r\n");
}

}  // namespace
}  // namespace pinst
