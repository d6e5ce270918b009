// Times other programs from inside Wine, where the wineserver they share is already up.
//
//   start_timer startup RUNS BASECLASS BASECMD CLASS CMD
//     Starts the baseline and the subject in turn, RUNS times each (a program named
//     with its folder starts in that folder): the time from
//     CreateProcess to a visible top-level window of the given class owned by the new
//     process, then its peak working set (GetProcessMemoryInfo), then WM_CLOSE and a
//     wait for its exit. Prints "BASE_MS SUBJECT_MS BASE_KIB SUBJECT_KIB BASE_BEST
//     SUBJECT_BEST": medians of the times, the largest peak working sets, the shortest
//     times (what other work on the machine can only lengthen).
//   start_timer run CMD...
//     Runs a command line to its end. Prints "WALL_MS EXIT_CODE".
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
  LARGE_INTEGER count, frequency;
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The folder of the command's program when it names one ("" otherwise), in full.
std::string ProgramFolder(const std::string& command) {
  const std::string program = command.substr(0, command.find(' '));
  const size_t slash = program.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  char full[MAX_PATH] = {};
  const std::string folder = program.substr(0, slash);
  if (::GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr) == 0) return "";
  return full;
}

// quiet: the child's console output goes to NUL, not into this program's figures.
bool Start(const std::string& command, PROCESS_INFORMATION& process, bool quiet = false) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  HANDLE nul = INVALID_HANDLE_VALUE;
  if (quiet) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    nul =
        ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = nul;
  }
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  const std::string folder = ProgramFolder(command);
  const bool started =
      ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, quiet, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
  if (nul != INVALID_HANDLE_VALUE) ::CloseHandle(nul);
  return started;
}

struct Search {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  Search& search = *reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  char name[256];
  if (pid != search.pid || !::IsWindowVisible(window) ||
      ::GetClassNameA(window, name, sizeof name) == 0 || std::strcmp(name, search.className) != 0) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

struct Sample {
  double ms = 0;
  SIZE_T peakBytes = 0;
};

// One start to a visible window and its close; false when the window never showed.
bool StartToWindow(const std::string& command, const char* className, Sample& sample) {
  PROCESS_INFORMATION process;
  const double start = Now();
  if (!Start(command, process)) return false;
  Search search{process.dwProcessId, className, nullptr};
  // Polled every millisecond, for at most 60 s, while the process lives.
  while (search.found == nullptr && Now() - start < 60000.0 &&
         ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) ::Sleep(1);
  }
  sample.ms = Now() - start;
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (search.found != nullptr &&
      ::GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
    sample.peakBytes = counters.PeakWorkingSetSize;
  }
  if (search.found != nullptr) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, 5000);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return search.found != nullptr;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Startup(int runs, const char* baseClass, const std::string& baseCommand,
            const char* subjectClass, const std::string& subjectCommand) {
  std::vector<double> base, subject;
  SIZE_T basePeak = 0, subjectPeak = 0;
  struct Side {
    const char* windowClass;
    const std::string& command;
    std::vector<double>& ms;
    SIZE_T& peak;
  };
  Side sides[] = {{baseClass, baseCommand, base, basePeak},
                  {subjectClass, subjectCommand, subject, subjectPeak}};
  for (int i = 0; i < runs; ++i) {
    // Turns alternate which program starts first, so that neither always meets a
    // wineserver the other has just warmed.
    for (int turn = 0; turn < 2; ++turn) {
      Side& side = sides[(i + turn) % 2];
      Sample sample;
      if (!StartToWindow(side.command, side.windowClass, sample)) {
        std::fprintf(stderr, "no %s window from %s\n", side.windowClass, side.command.c_str());
        return 1;
      }
      side.ms.push_back(sample.ms);
      side.peak = std::max(side.peak, sample.peakBytes);
    }
  }
  std::printf("%.1f %.1f %lu %lu %.1f %.1f\n", Median(base), Median(subject),
              static_cast<unsigned long>(basePeak / 1024),
              static_cast<unsigned long>(subjectPeak / 1024),
              *std::min_element(base.begin(), base.end()),
              *std::min_element(subject.begin(), subject.end()));
  return 0;
}

int Run(const std::string& command) {
  PROCESS_INFORMATION process;
  const double start = Now();
  if (!Start(command, process, true)) {
    std::fprintf(stderr, "cannot start %s\n", command.c_str());
    return 1;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const double ms = Now() - start;
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  std::printf("%.1f %lu\n", ms, static_cast<unsigned long>(code));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup" && argc == 7) {
    return Startup(std::atoi(argv[2]), argv[3], argv[4], argv[5], argv[6]);
  }
  if (mode == "run" && argc > 2) {
    std::string command = argv[2];
    for (int i = 3; i < argc; ++i) command += std::string(" ") + argv[i];
    return Run(command);
  }
  std::fprintf(stderr,
               "usage: start_timer startup RUNS BASECLASS BASECMD CLASS CMD\n"
               "       start_timer run CMD...\n");
  return 2;
}
