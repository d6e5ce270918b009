// Headless windows for host tests. Every window's state can be read; a test acts
// as the user (clicks, keys, selections, the close box, resizing) and moves the
// virtual clock, which fires the window timers that fall due. Modal loops run
// nested: while one waits, the test's idle hook acts, or the clock jumps to the
// next timer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_faults.h"
#include "platform/ui.h"

namespace pinst::sim {

struct SimWindow {
  UiHandle handle = 0;
  UiHandle parent = 0;  // for a form: its owner
  UiKind kind = UiKind::kForm;
  std::string className;  // forms
  std::string text;
  UiBounds bounds;  // a form's: its client area
  bool visible = true;
  bool enabled = true;
  UiFont font;
  UiColor textColor = kColorBlack;
  UiCursor cursor = UiCursor::kDefault;
  UiControlSpec spec;  // as created
  UiFormSpec formSpec;
  bool isDefault = false;
  bool topMost = false;
  std::vector<bool> topMostChanges;  // every SetTopMost, in order
  bool layered = false;
  uint8_t alpha = 255;
  // A list view's rows: the caption each had when last drawn ("" until then).
  std::vector<std::string> items;
  std::vector<bool> drawn;
  int topRow = 0;  // the first row in view
  int selected = -1;
  std::string picture;
  // A picture drawn from a BMP file's bytes, and the size it was drawn at.
  std::string pictureFile;
  UiSize pictureSize;
  int progress = 0;
  UiHandle savedFocus = 0;
  IUiSink* sink = nullptr;
};

// A modal loop (or the main loop) would wait for ever: nothing posted, no timer
// running, and the idle hook did nothing. Not a std::exception, so the programs'
// own error handler does not swallow it.
struct SimUiStalled {
  std::string what;
};

class SimUi : public IUiBackend {
 public:
  explicit SimUi(SimClock& clock);

  // What a test sets up.
  // Bitmap resources of the program, by name (compared without regard to case).
  std::map<std::string, UiSize> resources;
  // Called whenever a loop has nothing to do; returns true when it acted. When it
  // returns false the clock jumps to the next timer.
  std::function<bool()> onIdle;
  SimFaults* faults = nullptr;

  // What a test inspects.
  const SimWindow& Window(UiHandle handle) const;
  bool Exists(UiHandle handle) const { return windows_.count(handle) != 0; }
  // The visible form of that window class, if any.
  const SimWindow* FindForm(const std::string& className) const;
  UiHandle ActiveForm() const { return active_; }
  bool BusyCursor() const { return busy_; }
  bool Quitting() const { return quit_; }
  // A test that starts the program again: the next process has not been told to end.
  void NewProcess() { quit_ = false; }
  int LoopDepth() const { return depth_; }
  // Interval of a running timer of a form; nullopt when it is not running.
  std::optional<uint32_t> TimerInterval(UiHandle form, uint32_t id) const;
  std::vector<uint32_t> RunningTimers(UiHandle form) const;
  // Every posted message handed to a window, in order.
  struct Posted {
    UiHandle window;
    uint32_t msg;
    uintptr_t wParam;
    intptr_t lParam;
  };
  std::vector<Posted> delivered;
  // The classes of the forms made and of those ever shown, in order, since the last
  // clear; they outlive the forms.
  std::vector<std::string> formsMade;
  std::vector<std::string> formsShown;

  // The user. Each returns false (and does nothing) when the window cannot take
  // the action: missing, hidden, disabled, or inside a disabled or hidden parent.
  bool Click(UiHandle window);
  bool DblClick(UiHandle window);
  bool MouseMove(UiHandle window);
  bool MouseLeave(UiHandle window);
  // A click on item index of a list view; -1 clicks its empty space.
  bool SelectItem(UiHandle list, int index);
  // Typing text into a list view: the row the list finds from the selected one on
  // is selected as a click would select it. False when no row is found.
  bool TypeInList(UiHandle list, const std::string& text);
  // Return or Escape with the focus inside the form.
  bool PressKey(UiHandle form, UiKey key);
  bool CloseBox(UiHandle form);
  bool TypeText(UiHandle edit, const std::string& text);
  bool ResizeClient(UiHandle form, int width, int height);
  // Activates a visible form, as a click on its title bar would.
  bool Activate(UiHandle form);

  // Time. Moves the clock by ms, firing each timer that falls due on the way at
  // its own time, and handling posted messages in between.
  void AdvanceTime(uint64_t ms);

  // IUiBackend
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
  UiHandle GetFocus() override { return focus_; }
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
  void Quit() override { quit_ = true; }
  bool QuitRequested() override { return quit_; }
  void SetBusyCursor(bool busy) override { busy_ = busy; }

 private:
  struct Timer {
    UiHandle form;
    uint32_t id;
    uint32_t interval;
    uint64_t due;
    uint64_t order;  // timers due at the same moment fire in the order they were set
  };

  SimWindow& At(UiHandle handle);
  // Scrolls a list view so that row index is in view, and draws the rows in view.
  void DrawList(SimWindow& list, int index);
  UiHandle FormOf(UiHandle handle) const;
  bool Reachable(UiHandle handle) const;
  void ActivateForm(UiHandle form);
  // Handles one posted message or one due timer; false when there was none.
  bool HandleOne();
  std::optional<uint64_t> NextDue() const;

  SimClock& clock_;
  std::map<UiHandle, SimWindow> windows_;
  UiHandle nextHandle_ = 0x10000;
  UiHandle focus_ = 0;
  UiHandle active_ = 0;
  std::vector<UiHandle> activation_;  // forms in the order they were last active
  std::vector<Timer> timers_;
  uint64_t timerOrder_ = 0;
  std::vector<Posted> queue_;
  bool quit_ = false;
  bool busy_ = false;
  int depth_ = 0;
};

}  // namespace pinst::sim
