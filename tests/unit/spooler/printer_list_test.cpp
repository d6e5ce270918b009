#include "spooler/printer_list.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"

namespace pinst {
namespace {

class ListPrintersTest : public ::testing::Test {
 protected:
  sim::SimWindows win;
};

TEST_F(ListPrintersTest, ListsLocalPrintersThenConnectionsInTheSpoolersOrder) {
  win.spooler.AddLocalPrinter("Zeta");
  win.spooler.AddLocalPrinter("Alpha");
  win.spooler.connections.push_back("\\\\server\\Shared");
  win.spooler.defaultPrinter = "\\\\SERVER\\shared";
  StringList list{"old entry"};
  EXPECT_EQ(ListPrinters(&list), 2);
  EXPECT_EQ(list, (StringList{"Zeta", "Alpha", "\\\\server\\Shared"}));
}

TEST_F(ListPrintersTest, CutsANameBeforeItsFirstBlankOnBlank) {
  win.spooler.AddLocalPrinter("HP on LPT1: on desk");
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Salon printer");  // "on" inside a word is no cut
  win.spooler.AddLocalPrinter("Dept on");        // nor at the very end
  win.spooler.AddLocalPrinter(" on top");
  StringList list;
  EXPECT_EQ(ListPrinters(&list), -1);
  EXPECT_EQ(list, (StringList{"HP", "Canon", "Salon printer", "Dept on", ""}));
}

TEST_F(ListPrintersTest, FindsTheDefaultByItsFullNameWithoutRegardToCase) {
  win.spooler.AddLocalPrinter("Canon");
  win.spooler.AddLocalPrinter("Laser on desk");
  win.spooler.defaultPrinter = "LASER ON DESK";
  StringList list;
  EXPECT_EQ(ListPrinters(&list), 1);
  EXPECT_EQ(list[1], "Laser");
}

TEST_F(ListPrintersTest, NoDefaultOrAnUnlistedDefaultGivesMinusOne) {
  win.spooler.AddLocalPrinter("Canon");
  StringList list;
  EXPECT_EQ(ListPrinters(&list), -1);
  EXPECT_EQ(list, StringList{"Canon"});
  win.spooler.defaultPrinter = "Gone";
  EXPECT_EQ(ListPrinters(&list), -1);
  win.spooler.defaultPrinter = "Canon";
  win.spooler.missingGetDefaultPrinter = true;
  EXPECT_EQ(ListPrinters(&list), -1);
  EXPECT_EQ(list, StringList{"Canon"});
}

TEST_F(ListPrintersTest, NoPrintersOrNoListLeavesTheListAlone) {
  StringList list{"kept", "as is"};
  win.spooler.defaultPrinter = "Canon";
  EXPECT_EQ(ListPrinters(&list), -1);
  EXPECT_EQ(list, (StringList{"kept", "as is"}));
  win.spooler.AddLocalPrinter("Canon");
  EXPECT_EQ(ListPrinters(nullptr), -1);
  EXPECT_EQ(ListPrinters(&list), 0);
}

TEST_F(ListPrintersTest, CutsDoubleByteNamesAtTheBlankBeforeOn) {
  win.SetLanguage(0x0804);
  // 打印机 on LPT1: (GBK); the trail byte 6F of 籵 (BB 6F) is no "o" of the cut.
  win.spooler.AddLocalPrinter("\xB4\xF2\xD3\xA1\xBB\xFA on LPT1:");
  win.spooler.AddLocalPrinter("\xBB\x6F on");
  StringList list;
  ListPrinters(&list);
  EXPECT_EQ(list, (StringList{"\xB4\xF2\xD3\xA1\xBB\xFA", "\xBB\x6F on"}));
}

}  // namespace
}  // namespace pinst
