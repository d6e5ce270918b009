#include "config/ini_options.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "config/inf_model_name.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

class IniOptionsTest : public ::testing::Test {
 protected:
  TIniOptions Load(const std::string& ini) {
    win.files.AddFile("install.ini", ini);
    TIniOptions options;
    options.LoadFromFile("install.ini");
    return options;
  }
  TOption Record(const TIniOptions& options, int i) {
    TOption o;
    EXPECT_TRUE(options.GetOption(i, o));
    return o;
  }
  sim::SimWindows win;
};

TEST_F(IniOptionsTest, RecordsFollowSectionOrderNotNames) {
  const TIniOptions options =
      Load("[zeta]\nInstallSettingFile2K=z.inf\n[alpha]\nInstallSettingFile2K=a.inf\n[m]\n");
  EXPECT_EQ(options.Count, 3);
  EXPECT_EQ(Record(options, 0).InstallSettingFile2K, "z.inf");
  EXPECT_EQ(Record(options, 1).InstallSettingFile2K, "a.inf");
}

TEST_F(IniOptionsTest, EmptySectionGivesEveryDefault) {
  const TOption o = Record(Load("[model]\n"), 0);
  EXPECT_EQ(o.InstallSettingFile2K, "");
  EXPECT_EQ(o.OfflineEnumPrefix, "LPTOFFLINE\\");
  EXPECT_EQ(o.InstallGuide, "ReadmeEN.txt");
  EXPECT_EQ(o.QuickGuide, "");
  EXPECT_EQ(o.HandBook, "");
  EXPECT_EQ(o.Hint, "");
  EXPECT_EQ(o.InstallDll2K, "inst2k.dll");  // i386\inst2k.dll does not exist
  EXPECT_EQ(o.UnInstallImage2K, "i386\\NvPrnUni.exe");
  EXPECT_EQ(o.UnInstallImage2KCopy, "i386\\NvPrnUni.exe");
  EXPECT_EQ(o.RegSetImage2000, "i386\\Setup");
  EXPECT_EQ(o.InstallImage64, "X64\\Instavo64.exe");
  EXPECT_EQ(o.Installdll64, "");  // neither X64\inst2k64.dll nor inst2k64.dll exists
  EXPECT_EQ(o.PrintProcess, "WinPrint");
  EXPECT_EQ(o.NTX86FilesPath, "I386");
  EXPECT_EQ(o.NTX64FilesPath, "X64");
  EXPECT_EQ(o.NTIA64FilesPath, "IA64");
  EXPECT_FALSE(o.SelectPort || o.ForceOnlineCheck || o.PromptCheck || o.AutoMode || o.QuiteMode ||
               o.ForceUninstallService);
}

TEST_F(IniOptionsTest, LibraryFallbacks) {
  win.files.AddFile("i386\\inst2k.dll");
  win.files.AddFile("X64\\inst2k64.dll");
  TOption o = Record(Load("[m]\n"), 0);
  EXPECT_EQ(o.InstallDll2K, "i386\\inst2k.dll");
  EXPECT_EQ(o.Installdll64, "X64\\inst2k64.dll");

  o = Record(Load("[m]\nInstallDll2K=lib\\none.dll\nInstalldll64=lib\\none64.dll\n"), 0);
  EXPECT_EQ(o.InstallDll2K, "inst2k.dll");
  EXPECT_EQ(o.Installdll64, "");

  win.files.AddFile("inst2k64.dll");
  o = Record(Load("[m]\nInstalldll64=lib\\none64.dll\n"), 0);
  EXPECT_EQ(o.Installdll64, "inst2k64.dll");
}

TEST_F(IniOptionsTest, FlagsAreWholeNumbers) {
  const TIniOptions options = Load(
      "[a]\nForceOnlineCheck=1\n[b]\nForceOnlineCheck=true\n[c]\nForceOnlineCheck=0x10\n"
      "[d]\nForceOnlineCheck=0\nAutoMode=2\nQuiteMode=1\n");
  EXPECT_TRUE(Record(options, 0).ForceOnlineCheck);
  EXPECT_FALSE(Record(options, 1).ForceOnlineCheck);
  EXPECT_TRUE(Record(options, 2).ForceOnlineCheck);
  EXPECT_FALSE(Record(options, 3).ForceOnlineCheck);
  EXPECT_TRUE(Record(options, 3).AutoMode);
  EXPECT_TRUE(Record(options, 3).QuiteMode);
}

TEST_F(IniOptionsTest, SerenumAnywhereInTheInfSwitchesThePrefixCaseSensitively) {
  win.files.AddFile("comment.inf",
                    "; works with SERENUM devices\r\n[Strings]\nProviderName=T\n[T]\n\"S-1\"=x\n");
  win.files.AddFile("lower.inf", "serenum\\x\r\n");
  const TIniOptions options = Load(
      "[a]\nInstallSettingFile2K=comment.inf\n[b]\nInstallSettingFile2K=lower.inf\n"
      "[c]\nInstallSettingFile2K=missing.inf\n[d]\nInstallSettingFile2K=late.inf\n");
  // An INF is read on its model's first need, not at load.
  win.files.AddFile("late.inf", "SERENUM\r\n");
  EXPECT_EQ(Record(options, 3).OfflineEnumPrefix, "SERENUM\\");
  // The model name comes from the same single read of the INF, kept from then on.
  EXPECT_EQ(Record(options, 0).OfflineEnumPrefix, "SERENUM\\");
  win.files.MakeUnreadable("comment.inf");
  EXPECT_EQ(Record(options, 0).ModelName, "S-1");
  EXPECT_EQ(options.ModelName(0), "S-1");
  EXPECT_EQ(Record(options, 1).OfflineEnumPrefix, "LPTOFFLINE\\");
  EXPECT_EQ(Record(options, 1).ModelName, "");
  EXPECT_EQ(Record(options, 2).OfflineEnumPrefix, "LPTOFFLINE\\");
}

struct LanguageKeysCase {
  uint16_t langId;
  const char* guide;
  const char* hint;
};

class IniOptionsLanguageTest : public IniOptionsTest,
                               public ::testing::WithParamInterface<LanguageKeysCase> {};

TEST_P(IniOptionsLanguageTest, LanguageVariantsFollowTheSystemLanguage) {
  win.SetLanguage(GetParam().langId);
  const std::string ini =
      "[m]\nInstallGuide0=g0\nInstallGuide=g1\nInstallGuide2=g2\nHint0=h0\nHint=h1\nHint2=h2\n"
      "QuickGuide0=q0\nQuickGuide=q1\nQuickGuide2=q2\nHandBook0=b0\nHandBook=b1\nHandBook2=b2\n"
      "[empty]\n";
  const TIniOptions options = Load(ini);
  const TOption o = Record(options, 0);
  EXPECT_EQ(o.InstallGuide, GetParam().guide);
  EXPECT_EQ(o.Hint, GetParam().hint);
  EXPECT_EQ(o.QuickGuide, std::string("q") + GetParam().guide[1]);
  EXPECT_EQ(o.HandBook, std::string("b") + GetParam().guide[1]);
  const char* readme = GetParam().guide[1] == '0'   ? "ReadmeCHT.txt"
                       : GetParam().guide[1] == '1' ? "ReadmeCN.txt"
                                                    : "ReadmeEN.txt";
  EXPECT_EQ(Record(options, 1).InstallGuide, readme);
}

INSTANTIATE_TEST_SUITE_P(
    LanguageIds, IniOptionsLanguageTest,
    ::testing::Values(LanguageKeysCase{0x0404, "g0", "h0"}, LanguageKeysCase{0x0C04, "g0", "h0"},
                      LanguageKeysCase{0x0804, "g1", "h1"}, LanguageKeysCase{0x1404, "g1", "h1"},
                      LanguageKeysCase{0x1004, "g2", "h2"}, LanguageKeysCase{0x0409, "g2", "h2"}),
    [](const ::testing::TestParamInfo<LanguageKeysCase>& info) {
      char name[16];
      std::snprintf(name, sizeof name, "Lang%04X", static_cast<unsigned>(info.param.langId));
      return std::string(name);
    });

TEST_F(IniOptionsTest, UninstallImageFillsBothFields) {
  const TOption o = Record(Load("[m]\nUnInstallImage2K=tools\\remove.exe\n"), 0);
  EXPECT_EQ(o.UnInstallImage2K, "tools\\remove.exe");
  EXPECT_EQ(o.UnInstallImage2KCopy, "tools\\remove.exe");
}

TEST_F(IniOptionsTest, EmptyPrintProcessStaysEmpty) {
  EXPECT_EQ(Record(Load("[m]\nPrintProcess=\n"), 0).PrintProcess, "");
}

TEST_F(IniOptionsTest, MissingFileKeepsRecordsAndReloadShrinks) {
  TIniOptions options;
  options.LoadFromFile("install.ini");
  EXPECT_EQ(options.Count, 0);
  win.files.AddFile("install.ini", "[a]\n[b]\n[c]\n");
  options.LoadFromFile("install.ini");
  EXPECT_EQ(options.Count, 3);
  win.files.AddFile("install.ini", "[only]\nHint2=h\n");
  options.LoadFromFile("install.ini");
  EXPECT_EQ(options.Count, 1);
  EXPECT_EQ(Record(options, 0).Hint, "h");
  TOption gone;
  EXPECT_FALSE(options.GetOption(1, gone));
  win.files.RemoveFile("install.ini");
  options.LoadFromFile("install.ini");
  EXPECT_EQ(options.Count, 1);
}

TEST_F(IniOptionsTest, OtherCurrentDirectoryFindsNoInstallIni) {
  win.files.AddFile("C:\\dist\\install.ini", "[a]\n");
  win.files.currentDirectory = "C:\\elsewhere";
  TIniOptions options;
  options.LoadFromFile("install.ini");
  EXPECT_EQ(options.Count, 0);
}

TEST_F(IniOptionsTest, OutOfRangeIndexGivesDefaultsNotACrash) {
  const TIniOptions options = Load("[a]\nInstallSettingFile2K=x.inf\n");
  TOption o;
  o.Hint = "stale";
  EXPECT_FALSE(options.GetOption(1, o));
  EXPECT_EQ(o.Hint, "");
  EXPECT_FALSE(options.GetOption(-1, o));
}

TEST_F(IniOptionsTest, NoReaderChangesNothing) {
  TIniOptions options = Load("[a]\n");
  options.ReadAll(nullptr);
  EXPECT_EQ(options.Count, 1);
}

class InfModelNameTest : public ::testing::Test {
 protected:
  std::string Name(const std::string& inf, bool expectFound = true) {
    win.files.AddFile("i386\\m.inf", inf);
    std::string name = "stale";
    EXPECT_EQ(ReadInfModelName("i386\\m.inf", name), expectFound);
    return name;
  }
  sim::SimWindows win;
};

TEST_F(InfModelNameTest, FirstKeyOfTheProviderSectionWithoutItsQuotes) {
  EXPECT_EQ(Name("[Strings]\nProviderName=\"Tessaly\"\n[Tessaly]\n"
                 "\"Tessaly XP-100\"=X,LPTENUM\\A\n\"Second\"=Y\n"),
            "Tessaly XP-100");
  EXPECT_EQ(Name("[Tessaly]\n\"Lead only=X\n[Strings]\nProviderName=Tessaly\n"), "Lead only");
  EXPECT_EQ(Name("[T]\nTrail only\"=X\n[Strings]\nProviderName=T\n"), "Trail only");
  EXPECT_EQ(Name("[T]\nPlain=X\n[Strings]\nProviderName=T\n"), "Plain");
}

TEST_F(InfModelNameTest, NoModelFound) {
  EXPECT_EQ(Name("[Strings]\nProvider=x\n", false), "");
  EXPECT_EQ(Name("[Strings]\nProviderName=T\n[T.NTx86]\n\"M\"=X\n", false), "");
  EXPECT_EQ(Name("[Strings]\nProviderName=T\n[T]\n", false), "");
  std::string name = "stale";
  EXPECT_FALSE(ReadInfModelName("i386\\missing.inf", name));
  EXPECT_EQ(name, "");
}

}  // namespace
}  // namespace pinst
