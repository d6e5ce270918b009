// The controls the installer's windows are made of.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace pinst::ui {

// A plain container: the title area, the printer area.
class TPanel : public TControl {
 public:
  TPanel(TControl& parent, std::string name, const TDesign& design);
};

class TGroupBox : public TControl {
 public:
  TGroupBox(TControl& parent, std::string name, const TDesign& design);
};

struct TLabelStyle {
  bool autoSize = true;  // the label takes the size of its text
  bool wordWrap = false;
  bool centred = false;

  // Keeps its design size.
  TLabelStyle& Fixed() {
    autoSize = false;
    return *this;
  }
  TLabelStyle& WordWrap() {
    wordWrap = true;
    return *this;
  }
  TLabelStyle& Centred() {
    centred = true;
    return *this;
  }
};

class TLabel : public TControl {
 public:
  TLabel(TControl& parent, std::string name, const TDesign& design, TLabelStyle style = {});

 protected:
  bool AutoSizes() const override { return autoSize_; }

 private:
  bool autoSize_;
};

// What a button's kind fixes: the modal result it gives its form, and whether
// Return (OK, Yes) or Escape (Cancel) presses it. A Close button closes its form.
enum class TButtonKind { kCustom, kOk, kCancel, kYes, kClose };

class TButton : public TControl {
 public:
  TButton(TControl& parent, std::string name, const TDesign& design,
          TButtonKind kind = TButtonKind::kCustom);

  TButtonKind Kind() const { return kind_; }
  void SetKind(TButtonKind kind);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Return presses the default button unless another button has the focus.
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  // Escape presses the cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  // A small picture beside the caption, from a bitmap resource of the program.
  bool SetGlyph(const std::string& resourceName);

  // The form's modal result becomes the button's, then the handler runs; a Close
  // button closes the form afterwards.
  void Click() override;

 protected:
  bool TakesFocus() const override { return true; }

 private:
  TButtonKind kind_ = TButtonKind::kCustom;
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

// A picture that sizes itself to its bitmap.
class TImage : public TControl {
 public:
  TImage(TControl& parent, std::string name, const TDesign& design);
  // Loads a bitmap resource of the program; false when there is none.
  bool LoadFromResource(const std::string& resourceName);
  // Draws a BMP file's bytes (its header checked) at size; false when the window
  // system could not.
  bool LoadFromBmpFile(const std::string& bmpFile, UiSize size);

 protected:
  bool AutoSizes() const override { return true; }
};

struct TEditStyle {
  bool readOnly = false;
  bool tabStop = true;
  bool infoBackground = false;

  TEditStyle& ReadOnly() {
    readOnly = true;
    return *this;
  }
  TEditStyle& NoTabStop() {
    tabStop = false;
    return *this;
  }
  // The tool-tip background colour.
  TEditStyle& InfoBackground() {
    infoBackground = true;
    return *this;
  }
};

// A single-line edit; its caption is its text.
class TEdit : public TControl {
 public:
  TEdit(TControl& parent, std::string name, const TDesign& design, TEditStyle style = {});
  // The text as it stands now, typed in or set.
  std::string Text() const;

 protected:
  bool TakesFocus() const override { return tabStop_; }

 private:
  bool tabStop_;
};

// A multi-line edit, and the rich-text field, as lines separated by CR LF.
class TMemo : public TControl {
 public:
  TMemo(TControl& parent, std::string name, const TDesign& design, TEditStyle style = {});
  std::string Text() const;
  void SetText(const std::string& text) { SetCaption(text); }
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);

 protected:
  TMemo(TControl& parent, std::string name, const TDesign& design, TEditStyle style, UiKind kind);
  bool TakesFocus() const override { return true; }
};

class TRichEdit : public TMemo {
 public:
  TRichEdit(TControl& parent, std::string name, const TDesign& design, TEditStyle style = {});
};

class TProgressBar : public TControl {
 public:
  TProgressBar(TControl& parent, std::string name, const TDesign& design, int max = 100);
  int Position() const { return position_; }
  // Kept within 0 .. Max.
  void SetPosition(int position);
  int Max() const { return max_; }

 private:
  int max_;
  int position_ = 0;
};

// A status bar with one simple panel, along the bottom of its form.
class TStatusBar : public TControl {
 public:
  TStatusBar(TControl& parent, std::string name, const TDesign& design);
  const std::string& SimpleText() const { return Caption(); }
  void SetSimpleText(const std::string& text) { SetCaption(text); }
};

}  // namespace pinst::ui
