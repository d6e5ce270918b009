// A top-level window: shown, hidden, closed or run modally, with its timers,
// its WM_USER-range messages, opacity, top-most state, and the Return and Escape
// keys pressing its default and cancel buttons.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/message.h"

namespace pinst::ui {

class TButton;
class TTimer;

struct TFormDesign {
  std::string className;  // window class name
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  UiBorder border = UiBorder::kSizeable;
  UiPlacement placement = UiPlacement::kDesktopCentre;
  UiFont font;
};

class TForm : public TControl {
 public:
  explicit TForm(const TFormDesign& design);
  ~TForm() override;

  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }

  // Shows the form (its OnShow runs first) and activates it.
  void Show();
  void Hide();
  void SetVisible(bool visible) override;
  // A modal form ends its loop with the Cancel result (unless one is set); any
  // other form runs OnClose and hides, and the main form ends the program.
  void Close();
  // Shows the form and handles messages until a modal result is set; then runs
  // OnClose, hides the form and returns the result. The other forms are disabled
  // meanwhile.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  bool TopMost() const { return topMost_; }
  void SetTopMost(bool topMost);
  bool AlphaBlend() const { return alphaBlend_; }
  uint8_t AlphaBlendValue() const { return alphaValue_; }
  void SetAlphaBlend(bool on, uint8_t value);

  // Whether the message loop shows this form when it starts (the main form).
  bool ShowOnRun() const { return showOnRun_; }
  void SetShowOnRun(bool show) { showOnRun_ = show; }

  // The control that gets the focus when the form is first activated.
  TControl* ActiveControl = nullptr;

  std::function<void()> OnShow;
  // Runs when this form becomes the program's active form: not again when the
  // program comes back from another one, nor when a message box it owns closes.
  std::function<void()> OnActivate;
  std::function<void()> OnClose;
  // Asked before a form that is not modal closes; false keeps it open.
  std::function<bool()> OnCloseQuery;
  std::function<void()> OnResize;

  bool Post(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  // Every control on the form, in the order they were created.
  const std::vector<TControl*>& Controls() const { return controls_; }

 protected:
  // Lays out the aligned and anchored controls once all of them exist.
  void Loaded();
  // Messages in the WM_USER range; false when the form does not handle it.
  virtual bool HandleMessage(TMessage& /*message*/) { return false; }

  void UiTimer(uint32_t id) override;
  void UiCloseRequest() override;
  void UiClientResized(int width, int height) override;
  void UiActivated() override;
  bool UiDialogKey(UiKey key) override;
  bool UiMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

 private:
  friend class TControl;
  friend class TTimer;
  void AddControl(TControl* control) { controls_.push_back(control); }
  void RemoveControl(TControl* control);
  uint32_t AddTimer(TTimer* timer);
  void RemoveTimer(const TTimer* timer);
  TButton* ButtonForKey(UiKey key) const;
  bool FocusedControlIsOurs() const;
  void FocusFirstControl();

  std::vector<TControl*> controls_;
  std::vector<TTimer*> timers_;
  uint32_t nextTimerId_ = 1;
  bool loaded_ = false;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool topMost_ = false;
  bool alphaBlend_ = false;
  uint8_t alphaValue_ = 255;
  bool showOnRun_ = true;
};

}  // namespace pinst::ui
