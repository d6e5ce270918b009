#include "engine/hardware_ids.h"

#include <string_view>
#include <vector>

#include "base/ansi_text.h"
#include "config/ini_file.h"
#include "config/brand.h"
#include "engine/install_error.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "sys/debug_info.h"
#include "sys/run_cmd.h"
#include "sys/win_version.h"

namespace pinst {

namespace {

constexpr std::string_view kEnumerator = "LPTENUM\\";
// A USB-only printer's INF has no parallel-port line: its USB line gives the ids.
constexpr std::string_view kUsbEnumerator = "USBPRINT\\";
// The word looked for in the status output; brand.ini's BrandWord takes its place.
constexpr const char* kBrand = "Tessaly";

// First occurrence of what (ASCII) that starts on a character boundary.
size_t FindText(std::string_view text, std::string_view what, uint32_t codePage) {
  for (size_t i = 0; i < text.size(); i += CharLength(text, i, codePage)) {
    if (text.substr(i, what.size()) == what) return i;
  }
  return std::string_view::npos;
}

// Lines ended by CR LF, CR or LF.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

struct ModelLine {
  std::string id;          // trimmed
  std::string compatible;  // enumerator prefix dropped, trimmed
};

// The ids of one model line of the enumerator; nothing for a comment or any other
// line. An "LPTENUM\" id counts only with a comma after it; a USB id may end the line.
std::optional<ModelLine> ParseModelLine(std::string_view line, std::string_view enumerator,
                                        uint32_t codePage) {
  const size_t semicolon = FindSingleByte(line, ';', codePage);
  if (semicolon == 0 || semicolon == 1) return std::nullopt;
  const size_t at = FindText(line, enumerator, codePage);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(at + enumerator.size());
  const size_t comma = FindSingleByte(rest, ',', codePage);
  const bool toEnd = enumerator == kUsbEnumerator;
  const std::string_view id = comma != std::string_view::npos ? rest.substr(0, comma)
                              : toEnd                         ? rest
                                                              : std::string_view();
  std::string_view tail = comma != std::string_view::npos ? rest.substr(comma + 1)
                          : toEnd                         ? std::string_view()
                                                          : rest;
  const size_t backslash = FindSingleByte(tail, '\\', codePage);
  if (backslash != std::string_view::npos) tail = tail.substr(backslash + 1);
  return ModelLine{std::string(TrimControls(id)), std::string(TrimControls(tail))};
}

void Log(const std::string& msg) { WriteDebugInfo(msg, kDebugToDebugger, ""); }

// Counts the enumerator's model lines and picks the id as ReadInfHardwareIds says.
int ReadIdsOfEnumerator(std::string_view text, std::string_view enumerator, uint32_t codePage,
                        std::string& hardwareId, std::string& compatibleId) {
  int count = 0;
  ModelLine first;
  std::optional<ModelLine> other;  // the last line whose id differs from the first
  for (std::string_view line : Lines(text)) {
    std::optional<ModelLine> parsed = ParseModelLine(line, enumerator, codePage);
    if (!parsed) continue;
    if (first.id.empty()) {
      // A line without an id does not hold the first place: the next one takes it.
      first = std::move(*parsed);
      ++count;
    } else if (!parsed->id.empty() && parsed->id != first.id) {
      // An empty id never stands in for a real one.
      other = std::move(parsed);
      ++count;
    }
  }
  if (count == 0) return 0;

  const ModelLine* longer = &first;
  const ModelLine* shorter = &first;
  if (other) {
    if (first.id.size() > other->id.size()) {
      shorter = &*other;
    } else {
      longer = &*other;
    }
  }
  const ModelLine& chosen = GetWinVersion() >= 51 ? *shorter : *longer;
  hardwareId = chosen.id;
  compatibleId = chosen.compatible;
  return count;
}

}  // namespace

int ReadInfHardwareIds(const std::string& infPath, std::string& hardwareId,
                       std::string& compatibleId) {
  hardwareId.clear();
  compatibleId.clear();
  IFiles& files = *Os().files;
  if (!files.FileExists(infPath)) return 0;
  const std::optional<std::string> bytes = files.ReadWholeFile(infPath);
  if (!bytes) throw TInstallError(TInstallFault::kInfUnreadable, infPath);
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  // Many INFs are saved as UTF-16: the ids are read from the text in the code page.
  const std::string text = AnsiTextOf(*bytes);
  const int count = ReadIdsOfEnumerator(text, kEnumerator, codePage, hardwareId, compatibleId);
  if (count > 0) return count;
  return ReadIdsOfEnumerator(text, kUsbEnumerator, codePage, hardwareId, compatibleId);
}

int RescanDevices(const std::string& devconPath) {
  const std::string brand = Brand().brandWord.value_or(kBrand);
  // "Installer DC即将刷新系统硬件信息。"
  Log("Installer DC\xbc\xb4\xbd\xab\xcb\xa2\xd0\xc2\xcf\xb5\xcd\xb3\xd3\xb2\xbc\xfe\xd0\xc5\xcf\xa2"
      "\xa1\xa3");
  StringList output;
  RunCMD("cmd /C " + devconPath + " rescan", output);
  output.clear();
  // The bare tool name: the command processor finds it in the distribution folder.
  if (RunCMD("cmd /C devcon.exe status *LPTENUM\\*", output) <= 0) {
    // "Installer DC检测打印机%s没有联机！！"
    Log(std::string("Installer DC\xbc\xec\xb2\xe2\xb4\xf2\xd3\xa1\xbb\xfa") + brand +
        "\xc3\xbb\xd3\xd0\xc1\xaa\xbb\xfa\xa3\xa1\xa3\xa1");
    return kRescanNoStatus;
  }
  const std::string text = JoinOutput(output);
  // "LPT1.4" ends the instance id of a device on the first parallel port.
  if (text.find("LPT1.4") == std::string::npos) return kRescanNoLptDevice;
  // "Installer DC检测到并口打印机联机。"
  Log("Installer DC\xbc\xec\xb2\xe2\xb5\xbd\xb2\xa2\xbf\xda\xb4\xf2\xd3\xa1\xbb\xfa\xc1\xaa\xbb\xfa"
      "\xa1\xa3");
  if (text.find(brand) == std::string::npos) return kRescanLptDevice;
  // "Installer DC检测到打印机%s联机。"
  Log(std::string("Installer DC\xbc\xec\xb2\xe2\xb5\xbd\xb4\xf2\xd3\xa1\xbb\xfa") + brand +
      "\xc1\xaa\xbb\xfa\xa1\xa3");
  return kRescanBrandDevice;
}

}  // namespace pinst
