// A list of items shown as large icons, one picture for every item, with at
// most one item selected. The list holds its rows virtually: a row's caption is
// asked for when the row is first needed (drawn, selected, found by typing) and
// kept from then on.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace pinst::ui {

class TListView : public TControl {
 public:
  // Gives the caption of row index, on its first need.
  using TCaptionSource = std::function<std::string(int)>;

  // imageResource: the bitmap resource every item shows.
  TListView(TControl& parent, std::string name, const TDesign& design,
            const std::string& imageResource);

  // Every item shows a BMP file's bytes (its header checked) drawn at size instead;
  // false when the window system could not.
  bool SetItemPicture(const std::string& bmpFile, UiSize size);

  int ItemCount() const { return static_cast<int>(captions_.size()); }
  // Asks the caption source the first time; throws std::out_of_range outside the rows.
  const std::string& ItemCaption(int index) const;
  void AddItem(const std::string& caption);
  // Appends several items, drawn once when all are in.
  void AddItems(const std::vector<std::string>& captions);
  // Replaces every item with count rows whose captions source gives on first need.
  void SetItems(int count, TCaptionSource source);
  // Removes every item; a selection that goes with them is reported.
  void Clear();
  // The first row from start on, then from the top, whose caption begins with
  // prefix (ASCII letters in either case); -1 when none does. Reads captions on the
  // way, as typing in the list does.
  int FindItem(const std::string& prefix, int start) const;

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
  std::string UiItemText(int index) override;
  int UiFindItem(const std::string& prefix, int start) override;

 private:
  void Report(int index, bool selected);

  mutable std::vector<std::optional<std::string>> captions_;
  TCaptionSource source_;
  int selected_ = -1;
};

}  // namespace pinst::ui
