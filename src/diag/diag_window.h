// The developer's test window: single steps of the installation engine against
// the first model of install.ini, and any console command with its output.
#pragma once

#include "config/ini_options.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pinst {

class TFormTest : public ui::TForm {
 public:
  TFormTest();

  ui::TButton btn1;
  ui::TButton BtnReadIni;
  ui::TButton BtnInstallPrinter;
  ui::TButton BtnSetPrinterProperty;
  ui::TMemo mmo1;
  ui::TButton btnRun;
  ui::TButton btnClose;
  ui::TRichEdit RedtResults;

  void btn1Click();
  void BtnReadIniClick();
  void BtnInstallPrinterClick();
  void BtnSetPrinterPropertyClick();
  void btnRunClick();

 private:
  // Record 0 of a fresh read of install.ini; says so in the results when there is none.
  bool ReadFirstModel(TOption& option);
};

}  // namespace pinst
