// brand.ini in the main window and the rescan: each value where it belongs, and
// each missing or broken one leaving today's text or picture, with a log line.
#include "config/brand.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form.h"
#include "app/sample_dist.h"
#include "base/bmp_builder.h"
#include "config/lang_strings.h"
#include "engine/hardware_ids.h"
#include "platform/sim/sim_windows.h"
#include "sys/debug_info.h"
#include "ui/application.h"

namespace pinst {
namespace {

class BrandTest : public ::testing::Test {
 protected:
  BrandTest() {
    InitLangStrings(0x0409);
    testdata::AddTwoModels(win);
  }
  ~BrandTest() override {
    SetBrand({});
    InitLangStrings(0x0409);
  }
  void Language(uint16_t langId, uint32_t codePage) {
    win.system.langId = langId;
    win.system.codePage = codePage;
    InitLangStrings(langId);
  }
  // The debug lines about brand.ini.
  std::vector<std::string> BrandLines() const {
    std::vector<std::string> lines;
    for (const std::string& l : win.system.debugLines) {
      if (l.find("brand.ini") != std::string::npos) lines.push_back(l);
    }
    return lines;
  }
  sim::SimWindows win;
};

// "欢迎使用Acme打印机" in GBK, "歡迎使用Acme印表機" in Big5.
const std::string kGbkTitle =
    "\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3"
    "Acme\xB4\xF2\xD3\xA1\xBB\xFA";
const std::string kBig5Title =
    "\xC5w\xAA\xEF\xA8\xCF\xA5\xCE"
    "Acme\xA6L\xAA\xED\xBE\xF7";

TEST_F(BrandTest, EveryValueReachesItsPlaceInEachLanguage) {
  const std::string logo = testdata::Bmp({.width = 340, .height = 100});
  const std::string picture = testdata::Bmp({.width = 16, .height = 24, .bits = 8});
  win.files.AddFile("brand\\logo.bmp", logo);
  win.files.AddFile("brand\\printer.bmp", picture);
  win.files.AddFile(
      "brand.ini",
      "[Brand]\r\nBrandWord=Acme\r\nCaption=Acme Setup\r\n"
      "LogoFile=brand\\logo.bmp\r\nPictureFile=brand\\printer.bmp\r\n"
      "MainTitle=" +
          kGbkTitle + "\r\nMainTitle0=" + kBig5Title +
          "\r\nMainTitle2=Welcome to Acme\r\n"
          "InstallGuideLink=G-CN\r\nInstallGuideLink0=G-TW\r\nInstallGuideLink2=Guide\r\n"
          "UserManualLink=M-CN\r\nUserManualLink0=M-TW\r\nUserManualLink2=Manual\r\n");
  struct Case {
    uint16_t langId;
    uint32_t codePage;
    std::string title, guide, manual;
  };
  const Case cases[] = {{0x0409, 1252, "Welcome to Acme", "Guide", "Manual"},
                        {0x0804, 936, kGbkTitle, "G-CN", "M-CN"},
                        {0x0404, 950, kBig5Title, "G-TW", "M-TW"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.langId);
    Language(c.langId, c.codePage);
    win.system.debugLines.clear();
    TMainForm form({});
    EXPECT_EQ(form.Caption(), "Acme Setup");
    EXPECT_EQ(ui::Application().Title, "Acme Setup");
    EXPECT_EQ(form.LblMainTitle.Caption(), c.title);
    EXPECT_EQ(form.LblReadGuide.Caption(), c.guide);
    EXPECT_EQ(form.LblReadManual.Caption(), c.manual);
    // The logo is drawn 170 x 50 in the built-in logo's box; the title follows it,
    // the title area keeps the box's height for the links.
    const sim::SimWindow& image = win.ui.Window(form.ImgLogo.Handle());
    EXPECT_EQ(image.pictureFile, logo);
    EXPECT_EQ(image.pictureSize, (UiSize{170, 50}));
    EXPECT_EQ(form.ImgLogo.Height(), 50);
    EXPECT_EQ(form.LblMainTitle.Left(), 24 + 170 + 30);
    EXPECT_EQ(form.PnlTitle.Height(), 9 + 72 + 10);
    const sim::SimWindow& list = win.ui.Window(form.LvPrinters.Handle());
    EXPECT_EQ(list.pictureFile, picture);
    EXPECT_EQ(list.pictureSize, (UiSize{16, 24}));
    EXPECT_EQ(BrandLines(), std::vector<std::string>{
                                "brand.ini: BrandWord, Caption, MainTitle, InstallGuideLink, "
                                "UserManualLink, LogoFile, PictureFile used"});
  }
}

TEST_F(BrandTest, TheBrandWordBuildsEveryTitleAndIsWhatTheRescanLooksFor) {
  win.files.AddFile("brand.ini", "[brand]\r\nbrandword = Acme\r\n");
  const std::pair<uint16_t, std::string> titles[] = {
      {0x0409, "Welcome To Use Acme Printer Driver Installation"},
      {0x0804, kGbkTitle},
      {0x0404, kBig5Title}};
  for (const auto& [langId, title] : titles) {
    Language(langId, langId == 0x0409 ? 1252 : langId == 0x0804 ? 936 : 950);
    TMainForm form({});
    EXPECT_EQ(form.LblMainTitle.Caption(), title) << langId;
    EXPECT_EQ(form.Caption(), Lang().StrInstallerTitle);
    EXPECT_EQ(form.LblReadGuide.Caption(), Lang().StrInstallGuideLink);
  }

  ResetDebugInfoState();
  win.system.debugLines.clear();
  win.console.Script("cmd /C devcon.exe status *LPTENUM\\*",
                     {"LPTENUM\\ACMEXP-100\\1&7D2&0&LPT1.4\r\n    Name: Acme XP-100\r\n", 0, 0});
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanBrandDevice);
  // "<> Installer DC检测到打印机Acme联机。"
  EXPECT_EQ(win.system.debugLines.back(),
            "<> Installer DC\xbc\xec\xb2\xe2\xb5\xbd\xb4\xf2\xd3\xa1\xbb\xfa"
            "Acme\xc1\xaa\xbb\xfa\xa1\xa3");
  // The built-in word no longer counts.
  win.console.Script("cmd /C devcon.exe status *LPTENUM\\*",
                     {"LPTENUM\\TESSALY\\1&7D2&0&LPT1.4\r\n    Name: Tessaly XP-100\r\n", 0, 0});
  EXPECT_EQ(RescanDevices(".\\i386\\devcon.exe"), kRescanLptDevice);
}

TEST_F(BrandTest, EachMissingOrBrokenValueLeavesTodaysTextOrPicture) {
  win.files.AddFile("logo.txt", "just text");
  win.files.AddFile("cut.bmp", testdata::Bmp({.cutPixels = 5}));
  win.files.AddFile("huge.bmp", testdata::Bmp({.width = 5000, .height = 1}));
  win.files.AddFile("good.bmp", testdata::Bmp());
  win.files.AddFile("locked.bmp", testdata::Bmp());
  win.files.MakeUnreadable("locked.bmp");
  struct Case {
    std::string brandIni;  // empty: no brand.ini at all
    std::vector<std::string> lines;
    const char* fault = "";
  };
  const std::string no = "brand.ini: no value used";
  const Case cases[] = {
      {"", {}},
      {"[Brand]\r\nBrandWord=\r\n", {"brand.ini: BrandWord ignored: it is empty", no}},
      {"[Brand]\r\nCaption=Bad \x81 byte\r\n",
       {"brand.ini: Caption ignored: it is not text of code page 1252", no}},
      {"[Brand]\r\nMainTitle2=" + std::string(3000, 'x') + "\r\n",
       {"brand.ini: MainTitle2 ignored: it is longer than 2,047 bytes", no}},
      {"[Brand]\r\nLogFile=logo.bmp\r\n",
       {"brand.ini: LogFile ignored: it is not a key of brand.ini", no}},
      {"[Brand]\r\nLogoFile=none.bmp\r\n",
       {"brand.ini: LogoFile=none.bmp ignored: there is no such file", no}},
      {"[Brand]\r\nLogoFile=logo.txt\r\n",
       {"brand.ini: LogoFile=logo.txt ignored: it is not a BMP file", no}},
      {"[Brand]\r\nPictureFile=cut.bmp\r\n",
       {"brand.ini: PictureFile=cut.bmp ignored: it is cut short in its pixels", no}},
      {"[Brand]\r\nLogoFile=huge.bmp\r\n",
       {"brand.ini: LogoFile=huge.bmp ignored: it is more than 4096 pixels a side", no}},
      {"[Brand]\r\nLogoFile=locked.bmp\r\n",
       {"brand.ini: LogoFile=locked.bmp ignored: it cannot be read", no}},
      {"[Brand]\r\nLogoFile=good.bmp\r\n",
       {"brand.ini: LogoFile used",
        "brand.ini: LogoFile=good.bmp ignored: Windows could not draw it"},
       "ui.LoadPictureFile"},
      {"[Models]\r\nBrandWord=Acme\r\n",
       {"brand.ini: there is no [Brand] section: nothing is branded", no}},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe[Brand\x01=\x02", 27),
       {"brand.ini: there is no [Brand] section: nothing is branded", no}},
      {"[Brand]\r\nBrandWord=Acme\r\n" + std::string(70000, ';'),
       {"brand.ini: it is 70025 bytes, more than 65536: it is ignored, the built-in texts and "
        "pictures are used"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.brandIni.substr(0, 40));
    win.files.RemoveFile("brand.ini");
    if (!c.brandIni.empty()) win.files.AddFile("brand.ini", c.brandIni);
    win.faults.failName = c.fault;
    win.faults.Restart();
    win.system.debugLines.clear();
    TMainForm form({});
    EXPECT_EQ(BrandLines(), c.lines);
    EXPECT_EQ(form.Caption(), "Printer Installer");
    EXPECT_EQ(form.LblMainTitle.Caption(), "Welcome To Use Norvik  Printer Driver Installation");
    EXPECT_EQ(form.LblReadGuide.Caption(), "Installation Manual");
    EXPECT_EQ(form.LblReadManual.Caption(), "User Manual");
    EXPECT_EQ(win.ui.Window(form.ImgLogo.Handle()).picture, "LogoNorvik");
    EXPECT_EQ(win.ui.Window(form.ImgLogo.Handle()).pictureFile, "");
    EXPECT_EQ(win.ui.Window(form.LvPrinters.Handle()).pictureFile, "");
    EXPECT_EQ(form.ImgLogo.Height(), 72);
    EXPECT_EQ(form.PnlTitle.Height(), 9 + 72 + 10);
    EXPECT_FALSE(Brand().brandWord);
  }
}

}  // namespace
}  // namespace pinst
