// Window messages as the forms see them, and the results of modal forms.
#pragma once

#include <cstdint>

namespace pinst::ui {

// The first number free for a program's own window messages.
constexpr uint32_t kWmUser = 0x0400;

struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Modal results, with the values of the dialog answers they stand for.
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

}  // namespace pinst::ui
