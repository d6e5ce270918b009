// The list view's notifications: selection changes, the captions of the rows it
// draws (it holds its rows as owner data) and the rows found by typing.
#pragma once

#include <windows.h>

#include "platform/ui.h"

namespace pinst::win32 {

// True when the notification was the list's; result receives its answer.
// guarded: the program is changing the list itself, whose changes are not echoed.
bool ListNotification(IUiSink& sink, const NMHDR& header, bool guarded, LRESULT& result);

}  // namespace pinst::win32
