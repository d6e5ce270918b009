// The kit's windows as real Win32 windows and common controls. Window procedures
// stay thin: they turn messages into the sink calls of the window concerned.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_ui_peer.h"

namespace pinst::win32 {

class Win32Ui : public IUiBackend {
 public:
  Win32Ui();
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  UiHandle CreateForm(const UiFormSpec& spec, IUiSink* sink) override;
  UiHandle CreateControl(UiHandle parent, const UiControlSpec& spec, IUiSink* sink) override;
  void DestroyWindow(UiHandle window) override;
  void SetText(UiHandle window, const std::string& text) override;
  std::string GetText(UiHandle window) override;
  void SetBounds(UiHandle window, const UiBounds& bounds) override;
  void SetVisible(UiHandle window, bool visible) override;
  void SetEnabled(UiHandle window, bool enabled) override;
  void SetFont(UiHandle window, const UiFont& font) override;
  void SetTextColor(UiHandle window, UiColor color) override;
  void SetCursor(UiHandle window, UiCursor cursor) override;
  void SetFocus(UiHandle window) override;
  UiHandle GetFocus() override;
  UiSize PreferredSize(UiHandle window) override;
  void SetDefaultButton(UiHandle button, bool isDefault) override;
  void SetTopMost(UiHandle form, bool topMost) override;
  void SetOpacity(UiHandle form, bool layered, uint8_t alpha) override;
  void ListClear(UiHandle list) override;
  void ListSetCount(UiHandle list, int count) override;
  void ListSelect(UiHandle list, int index) override;
  bool LoadPicture(UiHandle picture, const std::string& resourceName) override;
  bool LoadPictureFile(UiHandle window, const std::string& bmpFile, UiSize size) override;
  void SetProgress(UiHandle bar, int position) override;
  void StartTimer(UiHandle form, uint32_t id, uint32_t intervalMs) override;
  void StopTimer(UiHandle form, uint32_t id) override;
  bool Post(UiHandle window, uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  void ProcessMessages() override;
  void RunLoop(const std::function<bool()>& done) override;
  void Quit() override;
  bool QuitRequested() override { return quit_; }
  void SetBusyCursor(bool busy) override;

  // For the window procedures.
  static Win32Ui* Current() { return current_; }
  Peer* Find(HWND hwnd) const;
  void Forget(HWND hwnd) { peers_.erase(hwnd); }
  bool Busy() const { return busy_; }
  // A programmatic list change is under way: its notifications are not the user's.
  bool ListGuarded() const { return listGuard_ > 0; }

 private:
  Peer& Adopt(HWND hwnd, UiKind kind, IUiSink* sink);
  HFONT FontFor(const UiFont& font);
  void RegisterClassOnce(const std::string& className, WNDPROC proc);
  // Return, Escape and Tab inside a form of ours; true when the message was used.
  bool PreTranslate(MSG& msg);
  void Dispatch(MSG& msg);
  // Lays out a list's rows off screen, with its drawing switched off.
  void LayOutList(HWND list);

  static Win32Ui* current_;
  HINSTANCE instance_;
  std::map<HWND, std::unique_ptr<Peer>> peers_;
  std::vector<std::pair<UiFont, ScopedGdiObject>> fonts_;
  std::set<std::string> classes_;
  ScopedLibrary richEdit_;
  int nextId_ = 100;
  int listGuard_ = 0;
  bool quit_ = false;
  bool busy_ = false;
};

// Window procedures (win32_ui_procs.cpp).
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The window property that leads a subclassed control to its peer.
constexpr const char* kPeerProperty = "PinstPeer";

}  // namespace pinst::win32
