#include "config/inf_decoration.h"

#include "base/ansi_text.h"

namespace pinst {

namespace {

// Decorations are ASCII; a code page without lead bytes compares them.
constexpr uint32_t kAscii = 1252;

std::optional<NativeMachine> MachineNamed(std::string_view name) {
  if (EqualsNoCase(name, "x86", kAscii)) return NativeMachine::kX86;
  if (EqualsNoCase(name, "amd64", kAscii)) return NativeMachine::kX64;
  if (EqualsNoCase(name, "arm64", kAscii)) return NativeMachine::kArm64;
  return std::nullopt;  // ia64, arm and anything else: no machine this program installs for
}

// An empty field is one not written (0); anything but up to five digits is no number.
bool ParseVersionField(std::string_view field, uint32_t& out) {
  out = 0;
  if (field.size() > 5) return false;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + static_cast<uint32_t>(c - '0');
  }
  return true;
}

bool NotAbove(OsVersion a, OsVersion b) {
  return a.major < b.major || (a.major == b.major && a.minor <= b.minor);
}

}  // namespace

std::optional<InfDecoration> ParseInfDecoration(std::string_view text) {
  text = TrimControls(text);
  if (text.size() < 2 || !EqualsNoCase(text.substr(0, 2), "NT", kAscii)) return std::nullopt;
  InfDecoration d;
  d.text = std::string(text);
  std::string_view rest = text.substr(2);
  const size_t dot = rest.find('.');
  const std::string_view machine = rest.substr(0, dot);
  if (!machine.empty()) {
    d.anyMachine = false;
    d.machine = MachineNamed(machine);
  }
  if (dot == std::string_view::npos) return d;
  rest = rest.substr(dot + 1);
  const size_t minorDot = rest.find('.');
  if (!ParseVersionField(rest.substr(0, minorDot), d.version.major)) return std::nullopt;
  if (minorDot != std::string_view::npos) {
    const std::string_view minor = rest.substr(minorDot + 1);
    if (!ParseVersionField(minor.substr(0, minor.find('.')), d.version.minor)) return std::nullopt;
  }
  return d;
}

std::optional<std::string> PickInfDecoration(const std::vector<std::string>& decorations,
                                             NativeMachine machine, OsVersion running) {
  std::optional<InfDecoration> best;
  for (const std::string& text : decorations) {
    std::optional<InfDecoration> d = ParseInfDecoration(text);
    if (!d || !(d->anyMachine || d->machine == machine) || !NotAbove(d->version, running)) {
      continue;
    }
    const bool better =
        !best || !NotAbove(d->version, best->version) ||
        (d->version.major == best->version.major && d->version.minor == best->version.minor &&
         best->anyMachine && !d->anyMachine);
    if (better) best = std::move(d);
  }
  if (!best) return std::nullopt;
  return best->text;
}

}  // namespace pinst
