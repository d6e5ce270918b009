#include "scripted_inst2k/printer_setup.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>

#include "common/tool_support.h"

namespace pinst::tools {

namespace {

// A failed call's error, never 0, so a failure is never taken for success.
uint32_t LastErrorOr31() {
  const DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

bool RunningOnWine() {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Names of level-1 records of an Enum* spooler call, asked for twice (size, then data).
template <typename Info, typename EnumCall>
std::vector<std::string> EnumNames(EnumCall call) {
  DWORD needed = 0, count = 0;
  call(nullptr, 0, &needed, &count);
  if (needed == 0) return {};
  std::vector<BYTE> buffer(needed);
  if (!call(buffer.data(), needed, &needed, &count)) return {};
  std::vector<std::string> names;
  const auto* records = reinterpret_cast<const Info*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) names.push_back(records[i].pName ? records[i].pName : "");
  return names;
}

bool NameListed(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& each : names) {
    if (EqualsNoCase(each, name)) return true;
  }
  return false;
}

bool PortExists(const std::string& port) {
  const auto names = EnumNames<PORT_INFO_1A>([](BYTE* b, DWORD size, DWORD* needed, DWORD* count) {
    return ::EnumPortsA(nullptr, 1, b, size, needed, count);
  });
  return NameListed(names, port);
}

bool DriverExists(const std::string& driver) {
  const auto names =
      EnumNames<DRIVER_INFO_1A>([](BYTE* b, DWORD size, DWORD* needed, DWORD* count) {
        return ::EnumPrinterDriversA(nullptr, nullptr, 1, b, size, needed, count);
      });
  return NameListed(names, driver);
}

uint32_t AddDriver(const std::string& infPath, const InfModel& model) {
  // Wine's PostScript driver stands in for any driver there; elsewhere the INF's own
  // files are used, which must already be in the printer driver folder.
  const bool wine = RunningOnWine();
  std::string driverFile = "wineps.drv", dataFile = "wineps.drv", configFile = "wineps.drv";
  if (!wine) {
    driverFile = IniString(infPath, model.installSection, "DriverFile");
    dataFile = IniString(infPath, model.installSection, "DataFile");
    configFile = IniString(infPath, model.installSection, "ConfigFile");
  }
  DRIVER_INFO_3A info = {};
  info.cVersion = 3;
  info.pName = const_cast<char*>(model.name.c_str());
  info.pDriverPath = driverFile.data();
  info.pDataFile = dataFile.data();
  info.pConfigFile = configFile.data();
  if (!::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
    return LastErrorOr31();
  }
  return 0;
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1) {
    fields.push_back(Trim(text.substr(start, comma - start)));
  }
  fields.push_back(Trim(text.substr(start)));
  return fields;
}

// A decoration NT[machine][.major[.minor[...]]] for this library's own machine (or
// none named) and a version not above the running one: that version as major * 1000 +
// minor; -1 when it does not fit.
long DecorationFit(const std::string& decoration, DWORD running) {
  const std::string own = sizeof(void*) == 8 ? "amd64" : "x86";
  if (decoration.size() < 2 || !EqualsNoCase(decoration.substr(0, 2), "NT")) return -1;
  const size_t dot = decoration.find('.');
  const std::string machine = decoration.substr(2, dot == std::string::npos ? dot : dot - 2);
  if (!machine.empty() && !EqualsNoCase(machine, own)) return -1;
  unsigned major = 0, minor = 0;
  if (dot != std::string::npos) std::sscanf(decoration.c_str() + dot, ".%u.%u", &major, &minor);
  const long version = static_cast<long>(major) * 1000 + minor;
  return version <= static_cast<long>(running) ? version : -1;
}

// The models section of an INF written the standard way: [Manufacturer]'s first entry
// names it, with the decorations the best of which is appended.
std::string StandardModelsSection(const std::string& infPath) {
  const std::vector<std::string> entries = IniKeys(infPath, "Manufacturer");
  if (entries.empty()) return "";
  const std::vector<std::string> fields =
      SplitAtCommas(IniString(infPath, "Manufacturer", entries.front()));
  OSVERSIONINFOA os = {};
  os.dwOSVersionInfoSize = sizeof os;
  ::GetVersionExA(&os);
  const DWORD running = os.dwMajorVersion * 1000 + os.dwMinorVersion;
  std::string best;
  long bestVersion = -1;
  for (size_t i = 1; i < fields.size(); ++i) {
    const long version = DecorationFit(fields[i], running);
    if (version > bestVersion) {
      best = fields[i];
      bestVersion = version;
    }
  }
  return best.empty() ? fields.front() : fields.front() + "." + best;
}

// A "%token%" from [Strings]; for a standard INF first from the strings section of
// the system's language.
std::string ResolveToken(const std::string& infPath, const std::string& name, bool standard) {
  if (name.size() < 3 || name.front() != '%' || name.back() != '%') return name;
  const std::string token = name.substr(1, name.size() - 2);
  const std::string common = IniString(infPath, "Strings", token, name);
  if (!standard) return common;
  char local[16];
  std::snprintf(local, sizeof local, "Strings.%04X", ::GetSystemDefaultLangID());
  return IniString(infPath, local, token, common);
}

}  // namespace

uint32_t ReadInfModel(const std::string& infPath, InfModel& model) {
  if (!FileExists(infPath)) return ERROR_FILE_NOT_FOUND;
  std::string section = Unquote(IniString(infPath, "Strings", "ProviderName"));
  std::vector<std::string> keys =
      section.empty() ? std::vector<std::string>{} : IniKeys(infPath, section);
  const bool standard = keys.empty();
  if (standard) {
    section = StandardModelsSection(infPath);
    keys = section.empty() ? keys : IniKeys(infPath, section);
  }
  if (keys.empty()) return kErrorSectionNotFound;
  model.name = ResolveToken(infPath, Unquote(Trim(keys.front())), standard);
  if (model.name.empty()) return kErrorLineNotFound;
  const std::string line = IniString(infPath, section, keys.front());
  model.installSection = Trim(line.substr(0, line.find(',')));
  return 0;
}

PrinterSetup InstallPrinter(const std::string& infPath, const InfModel& model,
                            const std::string& port) {
  PrinterSetup setup;
  setup.port = port;
  if (port.empty() || !PortExists(port)) {
    setup.port = "LPT1:";
    setup.notes.push_back("port \"" + port + "\" does not exist, using \"LPT1:\"");
  }
  if (!DriverExists(model.name)) {
    setup.error = AddDriver(infPath, model);
    if (setup.error != 0) {
      setup.notes.push_back("AddPrinterDriverExA failed with " + std::to_string(setup.error));
      return setup;
    }
    setup.notes.push_back("driver \"" + model.name + "\" added");
  }

  HANDLE printer = nullptr;
  if (::OpenPrinterA(const_cast<char*>(model.name.c_str()), &printer, nullptr)) {
    ::ClosePrinter(printer);
    setup.notes.push_back("printer \"" + model.name + "\" exists already, left as it is");
    return setup;
  }
  PRINTER_INFO_2A info = {};
  info.pPrinterName = const_cast<char*>(model.name.c_str());
  info.pPortName = setup.port.data();
  info.pDriverName = const_cast<char*>(model.name.c_str());
  info.pPrintProcessor = const_cast<char*>("WinPrint");
  info.pDatatype = const_cast<char*>("RAW");
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  printer = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (printer == nullptr) {
    setup.error = LastErrorOr31();
    setup.notes.push_back("AddPrinterA failed with " + std::to_string(setup.error));
    return setup;
  }
  ::ClosePrinter(printer);
  return setup;
}

}  // namespace pinst::tools
