#include "diag/diag_window.h"

#include "config/inf_model_name.h"
#include "config/ini_options.h"
#include "diag/diag_command.h"
#include "engine/hardware_ids.h"
#include "engine/library_bridge.h"
#include "engine/printer_settings.h"
#include "ui/application.h"

namespace pinst {

namespace {

ui::TFormDesign TestDesign() {
  ui::TFormDesign d;
  d.className = "TFormTest";
  d.caption = "FormTest";
  d.clientWidth = 549;
  d.clientHeight = 438;
  d.border = UiBorder::kSizeable;
  d.placement = UiPlacement::kDesktopCentre;
  d.font = {"Tahoma", 13, false, kDefaultCharset};
  return d;
}

// 运行命令 ("run the command")
constexpr const char* kRunCaption = "\xD4\xCB\xD0\xD0\xC3\xFC\xC1\xEE";
constexpr const char* kNoRecord = "install.ini has no printer model";
constexpr const char* kServiceMissing = "FAILED 1060";

}  // namespace

TFormTest::TFormTest()
    : TForm(TestDesign()),
      btn1(*this, "btn1", ui::At(8, 8, 120, 28).Caption("Find HWID")),
      BtnReadIni(*this, "BtnReadIni", ui::At(136, 8, 120, 28).Caption("BtnReadIni")),
      BtnInstallPrinter(*this, "BtnInstallPrinter",
                        ui::At(264, 8, 130, 28).Caption("BtnInstallPrinter")),
      BtnSetPrinterProperty(*this, "BtnSetPrinterProperty",
                            ui::At(402, 8, 139, 28).Caption("BtnSetPrinterProperty")),
      mmo1(*this, "mmo1", ui::At(8, 44, 437, 60).Caption("cmd /c sc query NvPrnMon")),
      btnRun(*this, "btnRun", ui::At(453, 44, 88, 28).Caption(kRunCaption)),
      btnClose(*this, "btnClose", ui::At(453, 76, 88, 28).Caption("&Close"),
               ui::TButtonKind::kClose),
      RedtResults(*this, "RedtResults",
                  ui::At(8, 112, 533, 318)
                      .Caption("RedtResults")
                      .Font({"Tahoma", 13, false, kGb2312Charset})) {
  RedtResults.SetAnchors({.left = true, .top = true, .right = true, .bottom = true});
  btn1.OnClick = [this] { btn1Click(); };
  BtnReadIni.OnClick = [this] { BtnReadIniClick(); };
  BtnInstallPrinter.OnClick = [this] { BtnInstallPrinterClick(); };
  BtnSetPrinterProperty.OnClick = [this] { BtnSetPrinterPropertyClick(); };
  btnRun.OnClick = [this] { btnRunClick(); };
  Loaded();
}

bool TFormTest::ReadFirstModel(TOption& option) {
  TIniOptions options;
  options.LoadFromFile("install.ini");
  if (options.GetOption(0, option)) return true;
  RedtResults.AddLine(kNoRecord);
  return false;
}

void TFormTest::btn1Click() {
  TOption option;
  if (!ReadFirstModel(option)) return;
  std::string hardwareId;
  std::string compatibleId;
  if (ReadInfHardwareIds(option.InstallSettingFile2K, hardwareId, compatibleId) > 0) {
    RedtResults.AddLine("HWID=" + hardwareId);
  }
  std::string name;
  if (ReadInfModelName(option.InstallSettingFile2K, name)) {
    RedtResults.AddLine("PrinterName=" + name);
  }
}

void TFormTest::BtnReadIniClick() {
  TIniOptions options;
  options.LoadFromFile("install.ini");
  // Only install.ini's records: no INF is read for this.
  for (int32_t i = 0; i < options.Count; ++i) {
    RedtResults.AddLine(options.Record(i).InstallSettingFile2K);
  }
}

void TFormTest::BtnInstallPrinterClick() {
  TOption option;
  if (!ReadFirstModel(option)) return;
  uint32_t errorCode = 0;
  std::string port;
  TLibraryInstall request;
  request.ownerWindow = Handle();
  request.infPath = option.InstallSettingFile2K;
  request.offlinePrefix = option.OfflineEnumPrefix;
  request.libraryPath = option.InstallDll2K;
  request.online = false;
  InstallByLibrary(request, errorCode, port);
}

void TFormTest::BtnSetPrinterPropertyClick() {
  TChangePrinterInfo info;
  info.PrinterName = "Tessaly XP-100";
  info.PortName = "LPT1:";
  ChangePrinter(info);
}

void TFormTest::btnRunClick() {
  StringList output;
  RunDiagCommand(mmo1.Text(), output);
  const std::string text = JoinOutput(output);
  const size_t at = text.find(kServiceMissing);
  if (at != std::string::npos) ui::ShowMessage(std::to_string(at + 1));
  RedtResults.SetLines(output);
}

}  // namespace pinst
