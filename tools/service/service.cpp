// Test version of the print-monitor service (NvPrnMon.exe): a real Windows service
// that does nothing but run until it is stopped, noting its starts and stops in
// NvPrnMon.log beside it.
//   NvPrnMon.exe /install [/silent]     creates the service "NvPrnMon" (demand start)
//   NvPrnMon.exe /uninstall [/silent]   stops it if it runs, then deletes it
//   NvPrnMon.exe                        how the service control manager starts it
// With /silent nothing is printed. Exit codes: 0 done, otherwise the Windows error.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/tool_support.h"

namespace {

using namespace pinst::tools;

constexpr char kServiceName[] = "NvPrnMon";
constexpr char kDisplayName[] = "NvPrnMon print monitor (test stand-in)";

SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopEvent = nullptr;

void Note(const std::string& text) { AppendLine(ModuleFolder(nullptr) + "NvPrnMon.log", text); }

void ReportState(DWORD state) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted =
      state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 3000;
  ::SetServiceStatus(g_statusHandle, &status);
}

void WINAPI ControlHandler(DWORD control) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    ReportState(SERVICE_STOP_PENDING);
    ::SetEvent(g_stopEvent);
  }
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
  g_statusHandle = ::RegisterServiceCtrlHandlerA(kServiceName, ControlHandler);
  if (g_statusHandle == nullptr) return;
  g_stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ReportState(SERVICE_START_PENDING);
  Note("service started");
  ReportState(SERVICE_RUNNING);
  ::WaitForSingleObject(g_stopEvent, INFINITE);
  Note("service stopped");
  ::CloseHandle(g_stopEvent);
  ReportState(SERVICE_STOPPED);
}

struct ServiceManager {
  SC_HANDLE handle;
  explicit ServiceManager(DWORD access) : handle(::OpenSCManagerA(nullptr, nullptr, access)) {}
  ~ServiceManager() {
    if (handle) ::CloseServiceHandle(handle);
  }
  ServiceManager(const ServiceManager&) = delete;
  ServiceManager& operator=(const ServiceManager&) = delete;
};

DWORD Install() {
  ServiceManager manager(SC_MANAGER_CREATE_SERVICE);
  if (!manager.handle) return ::GetLastError();
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string binaryPath = "\"" + std::string(self) + "\"";
  SC_HANDLE service =
      ::CreateServiceA(manager.handle, kServiceName, kDisplayName, SERVICE_ALL_ACCESS,
                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                       binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service == nullptr) {
    const DWORD error = ::GetLastError();
    return error == ERROR_SERVICE_EXISTS ? 0 : error;  // installing twice is no fault
  }
  ::CloseServiceHandle(service);
  Note("installed");
  return 0;
}

// Waits (bounded) for a stop to complete, so the delete that follows takes effect now.
void StopAndWait(SC_HANDLE service) {
  SERVICE_STATUS status = {};
  if (!::QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) return;
  ::ControlService(service, SERVICE_CONTROL_STOP, &status);
  for (int i = 0; i < 100 && status.dwCurrentState != SERVICE_STOPPED; ++i) {
    ::Sleep(100);
    if (!::QueryServiceStatus(service, &status)) return;
  }
}

DWORD Uninstall() {
  ServiceManager manager(SC_MANAGER_CONNECT);
  if (!manager.handle) return ::GetLastError();
  SC_HANDLE service =
      ::OpenServiceA(manager.handle, kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  if (service == nullptr) return ::GetLastError();
  StopAndWait(service);
  const DWORD error = ::DeleteService(service) ? 0 : ::GetLastError();
  ::CloseServiceHandle(service);
  if (error == 0) Note("uninstalled");
  return error;
}

bool IsBlankArgument(const char* arg) {
  for (; *arg; ++arg) {
    if (*arg != ' ' && *arg != '\t') return false;
  }
  return true;
}

bool IsSwitch(const char* arg, const char* name) {
  return (arg[0] == '/' || arg[0] == '-') && EqualsNoCase(arg + 1, name);
}

}  // namespace

int main(int argc, char** argv) {
  bool install = false, uninstall = false, silent = false, unknown = false;
  for (int i = 1; i < argc; ++i) {
    if (IsBlankArgument(argv[i])) {
      continue;  // a quoted blank after the switches is no request
    } else if (IsSwitch(argv[i], "install")) {
      install = true;
    } else if (IsSwitch(argv[i], "uninstall")) {
      uninstall = true;
    } else if (IsSwitch(argv[i], "silent")) {
      silent = true;
    } else {
      unknown = true;
    }
  }
  if (argc == 1) {
    SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(kServiceName), ServiceMain},
                                    {nullptr, nullptr}};
    if (::StartServiceCtrlDispatcherA(table)) return 0;
  }
  if (unknown || install == uninstall) {
    if (!silent) {
      std::printf("Test print-monitor service: NvPrnMon /install|/uninstall [/silent]\n");
    }
    return ERROR_INVALID_PARAMETER;
  }
  const DWORD error = install ? Install() : Uninstall();
  if (!silent) {
    if (error == 0) {
      std::printf("Service %s %s.\n", kServiceName, install ? "installed" : "removed");
    } else {
      std::printf("Service %s could not be %s (error %lu).\n", kServiceName,
                  install ? "installed" : "removed", static_cast<unsigned long>(error));
    }
  }
  return static_cast<int>(error);
}
