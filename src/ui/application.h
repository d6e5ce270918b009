// The program as a whole: its forms, its title, the message loop, the top-level
// error handler, message boxes and the fixed pauses.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pinst::ui {

class TForm;

class TApplication {
 public:
  // The caption of the error boxes (and the task-bar title).
  std::string Title;
  // Asked first about every message box: an answer it gives is taken as the
  // button pressed, and no box is shown (a run that no one watches).
  std::function<std::optional<int>(const std::string& text, const std::string& caption,
                                   uint32_t flags)>
      BoxFilter;

  // The first form created; closing it ends the program.
  TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
  // The form of this program that was activated last (null before any was).
  TForm* ActiveForm() const { return activeForm_; }
  const std::vector<TForm*>& Forms() const { return forms_; }

  // Shows the main form unless it asked not to be, then handles messages until
  // the program is told to end.
  void Run();
  void Terminate();
  bool Terminated() const;
  // Handles the messages that are waiting, then returns.
  void ProcessMessages();
  // Handles messages, waiting for them, until done() is true or the program is
  // told to end.
  void RunUntil(const std::function<bool()>& done);
  // Runs an event handler the way the message loop does: an error it raises ends
  // the handler and is shown to the user.
  void Dispatch(const std::function<void()>& handler);
  // The error box: the text, a full stop added when the text's last byte sorts
  // after '.', the title as caption, a stop icon and OK.
  void ShowException(const std::exception& error);
  // The words for an error the program raised (set by the program; what() without it).
  std::function<std::string(const std::exception& error)> ErrorText;
  // The hourglass over every window of the program, or the normal cursors.
  void SetBusyCursor(bool busy);
  bool BusyCursor() const { return busy_; }

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);
  void SetActiveForm(TForm* form) { activeForm_ = form; }

  std::vector<TForm*> forms_;
  TForm* activeForm_ = nullptr;
  bool busy_ = false;
};

TApplication& Application();

// MessageBoxA through the system, owned by owner (null: no owner). Returns the
// button pressed (kIdOk ...).
int MessageDlg(const TForm* owner, const std::string& text, const std::string& caption,
               uint32_t flags);
// A plain box: the text, the application title as caption, one OK button.
void ShowMessage(const std::string& text);

}  // namespace pinst::ui
