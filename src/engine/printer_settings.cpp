#include "engine/printer_settings.h"

#include "base/win_path.h"
#include "platform/files.h"
#include "platform/libraries.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "spooler/dyn_spooler.h"
#include "spooler/port_ops.h"
#include "spooler/printer_info.h"
#include "sys/run_log.h"
#include "sys/win_version.h"

namespace pinst {

namespace {

constexpr uint32_t kPrinterAttributeRawOnly = 0x00001000;
constexpr const char* kWinPrint = "WinPrint";
constexpr uint32_t kRegSetToolWaitMs = 3000;

void ApplyChanges(const TChangePrinterInfo& change, PrinterInfo2& info) {
  if (!change.NewPrinterName.empty() && change.NewPrinterName != change.PrinterName) {
    info.printerName = change.NewPrinterName;
  }
  if (change.ShareName.empty()) {
    info.attributes &= ~kPrinterAttributeShared;
  } else {
    info.shareName = change.ShareName;
    info.attributes |= kPrinterAttributeShared;
  }
  if (PortExists(change.PortName)) info.portName = change.PortName;
  if (change.PrintProcessor.empty() || change.PrintProcessor == kWinPrint) {
    info.attributes &= ~kPrinterAttributeRawOnly;
    info.printProcessor = kWinPrint;
  } else {
    info.attributes |= kPrinterAttributeRawOnly;
    info.printProcessor = change.PrintProcessor;
  }
}

}  // namespace

bool ChangePrinter(TChangePrinterInfo info) {
  ISpooler& spooler = *Os().spooler;
  if (info.SetAsDefault && !DynSetDefaultPrinter(info.PrinterName)) {
    // "设置默认打印机失败！"
    DebugLine(
        "\xc9\xe8\xd6\xc3\xc4\xac\xc8\xcf\xb4\xf2\xd3\xa1\xbb\xfa\xca\xa7\xb0\xdc"
        "\xa3\xa1");
  }

  PrinterInfo2 record;
  PrinterHandle printer = OpenPrinterForChange(info.PrinterName, record);
  if (!printer) return false;
  ApplyChanges(info, record);

  spooler.SetLastError(0);
  if (printer->SetPrinterA(record)) return true;
  // "设置打印机失败(%d)！"
  DebugLine("\xc9\xe8\xd6\xc3\xb4\xf2\xd3\xa1\xbb\xfa\xca\xa7\xb0\xdc(" +
            std::to_string(static_cast<int32_t>(spooler.GetLastError())) + ")\xa3\xa1");
  return false;
}

void RunRegSetTool(bool enable, const std::string& toolPath) {
  if (GetWinVersion() != 50 || !Os().files->FileExists(toolPath)) return;
  ProcessStartInfo start;
  start.commandLine = Os().files->FullPath(toolPath) + (enable ? " Auto" : " Auto Disable");
  start.inheritHandles = false;
  start.creationFlags = kCreateNewConsole | kNormalPriorityClass;
  start.startupFlags = kStartfUseShowWindow;
  start.showWindow = kSwShowDefault;
  ProcessHandle tool(Os().processes->Start(start));
  // A tool that takes longer goes on running on its own.
  tool.Wait(kRegSetToolWaitMs);
}

bool InstallWebPrintControl(const std::string& sourcePath) {
  IFiles& files = *Os().files;
  if (!files.FileExists(sourcePath)) return false;
  const std::string target =
      files.SystemDirectory() + "\\" + FileNameOf(sourcePath, Os().system->GetAnsiCodePage());
  // A copy refused because the control is in use leaves the one already there.
  files.Copy(sourcePath, target, false);
  if (!files.FileExists(target)) return false;
  return RegisterServerFile(target);
}

bool RegisterServerFile(const std::string& path) {
  LoadedLibrary library = Os().libraries->Load(path);
  if (!library) return false;
  auto registerServer = library->DllRegisterServer();
  return registerServer && (*registerServer)() >= 0;
}

}  // namespace pinst
