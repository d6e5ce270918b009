// Looks at and drives the windows of a program under test, from inside the same
// Wine session:
//   win_probe wait CLASS [ms]     a top-level window of CLASS exists (exit 0) or not (1)
//   win_probe gone CLASS [ms]     no window of CLASS is left (exit 0) or one is (1)
//   win_probe caption CLASS       its caption, as hexadecimal bytes
//   win_probe texts CLASS         class and text of every child, the text in hex
//   win_probe close CLASS         posts WM_CLOSE to it
//   win_probe press CLASS TEXT    clicks the child button whose caption is TEXT
//   win_probe click-id CLASS ID   clicks the child button with that control id
//   win_probe rect CLASS          left top width height of the window, on the desktop
//   win_probe visible CLASS       the window is shown (exit 0) or hidden (1)
//   win_probe enabled CLASS TEXT  the child whose text is TEXT is enabled (exit 0),
//                                 disabled (1) or not there (2)
//   win_probe shown EXE           the class of every visible top-level window of the
//                                 running programs named EXE, one per line
//   win_probe version FILE NAME   the US English version string NAME (CompanyName ...)
//                                 of FILE, as Explorer's Details show it
// A TEXT written hex:BYTES gives the text's bytes in hexadecimal.
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace {

// The version information's string of that name; exit 1 when the file has none.
int PrintVersionString(const char* file, const char* name) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0) return 1;
  std::vector<char> info(size);
  if (!::GetFileVersionInfoA(file, 0, size, info.data())) return 1;
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      length == 0) {
    return 1;
  }
  std::printf("%s\n", value);
  return 0;
}

HWND FindTop(const char* className) { return ::FindWindowA(className, nullptr); }

HWND WaitFor(const char* className, DWORD ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (HWND h = FindTop(className)) return h;
    if (::GetTickCount() - start >= ms) return nullptr;
    ::Sleep(50);
  }
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char two[3];
  for (unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02X", c);
    out += two;
  }
  return out;
}

// WM_GETTEXT rather than GetWindowText: across processes GetWindowText only sees
// the text the system keeps for a window, which an edit control never updates.
std::string TextOf(HWND h) {
  char buf[4096] = {};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                        5000, &copied);
  return buf;
}

BOOL CALLBACK PrintChild(HWND h, LPARAM) {
  char cls[256] = {};
  ::GetClassNameA(h, cls, sizeof cls);
  std::printf("%s %s %s\n", cls, ::IsWindowVisible(h) ? "visible" : "hidden",
              Hex(TextOf(h)).c_str());
  return TRUE;
}

struct PressTarget {
  std::string text;
  HWND found;
};

// A TEXT argument written "hex:" and bytes in hexadecimal stands for those bytes,
// so texts in the ANSI code page need not pass through the command line's encoding.
std::string TextArgument(const char* arg) {
  const std::string text = arg;
  if (text.rfind("hex:", 0) != 0) return text;
  std::string bytes;
  for (size_t i = 4; i + 1 < text.size(); i += 2) {
    bytes += static_cast<char>(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16));
  }
  return bytes;
}

BOOL CALLBACK FindButton(HWND h, LPARAM param) {
  auto* target = reinterpret_cast<PressTarget*>(param);
  if (TextOf(h) == target->text) {
    target->found = h;
    return FALSE;
  }
  return TRUE;
}

// The visible top-level windows of the processes in pids.
struct ShownWindows {
  std::vector<DWORD> pids;
  std::vector<std::string> classes;
};

BOOL CALLBACK CollectShown(HWND window, LPARAM param) {
  auto& shown = *reinterpret_cast<ShownWindows*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (!::IsWindowVisible(window)) return TRUE;
  for (DWORD p : shown.pids) {
    if (p != pid) continue;
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    shown.classes.push_back(name);
  }
  return TRUE;
}

int PrintShown(const char* exeName) {
  ShownWindows shown;
  pinst::win32::ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 1;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot.Get(), &entry); more;
       more = ::Process32Next(snapshot.Get(), &entry)) {
    if (::lstrcmpiA(entry.szExeFile, exeName) == 0) shown.pids.push_back(entry.th32ProcessID);
  }
  ::EnumWindows(CollectShown, reinterpret_cast<LPARAM>(&shown));
  for (const std::string& name : shown.classes) std::printf("%s\n", name.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: win_probe "
                 "wait|gone|caption|texts|close|press|click-id|rect|visible|enabled|shown CLASS "
                 "[arg]\n");
    return 2;
  }
  const std::string verb = argv[1];
  const char* cls = argv[2];
  if (verb == "shown") return PrintShown(cls);
  if (verb == "version") return argc > 3 ? PrintVersionString(cls, argv[3]) : 2;
  const DWORD ms = (verb == "wait" || verb == "gone") && argc > 3
                       ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10))
                       : 10000;
  if (verb == "wait") return WaitFor(cls, ms) ? 0 : 1;
  if (verb == "gone") {
    const DWORD start = ::GetTickCount();
    while (FindTop(cls)) {
      if (::GetTickCount() - start >= ms) return 1;
      ::Sleep(50);
    }
    return 0;
  }
  HWND h = WaitFor(cls, 10000);
  if (!h) {
    std::fprintf(stderr, "no window of class %s\n", cls);
    return 1;
  }
  if (verb == "caption") {
    std::printf("%s\n", Hex(TextOf(h)).c_str());
    return 0;
  }
  if (verb == "texts") {
    ::EnumChildWindows(h, PrintChild, 0);
    return 0;
  }
  if (verb == "close") return ::PostMessageA(h, WM_CLOSE, 0, 0) ? 0 : 1;
  if (verb == "rect") {
    RECT r;
    ::GetWindowRect(h, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (verb == "visible") return ::IsWindowVisible(h) ? 0 : 1;
  if (verb == "click-id" && argc > 3) {
    HWND button = ::GetDlgItem(h, std::atoi(argv[3]));
    if (!button) return 1;
    ::PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
  }
  if (verb == "enabled" && argc > 3) {
    PressTarget target{TextArgument(argv[3]), nullptr};
    ::EnumChildWindows(h, FindButton, reinterpret_cast<LPARAM>(&target));
    if (!target.found) return 2;
    return ::IsWindowEnabled(target.found) ? 0 : 1;
  }
  if (verb == "press" && argc > 3) {
    PressTarget target{TextArgument(argv[3]), nullptr};
    ::EnumChildWindows(h, FindButton, reinterpret_cast<LPARAM>(&target));
    if (!target.found) return 1;
    ::PostMessageA(target.found, BM_CLICK, 0, 0);
    return 0;
  }
  return 2;
}
