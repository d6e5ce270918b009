#include "app/quiet_host.h"

#include "platform/system.h"
#include "sys/run_log.h"

namespace pinst {

std::string AnswerName(int answer) {
  switch (answer) {
    case kIdOk:
      return "OK";
    case kIdCancel:
      return "Cancel";
    case kIdYes:
      return "Yes";
    case kIdNo:
      return "No";
    default:
      return std::to_string(answer);
  }
}

std::optional<int> QuietBoxAnswer(const std::string& text, const std::string& caption,
                                  uint32_t flags) {
  int answer = kIdOk;
  switch (flags & 0xF) {
    case kMbOkCancel:
    case kMbYesNoCancel:
      answer = kIdCancel;
      break;
    case kMbYesNo:
      answer = kIdNo;
      break;
    default:
      break;
  }
  LogLine("Box not shown (" + caption + "): " + text + " -> " + AnswerName(answer));
  return answer;
}

}  // namespace pinst
