// Broken distributions, one row each: the program starts, the list shows what the
// Windows private-profile reader would let it show, and Install ends without harm
// (no printer of a broken name, none removed, the window given back).
#include <functional>
#include <string>
#include <vector>

#include "app/install_fixture.h"
#include "app/sample_dist.h"
#include "config/inf_model_name.h"
#include "ui/application.h"

namespace pinst {
namespace {

using namespace std::string_literals;
using testdata::InfNaming;
using Names = std::vector<std::string>;

const std::string kXp = "Tessaly XP-100";
const std::string kTp = "Tessaly TP-58";
const std::string kTwoModels =
    "[XP100]\r\nInstallSettingFile2K=i386\\XP100.inf\r\nHint2=Dot-matrix printer\r\n\r\n"
    "[TP58]\r\nInstallSettingFile2K=i386\\TP58.inf\r\n";

std::string Utf16(const std::u16string& text, bool bigEndian, bool bom) {
  std::string out;
  auto put = [&](char16_t c) {
    const char lo = static_cast<char>(c & 0xFF);
    const char hi = static_cast<char>(c >> 8);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  };
  if (bom) put(0xFEFF);
  for (char16_t c : text) put(c);
  return out;
}

std::u16string Widen(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// Bytes with no line that opens a section: controls, high bytes, '=' and NULs.
std::string Garbage() {
  std::string out;
  uint32_t x = 12345;
  for (int i = 0; i < 8192; ++i) {
    x = x * 1103515245u + 12345u;
    const unsigned char b = static_cast<unsigned char>(x >> 16);
    out.push_back(static_cast<char>(b < 0x80 && b != '\r' && b != '\n' ? b | 0x80 : b));
    if (i % 97 == 0) out += "\r\n=\0"s;
  }
  return out;
}

struct Row {
  const char* name;
  std::function<void(sim::SimWindows&)> setUp;  // on top of the two models' INF files
  Names list;
  std::string hint;  // the status line with the first model selected
};

void Ini(sim::SimWindows& w, const std::string& bytes) { w.files.AddFile("install.ini", bytes); }
void Inf(sim::SimWindows& w, const std::string& bytes) {
  w.files.AddFile("i386\\XP100.inf", bytes);
}

std::string ManySections(size_t count) {
  std::string out;
  char name[32];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "S%06zu", i);
    out += "[" + std::string(name) + "]\r\nInstallSettingFile2K=i386\\TP58.inf\r\n";
  }
  return out;
}

std::string HugeInf() {
  std::string out = "[Version]\r\nSignature=\"$Windows NT$\"\r\n";
  const std::string comment = "; " + std::string(78, '-') + "\r\n";
  while (out.size() < 16u * 1024 * 1024) out += comment;
  return out + "[Maker]\r\n\"" + kXp + "\"=Model,LPTENUM\\X\r\n[Strings]\r\nProviderName=Maker\r\n";
}

const std::string kLong(300, 'a');
const std::string kDots = "..\\..\\..\\..\\..\\..\\..\\";

const Row kRows[] = {
    // install.ini itself
    {"IniBinaryGarbage", [](auto& w) { Ini(w, Garbage()); }, {}, ""},
    {"IniUtf16LeWithoutBom",
     [](auto& w) { Ini(w, Utf16(Widen(kTwoModels), false, false)); },
     {},
     ""},
    {"IniUtf16BigEndianWithBom",
     [](auto& w) { Ini(w, Utf16(Widen(kTwoModels), true, true)); },
     {kXp, kTp},
     "Dot-matrix printer"},
    {"IniUtf8WithBom",
     [](auto& w) {
       Ini(w,
           "\xEF\xBB\xBF[XP100]\r\nInstallSettingFile2K=i386\\XP100.inf\r\nHint2=Caf\xC3\xA9\r\n");
     },
     {kXp},
     "Caf\xE9"},
    {"IniTenMegabyteLine",
     [](auto& w) {
       Ini(w, "[XP100]\r\nInstallSettingFile2K=i386\\XP100.inf\r\nHint2=" +
                  std::string(10u * 1024 * 1024, 'x') +
                  "\r\n[TP58]\r\nInstallSettingFile2K=i386\\TP58.inf\r\n");
     },
     {kXp, kTp},
     std::string(2047, 'x')},
    // As many "S000000" names as fit the 16,384-byte list: (16384 - 1) / 8.
    {"IniHundredThousandSections", [](auto& w) { Ini(w, ManySections(100000)); }, Names(2047, kTp),
     ""},
    {"IniNulInsideNamesAndValues",
     [](auto& w) {
       Ini(w,
           "[XP100\0junk]\r\nInstallSettingFile2K=i386\\XP100.inf\0junk\r\nHint2\0x=Dot\0matrix\r\n"s);
       Inf(w,
           "[Maker]\r\n\"Tessaly XP-100\0junk\"=Model\r\n[Strings]\r\nProviderName=Maker\0x\r\n"s);
     },
     {kXp},
     "Dot"},
    {"IniIsADirectory",
     [](auto& w) {
       w.files.RemoveFile("install.ini");
       w.files.AddDirectory("install.ini");
     },
     {},
     ""},
    {"IniMissing", [](auto& w) { w.files.RemoveFile("install.ini"); }, {}, ""},
    {"IniEmpty", [](auto& w) { Ini(w, ""); }, {}, ""},
    // Opened exclusively by another program: the attributes read, the open fails.
    {"IniLocked",
     [](auto& w) {
       Ini(w, kTwoModels);
       w.files.MakeUnreadable("install.ini");
     },
     {},
     ""},
    // the models' INF files
    {"InfMissing",
     [](auto& w) { w.files.RemoveFile("i386\\XP100.inf"); },
     {"", kTp},
     "Dot-matrix printer"},
    {"InfEmpty", [](auto& w) { Inf(w, ""); }, {"", kTp}, "Dot-matrix printer"},
    {"InfHuge", [](auto& w) { Inf(w, HugeInf()); }, {kXp, kTp}, "Dot-matrix printer"},
    {"InfWithoutModelLine",
     [](auto& w) { Inf(w, "[Maker]\r\n; none yet\r\n[Strings]\r\nProviderName=Maker\r\n"); },
     {"", kTp},
     "Dot-matrix printer"},
    {"InfQuoteLeftOpen",
     [](auto& w) {
       Inf(w,
           "[Maker]\r\n\"Tessaly XP-100=Model,LPTENUM\\X\r\n[Strings]\r\nProviderName=\"Maker\r\n"
           "[\"Maker]\r\n\"Tessaly XP-100=Model\r\n");
     },
     {kXp, kTp},
     "Dot-matrix printer"},
    // The name setup shows is the [Strings] value the token stands for.
    {"InfStringsReference",
     [](auto& w) {
       Inf(w,
           "[Maker]\r\n%XP100.Name%=Model,LPTENUM\\X\r\n[Strings]\r\nProviderName=Maker\r\n"
           "XP100.Name=\"Tessaly XP-100\"\r\n");
     },
     {kXp, kTp},
     "Dot-matrix printer"},
    // paths
    {"PathClimbingOutOfTheDistribution",
     [](auto& w) {
       Ini(w, "[XP100]\r\nInstallSettingFile2K=" + kDots + "outside\\XP100.inf\r\n");
       w.files.AddFile("C:\\outside\\XP100.inf", InfNaming(kXp));
     },
     {kXp},
     ""},
    // The "A" calls take no path of MAX_PATH characters or more.
    {"PathLongerThan260",
     [](auto& w) {
       Ini(w, "[XP100]\r\nInstallSettingFile2K=i386\\" + kLong + ".inf\r\nHint2=h\r\n" +
                  kTwoModels.substr(kTwoModels.find("[TP58]")));
       w.files.AddFile("i386\\" + kLong + ".inf", InfNaming(kXp));
     },
     {"", kTp},
     "h"},
    // GBK 乗 (81 5C) and Big5 功 (A5 5C), 許 (B3 5C): trail bytes that read as '\'.
    {"PathGbkTrailBackslash",
     [](auto& w) {
       w.SetLanguage(0x0804);
       Ini(w, "[\x81\x5C]\r\nInstallSettingFile2K=\x81\x5C\\\x81\x5C.inf\r\nHint=\x81\x5C\r\n");
       w.files.AddFile("\x81\x5C\\\x81\x5C.inf", InfNaming("\x81\x5C"));
     },
     {"\x81\x5C"},
     "\x81\x5C"},
    {"PathBig5TrailBackslash",
     [](auto& w) {
       w.SetLanguage(0x0404);
       Ini(w,
           "[\xA5\x5C]\r\nInstallSettingFile2K=\xA5\x5C\\\xB3\x5C.inf\r\nHint0="
           "\xB3\x5C\xA5\x5C\r\n");
       w.files.AddFile("\xA5\x5C\\\xB3\x5C.inf", InfNaming("\xB3\x5C\xA5\x5C"));
     },
     {"\xB3\x5C\xA5\x5C"},
     "\xB3\x5C\xA5\x5C"},
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class BadInputTest : public testdata::InstallTest, public ::testing::WithParamInterface<Row> {
 protected:
  BadInputTest() {
    win.files.AddFile("i386\\XP100.inf", InfNaming(kXp));
    win.files.AddFile("i386\\TP58.inf", InfNaming(kTp));
    win.files.AddFile("install.ini", kTwoModels);
    win.spooler.AddLocalPrinter("Existing");
    // Like a real library: it installs the INF's model, and fails on an INF it cannot use.
    lib.onInstall = [this](const sim::SimInstallCall& call) {
      std::string model;
      const auto bytes = win.files.ReadWholeFile(call.infPath);
      if (!bytes || !InfModelNameFromBytes(*bytes, win.system.codePage, model) || model.empty()) {
        lib.installResult = 2;
        lib.lastInstallError = 2;
        return;
      }
      lib.installResult = 1;
      win.spooler.drivers.push_back(model);
      win.spooler.AddLocalPrinter(model, model, call.portName);
    };
  }
};

TEST_P(BadInputTest, StartsListsWhatItCanAndInstallsNothingHarmful) {
  const Row& row = GetParam();
  row.setUp(win);
  auto w = Start();
  TMainForm& form = w->Main;
  Names shown;
  for (int i = 0; i < form.LvPrinters.ItemCount(); ++i)
    shown.push_back(form.LvPrinters.ItemCaption(i));
  EXPECT_EQ(shown, row.list);
  EXPECT_TRUE(win.system.messageBoxes.empty());
  EXPECT_EQ(form.StaBarInfo.SimpleText(), row.hint);

  Answer({kIdYes});
  // As the message loop runs a click: an error it raises is shown in a box.
  ui::Application().Dispatch([&] { form.BbtnStart.Click(); });
  EXPECT_FALSE(form.RunInProgress());
  EXPECT_EQ(win.ui.LoopDepth(), 0);
  EXPECT_NE(win.spooler.Find("Existing"), nullptr);
  for (const sim::SimPrinter& p : win.spooler.printers) {
    if (p.info.printerName == "Existing") continue;
    EXPECT_FALSE(p.info.printerName.empty());
    EXPECT_EQ(p.info.printerName, row.list.front());
  }
  if (row.list.empty()) {
    EXPECT_EQ(lib.loads, 0);
    EXPECT_TRUE(win.system.messageBoxes.empty());
  } else if (row.list.front().empty()) {
    // An INF that names no model: the run stops before the library, and says why.
    EXPECT_NE(Boxes().back().find("Cannot read the printer model from the file"),
              std::string::npos);
    EXPECT_EQ(lib.installCalls.size(), 0u);
  } else {
    EXPECT_NE(win.spooler.Find(row.list.front()), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
}  // namespace pinst
