#include "ui/application.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "ui/form.h"

namespace pinst::ui {

TApplication& Application() {
  static TApplication application;
  return application;
}

void TApplication::Run() {
  TForm* main = MainForm();
  if (!main) return;
  if (main->ShowOnRun()) main->Show();
  Os().ui->RunLoop([] { return false; });
}

void TApplication::Terminate() { Os().ui->Quit(); }

bool TApplication::Terminated() const { return Os().ui->QuitRequested(); }

void TApplication::ProcessMessages() { Os().ui->ProcessMessages(); }

void TApplication::RunUntil(const std::function<bool()>& done) { Os().ui->RunLoop(done); }

void TApplication::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

void TApplication::ShowException(const std::exception& error) {
  std::string text = ErrorText ? ErrorText(error) : error.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageDlg(activeForm_, text, Title, kMbOk | kMbIconError);
}

void TApplication::SetBusyCursor(bool busy) {
  busy_ = busy;
  Os().ui->SetBusyCursor(busy);
}

void TApplication::AddForm(TForm* form) { forms_.push_back(form); }

void TApplication::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (activeForm_ == form) activeForm_ = nullptr;
}

int MessageDlg(const TForm* owner, const std::string& text, const std::string& caption,
               uint32_t flags) {
  if (const auto& filter = Application().BoxFilter) {
    if (std::optional<int> answer = filter(text, caption, flags)) return *answer;
  }
  return Os().system->ShowMessageBox(owner ? owner->Handle() : 0, text, caption, flags);
}

void ShowMessage(const std::string& text) {
  MessageDlg(Application().ActiveForm(), text, Application().Title, kMbOk);
}

}  // namespace pinst::ui
