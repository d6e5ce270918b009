// A list of items shown as large icons, one picture for every item, with at
// most one item selected.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace pinst::ui {

class TListView : public TControl {
 public:
  // imageResource: the bitmap resource every item shows.
  TListView(TControl& parent, std::string name, const TDesign& design,
            const std::string& imageResource);

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& ItemCaption(int index) const { return items_.at(index); }
  void AddItem(const std::string& caption);
  // Appends several items, drawn once when all are in.
  void AddItems(const std::vector<std::string>& captions);
  // Removes every item; a selection that goes with them is reported.
  void Clear();

  // The selected item, -1 for none.
  int ItemIndex() const { return selected_; }
  // Selects index (-1: none). The item that loses the selection and the one that
  // gains it are reported to OnSelectItem, as a click would report them.
  void SetItemIndex(int index);

  // (item, selected): an item gained or lost the selection.
  std::function<void(int, bool)> OnSelectItem;

 protected:
  bool TakesFocus() const override { return true; }
  void UiItemSelected(int index, bool selected) override;

 private:
  void Report(int index, bool selected);

  std::vector<std::string> items_;
  int selected_ = -1;
};

}  // namespace pinst::ui
