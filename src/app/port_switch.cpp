#include "app/port_switch.h"

#include <algorithm>

#include "base/ansi_text.h"

namespace pinst {

namespace {

// The monitor's fixed texts: host 49 wide characters, queue 33, port name 64,
// each with its terminating zero.
constexpr size_t kMaxHost = 48;
constexpr size_t kMaxQueue = 32;
constexpr size_t kMaxTcpPortName = 63;
constexpr size_t kMaxPortName = 259;

bool Digits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsIpv4(const std::string& text) {
  size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const size_t dot = part < 3 ? text.find('.', start) : text.size();
    if (dot == std::string::npos) return false;
    const std::string number = text.substr(start, dot - start);
    // A leading zero would read as octal to some resolvers.
    if (!Digits(number) || number.size() > 3 || (number.size() > 1 && number[0] == '0')) {
      return false;
    }
    if (std::stoi(number) > 255) return false;
    start = dot + 1;
  }
  return start == text.size() + 1;
}

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A DNS host name: labels of letters, digits and inner hyphens. All digits and dots
// is an address, not a name.
bool IsHostName(const std::string& text) {
  if (text.empty() || text.size() > kMaxHost) return false;
  if (text.find_first_not_of("0123456789.") == std::string::npos) return false;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t dot = std::min(text.find('.', start), text.size());
    const std::string label = text.substr(start, dot - start);
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
      return false;
    }
    if (!std::all_of(label.begin(), label.end(),
                     [](char c) { return IsLetterOrDigit(c) || c == '-'; })) {
      return false;
    }
    start = dot + 1;
  }
  return true;
}

bool IsHost(const std::string& text) {
  return text.size() <= kMaxHost && (IsIpv4(text) || IsHostName(text));
}

// Bytes a port name cannot hold: the spooler separates a printer's ports by
// commas, and control characters end up in no port.
bool IsPortName(const std::string& text) {
  if (text.empty() || text.size() > kMaxPortName) return false;
  if (text.front() == ' ' || text.back() == ' ') return false;
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == ',';
  });
}

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::optional<TTcpPortSpec> RawAddress(const std::string& rest, std::string& why) {
  const size_t colon = rest.find(':');
  TTcpPortSpec spec;
  spec.host = rest.substr(0, colon);
  if (colon != std::string::npos) {
    const std::string number = rest.substr(colon + 1);
    if (!Digits(number) || number.size() > 5 || std::stoi(number) < 1 ||
        std::stoi(number) > 65535) {
      why = "the port number must be 1 to 65535";
      return std::nullopt;
    }
    spec.portNumber = static_cast<uint32_t>(std::stoi(number));
  }
  if (!IsHost(spec.host)) {
    why = "\"" + spec.host + "\" is no IPv4 address or host name";
    return std::nullopt;
  }
  spec.portName = "IP_" + spec.host;
  if (spec.portNumber != kRawPortNumber) spec.portName += "_" + std::to_string(spec.portNumber);
  return spec;
}

std::optional<TTcpPortSpec> LprAddress(const std::string& rest, std::string& why) {
  const size_t slash = rest.find('/');
  TTcpPortSpec spec;
  spec.protocol = kProtocolLpr;
  spec.portNumber = kLprPortNumber;
  spec.host = rest.substr(0, slash);
  spec.queue = slash == std::string::npos ? "" : rest.substr(slash + 1);
  if (!IsHost(spec.host)) {
    why = "\"" + spec.host + "\" is no IPv4 address or host name";
    return std::nullopt;
  }
  const bool queueOk = !spec.queue.empty() && spec.queue.size() <= kMaxQueue &&
                       std::all_of(spec.queue.begin(), spec.queue.end(), [](char c) {
                         return IsLetterOrDigit(c) || c == '_' || c == '-' || c == '.';
                       });
  if (!queueOk) {
    why = "an LPR queue is 1 to 32 letters, digits, '_', '-' or '.'";
    return std::nullopt;
  }
  spec.portName = "LPR_" + spec.host + "_" + spec.queue;
  return spec;
}

}  // namespace

std::optional<TPortSwitch> ParsePortSwitch(const std::string& value, std::string& why) {
  TPortSwitch port;
  port.value = value;
  if (value.empty()) {
    why = "the value is empty";
    return std::nullopt;
  }
  if (StartsWithNoCase(value, "raw://")) {
    port.address = RawAddress(value.substr(6), why);
  } else if (StartsWithNoCase(value, "lpr://")) {
    port.address = LprAddress(value.substr(6), why);
  } else if (value.find("://") != std::string::npos) {
    why = "only raw:// and lpr:// addresses are known";
    return std::nullopt;
  } else if (value.find_first_not_of("0123456789.") == std::string::npos) {
    if (!IsIpv4(value)) {
      why = "\"" + value + "\" is no IPv4 address";
      return std::nullopt;
    }
    port.address = RawAddress(value, why);
  } else {
    port.mayBeName = IsPortName(value);
    if (!port.mayBeName) {
      why = "a port name cannot hold a comma, a control character or a blank at either end";
      return std::nullopt;
    }
    if (IsHostName(value)) port.address = RawAddress(value, why);
    return port;
  }
  if (!port.address) return std::nullopt;
  if (port.address->portName.size() > kMaxTcpPortName) {
    why = "the port name " + port.address->portName + " would be longer than 63 characters";
    return std::nullopt;
  }
  return port;
}

std::optional<TPortChoice> ChoosePort(const TPortSwitch& port, const std::vector<PortInfo2>& ports,
                                      uint32_t codePage) {
  const auto existing = [&](const std::string& name) -> const PortInfo2* {
    for (const PortInfo2& p : ports) {
      if (EqualsNoCase(p.portName, name, codePage)) return &p;
    }
    return nullptr;
  };
  TPortChoice choice;
  if (port.mayBeName) {
    if (const PortInfo2* p = existing(port.value)) {
      choice.portName = p->portName;
      return choice;
    }
  }
  if (!port.address) return std::nullopt;
  choice.spec = *port.address;
  if (const PortInfo2* p = existing(port.address->portName)) {
    choice.portName = p->portName;
    return choice;
  }
  choice.portName = port.address->portName;
  choice.make = true;
  return choice;
}

}  // namespace pinst
