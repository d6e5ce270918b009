// Windows version and WOW64 checks.
#pragma once

namespace pinst {

// Major x 10 + minor: 50 Windows 2000, 51 XP, 52 Server 2003 / XP x64, 60 Vista, 61 7.
int GetWinVersion();

// True when this 32-bit program runs on 64-bit Windows. Asked anew on each call.
bool IsWow64();

}  // namespace pinst
