#pragma once

#include "platform/spooler.h"

namespace pinst::win32 {

class Win32Spooler : public ISpooler {
 public:
  bool EnumPrintersA(uint32_t flags, uint32_t bufferSize, std::vector<PrinterInfo2>& printers,
                     uint32_t& needed) override;
  bool EnumPrintersA(uint32_t flags, uint32_t bufferSize, std::vector<PrinterInfo4>& printers,
                     uint32_t& needed) override;
  bool EnumPortsA(uint32_t bufferSize, std::vector<PortInfo2>& ports, uint32_t& needed) override;
  bool EnumPrinterDriversA(const std::optional<std::string>& environment, uint32_t bufferSize,
                           std::vector<std::string>& names, uint32_t& needed) override;
  PrinterHandle OpenPrinterA(const std::string& name,
                             const std::optional<PrinterDefaults>& defaults) override;
  PrinterHandle AddPrinterA(const PrinterInfo2& info) override;
  uint32_t GetLastError() override;
  void SetLastError(uint32_t error) override;
  std::optional<bool> DeletePrinterDriverExA(const std::optional<std::string>& serverName,
                                             const std::optional<std::string>& environment,
                                             const std::string& driverName, uint32_t deleteFlag,
                                             uint32_t versionFlag) override;
  std::optional<bool> GetDefaultPrinterA(uint32_t bufferChars, std::string& name,
                                         uint32_t& neededChars) override;
  std::optional<bool> SetDefaultPrinterA(const std::string& name) override;
};

}  // namespace pinst::win32
