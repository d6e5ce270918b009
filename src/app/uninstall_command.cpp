// /Uninstall: the model's printer, then its driver when no other printer uses it.
// A person is asked first and told the result; under /Quiet the command line is
// the word to go ahead, and only the output line and the log tell.
#include <string>

#include "app/install_codes.h"
#include "app/model_state.h"
#include "app/standard_output.h"
#include "app/switch_commands.h"
#include "app/uninstall_entry.h"
#include "base/ansi_text.h"
#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/hex_code.h"
#include "removal/model_removal.h"
#include "spooler/driver_list.h"
#include "sys/run_log.h"
#include "ui/application.h"

namespace pinst {

namespace {

std::string ErrorText(uint32_t error) { return "error 0x" + HexCode8(error); }

// A printer other than the model's own that uses the driver; empty when none does.
std::string PrinterOnDriver(const TSpoolerView& view, const std::string& driverName) {
  const uint32_t codePage = Os().system->GetAnsiCodePage();
  for (const PrinterInfo2& p : view.printers) {
    if (EqualsNoCase(p.driverName, driverName, codePage)) return p.printerName;
  }
  return std::string();
}

std::string DriverOutcome(const TDriverRemovalResult& driver) {
  switch (driver.outcome) {
    case TDriverRemoval::kRemoved:
      return "driver removed";
    case TDriverRemoval::kNotInstalled:
      return "no driver of that name was installed";
    case TDriverRemoval::kInUse:
      return "driver kept: " + (driver.usedBy.empty() ? std::string("in use")
                                                      : "used by the printer " + driver.usedBy);
    case TDriverRemoval::kRefused:
      break;
  }
  return "driver kept: the spooler refused to delete it (" + ErrorText(driver.error) + ")";
}

class TUninstall {
 public:
  TUninstall(const TOption& option, bool quiet) : option_(option), quiet_(quiet) {}

  int Run() {
    if (model_.empty()) {
      return Fail("not removed: " + option_.InstallSettingFile2K + " names no model");
    }
    TSpoolerView view;
    if (!ReadSpoolerView(view)) {
      return Fail("not removed: " + model_ + ", the spooler's printer list cannot be read (" +
                  ErrorText(Os().spooler->GetLastError()) + ")");
    }
    const TModelState state = StateOf(view, model_);
    if (state.installed) return RemovePrinterAndDriver(state);
    return RemoveLeftDriver(view, state);
  }

 private:
  bool Confirm() {
    if (quiet_) {
      LogLine("Removal question not asked (/Quiet): Yes");
      return true;
    }
    const std::string text = FormatText(Lang().StrUninstallQuestion, model_);
    const int answer =
        ui::MessageDlg(nullptr, text, Lang().StrInstallerTitle, kMbYesNo | kMbIconQuestion);
    LogLine("Question: " + text + " -> " + (answer == kIdYes ? "Yes" : "No"));
    return answer == kIdYes;
  }

  void Tell(const std::string& format, uint32_t icon) {
    if (quiet_) return;
    const std::string text = FormatText(format, model_);
    LogLine("Message: " + text);
    ui::MessageDlg(nullptr, text, Lang().StrInstallerTitle, kMbOk | icon);
  }

  int Fail(const std::string& line) {
    SayLine(line);
    Tell(Lang().StrUninstallFailed, kMbIconError);
    return kExitFailed;
  }

  int Cancelled() {
    SayLine("cancelled: " + model_ + ", nothing removed");
    return kExitCancelled;
  }

  int RemovePrinterAndDriver(const TModelState& state) {
    if (!Confirm()) return Cancelled();
    const TPrinterRemovalResult printer = RemoveIdlePrinter(state.printerName);
    switch (printer.outcome) {
      case TPrinterRemoval::kHasJobs:
        // Nothing is purged without a person's word: the jobs may be someone's work.
        SayLine("not removed: " + model_ + ", " + std::to_string(printer.jobs) +
                " job(s) still queued; nothing purged");
        Tell(Lang().StrUninstallBusy, kMbIconError);
        return kExitFailed;
      case TPrinterRemoval::kQueueUnknown:
        return Fail("not removed: " + model_ + ", its print queue cannot be read");
      case TPrinterRemoval::kNotOpened:
        return Fail("not removed: " + model_ + ", the printer cannot be opened to delete it (" +
                    ErrorText(printer.error) + ")");
      case TPrinterRemoval::kRefused:
        return Fail("not removed: " + model_ + ", the spooler refused to delete the printer (" +
                    ErrorText(printer.error) + ")");
      case TPrinterRemoval::kRemoved:
        break;
    }
    LogLine("Printer \"" + state.printerName + "\" on " + state.portName + " removed");
    const TDriverRemovalResult driver = RemoveUnusedDriver(state.driverName);
    SayLine("removed: " + model_ + ", " + DriverOutcome(driver));
    Tell(Lang().StrUninstallDone, kMbIconInformation);
    return kExitInstalled;
  }

  // No printer of the model: its driver may be left from an earlier removal,
  // when another printer still used it.
  int RemoveLeftDriver(const TSpoolerView& view, const TModelState& state) {
    const std::string usedBy = PrinterOnDriver(view, model_);
    const std::optional<bool> driverThere = usedBy.empty() ? DriverInstalled(model_) : true;
    // Cannot tell is not "not installed": a deployment tool counts 1605 as removed.
    if (!driverThere) {
      return Fail("cannot tell: " + model_ + ", the spooler's driver list cannot be read (" +
                  ErrorText(Os().spooler->GetLastError()) + ")");
    }
    if (!*driverThere || !usedBy.empty()) {
      std::string why = state.printerNamed
                            ? "the printer of that name uses the driver " + state.driverName
                            : "no printer of that name";
      if (!usedBy.empty()) why += "; its driver is used by the printer " + usedBy;
      SayLine("not installed: " + model_ + ", " + why);
      Tell(Lang().StrUninstallNothing, kMbIconInformation);
      return kExitUnknownProduct;
    }
    LogLine("No printer of \"" + model_ + "\", but its driver is installed");
    if (!Confirm()) return Cancelled();
    const TDriverRemovalResult driver = RemoveUnusedDriver(model_);
    if (driver.outcome == TDriverRemoval::kRemoved) {
      SayLine("removed: " + model_ + ", driver removed (there was no printer of that name)");
      Tell(Lang().StrUninstallDone, kMbIconInformation);
      return kExitInstalled;
    }
    if (driver.outcome == TDriverRemoval::kNotInstalled) {
      SayLine("not installed: " + model_ + ", no printer or driver of that name");
      Tell(Lang().StrUninstallNothing, kMbIconInformation);
      return kExitUnknownProduct;
    }
    return Fail("not removed: " + model_ + ", " + DriverOutcome(driver));
  }

  const TOption& option_;
  const std::string& model_ = option_.ModelName;
  const bool quiet_;
};

}  // namespace

int RunUninstall(const TOption& option, bool quiet) {
  const int exitCode = TUninstall(option, quiet).Run();
  // Removed, or nothing left to remove: the entry would only point at nothing.
  if (exitCode == kExitInstalled || exitCode == kExitUnknownProduct) {
    RemoveUninstallEntry(option.ModelName);
  }
  return exitCode;
}

}  // namespace pinst
