#include "app/standard_output.h"

#include "platform/platform.h"
#include "platform/system.h"
#include "sys/run_log.h"

namespace pinst {

void SayLine(const std::string& line) {
  Os().system->WriteStandardOutput(line + "\r\n");
  LogLine("Output: " + line);
}

}  // namespace pinst
