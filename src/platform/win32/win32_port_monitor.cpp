#include "platform/win32/win32_port_monitor.h"

#include <windows.h>
#include <winspool.h>

#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

struct XcvHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::ClosePrinter(h); }
};
using ScopedXcv = Scoped<XcvHandleTraits>;

// XcvDataW takes its command name as a wide string; ours are ASCII.
std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class Win32Xcv : public IXcvHandle {
 public:
  explicit Win32Xcv(HANDLE h) : h_(h) {}

  bool XcvDataW(const std::string& dataName, const std::vector<uint8_t>& input,
                uint32_t& status) override {
    const std::wstring name = Widened(dataName);
    std::vector<BYTE> data(input.begin(), input.end());
    DWORD needed = 0;
    DWORD monitorStatus = 0;
    const BOOL ok =
        ::XcvDataW(h_.Get(), name.c_str(), data.empty() ? nullptr : data.data(),
                   static_cast<DWORD>(data.size()), nullptr, 0, &needed, &monitorStatus);
    status = monitorStatus;
    return ok != FALSE;
  }

 private:
  ScopedXcv h_;
};

}  // namespace

XcvHandle Win32PortMonitors::OpenXcvMonitor(const std::string& monitor, uint32_t desiredAccess) {
  std::string name = ",XcvMonitor " + monitor;
  PRINTER_DEFAULTSA defaults = {};
  defaults.DesiredAccess = desiredAccess;
  ScopedXcv h;
  if (!::OpenPrinterA(name.data(), h.Receive(), &defaults)) return nullptr;
  return std::make_unique<Win32Xcv>(h.Release());
}

uint32_t Win32PortMonitors::GetLastError() { return ::GetLastError(); }

}  // namespace pinst::win32
