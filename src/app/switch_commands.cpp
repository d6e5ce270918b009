#include "app/switch_commands.h"

#include "app/install_codes.h"
#include "app/model_state.h"
#include "app/run_log_start.h"
#include "app/standard_output.h"
#include "base/win_path.h"
#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "removal/hex_code.h"
#include "sys/protected_print.h"
#include "sys/run_log.h"
#include "ui/application.h"
#include "verify/verify.h"

namespace pinst {

namespace {

std::string SpoolerError() { return "error 0x" + HexCode8(Os().spooler->GetLastError()); }

const char* SwitchName(const TCommandLine& commandLine) {
  return commandLine.list ? "/List" : commandLine.check ? "/Check" : "/Uninstall";
}

// A box for a person; a quiet run, and /Check, never shows one.
void Tell(const TCommandLine& commandLine, const std::string& text) {
  if (!commandLine.uninstall || commandLine.quiet) return;
  LogLine("Message: " + text);
  ui::MessageDlg(nullptr, text, Lang().StrInstallerTitle, kMbOk | kMbIconError);
}

// What /Check and /List add to their lines while Windows protected print mode is
// on: what is installed is still told as it is, and so is why installing would fail.
std::string ProtectedPrintNote() {
  const TProtectedPrint protectedPrint = DetectProtectedPrint();
  if (!protectedPrint.on) return "";
  LogLine("Windows protected print mode is on (" + protectedPrint.saidBy + ")");
  return "Windows protected print mode is on: no printer maker's driver can be installed";
}

// install.ini in the current folder; for /Uninstall, when there is none, the one
// beside the program: the copy an install kept, whose Apps & features entry starts
// the program from any folder.
std::string ConfigurationFile(const TCommandLine& commandLine) {
  IFiles& files = *Os().files;
  const std::string here = "install.ini";
  if (!commandLine.uninstall || files.FileExists(here)) return here;
  const std::string beside =
      FolderOf(files.ModuleFileName(), Os().system->GetAnsiCodePage()) + here;
  if (!files.FileExists(beside)) return here;
  LogLine("No install.ini in " + files.CurrentDirectory() + ": reading " + beside);
  return beside;
}

}  // namespace

int RunVerify() {
  const std::vector<TFinding> findings = VerifyDistribution(Os().files->CurrentDirectory());
  for (const TFinding& finding : findings) SayLine(FormatFinding(finding));
  const int exitCode = VerifyExitCode(findings);
  if (findings.empty()) SayLine("no findings");
  return exitCode;
}

int RunSwitchCommand(const TCommandLine& commandLine, const std::vector<std::string>& args) {
  OpenRunLog(commandLine, args);
  if (int{commandLine.check} + int{commandLine.list} + int{commandLine.uninstall} +
          int{commandLine.verify} >
      1) {
    SayLine("refused: only one of /Check, /List, /Uninstall and /Verify at a time");
    return kExitInvalidCommandLine;
  }
  if (commandLine.verify) return RunVerify();
  TIniOptions options;
  options.LoadFromFile(ConfigurationFile(commandLine));
  LogLine("install.ini: " + std::to_string(options.Count) + " model(s) in " +
          Os().files->CurrentDirectory());
  if (commandLine.list) return RunList(options);

  if (!commandLine.model) {
    SayLine(std::string("refused: ") + SwitchName(commandLine) + " needs /Model=NAME");
    Tell(commandLine, Lang().StrUsage);
    return kExitInvalidCommandLine;
  }
  const std::string& name = *commandLine.model;
  const int index = options.FindModel(name);
  if (index < 0) {
    SayLine("unknown model: " + name + " is not in install.ini");
    Tell(commandLine, FormatText(Lang().StrUnknownModel, name));
    return kExitNothingToInstall;
  }
  LogLine("/Model=" + name + ": section [" + options.Sections[index] + "]");
  TOption option;
  options.GetOption(index, option);
  if (commandLine.check) return RunCheck(option);
  return RunUninstall(option, commandLine.quiet);
}

int RunList(const TIniOptions& options) {
  if (options.Count == 0) {
    LogLine("install.ini lists no model: nothing to list");
    return kExitNothingToInstall;
  }
  TSpoolerView view;
  const bool read = ReadSpoolerView(view);
  if (!read) LogLine("The spooler's printer list cannot be read: " + SpoolerError());
  // A column of its own after the five, so that readers of the five are not misled.
  const std::string note = ProtectedPrintNote();
  for (int i = 0; i < options.Count; ++i) {
    TOption option;
    options.GetOption(i, option);
    const TModelState state = StateOf(view, option.ModelName);
    const char* installed = !read ? "unknown" : state.installed ? "installed" : "not installed";
    SayLine(options.Sections[i] + "\t" + option.ModelName + "\t" + option.InstallSettingFile2K +
            "\t" + installed + "\t" + (state.installed ? state.portName : std::string()) +
            (note.empty() ? "" : "\t" + note));
  }
  return read ? kExitInstalled : kExitFailed;
}

int RunCheck(const TOption& option) {
  const std::string& model = option.ModelName;
  if (model.empty()) {
    SayLine("cannot tell: " + option.InstallSettingFile2K + " names no model");
    return kExitFailed;
  }
  TSpoolerView view;
  const bool read = ReadSpoolerView(view);
  const std::string error = read ? "" : SpoolerError();
  // The exit code keeps telling whether the model is installed; the line says why an
  // install would be refused.
  const std::string note = ProtectedPrintNote();
  const std::string tail = note.empty() ? "" : "; " + note;
  if (!read) {
    SayLine("cannot tell: " + model + ", the spooler's printer list cannot be read (" + error +
            ")" + tail);
    return kExitFailed;
  }
  const TModelState state = StateOf(view, model);
  if (state.installed) {
    SayLine("installed: " + model + ", port " + state.portName +
            (state.isDefault ? ", the default printer" : ", not the default printer") + tail);
    return kExitInstalled;
  }
  SayLine("not installed: " + model +
          (state.printerNamed ? ", the printer of that name uses the driver " + state.driverName
                              : ", no printer of that name") +
          tail);
  return kExitUnknownProduct;
}

}  // namespace pinst
