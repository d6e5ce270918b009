#include "ui/list_view.h"

#include "platform/platform.h"
#include "ui/application.h"

namespace pinst::ui {

namespace {

IUiBackend& Ui() { return *Os().ui; }

}  // namespace

TListView::TListView(TControl& parent, std::string name, const TDesign& design,
                     const std::string& imageResource)
    : TControl(parent, std::move(name), design, [&] {
        UiControlSpec spec;
        spec.kind = UiKind::kListView;
        spec.imageResource = imageResource;
        return spec;
      }()) {}

void TListView::AddItem(const std::string& caption) { AddItems({caption}); }

void TListView::AddItems(const std::vector<std::string>& captions) {
  items_.insert(items_.end(), captions.begin(), captions.end());
  Ui().ListAdd(Handle(), captions);
}

void TListView::Clear() {
  const int old = selected_;
  items_.clear();
  selected_ = -1;
  Ui().ListClear(Handle());
  if (old >= 0) Report(old, false);
}

void TListView::SetItemIndex(int index) {
  if (index < -1 || index >= ItemCount()) index = -1;
  if (index == selected_) return;
  const int old = selected_;
  selected_ = index;
  Ui().ListSelect(Handle(), index);
  if (old >= 0) Report(old, false);
  if (index >= 0) Report(index, true);
}

void TListView::Report(int index, bool selected) {
  if (OnSelectItem) OnSelectItem(index, selected);
}

void TListView::UiItemSelected(int index, bool selected) {
  if (index < 0 || index >= ItemCount()) return;
  if (selected) {
    selected_ = index;
  } else if (selected_ == index) {
    selected_ = -1;
  } else {
    return;  // an item that was not the selected one
  }
  Application().Dispatch([this, index, selected] { Report(index, selected); });
}

}  // namespace pinst::ui
