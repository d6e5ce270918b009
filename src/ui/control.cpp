#include "ui/control.h"

#include <algorithm>

#include "platform/platform.h"
#include "ui/application.h"
#include "ui/form.h"

namespace pinst::ui {

namespace {

IUiBackend& Ui() { return *Os().ui; }

}  // namespace

TControl::TControl(TControl& parent, std::string name, const TDesign& design, UiControlSpec spec)
    : parent_(&parent),
      form_(parent.form_),
      name_(std::move(name)),
      caption_(design.caption),
      bounds_{design.left, design.top, design.width, design.height},
      enabled_(design.enabled),
      visible_(design.visible),
      font_(design.font.value_or(parent.font_)) {
  spec.text = caption_;
  spec.bounds = bounds_;
  spec.font = font_;
  spec.visible = visible_;
  spec.enabled = enabled_;
  handle_ = Ui().CreateControl(parent.handle_, spec, this);
  parent_->AddChild(this);
  form_->AddControl(this);
}

TControl::TControl(std::string name) : name_(std::move(name)) {}

void TControl::AttachForm(UiHandle handle, TForm* form, const UiBounds& clientArea,
                          const UiFont& font, const std::string& caption) {
  handle_ = handle;
  form_ = form;
  bounds_ = clientArea;
  font_ = font;
  caption_ = caption;
  visible_ = false;
}

TControl::~TControl() {
  if (parent_) {
    parent_->RemoveChild(this);
    form_->RemoveControl(this);
  }
  if (handle_) Ui().DestroyWindow(handle_);
}

void TControl::RemoveChild(TControl* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Ui().SetText(handle_, caption_);
  if (AutoSizes()) FitToContent();
}

void TControl::FitToContent() {
  const UiSize size = Ui().PreferredSize(handle_);
  SetBounds({bounds_.left, bounds_.top, size.width, size.height});
}

void TControl::PlaceAt(const UiBounds& bounds) {
  if (bounds == bounds_) return;
  const UiSize oldSize{bounds_.width, bounds_.height};
  bounds_ = bounds;
  Ui().SetBounds(handle_, bounds_);
  if (oldSize.width != bounds_.width || oldSize.height != bounds_.height) LayOutChildren(oldSize);
}

void TControl::SetBounds(const UiBounds& bounds) {
  PlaceAt(bounds);
  // An aligned control's place is its parent's to decide: let the parent put it
  // (and its aligned siblings) where the alignment says.
  if (parent_ && align_ != TAlign::kNone && form_->loaded_) {
    parent_->LayOutChildren({parent_->Width(), parent_->Height()});
  }
}

void TControl::SetLeft(int left) { SetBounds({left, bounds_.top, bounds_.width, bounds_.height}); }
void TControl::SetTop(int top) { SetBounds({bounds_.left, top, bounds_.width, bounds_.height}); }
void TControl::SetWidth(int width) {
  SetBounds({bounds_.left, bounds_.top, width, bounds_.height});
}
void TControl::SetHeight(int height) {
  SetBounds({bounds_.left, bounds_.top, bounds_.width, height});
}

void TControl::LayOutChildren(const UiSize& oldSize) {
  if (!form_ || !form_->loaded_) return;
  const int width = bounds_.width;
  const int height = bounds_.height;
  const int dw = width - oldSize.width;
  const int dh = height - oldSize.height;
  if (dw != 0 || dh != 0) {
    for (TControl* child : children_) {
      if (child->align_ != TAlign::kNone) continue;
      const TAnchors& a = child->anchors_;
      UiBounds b = child->bounds_;
      if (a.right) (a.left ? b.width : b.left) += dw;
      if (a.bottom) (a.top ? b.height : b.top) += dh;
      child->PlaceAt(b);
    }
  }
  int top = 0;
  int bottom = height;
  for (TControl* child : children_) {
    if (child->align_ != TAlign::kTop || !child->visible_) continue;
    child->PlaceAt({0, top, width, child->bounds_.height});
    top += child->bounds_.height;
  }
  for (TControl* child : children_) {
    if (child->align_ != TAlign::kBottom || !child->visible_) continue;
    bottom -= child->bounds_.height;
    child->PlaceAt({0, bottom, width, child->bounds_.height});
  }
  for (TControl* child : children_) {
    if (child->align_ != TAlign::kClient || !child->visible_) continue;
    child->PlaceAt({0, top, width, std::max(0, bottom - top)});
  }
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_ && form_->loaded_) parent_->LayOutChildren({parent_->Width(), parent_->Height()});
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Ui().SetEnabled(handle_, enabled_);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Ui().SetVisible(handle_, visible_);
  if (parent_ && align_ != TAlign::kNone && form_->loaded_) {
    parent_->LayOutChildren({parent_->Width(), parent_->Height()});
  }
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetFont(const UiFont& font) {
  if (font == font_) return;
  font_ = font;
  Ui().SetFont(handle_, font_);
  if (AutoSizes()) FitToContent();
}

void TControl::SetFontColor(UiColor color) {
  if (color == fontColor_) return;
  fontColor_ = color;
  Ui().SetTextColor(handle_, fontColor_);
}

void TControl::SetCursor(UiCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  Ui().SetCursor(handle_, cursor_);
}

bool TControl::Focused() const { return handle_ != 0 && Ui().GetFocus() == handle_; }

bool TControl::CanFocus() const {
  if (!TakesFocus()) return false;
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void TControl::SetFocus() { Ui().SetFocus(handle_); }

void TControl::Click() {
  if (OnClick) OnClick();
}

void TControl::UiClick() {
  Application().Dispatch([this] { Click(); });
}

void TControl::UiDblClick() {
  Application().Dispatch([this] {
    if (OnDblClick) OnDblClick();
  });
}

void TControl::UiMouseMove() {
  Application().Dispatch([this] {
    if (OnMouseMove) OnMouseMove();
  });
}

void TControl::UiMouseLeave() {
  Application().Dispatch([this] {
    if (OnMouseLeave) OnMouseLeave();
  });
}

}  // namespace pinst::ui
