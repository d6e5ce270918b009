// The process-wide text table: every text the user sees, in the language of the
// system. Texts are the bytes handed to the "A" window calls: GBK for Simplified
// Chinese, Big5 for Traditional Chinese, ASCII for English. The texts are written in
// lang_texts.txt (UTF-8); the build converts them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pinst {

enum class TextLanguage { kEnglish, kSimplifiedChinese, kTraditionalChinese };

// 0x0404 and 0x0C04 pick Traditional Chinese, 0x0804 and 0x1404 Simplified Chinese,
// every other id (Chinese (Singapore) 0x1004 too) English.
TextLanguage LanguageForLangId(uint16_t langId);

struct TLangStrings {
  std::string StrBrandWord;
  uint32_t ColorTitle = 0;
  std::string StrInstallerTitle;
  std::string StrOk;
  std::string StrNotice;
  std::string StrPrinterBusy;
  std::string StrMainTitle;
  // brand.ini's title from its brand word; %s: the word.
  std::string StrBrandTitle;
  std::string StrInstallGuideLink;
  std::string StrUserManualLink;
  std::string StrQuickGuideLink;
  std::string StrSelectDriver;
  std::string StrInstallButton;
  std::string StrExitButton;
  std::string StrInfos;
  std::string StrSelectHint;
  std::string StrClickInstall;
  std::string StrSameName;
  std::string StrUpgradeQuestion;
  std::string StrInstallSuccess;
  std::string StrInstallFailCode;
  std::string StrOnlineInstallFail;
  std::string StrRetryLater;
  std::string StrInstallCancelled;
  std::string StrInstalling;
  std::string StrDllNotFound;
  std::string StrDllFunctionBad;
  std::string StrRestartNotice;
  std::string StrPrepareSearch;
  std::string StrConnectPrinter;
  std::string StrSearchEnd;
  std::string StrSearching;
  std::string StrOfflineHint;
  std::string StrReSearch;
  std::string StrCancelSearch;
  std::string StrContinueSetup;
  std::string StrPortNotFound;
  std::string StrPortFound;
  std::string StrUsbConfirm;
  std::string StrUsage;               // the /? box: switches and exit codes
  std::string StrUnknownModel;        // /Model= names no model; %s: the name
  std::string StrModelUnreadable;     // the INF names no model; %s: the INF
  std::string StrInfUnreadable;       // the INF cannot be read; %s: the INF
  std::string StrNoPrinterCreated;    // the install left no printer; %s: its name
  std::string StrSpoolerNotRunning;   // nothing was changed
  std::string StrUnsupportedMachine;  // Windows on ARM: nothing was changed
  std::string StrProtectedPrint;      // Windows protected print mode: nothing was changed
  std::string StrPortUnknown;         // /Port= names no port, nor an address; %s: the value
  std::string StrPortMonitorFailed;   // the TCP/IP port was not made; %s: its name
  std::string StrPrinterRestored;     // the old printer put back; %s: its name
  std::string StrPrinterNotRestored;  // the old printer is lost; %s: its name
  // /Uninstall's question and results; %s: the model.
  std::string StrUninstallQuestion;
  std::string StrUninstallDone;
  std::string StrUninstallBusy;  // kept: jobs queued
  std::string StrUninstallFailed;
  std::string StrUninstallNothing;    // nothing of the model installed
  std::string StrPrinterNotRecorded;  // the same-name printer unreadable; %s: its name
  std::string StrUnsignedPackage;     // unattended: no catalog for the INF
  std::string StrUnknownSwitch;       // %s: the argument
  std::string StrDidYouMean;          // %s: the switch it was probably meant to be
};

// The table of one language.
TLangStrings MakeLangStrings(TextLanguage language);

// Fills the process-wide table for a language id; done once before any window exists.
void InitLangStrings(uint16_t langId);

// The process-wide table (English until InitLangStrings runs).
const TLangStrings& Lang();

// An entry looked up by its name ("StrNotice"); null for an unknown name.
const std::string* LangEntry(const TLangStrings& table, std::string_view name);

}  // namespace pinst
