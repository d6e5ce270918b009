// Program entry: the real Windows services, the text table, then the main window.
#include <windows.h>

#include "config/lang_strings.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "platform/win32/win32_platform.h"

namespace {

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  pinst::win32::Win32Platform platform;
  pinst::InitLangStrings(pinst::Os().system->GetSystemDefaultLangID());

  WNDCLASSA wc = {};
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconA(instance, "MAINICON");
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "TMainForm";
  if (!::RegisterClassA(&wc)) return 1;

  RECT r = {0, 0, 657, 450};
  ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  const std::string& title = pinst::Lang().StrInstallerTitle;
  HWND hwnd = ::CreateWindowA("TMainForm", title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                              instance, nullptr);
  if (!hwnd) return 1;
  ::ShowWindow(hwnd, showCommand);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
