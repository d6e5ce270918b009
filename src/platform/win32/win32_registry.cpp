#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace pinst::win32 {

namespace {

class ScopedKey {
 public:
  ScopedKey() = default;
  ~ScopedKey() {
    if (key_) ::RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  HKEY* Receive() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Windows without WOW64 (2000, 32-bit XP and later) has one view, and 2000 refuses
// the flags; a 64-bit process or a WOW64 one names its view.
bool HasViews() {
  if (sizeof(void*) == 8) return true;
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  auto fn = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return fn && fn(::GetCurrentProcess(), &wow64) && wow64;
}

REGSAM ViewFlag(RegistryView view) {
  if (!HasViews()) return 0;
  return view == RegistryView::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

uint32_t Query(RegistryView view, const std::string& key, const std::string& name, DWORD& type,
               std::vector<BYTE>& data) {
  ScopedKey k;
  LONG rc = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view),
                            k.Receive());
  if (rc != ERROR_SUCCESS) return static_cast<uint32_t>(rc);
  // The value may grow between the size and the read: ask again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    rc = ::RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return static_cast<uint32_t>(rc);
    data.assign(size + 1, 0);
    DWORD got = size;
    rc = ::RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, data.data(), &got);
    if (rc == ERROR_SUCCESS) {
      data.resize(got);
      return 0;
    }
    if (rc != ERROR_MORE_DATA) return static_cast<uint32_t>(rc);
  }
  return ERROR_MORE_DATA;
}

uint32_t Write(RegistryView view, const std::string& key, const std::string& name, DWORD type,
               const BYTE* data, DWORD size) {
  ScopedKey k;
  LONG rc = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE | ViewFlag(view), nullptr, k.Receive(), nullptr);
  if (rc != ERROR_SUCCESS) return static_cast<uint32_t>(rc);
  return static_cast<uint32_t>(::RegSetValueExA(k.Get(), name.c_str(), 0, type, data, size));
}

}  // namespace

uint32_t Win32Registry::ReadDword(RegistryView view, const std::string& key,
                                  const std::string& name, uint32_t& value) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (uint32_t rc = Query(view, key, name, type, data)) return rc;
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) return ERROR_UNSUPPORTED_TYPE;
  DWORD v = 0;
  memcpy(&v, data.data(), sizeof v);
  value = v;
  return 0;
}

uint32_t Win32Registry::ReadString(RegistryView view, const std::string& key,
                                   const std::string& name, std::string& value) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (uint32_t rc = Query(view, key, name, type, data)) return rc;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
  // Stored strings need not end in their terminator.
  std::string text(data.begin(), data.end());
  value = text.substr(0, text.find('\0'));
  return 0;
}

uint32_t Win32Registry::WriteDword(RegistryView view, const std::string& key,
                                   const std::string& name, uint32_t value) {
  const DWORD v = value;
  return Write(view, key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
}

uint32_t Win32Registry::WriteString(RegistryView view, const std::string& key,
                                    const std::string& name, const std::string& value) {
  return Write(view, key, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>(value.size() + 1));
}

uint32_t Win32Registry::DeleteKey(RegistryView view, const std::string& key) {
  // RegDeleteKeyExA (XP x64, Vista and later) deletes in a chosen view; without
  // it there is only one view to delete in.
  using RegDeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
  HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
  auto deleteEx = advapi ? reinterpret_cast<RegDeleteKeyExFn>(
                               reinterpret_cast<void*>(::GetProcAddress(advapi, "RegDeleteKeyExA")))
                         : nullptr;
  const REGSAM flag = ViewFlag(view);
  if (deleteEx && flag) {
    return static_cast<uint32_t>(deleteEx(HKEY_LOCAL_MACHINE, key.c_str(), flag, 0));
  }
  return static_cast<uint32_t>(::RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str()));
}

}  // namespace pinst::win32
