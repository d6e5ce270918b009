// The installer library's four exports as portable functions: the win32 entry file
// forwards each export to one of these. Buffers and strings as the exports take them.
#pragma once

#include <cstdint>

namespace pinst {

// FuncInst2K: 0 on success, 2 on failure.
int32_t LibraryFuncInst2K(const char* infPath, const char* hardwareId, const char* portName,
                          uintptr_t ownerWindow);
// FuncFindExistDevice: true with the instance id and, for a USB printer, its port;
// false with both 260-byte buffers empty.
uint32_t LibraryFuncFindExistDevice(const char* hardwareId, char* deviceId, char* portText);
// ShowErrorCode: kept in the temporary folder, so the next load knows it too.
void LibraryShowErrorCode(int32_t show);
// LastInstallErrorCode: 0 after a success (or before any install), else a code.
uint32_t LibraryLastInstallErrorCode();

}  // namespace pinst
