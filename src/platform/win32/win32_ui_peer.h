// What the win32 windows backend keeps per window, and the GDI owners it uses.
// Shared by the backend and its window procedures only.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/ui.h"
#include "platform/win32/handles.h"

namespace pinst::win32 {

struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
using ScopedGdiObject = Scoped<GdiObjectTraits>;

struct WindowDcTraits {
  struct Handle {
    HWND window = nullptr;
    HDC dc = nullptr;
  };
  static Handle Invalid() { return {}; }
  static bool IsValid(Handle h) { return h.dc != nullptr; }
  static void Close(Handle h) { ::ReleaseDC(h.window, h.dc); }
};
using ScopedWindowDc = Scoped<WindowDcTraits>;

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteDC(h); }
};
using ScopedMemoryDc = Scoped<MemoryDcTraits>;

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::ImageList_Destroy(h); }
};
using ScopedImageList = Scoped<ImageListTraits>;

struct Peer {
  HWND hwnd = nullptr;
  UiKind kind = UiKind::kForm;
  IUiSink* sink = nullptr;  // null once the kit lets go of the window
  COLORREF textColor = RGB(0, 0, 0);
  UiCursor cursor = UiCursor::kDefault;
  bool trackingMouse = false;
  bool infoBackground = false;
  UiBorder border = UiBorder::kSizeable;
  bool centreOnOwner = false;      // a dialog placed over its owner each time it appears
  HWND savedFocus = nullptr;       // a form's focused child while it is inactive
  ScopedGdiObject bitmap;          // a picture's bitmap
  ScopedImageList glyph;           // a button's picture
  WNDPROC originalProc = nullptr;  // the control class's own procedure, under ours
  bool layoutPending = false;      // a list whose rows are laid out before it is seen
};

}  // namespace pinst::win32
