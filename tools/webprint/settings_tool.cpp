// Test version of the Windows 2000 settings tool (Setup.exe): it changes nothing. It
// appends its arguments ("Auto", "Auto Disable") as one line to Setup.log beside it
// and ends with exit code 0. A windowed program, so starting it opens no console.
#include <windows.h>

#include <string>

#include "base/command_words.h"
#include "common/tool_support.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace pinst::tools;
  const std::vector<std::string> words = pinst::SplitCommandWords(::GetCommandLineA());
  std::string arguments;
  for (size_t i = 1; i < words.size(); ++i) arguments += (i > 1 ? " " : "") + words[i];
  AppendLine(ModuleFolder(nullptr) + "Setup.log", arguments);
  return 0;
}
