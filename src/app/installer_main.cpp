#include "app/installer_main.h"

#include "app/main_form.h"
#include "config/lang_strings.h"
#include "diag/diag_window.h"
#include "dialogs/prompt_form.h"
#include "dialogs/search_form.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "ui/application.h"

namespace pinst {

int RunInstaller(const std::vector<std::string>& args) {
  InitLangStrings(Os().system->GetSystemDefaultLangID());

  TMainForm mainForm(args);
  TFormSearching searching({
      .debugMode = [&mainForm] { return mainForm.FDebugMode; },
      .findOnlinePort = [&mainForm](std::string& port) { mainForm.FindOnlinePort(port); },
      // Hidden stays hidden: the dialog's close does not show the main window then.
      .mainWindow = mainForm.FHideMode ? nullptr : &mainForm,
  });
  TFormPromptCheck prompt;
  TFormTest test;
  searching.PromptForm = &prompt;
  mainForm.SearchDialog = &searching;
  mainForm.TestWindow = &test;
  ui::Application().Title = Lang().StrInstallerTitle;

  // Hidden, with no automatic install armed, the program could show nothing,
  // start nothing and never end; whoever started it would wait for ever.
  if (mainForm.FHideMode && mainForm.FAutoIndex < 0) return kExitNothingToInstall;

  ui::Application().Run();
  return mainForm.ExitCode();
}

}  // namespace pinst
