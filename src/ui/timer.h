// A window timer of a form: ticks every Interval milliseconds while enabled.
#pragma once

#include <cstdint>
#include <functional>

namespace pinst::ui {

class TForm;

class TTimer {
 public:
  TTimer(TForm& owner, uint32_t intervalMs, bool enabled);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return interval_; }
  // A running timer starts counting the new interval from now.
  void SetInterval(uint32_t intervalMs);

  std::function<void()> OnTimer;

 private:
  friend class TForm;
  uint32_t Id() const { return id_; }
  void Arm();

  TForm& owner_;
  uint32_t id_;
  uint32_t interval_;
  bool enabled_;
};

}  // namespace pinst::ui
