// Model names of INF files written the standard way ([Manufacturer] and decorated
// models sections), for each machine a driver is installed for.
#include "config/inf_model_name.h"

#include <gtest/gtest.h>

#include "config/inf_decoration.h"
#include "config/ini_file.h"
#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

std::string Utf16LeWithBom(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// One decorated section per machine, each model named after it.
const std::string kThreeMachines =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\nProvider=%Mfg%\r\n"
    "[Manufacturer]\r\n%Mfg%=Models,NTx86,NTamd64,NTarm64\r\n"
    "[Models.NTx86]\r\n\"LX-80\"=LX80,LPTENUM\\TessalyLX-80\r\n"
    "[Models.NTamd64]\r\n\"LX-80 x64\"=LX80,LPTENUM\\TessalyLX-80\r\n"
    "[Models.NTarm64]\r\n\"LX-80 ARM\"=LX80,LPTENUM\\TessalyLX-80\r\n"
    "[Strings]\r\nMfg=\"Tessaly\"\r\n";

const std::string kOsVersions =
    "[Manufacturer]\n%Mfg%=M,NTamd64,NTx86.5.1,NTamd64.6.0,NTamd64.6.1,NTx86.10.0\n"
    "[M.NTamd64]\n\"Any x64\"=I\n[M.NTx86.5.1]\n\"XP x86\"=I\n[M.NTamd64.6.0]\n\"Vista x64\"=I\n"
    "[M.NTamd64.6.1]\n\"7 x64\"=I\n[M.NTx86.10.0]\n\"10 x86\"=I\n";

// Names in GBK (Strings.0804) and Big5 (Strings.0404), as Chinese INF files saved in
// one code page carry them; Big5 A5 5C ends in a backslash byte.
const std::string kLocalized =
    "[Manufacturer]\n%Mfg%=M,NTx86,NTamd64\n"
    "[M.NTx86]\n%LX80% = LX80,LPTENUM\\TessalyLX-80\n[M.NTamd64]\n%LX80% = LX80\n"
    "[Strings]\nMfg=Tessaly\nLX80=\"Tessaly LX-80\"\nOnlyHere=x\n"
    "[Strings.0804]\nLX80=\"Tessaly LX-80 \xBC\xA4\xB9\xE2\"\n"
    "[Strings.0404]\nLX80=\"Tessaly LX-80 \xA5\x5C\xAF\xE0\"\n";

const std::u16string kUtf16 =
    u"; UTF-16 as INF editors save it\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\n"
    u"[Manufacturer]\r\n%Mfg%=Models,NTx86,NTamd64\r\n"
    u"[Models.NTx86]\r\n%Name%=LX80,LPTENUM\\TessalyLX-80\r\n"
    u"[Models.NTamd64]\r\n%Name%=LX80,LPTENUM\\TessalyLX-80\r\n"
    u"[Strings]\r\nMfg=\"Tessaly\"\r\nName=\"Tessaly LX-80\"\r\n"
    u"[Strings.0804]\r\nName=\"Tessaly 激光\"\r\n[Strings.0404]\r\nName=\"Tessaly 功能\"\r\n";

// 激光 in GBK, 功能 in Big5.
const std::string kGbk = "\xBC\xA4\xB9\xE2";
const std::string kBig5 = "\xA5\x5C\xAF\xE0";
const std::string kLxGbk = "Tessaly LX-80 " + kGbk;
const std::string kLxBig5 = "Tessaly LX-80 " + kBig5;

struct Case {
  const char* label;
  std::string inf;
  uint16_t langId;  // the code page follows it
  OsVersion version;
  InfNameRule rule;             // where a name is found
  std::string x86, x64, arm64;  // empty: no name
};

// clang-format off
const Case kCases[] = {
    {"decorated only",
     kThreeMachines,
     0x0409, {6, 1}, InfNameRule::kManufacturer, "LX-80", "LX-80 x64", "LX-80 ARM"},
    {"no decoration fits: the undecorated section",
     "[Manufacturer]\nTessaly=M,NTamd64\n[M]\n\"Plain\"=I\n[M.NTamd64]\n\"Wide\"=I\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "Plain", "Wide", "Plain"},
    {"no decoration fits and no undecorated section",
     "[Manufacturer]\nTessaly=M,NTamd64,NTia64\n[M.NTamd64]\n\"Wide\"=I\n[M.NTia64]\n\"It\"=I\n",
     0x0409, {5, 2}, InfNameRule::kManufacturer, "", "Wide", ""},
    {"NT without a machine fits every machine, a named one is preferred",
     "[Manufacturer]\nT=M,NT,ntAMD64\n[M.NT]\n\"Any\"=I\n[M.NTAMD64]\n\"Wide\"=I\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "Any", "Wide", "Any"},
    {"OS versions on 2000",
     kOsVersions,
     0x0409, {5, 0}, InfNameRule::kManufacturer, "", "Any x64", ""},
    {"OS versions on XP",
     kOsVersions,
     0x0409, {5, 1}, InfNameRule::kManufacturer, "XP x86", "Any x64", ""},
    {"OS versions on Vista",
     kOsVersions,
     0x0409, {6, 0}, InfNameRule::kManufacturer, "XP x86", "Vista x64", ""},
    {"OS versions on 8",
     kOsVersions,
     0x0409, {6, 2}, InfNameRule::kManufacturer, "XP x86", "7 x64", ""},
    {"OS versions on 10",
     kOsVersions,
     0x0409, {10, 0}, InfNameRule::kManufacturer, "10 x86", "7 x64", ""},
    {"%token% name, English",
     kLocalized,
     0x0409, {5, 1}, InfNameRule::kManufacturer, "Tessaly LX-80", "Tessaly LX-80", ""},
    {"%token% name, Simplified Chinese (GBK)",
     kLocalized,
     0x0804, {5, 1}, InfNameRule::kManufacturer, kLxGbk, kLxGbk, ""},
    {"%token% name, Traditional Chinese (Big5)",
     kLocalized,
     0x0404, {5, 1}, InfNameRule::kManufacturer, kLxBig5, kLxBig5, ""},
    {"Hong Kong reads the Traditional strings",
     kLocalized,
     0x0C04, {5, 1}, InfNameRule::kManufacturer, kLxBig5, kLxBig5, ""},
    {"Singapore reads [Strings]",
     kLocalized,
     0x1004, {5, 1}, InfNameRule::kManufacturer, "Tessaly LX-80", "Tessaly LX-80", ""},
    {"a token the language's section lacks comes from [Strings]",
     "[Manufacturer]\nT=M\n[M]\n%OnlyHere%=I\n[Strings]\nOnlyHere=\"Common\"\n"
     "[Strings.0804]\nOther=x\n",
     0x0804, {5, 1}, InfNameRule::kManufacturer, "Common", "Common", "Common"},
    {"a token found nowhere stays as written",
     "[Manufacturer]\nT=M\n[M]\n%Lost%=I\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "%Lost%", "%Lost%", "%Lost%"},
    {"UTF-16 with a BOM, English",
     Utf16LeWithBom(kUtf16),
     0x0409, {5, 1}, InfNameRule::kManufacturer, "Tessaly LX-80", "Tessaly LX-80", ""},
    {"UTF-16 with a BOM, GBK",
     Utf16LeWithBom(kUtf16),
     0x0804, {5, 1}, InfNameRule::kManufacturer, "Tessaly " + kGbk, "Tessaly " + kGbk, ""},
    {"UTF-16 with a BOM, Big5",
     Utf16LeWithBom(kUtf16),
     0x0404, {5, 1}, InfNameRule::kManufacturer, "Tessaly " + kBig5, "Tessaly " + kBig5, ""},
    {"the first of two [Manufacturer] entries",
     "[Manufacturer]\n%A%=First,NTamd64\n%B%=Second,NTx86,NTamd64\n[First]\n\"One\"=I\n"
     "[First.NTamd64]\n\"One x64\"=I\n[Second.NTx86]\n\"Two\"=I\n[Second.NTamd64]\n\"Two x64\"=I\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "One", "One x64", "One"},
    {"a decoration list with spaces and empty fields",
     "[Manufacturer]\n%Mfg% =  Models ,  NTx86 , ,NTamd64 \n[Models.NTx86]\n\"Narrow\"=I\n"
     "[Models.NTamd64]\n\"Wide\"=I\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "Narrow", "Wide", ""},
    {"an entry without a value is its own models section",
     "[Manufacturer]\n\"Tessaly\"\n[Tessaly]\n\"Own\"=I\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "Own", "Own", "Own"},
    {"a Big5 models section name ending in a backslash byte",
     "[Manufacturer]\nT=\xA5\x5C,NTx86\n[\xA5\x5C.NTx86]\n\"\xA5\x5C\"=I\n",
     0x0404, {5, 1}, InfNameRule::kManufacturer, "\xA5\x5C", "", ""},
    {"nothing to read",
     "[Manufacturer]\n[M]\n\"Orphan\"=I\n[Strings]\nProviderName=Gone\n",
     0x0409, {5, 1}, InfNameRule::kNone, "", "", ""},
    {"an empty models section",
     "[Manufacturer]\nT=M\n[M]\n",
     0x0409, {5, 1}, InfNameRule::kNone, "", "", ""},
    {"a first model whose name resolves to nothing",
     "[Manufacturer]\nT=M\n[M]\n%Empty%=I\n\"Second\"=I\n[Strings]\nEmpty=\"\"\n",
     0x0409, {5, 1}, InfNameRule::kNone, "", "", ""},
    {"ProviderName wins where both rules apply",
     "[Manufacturer]\n%ProviderName%=Tessaly,NTx86,NTamd64\n[Tessaly]\n\"Old way\"=I\n"
     "[Tessaly.NTx86]\n\"New\"=I\n[Tessaly.NTamd64]\n\"New x64\"=I\n"
     "[Strings]\nProviderName=\"Tessaly\"\n",
     0x0409, {5, 1}, InfNameRule::kProviderName, "Old way", "Old way", "Old way"},
    {"ProviderName naming only decorated sections gives way",
     "[Manufacturer]\n%ProviderName%=Tessaly,NTx86,NTamd64\n"
     "[Tessaly.NTx86]\n\"New\"=I\n[Tessaly.NTamd64]\n\"New x64\"=I\n"
     "[Strings]\nProviderName=\"Tessaly\"\n",
     0x0409, {5, 1}, InfNameRule::kManufacturer, "New", "New x64", ""},
};
// clang-format on

TEST(StandardInfTest, StandardInfGivesTheNameOfTheMachinesSection) {
  const struct {
    NativeMachine machine;
    const char* label;
    std::string Case::*name;
  } machines[] = {{NativeMachine::kX86, "x86", &Case::x86},
                  {NativeMachine::kX64, "x64", &Case::x64},
                  {NativeMachine::kArm64, "arm64", &Case::arm64}};
  for (const Case& c : kCases) {
    for (const auto& m : machines) {
      SCOPED_TRACE(std::string(c.label) + " on " + m.label);
      sim::SimWindows win;
      win.SetLanguage(c.langId);
      win.SetVersion(c.version.major, c.version.minor);
      win.system.nativeMachine = m.machine;
      win.files.AddFile("i386\\m.inf", c.inf);
      const std::string& want = c.*m.name;
      std::string name = "stale";
      EXPECT_EQ(ReadInfModelName("i386\\m.inf", name), !want.empty());
      EXPECT_EQ(name, want);
      EXPECT_EQ(InfModelName(TIniFile::Parse(c.inf, win.system.codePage), CurrentInfTarget(), name),
                want.empty() ? InfNameRule::kNone : c.rule);
    }
  }
}

TEST(StandardInfTest, DecorationsThatDoNotFit) {
  const struct {
    std::vector<std::string> decorations;
    const char* picked;  // nullptr: none fits x64 on 6.1
  } cases[] = {
      {{"NTamd64.6.1.1.0x80.7600"}, "NTamd64.6.1.1.0x80.7600"},  // product type and on: unread
      {{"NTamd64.6"}, "NTamd64.6"},
      {{"NTamd64..", "NTamd64.6."}, "NTamd64.6."},
      {{"NTamd64.6.2", "NTamd64.7", "NTx86", "NTia64", "NTarm", "Win", ""}, nullptr},
      {{"NTamd64.x", "NTamd64.6.y", "NTamd64.123456", "N", "TNamd64"}, nullptr},
      {{"NT.6.1", "NTamd64.6.0"}, "NT.6.1"},  // the version first, then the machine
      {{"NTamd64.6.1", "ntamd64.6.1"}, "NTamd64.6.1"},  // of two alike, the first
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.decorations.front());
    const std::optional<std::string> picked =
        PickInfDecoration(c.decorations, NativeMachine::kX64, {6, 1});
    EXPECT_EQ(picked.value_or("none"), c.picked ? c.picked : "none");
  }
}

}  // namespace
}  // namespace pinst
