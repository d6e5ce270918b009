// Windows and controls, shaped like the window calls the installer's forms make:
// one native window per control, captions, fonts and colours set on it, timers and
// posted messages delivered to its form, and message loops (the modal ones nested
// inside the main one). The widget kit in src/ui is the only caller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pinst {

// A window: an HWND on Windows, an id in the sim. 0 is none.
using UiHandle = uintptr_t;

enum class UiKind {
  kForm,
  kPanel,
  kGroupBox,
  kLabel,
  kButton,
  kListView,
  kPicture,
  kEdit,
  kMemo,
  kRichEdit,
  kProgressBar,
  kStatusBar,
};

struct UiBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const UiBounds&) const = default;
};

struct UiSize {
  int width = 0;
  int height = 0;
  bool operator==(const UiSize&) const = default;
};

// GDI character sets used by the forms.
enum : uint8_t { kDefaultCharset = 1, kGb2312Charset = 134 };

struct UiFont {
  std::string face = "Tahoma";
  int height = 16;  // character height in pixels
  bool bold = false;
  uint8_t charSet = kDefaultCharset;
  bool operator==(const UiFont&) const = default;
};

// COLORREF values (0x00BBGGRR).
using UiColor = uint32_t;
constexpr UiColor kColorBlack = 0x000000;
constexpr UiColor kColorBlue = 0xFF0000;
constexpr UiColor kColorRed = 0x0000FF;

enum class UiCursor { kDefault, kHand };
enum class UiKey { kReturn, kEscape };

enum class UiBorder {
  kSizeable,                // ordinary resizable window with caption buttons
  kDialog,                  // fixed dialog frame with a close box
  kDialogNoCaptionButtons,  // fixed dialog frame that cannot be closed from its title bar
};
enum class UiPlacement { kDesktopCentre, kOwnerCentre };

struct UiFormSpec {
  std::string className;  // window class name, e.g. "TMainForm"
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  UiBorder border = UiBorder::kSizeable;
  UiPlacement placement = UiPlacement::kDesktopCentre;
  UiHandle owner = 0;
  UiFont font;
};

struct UiControlSpec {
  UiKind kind = UiKind::kLabel;
  std::string text;
  UiBounds bounds;
  UiFont font;
  bool visible = true;
  bool enabled = true;
  bool tabStop = true;
  bool wordWrap = false;        // label: break lines at the label's width
  bool centred = false;         // label: centre the text
  bool readOnly = false;        // edit, memo, rich edit
  bool infoBackground = false;  // edit: tool-tip background colour
  std::string imageResource;    // list view: the bitmap every item shows
  int rangeMax = 100;           // progress bar: 0 .. rangeMax
};

// What a native window reports to the kit. Only changes made by the user (or the
// system) are reported: a change the kit asked for is never echoed back.
class IUiSink {
 public:
  virtual ~IUiSink() = default;
  virtual void UiClick() {}
  virtual void UiDblClick() {}
  virtual void UiMouseMove() {}
  virtual void UiMouseLeave() {}
  // List view: item index gained (selected) or lost the selection; index -1 with
  // false: every item lost it.
  virtual void UiItemSelected(int /*index*/, bool /*selected*/) {}
  // List view: the caption of a row about to be drawn.
  virtual std::string UiItemText(int /*index*/) { return {}; }
  // List view: the user typed prefix; the row to select, looking from start on and
  // then from the top (-1: none).
  virtual int UiFindItem(const std::string& /*prefix*/, int /*start*/) { return -1; }
  virtual void UiTimer(uint32_t /*id*/) {}
  // Close box, Alt+F4 or WM_CLOSE: the form decides what closing means.
  virtual void UiCloseRequest() {}
  virtual void UiClientResized(int /*width*/, int /*height*/) {}
  virtual void UiActivated() {}
  // Return or Escape pressed inside the form; true when the form used the key.
  virtual bool UiDialogKey(UiKey /*key*/) { return false; }
  // A message in the WM_USER range; true when handled, with its result.
  virtual bool UiMessage(uint32_t /*msg*/, uintptr_t /*wParam*/, intptr_t /*lParam*/,
                         intptr_t& /*result*/) {
    return false;
  }
};

class IUiBackend {
 public:
  virtual ~IUiBackend() = default;

  // Forms are created hidden. The sink must outlive the window.
  virtual UiHandle CreateForm(const UiFormSpec& spec, IUiSink* sink) = 0;
  virtual UiHandle CreateControl(UiHandle parent, const UiControlSpec& spec, IUiSink* sink) = 0;
  virtual void DestroyWindow(UiHandle window) = 0;

  virtual void SetText(UiHandle window, const std::string& text) = 0;
  // The text as it stands now (an edit the user typed in included).
  virtual std::string GetText(UiHandle window) = 0;
  // Position in the parent's client area; for a form, its client size.
  virtual void SetBounds(UiHandle window, const UiBounds& bounds) = 0;
  // A form: showing activates it; hiding one activates the window below.
  virtual void SetVisible(UiHandle window, bool visible) = 0;
  virtual void SetEnabled(UiHandle window, bool enabled) = 0;
  virtual void SetFont(UiHandle window, const UiFont& font) = 0;
  virtual void SetTextColor(UiHandle window, UiColor color) = 0;
  virtual void SetCursor(UiHandle window, UiCursor cursor) = 0;
  virtual void SetFocus(UiHandle window) = 0;
  virtual UiHandle GetFocus() = 0;
  // A label's text extent (one line per line break), a picture's bitmap size, a
  // status bar's height; the current size for anything else.
  virtual UiSize PreferredSize(UiHandle window) = 0;
  virtual void SetDefaultButton(UiHandle button, bool isDefault) = 0;

  // SetWindowPos top-most on or off, without moving or sizing.
  virtual void SetTopMost(UiHandle form, bool topMost) = 0;
  // A layered window at opacity alpha, or an ordinary one.
  virtual void SetOpacity(UiHandle form, bool layered, uint8_t alpha) = 0;

  virtual void ListClear(UiHandle list) = 0;
  // The list holds count rows; it asks the sink for a row's caption when it draws
  // the row (UiItemText), so rows that are never drawn are never asked for.
  virtual void ListSetCount(UiHandle list, int count) = 0;
  // -1 clears the selection.
  virtual void ListSelect(UiHandle list, int index) = 0;
  // Loads a bitmap resource (names match without regard to case) into a picture,
  // or beside a button's caption.
  virtual bool LoadPicture(UiHandle window, const std::string& resourceName) = 0;
  // A BMP file's bytes (its header checked by the caller) drawn scaled to size: into
  // a picture, or as a list view's item picture, centred in its 32 x 32 cell.
  virtual bool LoadPictureFile(UiHandle window, const std::string& bmpFile, UiSize size) = 0;
  virtual void SetProgress(UiHandle bar, int position) = 0;

  // Window timers of a form: a running timer is restarted.
  virtual void StartTimer(UiHandle form, uint32_t id, uint32_t intervalMs) = 0;
  virtual void StopTimer(UiHandle form, uint32_t id) = 0;
  virtual bool Post(UiHandle window, uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;

  // Handles what is waiting (posted messages, due timers, input) and returns.
  virtual void ProcessMessages() = 0;
  // Handles messages until done() holds after one of them, or the loop is told
  // to quit. Nested calls are the modal loops.
  virtual void RunLoop(const std::function<bool()>& done) = 0;
  // Ends every running loop (the outer one included).
  virtual void Quit() = 0;
  virtual bool QuitRequested() = 0;
  // The hourglass for the whole program, or the normal cursors again.
  virtual void SetBusyCursor(bool busy) = 0;
};

}  // namespace pinst
