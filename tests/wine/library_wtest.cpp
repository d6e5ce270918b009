// The shipped installer library (inst2k.dll / inst2k64.dll) called through its four
// exports under Wine: a standard driver package installs offline and, for a present
// root-enumerated device, online; a missing device gives ERROR_NO_SUCH_DEVINST.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <setupapi.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "wine_stage.h"

namespace pinst {
namespace {

using FuncInst2KFn = int32_t(__stdcall*)(const char*, const char*, const char*, HWND);
using FuncFindExistDeviceFn = BOOL(__stdcall*)(const char*, char*, char*);
using ShowErrorCodeFn = void(__stdcall*)(BOOL);
using LastInstallErrorCodeFn = uint32_t(__stdcall*)();

#ifdef _WIN64
const char kLibrary[] = "inst2k64.dll";
#else
const char kLibrary[] = "inst2k.dll";
#endif

// The library installs for the machine Windows runs on: x64 also under WOW64.
bool NativeX64() {
  BOOL wow64 = FALSE;
  return sizeof(void*) == 8 || (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64);
}
const char* const kEnvironment = NativeX64() ? "Windows x64" : "Windows NT x86";
const char kModel[] = "Tessaly WT-58";
const GUID kPrinterClass = {
    0x4d36e979, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

const char kInf[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
    "ClassGuid={4D36E979-E325-11CE-BFC1-08002BE10318}\r\nProvider=%Mfg%\r\n"
    "[Manufacturer]\r\n%Mfg%=Models,NTx86,NTamd64\r\n"
    "[Models.NTx86]\r\n%WT58%=WT58,USBPRINT\\TessalyWT-58,LPTENUM\\TessalyWT-58\r\n"
    "[Models.NTamd64]\r\n%WT58%=WT58,USBPRINT\\TessalyWT-58,LPTENUM\\TessalyWT-58\r\n"
    "[WT58]\r\nCopyFiles=WT58_FILES\r\nCopyFiles=@wt58.hlp\r\nDriverFile=wt58.dll\r\n"
    "DataFile=wt58.gpd\r\nConfigFile=wt58ui.dll\r\nHelpFile=wt58.hlp\r\n"
    "[WT58_FILES]\r\nwt58.dll\r\nwt58ui.dll\r\nwt58.gpd\r\nwt58res.dll\r\n"
    "[DestinationDirs]\r\nDefaultDestDir=66000\r\n"
    "[SourceDisksNames.x86]\r\n1=%Disk%,,,\\i386\r\n[SourceDisksNames.amd64]\r\n1=%Disk%,,,"
    "\\amd64\r\n"
    "[SourceDisksFiles]\r\nwt58.dll=1\r\nwt58ui.dll=1\r\nwt58res.dll=1\r\nwt58.gpd=1,data\r\n"
    "wt58.hlp=1\r\n"
    "[Strings]\r\nMfg=\"Tessaly\"\r\nWT58=\"Tessaly WT-58\"\r\nDisk=\"Tessaly driver disk\"\r\n";
const char* const kFiles[] = {"wt58.dll", "wt58ui.dll", "wt58res.dll", "data\\wt58.gpd",
                              "wt58.hlp"};

std::string Base(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

const std::string kArch = NativeX64() ? "amd64" : "i386";

// The package laid out the standard way: the INF, the files in a folder per platform.
// Flat: the files beside the INF, one source disk without a path (Wine's driver
// update, below, finds no file in a platform's folder and asks for the disk forever).
std::string WritePackage(const std::string& root, bool flat) {
  std::string inf = kInf;
  if (flat) {
    const size_t from = inf.find("[SourceDisksNames.x86]");
    const size_t to = inf.find("[SourceDisksFiles]");
    inf.replace(from, to - from, "[SourceDisksNames]\r\n1=%Disk%,,,\r\n");
    inf.replace(inf.find("wt58.gpd=1,data"), 15, "wt58.gpd=1");
  }
  for (const char* arch : {"i386", "amd64"}) {
    const std::string folder = flat ? root : root + arch + "\\";
    if (flat && arch != kArch) continue;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "data").c_str(), nullptr);
    for (const char* f : kFiles) {
      const std::string name = flat ? Base(f) : f;
      EXPECT_TRUE(
          wine::WriteText(folder + name, std::string("placeholder ") + arch + " " + Base(f)));
    }
  }
  EXPECT_TRUE(wine::WriteText(root + "wt58.inf", inf));
  return inf;
}

// A root-enumerated printer node with these hardware ids, removed again at the end.
class RootDevice {
 public:
  explicit RootDevice(const std::vector<std::string>& ids) {
    set_ = ::SetupDiCreateDeviceInfoList(&kPrinterClass, nullptr);
    data_.cbSize = sizeof data_;
    std::string multi;
    for (const std::string& id : ids) multi += id + '\0';
    multi += '\0';
    made_ = set_ != INVALID_HANDLE_VALUE &&
            ::SetupDiCreateDeviceInfoA(set_, "PRINTER", &kPrinterClass, nullptr, nullptr,
                                       DICD_GENERATE_ID, &data_) &&
            ::SetupDiSetDeviceRegistryPropertyA(set_, &data_, SPDRP_HARDWAREID,
                                                reinterpret_cast<const BYTE*>(multi.data()),
                                                static_cast<DWORD>(multi.size())) &&
            ::SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set_, &data_);
    char id[MAX_PATH] = {};
    if (made_ && ::SetupDiGetDeviceInstanceIdA(set_, &data_, id, MAX_PATH, nullptr)) id_ = id;
  }
  ~RootDevice() {
    if (made_) ::SetupDiCallClassInstaller(DIF_REMOVE, set_, &data_);
    if (set_ != INVALID_HANDLE_VALUE) ::SetupDiDestroyDeviceInfoList(set_);
  }
  RootDevice(const RootDevice&) = delete;
  RootDevice& operator=(const RootDevice&) = delete;
  bool Made() const { return made_ && !id_.empty(); }
  const std::string& InstanceId() const { return id_; }

 private:
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA data_{};
  bool made_ = false;
  std::string id_;
};

struct DriverRecord {
  bool found = false;
  std::vector<std::string> files;  // driver, data, config, help, then the dependent files
};

DriverRecord ReadDriver(const char* name) {
  DriverRecord record;
  DWORD needed = 0, count = 0;
  ::EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 3, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (!::EnumPrinterDriversA(nullptr, const_cast<char*>(kEnvironment), 3, buffer.data(), needed,
                             &needed, &count)) {
    return record;
  }
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (lstrcmpiA(drivers[i].pName, name) != 0) continue;
    record.found = true;
    for (const char* f : {drivers[i].pDriverPath, drivers[i].pDataFile, drivers[i].pConfigFile,
                          drivers[i].pHelpFile}) {
      record.files.push_back(f ? f : "");
    }
    for (const char* p = drivers[i].pDependentFiles; p && *p; p += lstrlenA(p) + 1) {
      record.files.push_back(p);
    }
  }
  return record;
}

std::string PrinterDriver(const char* printer) {
  HANDLE h = nullptr;
  if (!::OpenPrinterA(const_cast<char*>(printer), &h, nullptr)) return "";
  DWORD needed = 0;
  ::GetPrinterA(h, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed + 1);
  std::string driver;
  if (::GetPrinterA(h, 2, buffer.data(), needed, &needed)) {
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    driver = info->pDriverName ? info->pDriverName : "";
  }
  ::ClosePrinter(h);
  return driver;
}

void RemovePrinterAndDriver() {
  HANDLE h = nullptr;
  PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (::OpenPrinterA(const_cast<char*>(kModel), &h, &all)) {
    ::DeletePrinter(h);
    ::ClosePrinter(h);
  }
  ::DeletePrinterDriverA(nullptr, const_cast<char*>(kEnvironment), const_cast<char*>(kModel));
}

// An INF in Windows' INF folder with these bytes (Wine keeps the INF's own name,
// Windows names it oemN.inf).
bool StagedInfWith(const std::string& bytes) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string folder = std::string(windows) + "\\inf\\";
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "*.inf").c_str(), &found);
  bool same = false;
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    same = same || wine::ReadText(folder + found.cFileName) == bytes;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return same;
}

class Library : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = ::LoadLibraryA((wine::ExeFolder() + "..\\..\\" + kLibrary).c_str());
    ASSERT_NE(library_, nullptr) << kLibrary;
    install_ = Get<FuncInst2KFn>("FuncInst2K");
    find_ = Get<FuncFindExistDeviceFn>("FuncFindExistDevice");
    show_ = Get<ShowErrorCodeFn>("ShowErrorCode");
    last_ = Get<LastInstallErrorCodeFn>("LastInstallErrorCode");
    ASSERT_TRUE(install_ && find_ && show_ && last_);
    show_(FALSE);
    RemovePrinterAndDriver();
  }
  void TearDown() override {
    RemovePrinterAndDriver();
    if (library_) ::FreeLibrary(library_);
  }
  template <typename Fn>
  Fn Get(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library_, name)));
  }
  // The driver lists every file, each where the record says with the package's bytes.
  void ExpectInstalled(const std::string& inf) {
    const DriverRecord record = ReadDriver(kModel);
    ASSERT_TRUE(record.found);
    ASSERT_EQ(record.files.size(), 5u);
    const char* const roles[] = {"wt58.dll", "wt58.gpd", "wt58ui.dll", "wt58.hlp", "wt58res.dll"};
    for (size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(Base(record.files[i]), roles[i]);
      EXPECT_EQ(wine::ReadText(record.files[i]), "placeholder " + kArch + " " + roles[i])
          << record.files[i];
    }
    EXPECT_TRUE(StagedInfWith(inf));
  }
  // The install's result and its printer. Wine's spooler runs inside the program
  // that calls it, and under WOW64 adds a printer only on a driver of the 32-bit
  // environment (it answers 87); Windows' spooler is the machine's own and takes
  // the native driver. The driver and its files above are the native ones still.
  void ExpectPrinter(int32_t result) {
    if (sizeof(void*) == 4 && NativeX64()) {
      EXPECT_EQ(last_(), 87u) << "Wine under WOW64 now adds the printer: check it fully";
      return;
    }
    EXPECT_LE(result, 1) << "code " << std::hex << last_();
    EXPECT_EQ(last_(), 0u);
    EXPECT_EQ(PrinterDriver(kModel), kModel);
  }

  wine::Stage stage_{"library"};
  HMODULE library_ = nullptr;
  FuncInst2KFn install_ = nullptr;
  FuncFindExistDeviceFn find_ = nullptr;
  ShowErrorCodeFn show_ = nullptr;
  LastInstallErrorCodeFn last_ = nullptr;
};

TEST_F(Library, OfflineInstallsTheStandardPackage) {
  const std::string bytes = WritePackage(stage_.Root(), false);
  const std::string inf = stage_.Root() + "wt58.inf";
  ExpectPrinter(install_(inf.c_str(), "LPTOFFLINE\\TessalyWT-58", "LPT1:", nullptr));
  ExpectInstalled(bytes);
}

TEST_F(Library, APresentDeviceIsFoundAndGetsItsDriverOnline) {
  char deviceId[260] = {}, portText[260] = {};
  EXPECT_FALSE(find_("TessalyWT-58", deviceId, portText));
  const std::string bytes = WritePackage(stage_.Root(), true);
  const std::string inf = stage_.Root() + "wt58.inf";
  EXPECT_GT(install_(inf.c_str(), "TessalyWT-58", "LPT1:", nullptr), 1);
  EXPECT_EQ(last_(), 0xE000020Bu);

  const RootDevice device({"USBPRINT\\TessalyWT-58"});
  ASSERT_TRUE(device.Made());
  EXPECT_TRUE(find_("tessalywt-58", deviceId, portText));
  EXPECT_STREQ(deviceId, device.InstanceId().c_str());
  EXPECT_STREQ(portText, "");
  ExpectPrinter(install_(inf.c_str(), "TessalyWT-58", "LPT1:", nullptr));
  ExpectInstalled(bytes);
}

}  // namespace
}  // namespace pinst
