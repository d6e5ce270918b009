#include "platform/win32/win32_ui.h"

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

namespace pinst::win32 {

Win32Ui* Win32Ui::current_ = nullptr;

namespace {

HWND H(UiHandle handle) { return reinterpret_cast<HWND>(handle); }
UiHandle U(HWND hwnd) { return reinterpret_cast<UiHandle>(hwnd); }

// The top left corner of a width x height window centred in area, kept on screen.
POINT CentreIn(const RECT& area, int width, int height) {
  return {std::max<LONG>(0, area.left + (area.right - area.left - width) / 2),
          std::max<LONG>(0, area.top + (area.bottom - area.top - height) / 2)};
}

struct FormStyle {
  DWORD style;
  DWORD exStyle;
};

FormStyle StyleFor(UiBorder border) {
  switch (border) {
    case UiBorder::kDialog:
      return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT};
    case UiBorder::kDialogNoCaptionButtons:
      return {WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT};
    case UiBorder::kSizeable:
    default:
      return {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  }
}

BOOL CALLBACK ForgetSink(HWND child, LPARAM) {
  if (Peer* peer = Win32Ui::Current()->Find(child)) peer->sink = nullptr;
  return TRUE;
}

SIZE OuterSize(HWND hwnd, int clientWidth, int clientHeight) {
  RECT r = {0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE)));
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

Win32Ui::Win32Ui() : instance_(::GetModuleHandleA(nullptr)) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  current_ = this;
}

Win32Ui::~Win32Ui() {
  if (current_ == this) current_ = nullptr;
}

Peer* Win32Ui::Find(HWND hwnd) const {
  auto it = peers_.find(hwnd);
  return it == peers_.end() ? nullptr : it->second.get();
}

Peer& Win32Ui::Adopt(HWND hwnd, UiKind kind, IUiSink* sink) {
  auto peer = std::make_unique<Peer>();
  peer->hwnd = hwnd;
  peer->kind = kind;
  peer->sink = sink;
  Peer& ref = *peer;
  peers_[hwnd] = std::move(peer);
  return ref;
}

HFONT Win32Ui::FontFor(const UiFont& font) {
  for (const auto& [key, object] : fonts_) {
    if (key == font) return static_cast<HFONT>(object.Get());
  }
  HFONT created = ::CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                FALSE, FALSE, font.charSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
  fonts_.emplace_back(font, ScopedGdiObject(created));
  return created;
}

void Win32Ui::RegisterClassOnce(const std::string& className, WNDPROC proc) {
  if (classes_.count(className)) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance_;
  wc.hIcon = ::LoadIconA(instance_, "MAINICON");
  wc.hIconSm = static_cast<HICON>(::LoadImageA(instance_, "MAINICON", IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className.c_str();
  ::RegisterClassExA(&wc);
  classes_.insert(className);
}

UiHandle Win32Ui::CreateForm(const UiFormSpec& spec, IUiSink* sink) {
  RegisterClassOnce(spec.className, ContainerProc);
  const FormStyle fs = StyleFor(spec.border);
  RECT outer = {0, 0, spec.clientWidth, spec.clientHeight};
  ::AdjustWindowRectEx(&outer, fs.style, FALSE, fs.exStyle);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;

  RECT area = {};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  const bool overOwner = spec.placement == UiPlacement::kOwnerCentre && spec.owner;
  if (overOwner) ::GetWindowRect(H(spec.owner), &area);
  const POINT at = CentreIn(area, width, height);
  const int x = at.x;
  const int y = at.y;

  HWND hwnd = ::CreateWindowExA(fs.exStyle, spec.className.c_str(), spec.caption.c_str(), fs.style,
                                x, y, width, height, H(spec.owner), nullptr, instance_, nullptr);
  if (!hwnd) return 0;
  Peer& peer = Adopt(hwnd, UiKind::kForm, sink);
  peer.border = spec.border;
  peer.centreOnOwner = overOwner;
  ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec.font)), FALSE);
  return U(hwnd);
}

UiHandle Win32Ui::CreateControl(UiHandle parent, const UiControlSpec& spec, IUiSink* sink) {
  const char* cls = "STATIC";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (spec.kind) {
    case UiKind::kPanel:
      RegisterClassOnce("TPanel", ContainerProc);
      cls = "TPanel";
      style |= WS_CLIPCHILDREN;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case UiKind::kGroupBox:
      cls = "BUTTON";
      style |= BS_GROUPBOX;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case UiKind::kLabel:
      style |= SS_NOTIFY;
      style |= spec.centred ? SS_CENTER : (spec.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
      break;
    case UiKind::kButton:
      cls = "BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case UiKind::kListView:
      cls = WC_LISTVIEWA;
      // Owner data: the list asks for a row's caption when it draws the row.
      style |= LVS_ICON | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_AUTOARRANGE |
               WS_TABSTOP;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case UiKind::kPicture:
      style |= SS_BITMAP | SS_NOTIFY;
      break;
    case UiKind::kEdit:
      cls = "EDIT";
      style |= ES_AUTOHSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case UiKind::kMemo:
      cls = "EDIT";
      style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case UiKind::kRichEdit:
      if (!richEdit_) richEdit_.Reset(::LoadLibraryA("riched20.dll"));
      cls = RICHEDIT_CLASSA;
      style |=
          ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case UiKind::kProgressBar:
      cls = PROGRESS_CLASSA;
      break;
    case UiKind::kStatusBar: {
      cls = STATUSCLASSNAMEA;
      HWND form = ::GetAncestor(H(parent), GA_ROOT);
      const Peer* formPeer = Find(form);
      if (formPeer && formPeer->border == UiBorder::kSizeable) style |= SBARS_SIZEGRIP;
      break;
    }
    case UiKind::kForm:
      return 0;
  }
  const bool editable =
      spec.kind == UiKind::kEdit || spec.kind == UiKind::kMemo || spec.kind == UiKind::kRichEdit;
  if (editable) {
    if (spec.readOnly) style |= ES_READONLY;
    if (spec.tabStop) style |= WS_TABSTOP;
  }
  if (spec.visible) style |= WS_VISIBLE;
  if (!spec.enabled) style |= WS_DISABLED;

  HWND hwnd = ::CreateWindowExA(exStyle, cls, spec.text.c_str(), style, spec.bounds.left,
                                spec.bounds.top, spec.bounds.width, spec.bounds.height, H(parent),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)), instance_,
                                nullptr);
  if (!hwnd) return 0;
  Peer& peer = Adopt(hwnd, spec.kind, sink);
  peer.infoBackground = spec.infoBackground;
  ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec.font)), FALSE);

  switch (spec.kind) {
    case UiKind::kListView:
      if (!spec.imageResource.empty()) {
        HIMAGELIST images = ::ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 1, 1);
        ScopedGdiObject bitmap(::LoadImageA(instance_, spec.imageResource.c_str(), IMAGE_BITMAP, 0,
                                            0, LR_DEFAULTCOLOR));
        if (bitmap) {
          // The picture's light grey background shows the list through.
          ::ImageList_AddMasked(images, static_cast<HBITMAP>(bitmap.Get()), RGB(192, 192, 192));
        }
        // The list view owns its image list and destroys it with itself.
        ListView_SetImageList(hwnd, images, LVSIL_NORMAL);
      }
      break;
    case UiKind::kProgressBar:
      ::SendMessageA(hwnd, PBM_SETRANGE32, 0, spec.rangeMax);
      break;
    case UiKind::kStatusBar:
      // Its height follows the font once it is told to size itself.
      ::SendMessageA(hwnd, WM_SIZE, 0, 0);
      ::SendMessageA(hwnd, SB_SIMPLE, TRUE, 0);
      ::SendMessageA(hwnd, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(spec.text.c_str()));
      break;
    default:
      break;
  }
  if (spec.kind != UiKind::kPanel) {
    // Classic subclassing: the common controls' SetWindowSubclass is exported by
    // name only from version 6, which Windows 2000 does not have.
    ::SetPropA(hwnd, kPeerProperty, &peer);
    peer.originalProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlSubclassProc)));
  }
  return U(hwnd);
}

void Win32Ui::DestroyWindow(UiHandle window) {
  HWND hwnd = H(window);
  if (!::IsWindow(hwnd)) return;
  // The kit is letting go: no more events for it, from this window or its children.
  if (Peer* peer = Find(hwnd)) peer->sink = nullptr;
  ::EnumChildWindows(hwnd, ForgetSink, 0);
  ::DestroyWindow(hwnd);
}

void Win32Ui::SetText(UiHandle window, const std::string& text) {
  const Peer* peer = Find(H(window));
  if (peer && peer->kind == UiKind::kStatusBar) {
    ::SendMessageA(H(window), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    return;
  }
  ::SetWindowTextA(H(window), text.c_str());
}

std::string Win32Ui::GetText(UiHandle window) {
  HWND hwnd = H(window);
  const int length = ::GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(0, got)));
  return text;
}

void Win32Ui::SetBounds(UiHandle window, const UiBounds& bounds) {
  HWND hwnd = H(window);
  const Peer* peer = Find(hwnd);
  if (!peer) return;
  if (peer->kind == UiKind::kForm) {
    const SIZE outer = OuterSize(hwnd, bounds.width, bounds.height);
    ::SetWindowPos(hwnd, nullptr, 0, 0, outer.cx, outer.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (peer->kind == UiKind::kStatusBar) {
    // A status bar places itself along the bottom of its parent.
    ::SendMessageA(hwnd, WM_SIZE, 0, 0);
    return;
  }
  ::MoveWindow(hwnd, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void Win32Ui::SetVisible(UiHandle window, bool visible) {
  const Peer* peer = Find(H(window));
  if (visible && peer && peer->centreOnOwner && !::IsWindowVisible(H(window))) {
    // Over the owner where it is now, not where it was when this was created.
    RECT owner = {};
    RECT own = {};
    if (::GetWindowRect(::GetWindow(H(window), GW_OWNER), &owner) &&
        ::GetWindowRect(H(window), &own)) {
      const POINT at = CentreIn(owner, own.right - own.left, own.bottom - own.top);
      ::SetWindowPos(H(window), nullptr, at.x, at.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (visible && peer && peer->kind == UiKind::kForm) {
    std::vector<HWND> pending;
    for (const auto& [hwnd, child] : peers_) {
      if (child->layoutPending && ::IsChild(H(window), hwnd)) pending.push_back(hwnd);
    }
    for (HWND list : pending) LayOutList(list);
  }
  ::ShowWindow(H(window), visible ? SW_SHOW : SW_HIDE);
}

void Win32Ui::SetEnabled(UiHandle window, bool enabled) {
  ::EnableWindow(H(window), enabled ? TRUE : FALSE);
}

void Win32Ui::SetFont(UiHandle window, const UiFont& font) {
  ::SendMessageA(H(window), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), TRUE);
  const Peer* peer = Find(H(window));
  if (peer && peer->kind == UiKind::kStatusBar) ::SendMessageA(H(window), WM_SIZE, 0, 0);
}

void Win32Ui::SetTextColor(UiHandle window, UiColor color) {
  if (Peer* peer = Find(H(window))) {
    peer->textColor = static_cast<COLORREF>(color);
    ::InvalidateRect(H(window), nullptr, TRUE);
  }
}

void Win32Ui::SetCursor(UiHandle window, UiCursor cursor) {
  if (Peer* peer = Find(H(window))) peer->cursor = cursor;
}

void Win32Ui::SetFocus(UiHandle window) { ::SetFocus(H(window)); }

UiHandle Win32Ui::GetFocus() { return U(::GetFocus()); }

UiSize Win32Ui::PreferredSize(UiHandle window) {
  HWND hwnd = H(window);
  const Peer* peer = Find(hwnd);
  RECT current = {};
  ::GetWindowRect(hwnd, &current);
  const UiSize currentSize{current.right - current.left, current.bottom - current.top};
  if (!peer) return currentSize;
  switch (peer->kind) {
    case UiKind::kLabel: {
      if (::GetWindowLongA(hwnd, GWL_STYLE) & SS_LEFTNOWORDWRAP) {
        ScopedWindowDc dc({hwnd, ::GetDC(hwnd)});
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(hwnd, WM_GETFONT, 0, 0));
        HGDIOBJ old = ::SelectObject(dc.Get().dc, font);
        const std::string text = GetText(window);
        RECT r = {0, 0, 0, 0};
        ::DrawTextA(dc.Get().dc, text.empty() ? " " : text.c_str(), -1, &r,
                    DT_CALCRECT | DT_LEFT | DT_EXPANDTABS);
        ::SelectObject(dc.Get().dc, old);
        return {text.empty() ? 0 : static_cast<int>(r.right), static_cast<int>(r.bottom)};
      }
      return currentSize;
    }
    case UiKind::kPicture: {
      BITMAP info = {};
      if (peer->bitmap && ::GetObjectA(peer->bitmap.Get(), sizeof info, &info)) {
        return {info.bmWidth, info.bmHeight};
      }
      return currentSize;
    }
    default:
      return currentSize;
  }
}

void Win32Ui::SetDefaultButton(UiHandle button, bool isDefault) {
  ::SendMessageA(H(button), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Win32Ui::SetTopMost(UiHandle form, bool topMost) {
  ::SetWindowPos(H(form), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void Win32Ui::SetOpacity(UiHandle form, bool layered, uint8_t alpha) {
  HWND hwnd = H(form);
  const LONG exStyle = ::GetWindowLongA(hwnd, GWL_EXSTYLE);
  // Fully opaque looks the same layered or not; an ordinary window is drawn
  // directly and spares the compositing of every child.
  if (layered && alpha < 255) {
    ::SetWindowLongA(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(hwnd, 0, alpha, LWA_ALPHA);
  } else {
    ::SetWindowLongA(hwnd, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
  }
}

void Win32Ui::ListClear(UiHandle list) {
  ++listGuard_;
  ListView_DeleteAllItems(H(list));
  --listGuard_;
}

void Win32Ui::ListSetCount(UiHandle list, int count) {
  HWND hwnd = H(list);
  ++listGuard_;
  ListView_SetItemCount(hwnd, count);
  --listGuard_;
  if (Peer* peer = Find(hwnd)) peer->layoutPending = count > 0;
  // A list in view is laid out now; one not yet shown when its form is shown, so
  // a window that never shows never draws a row (nor reads what a row shows).
  if (::IsWindowVisible(hwnd)) LayOutList(hwnd);
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

void Win32Ui::LayOutList(HWND list) {
  // An icon list lays its rows out on its first paint with rows, and some list
  // implementations invalidate each row's old and new place as they do, a round
  // trip each: with a thousand rows, most of the start-up. Painted off screen with
  // drawing off, the layout costs no round trip, and the list is then drawn once.
  Peer* peer = Find(list);
  if (!peer || !peer->layoutPending) return;
  peer->layoutPending = false;
  ++listGuard_;
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ScopedMemoryDc offScreen(::CreateCompatibleDC(nullptr));
  if (offScreen) {
    ::SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(offScreen.Get()), PRF_CLIENT);
  }
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  --listGuard_;
}

void Win32Ui::ListSelect(UiHandle list, int index) {
  HWND hwnd = H(list);
  ++listGuard_;
  if (index < 0) {
    // Item -1 ("every item") makes an owner-data list visit each of its rows; the
    // list holds one selection at most, so only that row is cleared.
    const int row = ListView_GetNextItem(hwnd, -1, LVNI_SELECTED);
    if (row >= 0) ListView_SetItemState(hwnd, row, 0, LVIS_SELECTED);
  } else {
    ListView_SetItemState(hwnd, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hwnd, index, FALSE);
  }
  --listGuard_;
}

bool Win32Ui::LoadPicture(UiHandle picture, const std::string& resourceName) {
  Peer* peer = Find(H(picture));
  if (!peer) return false;
  ScopedGdiObject bitmap(
      ::LoadImageA(instance_, resourceName.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (!bitmap) return false;
  if (peer->kind == UiKind::kButton) {
    BITMAP info = {};
    ::GetObjectA(bitmap.Get(), sizeof info, &info);
    ScopedImageList images(
        ::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 1));
    // Glyphs are drawn on magenta, which the button face shows through.
    ::ImageList_AddMasked(images.Get(), static_cast<HBITMAP>(bitmap.Get()), RGB(255, 0, 255));
    BUTTON_IMAGELIST list = {images.Get(), {4, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    if (!::SendMessageA(H(picture), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list))) {
      return false;
    }
    peer->glyph = std::move(images);
    return true;
  }
  ::SendMessageA(H(picture), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get()));
  peer->bitmap = std::move(bitmap);
  return true;
}

void Win32Ui::SetProgress(UiHandle bar, int position) {
  ::SendMessageA(H(bar), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32Ui::StartTimer(UiHandle form, uint32_t id, uint32_t intervalMs) {
  ::SetTimer(H(form), id, intervalMs, nullptr);
}

void Win32Ui::StopTimer(UiHandle form, uint32_t id) { ::KillTimer(H(form), id); }

bool Win32Ui::Post(UiHandle window, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  return ::PostMessageA(H(window), msg, wParam, lParam) != FALSE;
}

bool Win32Ui::PreTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_CHAR &&
      msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR) {
    return false;
  }
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  Peer* form = Find(root);
  if (!form || form->kind != UiKind::kForm || !form->sink) return false;
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
    const Peer* focused = Find(::GetFocus());
    const bool multiLine =
        focused && (focused->kind == UiKind::kMemo || focused->kind == UiKind::kRichEdit);
    if (msg.wParam == VK_RETURN && multiLine) return false;
    if (form->sink->UiDialogKey(msg.wParam == VK_RETURN ? UiKey::kReturn : UiKey::kEscape)) {
      return true;
    }
  }
  // Tab and arrow navigation and the underlined access keys of the captions.
  return ::IsDialogMessageA(root, &msg) != FALSE;
}

void Win32Ui::Dispatch(MSG& msg) {
  if (PreTranslate(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
}

void Win32Ui::ProcessMessages() {
  MSG msg;
  while (!quit_ && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit_ = true;
      break;
    }
    Dispatch(msg);
  }
}

void Win32Ui::RunLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!quit_ && !done()) {
    if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      quit_ = true;
      break;
    }
    Dispatch(msg);
  }
}

void Win32Ui::Quit() {
  if (quit_) return;
  quit_ = true;
  ::PostQuitMessage(0);
}

void Win32Ui::SetBusyCursor(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

}  // namespace pinst::win32
