// A port monitor's configuration interface (Xcv), the way a program reaches it
// through the spooler: OpenPrinterA(",XcvMonitor <monitor>") with an access right,
// then XcvDataW with a command name and its input record. The call's result says
// whether the monitor was reached; the status is the monitor's own answer.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace pinst {

enum : uint32_t {
  kServerAccessAdminister = 0x1,
};

// Status and last-error values monitors answer with.
enum : uint32_t {
  kErrorInvalidFunction = 1,
  kErrorNotSupported = 50,
  kErrorBusy = 170,
  kErrorAlreadyExists = 183,
};

// The Standard TCP/IP Port monitor's records (tcpxcv.h), laid out byte for byte
// as Windows has them: UTF-16 texts of fixed lengths, little-endian numbers.
enum : uint32_t { kProtocolRawTcp = 1, kProtocolLpr = 2 };

struct PortData1 {
  std::array<char16_t, 64> sztPortName{};
  uint32_t dwVersion = 0;
  uint32_t dwProtocol = 0;
  uint32_t cbSize = 0;
  uint32_t dwReserved = 0;
  std::array<char16_t, 49> sztHostAddress{};
  std::array<char16_t, 33> sztSNMPCommunity{};
  uint32_t dwDoubleSpool = 0;
  std::array<char16_t, 33> sztQueue{};
  std::array<char16_t, 16> sztIPAddress{};
  std::array<uint8_t, 540> Reserved{};
  uint32_t dwPortNumber = 0;
  uint32_t dwSNMPEnabled = 0;
  uint32_t dwSNMPDevIndex = 0;
};
static_assert(sizeof(PortData1) == 964);

struct DeletePortData1 {
  std::array<char16_t, 64> psztPortName{};
  std::array<uint8_t, 98> Reserved{};
  uint32_t dwVersion = 0;
  uint32_t dwReserved = 0;
};
static_assert(sizeof(DeletePortData1) == 236);
static_assert(std::endian::native == std::endian::little);

// A record as the bytes XcvDataW carries, and back (bytes the input lacks read as zero).
template <typename Record>
std::vector<uint8_t> RecordBytes(const Record& record) {
  std::vector<uint8_t> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}
template <typename Record>
Record RecordFromBytes(const std::vector<uint8_t>& bytes) {
  Record record;
  if (!bytes.empty()) {
    std::memcpy(&record, bytes.data(), bytes.size() < sizeof record ? bytes.size() : sizeof record);
  }
  return record;
}

// ASCII into a fixed wide text, cut to leave its terminating zero; and back.
template <size_t N>
void SetWide(std::array<char16_t, N>& field, const std::string& text) {
  field.fill(0);
  for (size_t i = 0; i < text.size() && i + 1 < N; ++i) {
    field[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  }
}
template <size_t N>
std::string WideText(const std::array<char16_t, N>& field) {
  std::string text;
  for (char16_t c : field) {
    if (c == 0) break;
    text += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return text;
}

// An open Xcv handle. Destroying it closes it (ClosePrinter).
class IXcvHandle {
 public:
  virtual ~IXcvHandle() = default;
  // XcvDataW(handle, dataName, input, no output buffer). False when the call itself
  // failed (the last error says why); otherwise status holds the monitor's answer
  // (0: done).
  virtual bool XcvDataW(const std::string& dataName, const std::vector<uint8_t>& input,
                        uint32_t& status) = 0;
};

// Move-only; null when the monitor could not be opened.
using XcvHandle = std::unique_ptr<IXcvHandle>;

class IPortMonitors {
 public:
  virtual ~IPortMonitors() = default;
  // OpenPrinterA(",XcvMonitor " + monitor) with PRINTER_DEFAULTS of no data type,
  // no device mode and this desired access; null (last error set) when it fails.
  virtual XcvHandle OpenXcvMonitor(const std::string& monitor, uint32_t desiredAccess) = 0;
  // The calling thread's last-error value.
  virtual uint32_t GetLastError() = 0;
};

}  // namespace pinst
