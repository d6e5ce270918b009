#include "ui/form.h"

#include <algorithm>

#include "platform/platform.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/timer.h"

namespace pinst::ui {

namespace {

IUiBackend& Ui() { return *Os().ui; }

}  // namespace

TForm::TForm(const TFormDesign& design) : TControl(design.className) {
  UiFormSpec spec;
  spec.className = design.className;
  spec.caption = design.caption;
  spec.clientWidth = design.clientWidth;
  spec.clientHeight = design.clientHeight;
  spec.border = design.border;
  spec.placement = design.placement;
  spec.font = design.font;
  // Every later window belongs to the main form, so it stays above it and shares
  // its task-bar button.
  if (TForm* main = Application().MainForm()) spec.owner = main->Handle();
  const UiHandle handle = Ui().CreateForm(spec, this);
  AttachForm(handle, this, {0, 0, design.clientWidth, design.clientHeight}, design.font,
             design.caption);
  Application().AddForm(this);
}

TForm::~TForm() { Application().RemoveForm(this); }

void TForm::Loaded() {
  loaded_ = true;
  LayOutChildren({ClientWidth(), ClientHeight()});
}

void TForm::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (ActiveControl == control) ActiveControl = nullptr;
}

uint32_t TForm::AddTimer(TTimer* timer) {
  timers_.push_back(timer);
  return nextTimerId_++;
}

void TForm::RemoveTimer(const TTimer* timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void TForm::Show() {
  if (Visible()) {
    Ui().SetVisible(Handle(), true);
    return;
  }
  // The handler sees the form before it appears, as a form's own set-up would.
  if (OnShow) OnShow();
  TControl::SetVisible(true);
}

void TForm::Hide() { TControl::SetVisible(false); }

void TForm::SetVisible(bool visible) {
  if (visible) {
    Show();
  } else {
    Hide();
  }
}

void TForm::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (OnCloseQuery && !OnCloseQuery()) return;
  if (OnClose) OnClose();
  Hide();
  if (Application().MainForm() == this) Application().Terminate();
}

int TForm::ShowModal() {
  modalResult_ = mrNone;
  modal_ = true;
  std::vector<TForm*> disabled;
  for (TForm* form : Application().Forms()) {
    if (form != this && form->Enabled()) {
      form->SetEnabled(false);
      disabled.push_back(form);
    }
  }
  // A modal form opened from another modal form was disabled along with the rest.
  const bool wasEnabled = Enabled();
  SetEnabled(true);
  struct Restore {
    TForm& self;
    std::vector<TForm*>& disabled;
    bool wasEnabled;
    ~Restore() {
      // Owners first, so the window that was active before gets the activation
      // back when this one hides.
      for (TForm* form : disabled) form->SetEnabled(true);
      self.Hide();
      self.SetEnabled(wasEnabled);
      self.modal_ = false;
    }
  } restore{*this, disabled, wasEnabled};

  Show();
  Ui().RunLoop([this] { return modalResult_ != mrNone; });
  if (modalResult_ == mrNone) modalResult_ = mrCancel;  // the program is ending
  if (OnClose) OnClose();
  return modalResult_;
}

void TForm::SetTopMost(bool topMost) {
  topMost_ = topMost;
  Ui().SetTopMost(Handle(), topMost);
}

void TForm::SetAlphaBlend(bool on, uint8_t value) {
  alphaBlend_ = on;
  alphaValue_ = value;
  Ui().SetOpacity(Handle(), on, value);
}

bool TForm::Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  return Ui().Post(Handle(), msg, wParam, lParam);
}

void TForm::UiTimer(uint32_t id) {
  for (TTimer* timer : timers_) {
    if (timer->Id() != id) continue;
    if (timer->Enabled() && timer->OnTimer) Application().Dispatch(timer->OnTimer);
    return;
  }
}

void TForm::UiCloseRequest() {
  Application().Dispatch([this] { Close(); });
}

void TForm::UiClientResized(int width, int height) {
  if (width == ClientWidth() && height == ClientHeight()) return;
  PlaceAt({0, 0, width, height});
  if (OnResize) Application().Dispatch(OnResize);
}

void TForm::UiActivated() {
  if (!FocusedControlIsOurs()) FocusFirstControl();
  if (Application().ActiveForm() == this) return;
  Application().SetActiveForm(this);
  if (OnActivate) Application().Dispatch(OnActivate);
}

bool TForm::FocusedControlIsOurs() const {
  const UiHandle focus = Ui().GetFocus();
  if (focus == 0) return false;
  for (const TControl* control : controls_) {
    if (control->Handle() == focus) return true;
  }
  return false;
}

void TForm::FocusFirstControl() {
  if (ActiveControl && ActiveControl->CanFocus()) {
    ActiveControl->SetFocus();
    return;
  }
  for (TControl* control : controls_) {
    if (control->CanFocus()) {
      control->SetFocus();
      return;
    }
  }
}

TButton* TForm::ButtonForKey(UiKey key) const {
  if (key == UiKey::kReturn) {
    // A focused button takes Return itself.
    for (TControl* control : controls_) {
      auto* button = dynamic_cast<TButton*>(control);
      if (button && button->Focused() && button->CanFocus()) return button;
    }
  }
  for (TControl* control : controls_) {
    auto* button = dynamic_cast<TButton*>(control);
    if (!button || !button->CanFocus()) continue;
    if (key == UiKey::kReturn ? button->Default() : button->Cancel()) return button;
  }
  return nullptr;
}

bool TForm::UiDialogKey(UiKey key) {
  TButton* button = ButtonForKey(key);
  if (!button) return false;
  Application().Dispatch([button] { button->Click(); });
  return true;
}

bool TForm::UiMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  TMessage message{msg, wParam, lParam, 0};
  bool handled = false;
  Application().Dispatch([&] { handled = HandleMessage(message); });
  result = message.Result;
  return handled;
}

}  // namespace pinst::ui
