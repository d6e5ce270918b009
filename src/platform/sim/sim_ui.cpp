#include "platform/sim/sim_ui.h"

#include <algorithm>

namespace pinst::sim {

namespace {

bool TakesFocus(UiKind kind) {
  switch (kind) {
    case UiKind::kButton:
    case UiKind::kListView:
    case UiKind::kEdit:
    case UiKind::kMemo:
    case UiKind::kRichEdit:
      return true;
    default:
      return false;
  }
}

std::string Upper(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

SimUi::SimUi(SimClock& clock) : clock_(clock) {
  resources["LOGONORVIK"] = {170, 72};
  resources["PRINTER32"] = {32, 32};
  resources["GLYPHINSTALL"] = {16, 16};
  resources["GLYPHEXIT"] = {16, 16};
}

SimWindow& SimUi::At(UiHandle handle) {
  auto it = windows_.find(handle);
  if (it == windows_.end()) throw std::logic_error("sim ui: no window " + std::to_string(handle));
  return it->second;
}

const SimWindow& SimUi::Window(UiHandle handle) const {
  auto it = windows_.find(handle);
  if (it == windows_.end()) throw std::logic_error("sim ui: no window " + std::to_string(handle));
  return it->second;
}

const SimWindow* SimUi::FindForm(const std::string& className) const {
  for (const auto& [handle, window] : windows_) {
    if (window.kind == UiKind::kForm && window.className == className) return &window;
  }
  return nullptr;
}

UiHandle SimUi::FormOf(UiHandle handle) const {
  UiHandle h = handle;
  while (h != 0) {
    auto it = windows_.find(h);
    if (it == windows_.end()) return 0;
    if (it->second.kind == UiKind::kForm) return h;
    h = it->second.parent;
  }
  return 0;
}

bool SimUi::Reachable(UiHandle handle) const {
  UiHandle h = handle;
  while (h != 0) {
    auto it = windows_.find(h);
    if (it == windows_.end()) return false;
    const SimWindow& w = it->second;
    if (!w.visible || !w.enabled) return false;
    if (w.kind == UiKind::kForm) return true;
    h = w.parent;
  }
  return false;
}

std::optional<uint32_t> SimUi::TimerInterval(UiHandle form, uint32_t id) const {
  for (const Timer& t : timers_) {
    if (t.form == form && t.id == id) return t.interval;
  }
  return std::nullopt;
}

std::vector<uint32_t> SimUi::RunningTimers(UiHandle form) const {
  std::vector<uint32_t> ids;
  for (const Timer& t : timers_) {
    if (t.form == form) ids.push_back(t.id);
  }
  return ids;
}

UiHandle SimUi::CreateForm(const UiFormSpec& spec, IUiSink* sink) {
  SimWindow w;
  w.handle = nextHandle_++;
  w.parent = spec.owner;
  w.kind = UiKind::kForm;
  w.className = spec.className;
  w.text = spec.caption;
  w.bounds = {0, 0, spec.clientWidth, spec.clientHeight};
  w.visible = false;
  w.font = spec.font;
  w.formSpec = spec;
  w.sink = sink;
  windows_[w.handle] = w;
  formsMade.push_back(spec.className);
  return w.handle;
}

UiHandle SimUi::CreateControl(UiHandle parent, const UiControlSpec& spec, IUiSink* sink) {
  At(parent);
  SimWindow w;
  w.handle = nextHandle_++;
  w.parent = parent;
  w.kind = spec.kind;
  w.text = spec.text;
  w.bounds = spec.bounds;
  w.visible = spec.visible;
  w.enabled = spec.enabled;
  w.font = spec.font;
  w.spec = spec;
  w.sink = sink;
  windows_[w.handle] = w;
  return w.handle;
}

void SimUi::DestroyWindow(UiHandle window) {
  if (!windows_.count(window)) return;
  std::vector<UiHandle> children;
  for (const auto& [handle, w] : windows_) {
    if (w.parent == window && w.kind != UiKind::kForm) children.push_back(handle);
  }
  for (UiHandle child : children) DestroyWindow(child);
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [window](const Timer& t) { return t.form == window; }),
                timers_.end());
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                              [window](const Posted& p) { return p.window == window; }),
               queue_.end());
  activation_.erase(std::remove(activation_.begin(), activation_.end(), window), activation_.end());
  if (focus_ == window) focus_ = 0;
  if (active_ == window) active_ = 0;
  windows_.erase(window);
}

void SimUi::SetText(UiHandle window, const std::string& text) { At(window).text = text; }

std::string SimUi::GetText(UiHandle window) { return At(window).text; }

void SimUi::SetBounds(UiHandle window, const UiBounds& bounds) {
  SimWindow& w = At(window);
  w.bounds = w.kind == UiKind::kForm ? UiBounds{0, 0, bounds.width, bounds.height} : bounds;
}

void SimUi::ActivateForm(UiHandle form) {
  if (active_ == form) return;
  if (active_ != 0 && FormOf(focus_) == active_) At(active_).savedFocus = focus_;
  active_ = form;
  activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
  activation_.push_back(form);
  SimWindow& w = At(form);
  focus_ = (w.savedFocus != 0 && Reachable(w.savedFocus)) ? w.savedFocus : 0;
  if (w.sink) w.sink->UiActivated();
}

void SimUi::SetVisible(UiHandle window, bool visible) {
  SimWindow& w = At(window);
  if (w.visible == visible) {
    if (visible && w.kind == UiKind::kForm && w.enabled) ActivateForm(window);
    return;
  }
  w.visible = visible;
  if (w.kind != UiKind::kForm) {
    if (!visible && focus_ != 0 && !Reachable(focus_)) focus_ = 0;
    return;
  }
  if (visible) {
    formsShown.push_back(w.className);
    if (w.enabled) ActivateForm(window);
    return;
  }
  if (FormOf(focus_) == window) {
    w.savedFocus = focus_;
    focus_ = 0;
  }
  if (active_ != window) return;
  active_ = 0;
  // The window below takes the activation: the one active most recently that can.
  for (auto it = activation_.rbegin(); it != activation_.rend(); ++it) {
    if (*it != window && Reachable(*it)) {
      ActivateForm(*it);
      return;
    }
  }
}

void SimUi::SetEnabled(UiHandle window, bool enabled) {
  At(window).enabled = enabled;
  if (!enabled && focus_ != 0 && !Reachable(focus_) && FormOf(focus_) != window) focus_ = 0;
}

void SimUi::SetFont(UiHandle window, const UiFont& font) { At(window).font = font; }

void SimUi::SetTextColor(UiHandle window, UiColor color) { At(window).textColor = color; }

void SimUi::SetCursor(UiHandle window, UiCursor cursor) { At(window).cursor = cursor; }

void SimUi::SetFocus(UiHandle window) {
  if (window == 0) {
    focus_ = 0;
    return;
  }
  At(window);
  focus_ = window;
}

UiSize SimUi::PreferredSize(UiHandle window) {
  const SimWindow& w = At(window);
  switch (w.kind) {
    case UiKind::kLabel: {
      if (w.spec.wordWrap) return {w.bounds.width, w.bounds.height};
      // A fixed-pitch stand-in for text measuring: half the character height per
      // byte, so a double-byte character is as wide as two letters.
      int widest = 0;
      int lines = 0;
      size_t start = 0;
      for (;;) {
        const size_t end = w.text.find('\n', start);
        std::string line = w.text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        widest = std::max(widest, static_cast<int>(line.size()) * w.font.height / 2);
        ++lines;
        if (end == std::string::npos) break;
        start = end + 1;
      }
      return {widest, lines * (w.font.height + 3)};
    }
    case UiKind::kPicture: {
      if (!w.pictureFile.empty()) return w.pictureSize;
      auto it = resources.find(Upper(w.picture));
      if (it != resources.end()) return it->second;
      return {w.bounds.width, w.bounds.height};
    }
    case UiKind::kStatusBar:
      return {w.bounds.width, 19};
    default:
      return {w.bounds.width, w.bounds.height};
  }
}

void SimUi::SetDefaultButton(UiHandle button, bool isDefault) { At(button).isDefault = isDefault; }

void SimUi::SetTopMost(UiHandle form, bool topMost) {
  SimWindow& w = At(form);
  w.topMost = topMost;
  w.topMostChanges.push_back(topMost);
}

void SimUi::SetOpacity(UiHandle form, bool layered, uint8_t alpha) {
  SimWindow& w = At(form);
  w.layered = layered;
  w.alpha = alpha;
}

void SimUi::ListClear(UiHandle list) {
  SimWindow& w = At(list);
  w.items.clear();
  w.drawn.clear();
  w.topRow = 0;
  w.selected = -1;
}

void SimUi::ListSetCount(UiHandle list, int count) {
  SimWindow& w = At(list);
  w.items.assign(static_cast<size_t>(count), "");
  w.drawn.assign(static_cast<size_t>(count), false);
  w.topRow = 0;
  if (w.selected >= count) w.selected = -1;
  DrawList(w, -1);
}

void SimUi::ListSelect(UiHandle list, int index) {
  SimWindow& w = At(list);
  w.selected = index;
  DrawList(w, index);
}

void SimUi::DrawList(SimWindow& w, int index) {
  // Large icons sit kCell pixels apart each way; a partly shown row is drawn too.
  constexpr int kCell = 75;
  const int columns = std::max(1, w.bounds.width / kCell);
  const int inView = columns * std::max(1, (w.bounds.height + kCell - 1) / kCell);
  if (index >= 0 && index < w.topRow) w.topRow = index - index % columns;
  if (index >= w.topRow + inView) w.topRow = (index / columns + 1) * columns - inView;
  const int end = std::min(static_cast<int>(w.items.size()), w.topRow + inView);
  for (int row = w.topRow; row < end; ++row) {
    w.items[static_cast<size_t>(row)] = w.sink ? w.sink->UiItemText(row) : "";
    w.drawn[static_cast<size_t>(row)] = true;
  }
}

bool SimUi::LoadPicture(UiHandle picture, const std::string& resourceName) {
  SimWindow& w = At(picture);
  if (Injected(faults, "ui.LoadBitmap")) return false;
  if (!resources.count(Upper(resourceName))) return false;
  w.picture = resourceName;
  w.pictureFile.clear();
  return true;
}

bool SimUi::LoadPictureFile(UiHandle window, const std::string& bmpFile, UiSize size) {
  SimWindow& w = At(window);
  if (Injected(faults, "ui.LoadPictureFile")) return false;
  w.pictureFile = bmpFile;
  w.pictureSize = size;
  return true;
}

void SimUi::SetProgress(UiHandle bar, int position) { At(bar).progress = position; }

void SimUi::StartTimer(UiHandle form, uint32_t id, uint32_t intervalMs) {
  At(form);
  StopTimer(form, id);
  timers_.push_back({form, id, intervalMs, clock_.NowMs() + intervalMs, timerOrder_++});
}

void SimUi::StopTimer(UiHandle form, uint32_t id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.form == form && t.id == id; }),
                timers_.end());
}

bool SimUi::Post(UiHandle window, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (Injected(faults, "ui.PostMessageA") || !windows_.count(window)) return false;
  queue_.push_back({window, msg, wParam, lParam});
  return true;
}

std::optional<uint64_t> SimUi::NextDue() const {
  std::optional<uint64_t> next;
  for (const Timer& t : timers_) {
    if (!next || t.due < *next) next = t.due;
  }
  return next;
}

bool SimUi::HandleOne() {
  if (!queue_.empty()) {
    const Posted p = queue_.front();
    queue_.erase(queue_.begin());
    auto it = windows_.find(p.window);
    if (it != windows_.end() && it->second.sink) {
      delivered.push_back(p);
      intptr_t result = 0;
      it->second.sink->UiMessage(p.msg, p.wParam, p.lParam, result);
    }
    return true;
  }
  const uint64_t now = clock_.NowMs();
  const Timer* due = nullptr;
  for (const Timer& t : timers_) {
    if (t.due > now) continue;
    if (!due || t.due < due->due || (t.due == due->due && t.order < due->order)) due = &t;
  }
  if (!due) return false;
  const UiHandle form = due->form;
  const uint32_t id = due->id;
  // Re-armed before the handler runs, which may stop or restart it.
  for (Timer& t : timers_) {
    if (t.form == form && t.id == id) {
      t.due = now + t.interval;
      t.order = timerOrder_++;
    }
  }
  if (IUiSink* sink = At(form).sink) sink->UiTimer(id);
  return true;
}

void SimUi::ProcessMessages() {
  while (!quit_ && HandleOne()) {
  }
}

void SimUi::RunLoop(const std::function<bool()>& done) {
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } depth(depth_);
  while (!quit_ && !done()) {
    if (HandleOne()) continue;
    if (onIdle && onIdle()) continue;
    const std::optional<uint64_t> next = NextDue();
    if (!next) throw SimUiStalled{"a message loop waits with no timer running"};
    if (*next > clock_.NowMs()) clock_.Advance(*next - clock_.NowMs());
  }
}

void SimUi::AdvanceTime(uint64_t ms) {
  const uint64_t target = clock_.NowMs() + ms;
  for (;;) {
    while (!quit_ && HandleOne()) {
    }
    const std::optional<uint64_t> next = NextDue();
    if (quit_ || !next || *next > target) break;
    if (*next > clock_.NowMs()) clock_.Advance(*next - clock_.NowMs());
  }
  if (clock_.NowMs() < target) clock_.Advance(target - clock_.NowMs());
}

bool SimUi::Click(UiHandle window) {
  if (!Reachable(window)) return false;
  SimWindow& w = At(window);
  if (TakesFocus(w.kind)) focus_ = window;
  if (w.sink) w.sink->UiClick();
  return true;
}

bool SimUi::DblClick(UiHandle window) {
  if (!Reachable(window)) return false;
  SimWindow& w = At(window);
  if (w.sink) w.sink->UiDblClick();
  return true;
}

bool SimUi::MouseMove(UiHandle window) {
  if (!Reachable(window)) return false;
  if (IUiSink* sink = At(window).sink) sink->UiMouseMove();
  return true;
}

bool SimUi::MouseLeave(UiHandle window) {
  if (!Reachable(window)) return false;
  if (IUiSink* sink = At(window).sink) sink->UiMouseLeave();
  return true;
}

bool SimUi::SelectItem(UiHandle list, int index) {
  if (!Reachable(list)) return false;
  SimWindow& w = At(list);
  if (w.kind != UiKind::kListView) return false;
  if (index < -1 || index >= static_cast<int>(w.items.size())) return false;
  focus_ = list;
  const int old = w.selected;
  if (old == index) return true;
  w.selected = index;
  if (old >= 0) w.sink->UiItemSelected(old, false);
  if (index >= 0 && windows_.count(list)) w.sink->UiItemSelected(index, true);
  return true;
}

bool SimUi::TypeInList(UiHandle list, const std::string& text) {
  if (!Reachable(list) || At(list).kind != UiKind::kListView || !At(list).sink) return false;
  const int found = At(list).sink->UiFindItem(text, std::max(0, At(list).selected));
  if (found < 0) return false;
  if (!SelectItem(list, found)) return false;
  if (windows_.count(list)) DrawList(At(list), found);
  return true;
}

bool SimUi::PressKey(UiHandle form, UiKey key) {
  if (!Reachable(form)) return false;
  if (key == UiKey::kReturn && focus_ != 0) {
    const UiKind kind = At(focus_).kind;
    // A multi-line edit takes Return as a line break.
    if (kind == UiKind::kMemo || kind == UiKind::kRichEdit) return true;
  }
  if (IUiSink* sink = At(form).sink) sink->UiDialogKey(key);
  return true;
}

bool SimUi::CloseBox(UiHandle form) {
  if (!Reachable(form)) return false;
  SimWindow& w = At(form);
  if (w.kind != UiKind::kForm || w.formSpec.border == UiBorder::kDialogNoCaptionButtons) {
    return false;
  }
  if (w.sink) w.sink->UiCloseRequest();
  return true;
}

bool SimUi::TypeText(UiHandle edit, const std::string& text) {
  if (!Reachable(edit)) return false;
  SimWindow& w = At(edit);
  const bool editable =
      w.kind == UiKind::kEdit || w.kind == UiKind::kMemo || w.kind == UiKind::kRichEdit;
  if (!editable || w.spec.readOnly) return false;
  w.text = text;
  return true;
}

bool SimUi::ResizeClient(UiHandle form, int width, int height) {
  if (!Reachable(form)) return false;
  SimWindow& w = At(form);
  if (w.kind != UiKind::kForm || w.formSpec.border != UiBorder::kSizeable) return false;
  w.bounds = {0, 0, width, height};
  if (w.sink) w.sink->UiClientResized(width, height);
  return true;
}

bool SimUi::Activate(UiHandle form) {
  if (!Reachable(form) || At(form).kind != UiKind::kForm) return false;
  ActivateForm(form);
  return true;
}

}  // namespace pinst::sim
