// The prompt to connect and switch on the printer, shown before a search.
#pragma once

#include "ui/controls.h"
#include "ui/form.h"

namespace pinst {

class TFormPromptCheck : public ui::TForm {
 public:
  TFormPromptCheck();

  ui::TLabel lblPromptCheckLabel;
  ui::TLabel lblPromprCheckInfo;
  ui::TButton btnOK;

  void FormShow();
  void btnOKClick();
};

}  // namespace pinst
