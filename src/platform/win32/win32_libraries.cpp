#include "platform/win32/win32_libraries.h"

#include <windows.h>

#include "platform/win32/dll_search.h"
#include "platform/win32/handles.h"

namespace pinst::win32 {

namespace {

// The installer library exports stdcall functions under undecorated names.
using FuncInst2KPtr = int32_t(__stdcall*)(const char*, const char*, const char*, HWND);
using FuncFindExistDevicePtr = BOOL(__stdcall*)(const char*, char*, char*);
using ShowErrorCodePtr = void(__stdcall*)(BOOL);
using LastInstallErrorCodePtr = DWORD(__stdcall*)();
using DllRegisterServerPtr = HRESULT(__stdcall*)();

class Win32Library : public ILibrary {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}

  bool HasExport(const std::string& name) override { return Lookup(name.c_str()) != nullptr; }

  std::optional<FuncInst2KProc> FuncInst2K() override {
    auto fn = Typed<FuncInst2KPtr>("FuncInst2K");
    if (!fn) return std::nullopt;
    return [fn](const char* inf, const char* id, const char* port, uintptr_t owner) {
      return fn(inf, id, port, reinterpret_cast<HWND>(owner));
    };
  }

  std::optional<FuncFindExistDeviceProc> FuncFindExistDevice() override {
    auto fn = Typed<FuncFindExistDevicePtr>("FuncFindExistDevice");
    if (!fn) return std::nullopt;
    return [fn](const char* id, char* deviceId, char* portText) {
      return static_cast<uint32_t>(fn(id, deviceId, portText));
    };
  }

  std::optional<ShowErrorCodeProc> ShowErrorCode() override {
    auto fn = Typed<ShowErrorCodePtr>("ShowErrorCode");
    if (!fn) return std::nullopt;
    return [fn](int32_t show) { fn(show); };
  }

  std::optional<LastInstallErrorCodeProc> LastInstallErrorCode() override {
    auto fn = Typed<LastInstallErrorCodePtr>("LastInstallErrorCode");
    if (!fn) return std::nullopt;
    return [fn] { return static_cast<uint32_t>(fn()); };
  }

  std::optional<DllRegisterServerProc> DllRegisterServer() override {
    auto fn = Typed<DllRegisterServerPtr>("DllRegisterServer");
    if (!fn) return std::nullopt;
    return [fn] { return static_cast<int32_t>(fn()); };
  }

 private:
  FARPROC Lookup(const char* name) const { return ::GetProcAddress(module_.Get(), name); }

  template <typename Ptr>
  Ptr Typed(const char* name) const {
    return reinterpret_cast<Ptr>(reinterpret_cast<void*>(Lookup(name)));
  }

  ScopedLibrary module_;
};

}  // namespace

LoadedLibrary Win32Libraries::Load(const std::string& path) {
  HMODULE module = LoadLibraryFromItsFolder(path);
  if (!module) return nullptr;
  return std::make_unique<Win32Library>(module);
}

}  // namespace pinst::win32
