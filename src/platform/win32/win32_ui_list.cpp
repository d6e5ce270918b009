#include "platform/win32/win32_ui_list.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>

namespace pinst::win32 {

namespace {

void CopyText(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  text.copy(buffer, n);
  buffer[n] = '\0';
}

// A list asks in UTF-16 when its parent answers WM_NOTIFYFORMAT so; the captions
// stay bytes in the ANSI code page until here.
void CopyText(const std::string& text, wchar_t* buffer, int size) {
  if (!buffer || size <= 0) return;
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), buffer,
                                      size - 1);
  buffer[n > 0 ? n : 0] = L'\0';
}

std::string Ansi(const wchar_t* text) {
  if (!text) return {};
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

template <typename Item>
void FillRow(IUiSink& sink, Item& item) {
  if (item.mask & LVIF_TEXT) CopyText(sink.UiItemText(item.iItem), item.pszText, item.cchTextMax);
  if (item.mask & LVIF_IMAGE) item.iImage = 0;
}

// Typing finds rows by the start of their caption; anything else finds nothing.
LRESULT FindRow(IUiSink& sink, UINT flags, const std::string& text, int start) {
  if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) return -1;
  return sink.UiFindItem(text, start);
}

}  // namespace

bool ListNotification(IUiSink& sink, const NMHDR& header, bool guarded, LRESULT& result) {
  result = 0;
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      if (guarded) return true;
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      // An owner-data list reports "every item" as -1, when they all lose the selection.
      if ((change.uChanged & LVIF_STATE) &&
          ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && change.iItem >= -1) {
        sink.UiItemSelected(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
      }
      return true;
    }
    case LVN_GETDISPINFOA:
      FillRow(sink,
              const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)).item);
      return true;
    case LVN_GETDISPINFOW:
      FillRow(sink,
              const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item);
      return true;
    case LVN_ODFINDITEMA: {
      const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
      result = FindRow(sink, find.lvfi.flags, find.lvfi.psz ? find.lvfi.psz : "", find.iStart);
      return true;
    }
    case LVN_ODFINDITEMW: {
      const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
      result = FindRow(sink, find.lvfi.flags, Ansi(find.lvfi.psz), find.iStart);
      return true;
    }
    case NM_DBLCLK:
      sink.UiDblClick();
      return true;
    default:
      return false;
  }
}

}  // namespace pinst::win32
