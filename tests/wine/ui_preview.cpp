// Shows one window of the installer on its own, with the real widget kit and the
// Win32 backend, for screenshots of windows the exe reaches only deep inside an
// install run:
//   ui_preview search-found     the search dialog, a USB printer answering
//   ui_preview search-missing   the search dialog, no printer answering
//   ui_preview prompt           the connection prompt
#include <windows.h>

#include <string>

#include "config/lang_strings.h"
#include "dialogs/prompt_form.h"
#include "dialogs/search_form.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "platform/win32/win32_platform.h"

int main(int argc, char** argv) {
  pinst::win32::Win32Platform platform;
  pinst::InitLangStrings(pinst::Os().system->GetSystemDefaultLangID());
  const std::string which = argc > 1 ? argv[1] : "search-found";
  if (which == "prompt") {
    pinst::TFormPromptCheck prompt;
    prompt.ShowModal();
    return 0;
  }
  const bool found = which == "search-found";
  pinst::TFormSearching searching({
      .debugMode = [] { return false; },
      .findOnlinePort = [found](std::string& port) { port = found ? "USB001" : ""; },
      .mainWindow = nullptr,
  });
  return searching.ShowModal();
}
