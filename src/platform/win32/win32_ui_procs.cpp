// The window procedures: each message becomes one call on the sink of the window
// it concerns (the notifying child for WM_COMMAND, WM_NOTIFY and the colour
// messages), everything else goes to the default handling.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/win32/win32_ui.h"
#include "platform/win32/win32_ui_list.h"

namespace pinst::win32 {

namespace {

HCURSOR SystemCursor(LPCSTR id) { return ::LoadCursorA(nullptr, id); }

// A child's notification, handled on behalf of the child; true when it was ours.
bool FromChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  Win32Ui* ui = Win32Ui::Current();
  if (!ui) return false;
  switch (msg) {
    case WM_COMMAND: {
      const Peer* child = ui->Find(reinterpret_cast<HWND>(lParam));
      if (!child || !child->sink) return false;
      const WORD code = HIWORD(wParam);
      if (child->kind == UiKind::kButton && code == BN_CLICKED) {
        child->sink->UiClick();
      } else if (child->kind == UiKind::kLabel || child->kind == UiKind::kPicture) {
        if (code == STN_CLICKED) child->sink->UiClick();
        if (code == STN_DBLCLK) child->sink->UiDblClick();
      } else {
        return false;
      }
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const Peer* child = ui->Find(header->hwndFrom);
      if (!child || !child->sink || child->kind != UiKind::kListView) return false;
      if (!ListNotification(*child->sink, *header, ui->ListGuarded(), result)) result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      HWND hwnd = reinterpret_cast<HWND>(lParam);
      const Peer* child = ui->Find(hwnd);
      if (!child) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (child->infoBackground) {
        ::SetTextColor(dc, child->textColor);
        ::SetBkColor(dc, ::GetSysColor(COLOR_INFOBK));
        result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_INFOBK));
        return true;
      }
      if (child->kind == UiKind::kLabel) {
        ::SetTextColor(dc,
                       ::IsWindowEnabled(hwnd) ? child->textColor : ::GetSysColor(COLOR_GRAYTEXT));
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

bool BusyCursor() {
  Win32Ui* ui = Win32Ui::Current();
  if (!ui || !ui->Busy()) return false;
  ::SetCursor(SystemCursor(IDC_WAIT));
  return true;
}

}  // namespace

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Ui* ui = Win32Ui::Current();
  Peer* peer = ui ? ui->Find(hwnd) : nullptr;
  if (!peer) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (FromChild(msg, wParam, lParam, result)) return result;
  IUiSink* sink = peer->sink;
  switch (msg) {
    case WM_TIMER:
      if (sink) sink->UiTimer(static_cast<uint32_t>(wParam));
      return 0;
    case WM_CLOSE:
      if (sink) sink->UiCloseRequest();
      return 0;
    case WM_SIZE:
      if (peer->kind == UiKind::kForm && wParam != SIZE_MINIMIZED) {
        // Status bars follow the bottom edge by themselves once told of the size.
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
          const Peer* childPeer = ui->Find(child);
          if (childPeer && childPeer->kind == UiKind::kStatusBar) {
            ::SendMessageA(child, WM_SIZE, wParam, lParam);
          }
        }
        if (sink) sink->UiClientResized(LOWORD(lParam), HIWORD(lParam));
      }
      break;
    case WM_ACTIVATE:
      if (peer->kind != UiKind::kForm) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd, focus)) peer->savedFocus = focus;
        break;
      }
      if (HIWORD(wParam)) break;  // minimised
      if (peer->savedFocus && ::IsWindow(peer->savedFocus) && ::IsWindowEnabled(peer->savedFocus) &&
          ::IsWindowVisible(peer->savedFocus)) {
        ::SetFocus(peer->savedFocus);
      } else {
        ::SetFocus(hwnd);
      }
      if (sink) sink->UiActivated();
      return 0;
    case WM_LBUTTONDBLCLK:
      if (peer->kind == UiKind::kPanel && sink) sink->UiDblClick();
      return 0;
    case WM_SETCURSOR:
      if (BusyCursor()) return TRUE;
      break;
    case WM_NCDESTROY:
      ui->Forget(hwnd);
      return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
      if (msg >= WM_USER && msg < 0x8000 && peer->kind == UiKind::kForm && sink) {
        intptr_t answer = 0;
        if (sink->UiMessage(msg, wParam, lParam, answer)) return answer;
      }
      break;
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* peer = static_cast<Peer*>(::GetPropA(hwnd, kPeerProperty));
  if (!peer) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  const WNDPROC original = peer->originalProc;
  LRESULT result = 0;
  // A group box holds controls of its own: their notifications come here.
  if (peer->kind == UiKind::kGroupBox && FromChild(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND:
      // A group box leaves its inside unpainted, and its parent clips it out.
      if (peer->kind == UiKind::kGroupBox) {
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!peer->trackingMouse) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
        peer->trackingMouse = ::TrackMouseEvent(&track) != FALSE;
      }
      if (peer->sink) peer->sink->UiMouseMove();
      break;
    case WM_MOUSELEAVE:
      peer->trackingMouse = false;
      if (peer->sink) peer->sink->UiMouseLeave();
      break;
    case WM_SETCURSOR:
      if (BusyCursor()) return TRUE;
      if (peer->cursor == UiCursor::kHand) {
        ::SetCursor(SystemCursor(IDC_HAND));
        return TRUE;
      }
      break;
    case WM_NCDESTROY: {
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      ::RemovePropA(hwnd, kPeerProperty);
      result = ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
      if (Win32Ui* ui = Win32Ui::Current()) ui->Forget(hwnd);
      return result;
    }
    default:
      break;
  }
  return ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

}  // namespace pinst::win32
