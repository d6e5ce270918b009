// The codes the installer library answers with: Windows and SetupAPI values, so the
// installer and a maker's support staff read them as Windows' own.
#pragma once

#include <cstdint>

namespace pinst {

enum : uint32_t {
  kLibOk = 0,
  kLibFileNotFound = 2,                 // ERROR_FILE_NOT_FOUND
  kLibInvalidParameter = 87,            // ERROR_INVALID_PARAMETER
  kLibInstallFailure = 1603,            // ERROR_INSTALL_FAILURE: a failure Windows gave no code for
  kLibSectionNotFound = 0xE0000101,     // ERROR_SECTION_NOT_FOUND
  kLibLineNotFound = 0xE0000102,        // ERROR_LINE_NOT_FOUND
  kLibNoSuchDevinst = 0xE000020B,       // ERROR_NO_SUCH_DEVINST
  kLibNoCatalogForOemInf = 0xE000022F,  // ERROR_NO_CATALOG_FOR_OEM_INF
};

// FuncInst2K's results: 1 or less is success.
constexpr int32_t kLibResultSuccess = 0;
constexpr int32_t kLibResultFailure = 2;

// The Windows or SetupAPI code an HRESULT carries: HRESULT_FROM_WIN32 and
// HRESULT_FROM_SETUPAPI taken apart, any other HRESULT kept as it is.
inline uint32_t CodeOfHresult(int32_t hr) {
  const uint32_t value = static_cast<uint32_t>(hr);
  if ((value & 0xFFFF0000u) == 0x80070000u) return value & 0xFFFFu;
  if ((value & 0xFFFF0000u) == 0x800F0000u) return 0xE0000000u | (value & 0xFFFFu);
  return value;
}

}  // namespace pinst
