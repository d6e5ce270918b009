#include "app/run_result.h"

#include "app/install_codes.h"
#include "config/lang_format.h"
#include "config/lang_strings.h"
#include "engine/install_error.h"
#include "platform/system.h"

namespace pinst {

namespace {

std::optional<TResultBox> EndBox(const TRunResult& result) {
  const TLangStrings& lang = Lang();
  switch (result.reason) {
    case TRunReason::kNoPrinterCreated:
      return TResultBox{FormatText(lang.StrNoPrinterCreated, result.printer), kMbOk | kMbIconError};
    case TRunReason::kSpoolerNotRunning:
      return TResultBox{lang.StrSpoolerNotRunning, kMbOk | kMbIconError};
    case TRunReason::kUnsupportedMachine:
      return TResultBox{lang.StrUnsupportedMachine, kMbOk | kMbIconError};
    case TRunReason::kProtectedPrint:
      return TResultBox{lang.StrProtectedPrint, kMbOk | kMbIconError};
    case TRunReason::kPrinterNotRecorded:
      return TResultBox{FormatText(lang.StrPrinterNotRecorded, result.printer),
                        kMbOk | kMbIconError};
    case TRunReason::kUnsignedPackage:
      return TResultBox{lang.StrUnsignedPackage, kMbOk | kMbIconError};
    case TRunReason::kPortUnknown:
      return TResultBox{FormatText(lang.StrPortUnknown, result.port), kMbOk | kMbIconError};
    case TRunReason::kPortMonitorFailed:
      return TResultBox{FormatText(lang.StrPortMonitorFailed, result.port) + "\r\n" +
                            result.failedCall + FormatCode(": 0x%.8x", result.code),
                        kMbOk | kMbIconError};
    default:
      break;
  }
  switch (result.outcome) {
    case TRunOutcome::kInstalled:
      return TResultBox{FormatText(lang.StrInstallSuccess, result.port),
                        kMbOk | kMbIconInformation};
    case TRunOutcome::kInstalledRestart:
      return TResultBox{
          FormatText(lang.StrInstallSuccess, result.port) + "\r\n" + lang.StrRestartNotice,
          kMbOk | kMbIconInformation};
    case TRunOutcome::kCancelled:
      if (result.code != kErrorInstallCancelled) return std::nullopt;
      return TResultBox{lang.StrInstallCancelled, kMbOk};
    case TRunOutcome::kFailed:
      if (result.code == 0) return std::nullopt;
      return TResultBox{
          FormatCode(lang.StrInstallFailCode + "\r\n", result.code) + lang.StrRetryLater,
          kMbOk | kMbIconError};
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<TResultBox> ResultBox(const TRunResult& result) {
  std::optional<TResultBox> box = EndBox(result);
  std::string fate;
  if (result.oldPrinter == TOldPrinter::kRestored) {
    fate = FormatText(Lang().StrPrinterRestored, result.printer);
  } else if (result.oldPrinter == TOldPrinter::kNotRestored) {
    fate = FormatText(Lang().StrPrinterNotRestored, result.printer);
  }
  if (fate.empty()) return box;
  if (!box) return TResultBox{fate, kMbOk | kMbIconWarning};
  box->text += "\r\n" + fate;
  return box;
}

int ExitCodeFor(const TRunResult& result, bool automaticRun) {
  if (!automaticRun) return kExitInstalled;
  if (result.reason == TRunReason::kTimedOut) return kExitTimedOut;
  if (result.reason == TRunReason::kRestartStarted) return kExitRestartStarted;
  if (result.reason == TRunReason::kPortUnknown) return kExitInvalidCommandLine;
  if (result.reason == TRunReason::kProtectedPrint) return kExitPackageRejected;
  if (result.reason == TRunReason::kUnsupportedMachine) return kExitPlatformUnsupported;
  switch (result.outcome) {
    case TRunOutcome::kInstalled:
      return kExitInstalled;
    case TRunOutcome::kInstalledRestart:
      return kExitRestartNeeded;
    case TRunOutcome::kCancelled:
      return kExitCancelled;
    default:
      return kExitFailed;
  }
}

std::string OutcomeLine(const TRunResult& result) {
  const char* name = "failed";
  switch (result.outcome) {
    case TRunOutcome::kNone:
      name = "no install ran";
      break;
    case TRunOutcome::kInstalled:
      name = "installed";
      break;
    case TRunOutcome::kInstalledRestart:
      name = "installed, a restart is needed";
      break;
    case TRunOutcome::kCancelled:
      name = "cancelled";
      break;
    default:
      break;
  }
  return std::string("Outcome: ") + name;
}

TLogKind OutcomeKind(const TRunResult& result) {
  switch (result.outcome) {
    case TRunOutcome::kNone:
    case TRunOutcome::kInstalled:
      return TLogKind::kInfo;
    case TRunOutcome::kInstalledRestart:
    case TRunOutcome::kCancelled:
      return TLogKind::kWarning;
    default:
      return TLogKind::kFailure;
  }
}

std::string InstallErrorText(const std::exception& error) {
  const auto* raised = dynamic_cast<const TInstallError*>(&error);
  if (!raised) return error.what();
  const TLangStrings& lang = Lang();
  switch (raised->Fault()) {
    case TInstallFault::kLibraryMissing:
      return lang.StrDllNotFound;
    case TInstallFault::kLibraryFunctionMissing:
      return lang.StrDllFunctionBad;
    case TInstallFault::kModelUnreadable:
      return FormatText(lang.StrModelUnreadable, raised->File());
    default:
      return FormatText(lang.StrInfUnreadable, raised->File());
  }
}

}  // namespace pinst
