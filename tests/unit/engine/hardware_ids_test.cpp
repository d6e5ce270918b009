#include "engine/hardware_ids.h"

#include <gtest/gtest.h>

#include "engine/install_error.h"
#include "platform/sim/sim_windows.h"
#include "sys/debug_info.h"

namespace pinst {
namespace {

class HardwareIdsTest : public ::testing::Test {
 protected:
  int Read(const std::string& infText) {
    win.files.AddFile("i386\\m.inf", infText);
    return ReadInfHardwareIds("i386\\m.inf", id, compatible);
  }
  sim::SimWindows win;
  std::string id = "stale";
  std::string compatible = "stale";
};

TEST_F(HardwareIdsTest, OneModelLineGivesItsIdsOnEveryVersion) {
  const std::string inf =
      "[Tessaly]\r\n\"Tessaly XP-100\"=XP100.Install,LPTENUM\\TessalyXP-1009A2B , "
      "USBPRINT\\TessalyXP-100\r\n";
  for (uint32_t minor : {0u, 1u}) {
    win.SetVersion(5, minor);
    EXPECT_EQ(Read(inf), 1);
    EXPECT_EQ(id, "TessalyXP-1009A2B");
    EXPECT_EQ(compatible, "TessalyXP-100");
  }
}

TEST_F(HardwareIdsTest, TwoIdsOfDifferentLengthsChooseByVersionWithTheirOwnCompatiblePart) {
  const std::string inf =
      "\"A\"=S,LPTENUM\\LongerModelId,USBPRINT\\LongCompat\n"
      "\"A\"=S,LPTENUM\\LongerModelId,USBPRINT\\Repeated\n"  // same id again: not counted
      "\"B\"=S,LPTENUM\\Short,USBPRINT\\ShortCompat\n";
  win.SetVersion(5, 1);
  EXPECT_EQ(Read(inf), 2);
  EXPECT_EQ(id, "Short");
  EXPECT_EQ(compatible, "ShortCompat");
  win.SetVersion(5, 0);
  EXPECT_EQ(Read(inf), 2);
  EXPECT_EQ(id, "LongerModelId");
  EXPECT_EQ(compatible, "LongCompat");
  // The shorter one first makes no difference.
  win.SetVersion(6, 1);
  Read("\"B\"=S,LPTENUM\\Short,USBPRINT\\ShortCompat\n\"A\"=S,LPTENUM\\LongerModelId,X\\L\n");
  EXPECT_EQ(id, "Short");
  EXPECT_EQ(compatible, "ShortCompat");
}

TEST_F(HardwareIdsTest, EqualLengthsGiveTheFirstOnXpAndTheLastDifferentOneOn2000) {
  const std::string inf =
      "x=S,LPTENUM\\AAAA,P\\ca\n"
      "x=S,LPTENUM\\BBBB,P\\cb\n"
      "x=S,LPTENUM\\CCCC,P\\cc\n";
  win.SetVersion(5, 1);
  EXPECT_EQ(Read(inf), 3);
  EXPECT_EQ(id, "AAAA");
  EXPECT_EQ(compatible, "ca");
  win.SetVersion(5, 0);
  EXPECT_EQ(Read(inf), 3);
  EXPECT_EQ(id, "CCCC");
  EXPECT_EQ(compatible, "cc");
}

TEST_F(HardwareIdsTest, CommentsAndOtherSpellingsAreNotModelLines) {
  EXPECT_EQ(Read(";x=S,LPTENUM\\A,P\\a\n"
                 " ;x=S,LPTENUM\\B,P\\b\n"
                 "x=S,lptenum\\C,P\\c\n"
                 "x=S,LPTENUM/D,P\\d\n"),
            0);
  EXPECT_EQ(id, "");
  EXPECT_EQ(compatible, "");
  // A semicolon further on does not make a comment.
  EXPECT_EQ(Read("ab;x=S,LPTENUM\\E,P\\e\n"), 1);
  EXPECT_EQ(id, "E");
  EXPECT_EQ(compatible, "e");
}

TEST_F(HardwareIdsTest, LineWithoutCommaGivesAnEmptyIdUntilAFullLineTakesItsPlace) {
  EXPECT_EQ(Read("x=S,LPTENUM\\OnlyId\\Tail  \n"), 1);
  EXPECT_EQ(id, "");
  EXPECT_EQ(compatible, "Tail");
  win.SetVersion(5, 1);
  EXPECT_EQ(Read("x=S,LPTENUM\\NoComma\nx=S,LPTENUM\\Real,USBPRINT\\RealCompat\n"), 2);
  EXPECT_EQ(id, "Real");
  EXPECT_EQ(compatible, "RealCompat");
  // No backslash in the compatible part: it is kept whole.
  Read("x=S,LPTENUM\\Id,Plain\n");
  EXPECT_EQ(compatible, "Plain");
}

// A USB-only printer's INF has no parallel-port line: its USB line gives the ids,
// the parallel-port line first wherever there is one.
TEST_F(HardwareIdsTest, UsbOnlyInfGivesTheIdsOfItsUsbLine) {
  const struct {
    const char* inf;
    int count;
    const char* id;
    const char* compatible;
  } cases[] = {
      {"x=S,USBPRINT\\TessalyU-20A1B2\r\n", 1, "TessalyU-20A1B2", ""},
      {"x=S,USBPRINT\\TessalyU-20A1B2,USBPRINT\\TessalyGeneric\r\n", 1, "TessalyU-20A1B2",
       "TessalyGeneric"},
      {"x=S,USBPRINT\\U1\r\nx=S,LPTENUM\\P1,P\\p\r\n", 1, "P1", "p"},
      {";x=S,USBPRINT\\U1\r\n", 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.inf);
    EXPECT_EQ(Read(c.inf), c.count);
    EXPECT_EQ(id, c.id);
    EXPECT_EQ(compatible, c.compatible);
  }
}

TEST_F(HardwareIdsTest, LaterLineWithoutIdNeverReplacesTheId) {
  win.SetVersion(5, 1);
  EXPECT_EQ(Read("x=S,LPTENUM\\Model100,USBPRINT\\M\nx=S,LPTENUM\\Broken\n"), 1);
  EXPECT_EQ(id, "Model100");
  EXPECT_EQ(compatible, "M");
}

TEST_F(HardwareIdsTest, DoubleByteTrailBytesAreNotBackslashes) {
  win.SetLanguage(0x0404);
  // 功 is A5 5C in Big5: the compatible part is cut at the real backslash after it.
  EXPECT_EQ(Read("\"\xA5\x5C\"=S,LPTENUM\\Id,\xA5\x5CPRINT\\Compat\n"), 1);
  EXPECT_EQ(id, "Id");
  EXPECT_EQ(compatible, "Compat");
}

TEST_F(HardwareIdsTest, MissingUnreadableAndWideInfFiles) {
  EXPECT_EQ(ReadInfHardwareIds("i386\\none.inf", id, compatible), 0);
  EXPECT_EQ(id, "");
  EXPECT_EQ(compatible, "");

  // Saved as UTF-16, as many INFs are: the ids of the text in the code page.
  const std::string line = "x=S,LPTENUM\\A,P\\a\r\n";
  std::string wide;
  for (char c : line) wide += std::string{c, '\0'};
  EXPECT_EQ(Read("\xFF\xFE" + wide), 1);
  EXPECT_EQ(id, "A");
  EXPECT_EQ(compatible, "a");
  std::string bigEndian;
  for (char c : line) bigEndian += std::string{'\0', c};
  EXPECT_EQ(Read("\xFE\xFF" + bigEndian), 1);
  EXPECT_EQ(id, "A");

  win.files.AddFile("i386\\locked.inf", line);
  win.files.MakeUnreadable("i386\\locked.inf");
  EXPECT_THROW(ReadInfHardwareIds("i386\\locked.inf", id, compatible), TInstallError);
}

class RescanTest : public ::testing::Test {
 protected:
  RescanTest() { ResetDebugInfoState(); }
  sim::SimWindows win;
  const std::string rescan = "cmd /C .\\i386\\devcon.exe rescan";
  const std::string status = "cmd /C devcon.exe status *LPTENUM\\*";
  // "<> Installer DC即将刷新系统硬件信息。"
  const std::string starting =
      "<> Installer DC\xbc\xb4\xbd\xab\xcb\xa2\xd0\xc2\xcf\xb5\xcd\xb3\xd3\xb2\xbc\xfe\xd0\xc5"
      "\xcf\xa2\xa1\xa3";
  // "<> Installer DC检测到并口打印机联机。"
  const std::string parallel =
      "<> Installer DC\xbc\xec\xb2\xe2\xb5\xbd\xb2\xa2\xbf\xda\xb4\xf2\xd3\xa1\xbb\xfa\xc1\xaa"
      "\xbb\xfa\xa1\xa3";
};

TEST_F(RescanTest, ParallelDeviceWithAndWithoutTheBrandWord) {
  win.console.Script(rescan, {"Scanning for new hardware.\r\n", 0, 0});
  win.console.Script(
      status, {"LPTENUM\\GENERIC_PRINTER\\1&7D2&0&LPT1.4\r\n    Driver is running.\r\n", 0, 0});
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanLptDevice);
  EXPECT_EQ(win.console.commandLines, (std::vector<std::string>{rescan, status}));
  EXPECT_EQ(win.system.debugLines, (std::vector<std::string>{starting, parallel}));

  win.system.debugLines.clear();
  win.console.Script(
      status, {"LPTENUM\\TESSALYXP-100\\1&7D2&0&LPT1.4\r\n    Name: Tessaly XP-100\r\n", 0, 0});
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanBrandDevice);
  // "<> Installer DC检测到打印机Tessaly联机。"
  EXPECT_EQ(
      win.system.debugLines,
      (std::vector<std::string>{starting, parallel,
                                "<> Installer DC\xbc\xec\xb2\xe2\xb5\xbd\xb4\xf2\xd3\xa1\xbb\xfa"
                                "Tessaly"
                                "\xc1\xaa\xbb\xfa\xa1\xa3"}));
}

TEST_F(RescanTest, NoParallelDeviceOrNoStatusAtAll) {
  win.console.Script(status, {"LPTENUM\\X\\1&7D2&0&LPT2.4 Tessaly\r\n", 0, 0});
  EXPECT_EQ(RescanDevices(".\\X64\\devcon.exe"), kRescanNoLptDevice);
  EXPECT_EQ(win.console.commandLines.front(), "cmd /C .\\X64\\devcon.exe rescan");
  EXPECT_EQ(win.system.debugLines, std::vector<std::string>{starting});

  win.system.debugLines.clear();
  win.console.Script(status, {"", 1, 0});
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanNoStatus);
  // "<> Installer DC检测打印机Tessaly没有联机！！"
  EXPECT_EQ(win.system.debugLines.back(),
            "<> Installer DC\xbc\xec\xb2\xe2\xb4\xf2\xd3\xa1\xbb\xfa"
            "Tessaly"
            "\xc3\xbb\xd3\xd0\xc1\xaa\xbb\xfa\xa3\xa1\xa3\xa1");
}

}  // namespace
}  // namespace pinst
