// WindowsProtectedPrintInfo.IsProtectedPrintEnabled through the Windows Runtime's
// ABI, everything looked up in combase at run time: the program also runs on Windows
// that has no combase, and on Windows whose runtime lacks the class.
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/win32_system.h"

namespace pinst::win32 {

namespace {

using RuntimeString = void*;  // HSTRING
using RoInitializeFn = HRESULT(WINAPI*)(int);
using RoUninitializeFn = void(WINAPI*)();
using WindowsCreateStringFn = HRESULT(WINAPI*)(const wchar_t*, UINT32, RuntimeString*);
using WindowsDeleteStringFn = HRESULT(WINAPI*)(RuntimeString);
using RoGetActivationFactoryFn = HRESULT(WINAPI*)(RuntimeString, const GUID*, void**);

constexpr int kRoInitSingleThreaded = 0;  // RO_INIT_SINGLETHREADED: this is the window's thread

// IWindowsProtectedPrintInfoStatics: IInspectable's six slots, then the property's getter.
struct ProtectedPrintStaticsVtbl {
  HRESULT(WINAPI* QueryInterface)(void*, const GUID*, void**);
  ULONG(WINAPI* AddRef)(void*);
  ULONG(WINAPI* Release)(void*);
  HRESULT(WINAPI* GetIids)(void*, ULONG*, GUID**);
  HRESULT(WINAPI* GetRuntimeClassName)(void*, RuntimeString*);
  HRESULT(WINAPI* GetTrustLevel)(void*, int*);
  HRESULT(WINAPI* GetIsProtectedPrintEnabled)(void*, unsigned char*);  // boolean: one byte
};
struct ProtectedPrintStatics {
  const ProtectedPrintStaticsVtbl* vtbl;
};

// {A7D212F3-4168-5485-98AB-D89D04603B40}
constexpr GUID kIidProtectedPrintStatics = {
    0xA7D212F3, 0x4168, 0x5485, {0x98, 0xAB, 0xD8, 0x9D, 0x04, 0x60, 0x3B, 0x40}};
const wchar_t kProtectedPrintClass[] =
    L"Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo";

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// The thread's runtime, initialised for the call when nobody had done it before.
class RuntimeScope {
 public:
  RuntimeScope(RoInitializeFn init, RoUninitializeFn uninit) : uninit_(uninit) {
    const HRESULT hr = init(kRoInitSingleThreaded);
    // S_FALSE: already initialised this way, and still to be paired.
    owned_ = hr == S_OK || hr == S_FALSE;
  }
  ~RuntimeScope() {
    if (owned_) uninit_();
  }
  RuntimeScope(const RuntimeScope&) = delete;
  RuntimeScope& operator=(const RuntimeScope&) = delete;

 private:
  RoUninitializeFn uninit_;
  bool owned_ = false;
};

class ScopedRuntimeString {
 public:
  explicit ScopedRuntimeString(WindowsDeleteStringFn del) : del_(del) {}
  ~ScopedRuntimeString() {
    if (s_) del_(s_);
  }
  ScopedRuntimeString(const ScopedRuntimeString&) = delete;
  ScopedRuntimeString& operator=(const ScopedRuntimeString&) = delete;
  RuntimeString* Receive() { return &s_; }
  RuntimeString Get() const { return s_; }

 private:
  WindowsDeleteStringFn del_;
  RuntimeString s_ = nullptr;
};

class ScopedStatics {
 public:
  ScopedStatics() = default;
  ~ScopedStatics() {
    if (p_) p_->vtbl->Release(p_);
  }
  ScopedStatics(const ScopedStatics&) = delete;
  ScopedStatics& operator=(const ScopedStatics&) = delete;
  void** Receive() { return reinterpret_cast<void**>(&p_); }
  ProtectedPrintStatics* Get() const { return p_; }

 private:
  ProtectedPrintStatics* p_ = nullptr;
};

}  // namespace

std::optional<bool> Win32System::IsProtectedPrintEnabled() {
  ScopedLibrary combase(::LoadLibraryA("combase.dll"));
  if (!combase) return std::nullopt;
  const auto init = Export<RoInitializeFn>(combase.Get(), "RoInitialize");
  const auto uninit = Export<RoUninitializeFn>(combase.Get(), "RoUninitialize");
  const auto create = Export<WindowsCreateStringFn>(combase.Get(), "WindowsCreateString");
  const auto del = Export<WindowsDeleteStringFn>(combase.Get(), "WindowsDeleteString");
  const auto factory = Export<RoGetActivationFactoryFn>(combase.Get(), "RoGetActivationFactory");
  if (!init || !uninit || !create || !del || !factory) return std::nullopt;
  RuntimeScope runtime(init, uninit);
  ScopedRuntimeString name(del);
  const UINT32 length = static_cast<UINT32>(sizeof kProtectedPrintClass / sizeof(wchar_t) - 1);
  if (FAILED(create(kProtectedPrintClass, length, name.Receive()))) return std::nullopt;
  ScopedStatics statics;
  // Before Windows 11 24H2 the class is not registered (REGDB_E_CLASSNOTREG).
  if (FAILED(factory(name.Get(), &kIidProtectedPrintStatics, statics.Receive())) ||
      !statics.Get()) {
    return std::nullopt;
  }
  unsigned char enabled = 0;
  if (FAILED(statics.Get()->vtbl->GetIsProtectedPrintEnabled(statics.Get(), &enabled))) {
    return std::nullopt;
  }
  return enabled != 0;
}

}  // namespace pinst::win32
