#include "removal/driver_removal.h"

#include <optional>

#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/hex_code.h"
#include "spooler/dyn_spooler.h"
#include "sys/run_log.h"

namespace pinst {

namespace {

bool DeleteDriverOnce(const std::string& driverName) {
  return DynDeletePrinterDriverEx(std::nullopt, std::nullopt, driverName, kDpdDeleteUnusedFiles, 0);
}

}  // namespace

bool DeletePrnDriver(const std::string& driverName) {
  ISystem& system = *Os().system;
  DebugLine(
      "\xD7\xBC\xB1\xB8\xC9\xBE\xB3\xFD\xC7\xFD\xB6\xAF\xB3\xCC\xD0\xF2\xA3\xA1");  // 准备删除驱动程序！
  if (DeleteDriverOnce(driverName)) return true;

  DebugLine("DeletePrinterDriverEx Failt,GetLastError return :0x" +
            HexCode8(Os().spooler->GetLastError()));
  // The spooler may still hold the driver's files for a moment after its printer went.
  system.Sleep(0);
  system.Sleep(2000);
  system.Sleep(0);
  if (DeleteDriverOnce(driverName)) return true;

  DebugLine("After Sleep(2000) DeletePrinterDriverEx Failt, GetLastError return :0x" +
            HexCode8(Os().spooler->GetLastError()));
  return false;
}

}  // namespace pinst
