// Test version of the WebPrint control (WebPrint.ocx): it registers no COM classes.
// DllRegisterServer and DllUnregisterServer succeed and append their name to
// WebPrint.log beside the file, so a test can see that self-registration ran.
#include <windows.h>

#include "common/tool_support.h"

namespace {

HMODULE g_module = nullptr;

void Note(const char* text) {
  pinst::tools::AppendLine(pinst::tools::ModuleFolder(g_module) + "WebPrint.log", text);
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
  Note("DllRegisterServer");
  return S_OK;
}

__declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  Note("DllUnregisterServer");
  return S_OK;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

}  // extern "C"
