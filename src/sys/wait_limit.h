// How long the program waits on another program (a console command, the 64-bit
// helper) before it ends that program. An unattended run sets a limit, so that
// whoever deployed it never waits without end; a person's run sets none for
// console commands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pinst {

// Milliseconds in 64 bits: a limit of 999,999,999 seconds does not fit 32.
void SetWaitLimit(std::optional<uint64_t> milliseconds);
std::optional<uint64_t> WaitLimit();

// A wait that reached the limit, and what it waited for; kept until cleared.
void NoteWaitTimedOut(const std::string& what);
std::optional<std::string> WaitTimedOut();
void ClearWaitTimedOut();

}  // namespace pinst
