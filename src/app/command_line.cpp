#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/port_switch.h"

namespace pinst {

namespace {

enum class TKind : uint8_t { kFlag, kValue };

struct TSwitch {
  std::string_view name;  // lower case, "/" first; a value switch ends with "="
  TKind kind;
  std::string_view shown;  // as the usage text writes it
  bool unattended;         // meant for a run that no one watches
};

constexpr std::array<TSwitch, 13> kSwitches = {{
    {"/hide", TKind::kFlag, "/Hide", true},
    {"/quiet", TKind::kFlag, "/Quiet", true},
    {"/?", TKind::kFlag, "/?", false},
    {"/norestart", TKind::kFlag, "/NoRestart", true},
    {"/check", TKind::kFlag, "/Check", false},
    {"/list", TKind::kFlag, "/List", false},
    {"/uninstall", TKind::kFlag, "/Uninstall", false},
    {"/verify", TKind::kFlag, "/Verify", false},
    {"/model=", TKind::kValue, "/Model=", true},
    {"/log=", TKind::kValue, "/Log=", true},
    {"/logformat=", TKind::kValue, "/LogFormat=", true},
    {"/timeout=", TKind::kValue, "/Timeout=", true},
    {"/port=", TKind::kValue, "/Port=", true},
}};

// The argument as switches are compared: "-" read as "/", ASCII lower case.
std::string Folded(std::string_view arg) {
  std::string text(arg);
  if (!text.empty() && text[0] == '-') text[0] = '/';
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The value after a switch's "=": quotes a shell left in place are dropped.
std::string SwitchValue(std::string_view arg, size_t nameSize) {
  std::string value;
  for (char c : arg.substr(nameSize)) {
    if (c != '"') value += c;
  }
  return value;
}

// Edits (insert, delete, change, swap of two neighbours) from a to b.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// The switch an argument is a letter or two off, of four letters or more
// ("/Quite", "/Modle=x", "Quiet"), the nearest first; a value switch is compared
// up to its "=".
const TSwitch* NearMiss(const std::string& folded) {
  if (folded.size() > 64) return nullptr;
  const size_t equals = folded.find('=');
  const std::string_view key =
      equals == std::string::npos ? folded : std::string_view(folded).substr(0, equals + 1);
  const TSwitch* nearest = nullptr;
  size_t best = 3;
  for (const TSwitch& s : kSwitches) {
    if (s.name.size() < 5 || key.size() < 4) continue;
    std::string_view name = s.name;
    // "/Model" and "/Model=x" are both near "/Model=".
    const std::string_view bare = key.back() == '=' ? key.substr(0, key.size() - 1) : key;
    if (s.kind == TKind::kValue) name.remove_suffix(1);
    const size_t distance = EditDistance(bare, name);
    if (distance < best) {
      best = distance;
      nearest = &s;
    }
  }
  return nearest;
}

std::optional<TLogFormat> LogFormat(const std::string& text) {
  const std::string folded = Folded(text);
  if (folded == "plain") return TLogFormat::kPlain;
  if (folded == "cmtrace") return TLogFormat::kCmTrace;
  return std::nullopt;
}

std::optional<uint32_t> Seconds(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value == 0) return std::nullopt;
  return value;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  TCommandLine line;
  bool nearMiss = false;
  for (const std::string& arg : args) {
    const std::string folded = Folded(arg);
    const TSwitch* found = nullptr;
    for (const TSwitch& s : kSwitches) {
      const bool match = s.kind == TKind::kFlag ? folded == s.name : folded.starts_with(s.name);
      if (match) found = &s;
    }
    if (!found) {
      line.unknown.push_back(arg);
      if (const TSwitch* near = NearMiss(folded)) {
        nearMiss = true;
        line.nearMisses.push_back({arg, std::string(near->shown)});
        // Only a near miss of /Quiet or /Hide says by itself that no one watches.
        line.unattendedMiss =
            line.unattendedMiss || near->name == "/quiet" || near->name == "/hide";
      }
      continue;
    }
    line.unattendedSwitch = line.unattendedSwitch || found->unattended;
    const std::string_view name = found->name;
    if (name == "/hide") {
      line.hide = true;
    } else if (name == "/quiet") {
      line.quiet = line.hide = true;
    } else if (name == "/?") {
      line.help = true;
    } else if (name == "/norestart") {
      line.noRestart = true;
    } else if (name == "/check") {
      line.check = true;
    } else if (name == "/list") {
      line.list = true;
    } else if (name == "/uninstall") {
      line.uninstall = true;
    } else if (name == "/verify") {
      line.verify = true;
    } else if (name == "/model=") {
      line.model = SwitchValue(arg, name.size());
    } else if (name == "/log=") {
      line.logFile = SwitchValue(arg, name.size());
    } else if (name == "/logformat=") {
      line.logFormat = LogFormat(SwitchValue(arg, name.size()));
      if (!line.logFormat) {
        line.unknown.push_back(arg);
        line.nearMisses.push_back({arg, "/LogFormat=Plain or /LogFormat=CMTrace"});
        nearMiss = true;
      }
    } else if (name == "/port=") {
      line.port = SwitchValue(arg, name.size());
      std::string why;
      line.portRefusal.clear();
      if (!ParsePortSwitch(*line.port, why)) line.portRefusal = "/Port=" + *line.port + ": " + why;
    } else {
      line.timeoutSeconds = Seconds(SwitchValue(arg, name.size()));
      if (!line.timeoutSeconds) {
        line.unknown.push_back(arg);
        line.nearMisses.push_back({arg, "/Timeout=SECONDS"});
        nearMiss = true;
      }
    }
  }
  // A port belongs to one model's install.
  if (line.port && line.portRefusal.empty()) {
    if (line.check || line.list || line.uninstall || line.verify) {
      line.portRefusal =
          "/Port= is for an install, not beside /Check, /List, /Uninstall or /Verify";
    } else if (!line.model) {
      line.portRefusal = "/Port= needs /Model=NAME";
    }
  }
  line.invalid =
      nearMiss || !line.portRefusal.empty() || (!line.unknown.empty() && line.Unattended());
  return line;
}

std::vector<std::string> SwitchNames() {
  std::vector<std::string> names;
  for (const TSwitch& s : kSwitches) names.emplace_back(s.shown);
  return names;
}

}  // namespace pinst
