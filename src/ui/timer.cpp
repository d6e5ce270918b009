#include "ui/timer.h"

#include "platform/platform.h"
#include "platform/ui.h"
#include "ui/form.h"

namespace pinst::ui {

TTimer::TTimer(TForm& owner, uint32_t intervalMs, bool enabled)
    : owner_(owner), id_(owner.AddTimer(this)), interval_(intervalMs), enabled_(enabled) {
  if (enabled_) Arm();
}

TTimer::~TTimer() {
  if (enabled_) Os().ui->StopTimer(owner_.Handle(), id_);
  owner_.RemoveTimer(this);
}

void TTimer::Arm() {
  if (enabled_ && interval_ > 0) {
    Os().ui->StartTimer(owner_.Handle(), id_, interval_);
  } else {
    Os().ui->StopTimer(owner_.Handle(), id_);
  }
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Arm();
}

void TTimer::SetInterval(uint32_t intervalMs) {
  if (intervalMs == interval_) return;
  interval_ = intervalMs;
  if (enabled_) Arm();
}

}  // namespace pinst::ui
