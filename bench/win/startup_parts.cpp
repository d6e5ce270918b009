// Where the installer's start-up goes, inside one process under Wine: loading
// install.ini, making the windows (which loads it again and fills the list), and
// showing the main window until its messages are handled (the rows in view read
// their INFs as they are drawn).
// Run from a distribution folder; prints three figures in milliseconds: the
// options alone, the windows (options included), the first show.
#include <windows.h>

#include <cstdio>

#include "app/installer_windows.h"
#include "config/ini_options.h"
#include "config/lang_strings.h"
#include "platform/win32/win32_platform.h"
#include "ui/application.h"

namespace {

double NowMs() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return t.QuadPart * 1000.0 / f.QuadPart;
}

}  // namespace

int main() {
  pinst::win32::Win32Platform platform;
  pinst::InitLangStrings(0x0409);
  const double t0 = NowMs();
  pinst::TIniOptions options;
  options.LoadFromFile("install.ini");
  const double t1 = NowMs();
  pinst::TInstallerWindows windows({});
  const double t2 = NowMs();
  windows.Main.Show();
  pinst::ui::Application().ProcessMessages();
  const double t3 = NowMs();
  // The windows load the options again: their own share is the difference.
  std::printf("%.1f %.1f %.1f\n", t1 - t0, t2 - t1, t3 - t2);
  return 0;
}
