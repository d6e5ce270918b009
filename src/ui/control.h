// The base of every window of the kit: a native window (real or simulated) with
// the state the program set on it, the control's place among its parent's
// children, and the user events routed to named handlers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace pinst::ui {

class TForm;

// Design values of a control: where it sits in its parent and what it shows.
struct TDesign {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string caption;
  std::optional<UiFont> font;  // the parent's font when not given
  bool visible = true;
  bool enabled = true;

  TDesign& Caption(std::string text) {
    caption = std::move(text);
    return *this;
  }
  TDesign& Font(const UiFont& value) {
    font = value;
    return *this;
  }
  TDesign& Hidden() {
    visible = false;
    return *this;
  }
};

// A control placed at left, top, with its design size (0 for one that sizes itself).
inline TDesign At(int left, int top, int width = 0, int height = 0) {
  TDesign design;
  design.left = left;
  design.top = top;
  design.width = width;
  design.height = height;
  return design;
}

enum class TAlign { kNone, kTop, kBottom, kClient };

// Edges kept at their distance from the same edge of the parent when the parent
// resizes. Anchored on both sides a control stretches; on the far side only, it
// moves.
struct TAnchors {
  bool left = true;
  bool top = true;
  bool right = false;
  bool bottom = false;
};

class TControl : public IUiSink {
 public:
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;
  ~TControl() override;

  UiHandle Handle() const { return handle_; }
  const std::string& Name() const { return name_; }
  TControl* Parent() const { return parent_; }
  // The form the control sits on (the form itself for a form).
  TForm& Form() const { return *form_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  const UiBounds& Bounds() const { return bounds_; }
  void SetBounds(const UiBounds& bounds);
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  // Visible itself and inside visible parents.
  bool Showing() const;

  const UiFont& Font() const { return font_; }
  void SetFont(const UiFont& font);
  UiColor FontColor() const { return fontColor_; }
  void SetFontColor(UiColor color);
  UiCursor Cursor() const { return cursor_; }
  void SetCursor(UiCursor cursor);

  bool Focused() const;
  void SetFocus();
  // Takes the keyboard focus now: of a focusable kind, enabled and showing.
  bool CanFocus() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  void SetAnchors(TAnchors anchors) { anchors_ = anchors; }

  const std::vector<TControl*>& Children() const { return children_; }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void()> OnMouseMove;
  std::function<void()> OnMouseLeave;

  // Performs a click as the program does it: the handler runs, and an error it
  // raises reaches the caller (a click by the user goes through the top-level
  // error handler instead).
  virtual void Click();

 protected:
  // A control on parent, created at once from its design values.
  TControl(TControl& parent, std::string name, const TDesign& design, UiControlSpec spec);
  // A form; it creates its window itself and hands it over with AttachForm.
  explicit TControl(std::string name);
  void AttachForm(UiHandle handle, TForm* form, const UiBounds& clientArea, const UiFont& font,
                  const std::string& caption);

  // Whether this kind of control can hold the keyboard focus at all.
  virtual bool TakesFocus() const { return false; }
  // A label sizes itself to its text, a picture to its bitmap.
  virtual bool AutoSizes() const { return false; }
  // Takes the size the native window asks for.
  void FitToContent();
  // The size this control's children are laid out in changed from oldSize.
  void LayOutChildren(const UiSize& oldSize);
  // Stores bounds and moves the native window, without asking the parent to lay
  // out again.
  void PlaceAt(const UiBounds& bounds);

  void UiClick() override;
  void UiDblClick() override;
  void UiMouseMove() override;
  void UiMouseLeave() override;

 private:
  void AddChild(TControl* child) { children_.push_back(child); }
  void RemoveChild(TControl* child);

  UiHandle handle_ = 0;
  TControl* parent_ = nullptr;
  TForm* form_ = nullptr;
  std::vector<TControl*> children_;
  std::string name_;
  std::string caption_;
  UiBounds bounds_;
  bool enabled_ = true;
  bool visible_ = true;
  UiFont font_;
  UiColor fontColor_ = kColorBlack;
  UiCursor cursor_ = UiCursor::kDefault;
  TAlign align_ = TAlign::kNone;
  TAnchors anchors_;
};

}  // namespace pinst::ui
