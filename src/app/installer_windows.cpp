#include "app/installer_windows.h"

#include "ui/application.h"

namespace pinst {

TInstallerWindows::TInstallerWindows(const std::vector<std::string>& args) : Main(args) {
  // The program's words for the errors an install raises.
  ui::Application().ErrorText = InstallErrorText;
  Main.SearchDialog = [this] { return &Searching(); };
  Main.TestWindow = [this] { return &Test(); };
  // Under /Quiet no dialog is ever shown: making them would only cost the start.
  if (!Main.FQuietMode) {
    Searching();
    Test();
  }
}

TInstallerWindows::~TInstallerWindows() { ui::Application().ErrorText = nullptr; }

TFormPromptCheck& TInstallerWindows::Prompt() {
  if (!prompt_) prompt_ = std::make_unique<TFormPromptCheck>();
  return *prompt_;
}

TFormSearching& TInstallerWindows::Searching() {
  if (!searching_) {
    searching_ = std::make_unique<TFormSearching>(TSearchHost{
        .debugMode = [this] { return Main.FDebugMode; },
        .findOnlinePort = [this](std::string& port) { Main.FindOnlinePort(port); },
        // Hidden stays hidden: the dialog's close does not show the main window then.
        .mainWindow = Main.FHideMode ? nullptr : &Main,
    });
    searching_->PromptForm = &Prompt();
  }
  return *searching_;
}

TFormTest& TInstallerWindows::Test() {
  if (!test_) test_ = std::make_unique<TFormTest>();
  return *test_;
}

}  // namespace pinst
