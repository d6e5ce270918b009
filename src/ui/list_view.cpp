#include "ui/list_view.h"

#include "base/ansi_text.h"
#include "platform/platform.h"
#include "platform/system.h"
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

const std::string& TListView::ItemCaption(int index) const {
  std::optional<std::string>& caption = captions_.at(static_cast<size_t>(index));
  if (!caption) caption = source_ ? source_(index) : std::string();
  return *caption;
}

void TListView::AddItem(const std::string& caption) { AddItems({caption}); }

void TListView::AddItems(const std::vector<std::string>& captions) {
  captions_.insert(captions_.end(), captions.begin(), captions.end());
  Ui().ListSetCount(Handle(), ItemCount());
}

void TListView::SetItems(int count, TCaptionSource source) {
  Clear();
  source_ = std::move(source);
  captions_.resize(static_cast<size_t>(count < 0 ? 0 : count));
  Ui().ListSetCount(Handle(), ItemCount());
}

bool TListView::SetItemPicture(const std::string& bmpFile, UiSize size) {
  return Ui().LoadPictureFile(Handle(), bmpFile, size);
}

void TListView::Clear() {
  const int old = selected_;
  captions_.clear();
  source_ = nullptr;
  selected_ = -1;
  Ui().ListClear(Handle());
  if (old >= 0) Report(old, false);
}

int TListView::FindItem(const std::string& prefix, int start) const {
  const int count = ItemCount();
  if (prefix.empty() || count == 0) return -1;
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  const std::string wanted = AsciiUpper(prefix, codePage);
  if (start < 0 || start >= count) start = 0;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    const std::string& caption = ItemCaption(index);
    if (caption.size() >= wanted.size() &&
        AsciiUpper(caption, codePage).compare(0, wanted.size(), wanted) == 0) {
      return index;
    }
  }
  return -1;
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
  // Every item lost the selection: the one that had it is the one reported.
  if (index == -1 && !selected) index = selected_;
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

std::string TListView::UiItemText(int index) {
  return index >= 0 && index < ItemCount() ? ItemCaption(index) : std::string();
}

int TListView::UiFindItem(const std::string& prefix, int start) { return FindItem(prefix, start); }

}  // namespace pinst::ui
