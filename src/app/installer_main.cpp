#include "app/installer_main.h"

#include "app/installer_windows.h"
#include "config/lang_strings.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "ui/application.h"

namespace pinst {

int RunInstaller(const std::vector<std::string>& args) {
  InitLangStrings(Os().system->GetSystemDefaultLangID());

  TInstallerWindows windows(args);
  TMainForm& mainForm = windows.Main;
  ui::Application().Title = Lang().StrInstallerTitle;

  // Hidden, with no automatic install armed, the program could show nothing,
  // start nothing and never end; whoever started it would wait for ever.
  if (mainForm.FHideMode && mainForm.FAutoIndex < 0) return kExitNothingToInstall;

  ui::Application().Run();
  return mainForm.ExitCode();
}

}  // namespace pinst
