#include "platform/sim/sim_system.h"

#include <iconv.h>

#include <cstdio>

namespace pinst::sim {

namespace {

const char* IconvName(uint32_t codePage) {
  switch (codePage) {
    case 936:
      return "CP936";
    case 950:
      return "CP950";
    case 932:
      return "CP932";
    case 949:
      return "CP949";
    default:
      return "CP1252";
  }
}

}  // namespace

std::string SimSystem::WideToAnsi(const std::u16string& text) {
  iconv_t cd = iconv_open(IconvName(codePage), "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text.size(), '?');
  std::string out;
  // One character at a time, so an unmappable one becomes '?' as Windows does.
  for (size_t i = 0; i < text.size(); ++i) {
    size_t units = 1;
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) units = 2;
    char in[4];
    for (size_t k = 0; k < units; ++k) {
      in[2 * k] = static_cast<char>(text[i + k] & 0xFF);
      in[2 * k + 1] = static_cast<char>(text[i + k] >> 8);
    }
    char buf[8];
    char* inPtr = in;
    size_t inLeft = units * 2;
    char* outPtr = buf;
    size_t outLeft = sizeof buf;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      out.push_back('?');
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    } else {
      out.append(buf, outPtr);
    }
    i += units - 1;
  }
  iconv_close(cd);
  return out;
}

void SimSystem::Sleep(uint32_t milliseconds) {
  sleeps.push_back(milliseconds);
  Note(trace, "sleep " + std::to_string(milliseconds));
  clock_.Advance(milliseconds);
}

std::string SimSystem::LocalDateTimeText() {
  const uint64_t s = clock_.NowMs() / 1000;
  char buf[32];
  std::snprintf(buf, sizeof buf, "2026-12-07 %02u:%02u:%02u", static_cast<unsigned>(s / 3600 % 24),
                static_cast<unsigned>(s / 60 % 60), static_cast<unsigned>(s % 60));
  return buf;
}

// 2026-12-07 at midnight when the clock starts, a day further every 24 hours
// (the month is not turned over).
LocalTimeStamp SimSystem::LocalTime() {
  const uint64_t ms = clock_.NowMs();
  LocalTimeStamp now;
  now.year = 2026;
  now.month = 12;
  now.day = static_cast<uint16_t>(7 + ms / 86400000);
  now.hour = static_cast<uint16_t>(ms / 3600000 % 24);
  now.minute = static_cast<uint16_t>(ms / 60000 % 60);
  now.second = static_cast<uint16_t>(ms / 1000 % 60);
  now.milliseconds = static_cast<uint16_t>(ms % 1000);
  now.biasMinutes = timeZoneBias;
  return now;
}

int SimSystem::ShowMessageBox(uintptr_t owner, const std::string& text, const std::string& caption,
                              uint32_t flags) {
  SimMessageBox box{owner, text, caption, flags, 0};
  int answer = (flags & 0xF) == kMbOk ? kIdOk : kIdCancel;
  if (Injected(faults, "system.MessageBoxA")) {
    answer = 0;  // the box could not be shown; no queued answer is used
  } else if (!messageBoxAnswers.empty()) {
    answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
  }
  box.answer = answer;
  char head[32];
  std::snprintf(head, sizeof head, "box %02X ", static_cast<unsigned>(flags));
  Note(trace, head + caption + ": " + text + " -> " + std::to_string(answer));
  messageBoxes.push_back(box);
  return answer;
}

namespace {

class SimInstanceLock : public IInstanceLock {
 public:
  SimInstanceLock(std::set<std::string>& held, std::string name)
      : held_(held), name_(std::move(name)) {
    held_.insert(name_);
  }
  ~SimInstanceLock() override { held_.erase(name_); }
  SimInstanceLock(const SimInstanceLock&) = delete;
  SimInstanceLock& operator=(const SimInstanceLock&) = delete;

 private:
  std::set<std::string>& held_;
  std::string name_;
};

}  // namespace

std::unique_ptr<IInstanceLock> SimSystem::LockInstance(const std::string& name) {
  if (heldMutexes.count(name)) return nullptr;
  return std::make_unique<SimInstanceLock>(heldMutexes, name);
}

bool SimSystem::ActivateWindowOfClass(const std::string& className) {
  if (!otherWindows.count(className)) return false;
  activatedWindows.push_back(className);
  return true;
}

}  // namespace pinst::sim
