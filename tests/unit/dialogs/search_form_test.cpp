#include "dialogs/search_form.h"

#include <gtest/gtest.h>

#include <functional>

#include "config/lang_strings.h"
#include "dialogs/prompt_form.h"
#include "platform/sim/sim_windows.h"
#include "ui/application.h"

namespace pinst {
namespace {

ui::TFormDesign MainDesign() {
  ui::TFormDesign d;
  d.className = "TMain";
  d.clientWidth = 400;
  d.clientHeight = 300;
  return d;
}

// What the dialog looked like once a moment's events were handled.
struct Moment {
  uint64_t ms;
  int progress;
  std::string headline;
  std::string button;
  int modalResult;
};

class SearchFormTest : public ::testing::Test {
 protected:
  SearchFormTest() {
    main.Show();
    search.PromptForm = &prompt;
  }

  // Shows the dialog modally; act (when set) runs whenever the dialog waits and
  // may act as the user; the dialog's state at each moment is recorded.
  int Run(std::function<bool(const Moment&)> act = nullptr) {
    win.ui.onIdle = [this, act] {
      const Moment now{win.clock.NowMs() - start, search.pbSteps.Position(),
                       search.lblSearch.Caption(), search.btnCancelSearch.Caption(),
                       search.ModalResult()};
      // The last look at each moment counts.
      if (!moments.empty() && moments.back().ms == now.ms) moments.pop_back();
      moments.push_back(now);
      return act ? act(now) : false;
    };
    start = win.clock.NowMs();
    const int result = search.ShowModal();
    win.ui.onIdle = nullptr;
    return result;
  }

  const Moment& At(uint64_t ms) const {
    for (const Moment& m : moments) {
      if (m.ms == ms) return m;
    }
    static const Moment none{};
    ADD_FAILURE() << "no moment at " << ms;
    return none;
  }

  // The dialog takes its texts from the table when it is created.
  const bool english = [] {
    InitLangStrings(0x0409);
    return true;
  }();
  sim::SimWindows win;
  ui::TForm main{MainDesign()};
  bool debugMode = false;
  // The port each query finds, by query number (1-based); empty: nothing.
  std::function<std::string(int)> portOnQuery = [](int) { return std::string(); };
  std::vector<uint64_t> queries;
  TFormSearching search{{
      .debugMode = [this] { return debugMode; },
      .findOnlinePort =
          [this](std::string& port) {
            queries.push_back(win.clock.NowMs() - start);
            port = portOnQuery(static_cast<int>(queries.size()));
          },
      .mainWindow = &main,
  }};
  TFormPromptCheck prompt;
  std::vector<Moment> moments;
  uint64_t start = 0;
};

TEST_F(SearchFormTest, CreatedIdleWithItsCaptionsAndNothingRunning) {
  EXPECT_EQ(search.Caption(), "Search");
  EXPECT_FALSE(search.Visible());
  EXPECT_FALSE(search.tmrSteps.Enabled());
  EXPECT_FALSE(search.tmrClickOK.Enabled());
  EXPECT_EQ(search.pbSteps.Position(), 0);
  EXPECT_FALSE(search.lblNotFound.Visible());
  EXPECT_FALSE(search.btnCancelSearch.Enabled());
  EXPECT_EQ(search.btnCancelSearch.Caption(), "Cancel Search");
  EXPECT_FALSE(search.btnReSearch.Enabled());
  EXPECT_EQ(search.btnReSearch.Caption(), "ReSearch");
  EXPECT_EQ(search.lblSearch.Caption(), "Searching Online Printer ... ");
  // No caption buttons: it cannot be closed from its title bar.
  search.Show();
  EXPECT_FALSE(win.ui.CloseBox(search.Handle()));
}

TEST_F(SearchFormTest, FoundPortCountsDownEverySecondAndContinuesWithOk) {
  portOnQuery = [](int) { return std::string("USB001"); };
  EXPECT_EQ(Run(), ui::mrOk);
  EXPECT_EQ(queries,
            (std::vector<uint64_t>{1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}));
  EXPECT_EQ(At(0).headline, "Searching Online Printer ... ");
  EXPECT_EQ(At(0).button, "Cancel Search");
  EXPECT_EQ(At(9000).progress, 90);
  EXPECT_EQ(At(9000).button, "Cancel Search");
  EXPECT_EQ(At(10000).progress, 100);
  EXPECT_EQ(At(10000).headline, "Searching End!");
  EXPECT_EQ(At(10000).button, "Continue Setup");
  EXPECT_EQ(At(11000).button, "Continue Setup( 9)");
  EXPECT_EQ(At(19000).button, "Continue Setup( 1)");
  EXPECT_EQ(At(20000).button, "Continue Setup( 0)");
  EXPECT_EQ(At(20000).modalResult, ui::mrNone);
  // One second after the count reached 0 the main button presses itself.
  EXPECT_EQ(moments.back().ms, 20000u);
  EXPECT_EQ(win.clock.NowMs() - start, 21000u);
  EXPECT_EQ(search.lblNotFound.Caption(), "Discover Printer Port: USB001");
  EXPECT_EQ(search.lblNotFound.FontColor(), kColorBlack);
  EXPECT_FALSE(search.tmrClickOK.Enabled());
  EXPECT_FALSE(search.Visible());
}

TEST_F(SearchFormTest, PortLostOnTheLastStepEndsNotFoundAndReturnGivesYes) {
  portOnQuery = [](int query) { return query < 10 ? std::string("LPT1:") : std::string(); };
  EXPECT_EQ(Run([&](const Moment& m) {
              if (m.headline != "Searching End!") return false;
              EXPECT_EQ(m.ms, 10000u);
              // Nothing counts down after a search that found nothing.
              EXPECT_EQ(search.btnCancelSearch.Caption(), "Continue Setup");
              EXPECT_FALSE(search.tmrClickOK.Enabled());
              EXPECT_EQ(search.btnCancelSearch.Kind(), ui::TButtonKind::kYes);
              EXPECT_EQ(search.lblNotFound.FontColor(), kColorRed);
              EXPECT_EQ(search.lblNotFound.Caption(), Lang().StrPortNotFound);
              return win.ui.PressKey(search.Handle(), UiKey::kReturn);
            }),
            ui::mrYes);
  EXPECT_FALSE(search.Found);
  EXPECT_EQ(search.PortName, "");
}

TEST_F(SearchFormTest, EscapeWhileSearchingCancelsToOffline) {
  portOnQuery = [](int) { return std::string("USB001"); };
  EXPECT_EQ(Run([&](const Moment& m) {
              if (m.ms < 3000) return false;
              EXPECT_EQ(search.lblNotFound.Caption(), Lang().StrOfflineHint);
              EXPECT_EQ(search.lblNotFound.FontColor(), kColorRed);
              return win.ui.PressKey(search.Handle(), UiKey::kEscape);
            }),
            ui::mrCancel);
  EXPECT_EQ(queries.size(), 3u);
  EXPECT_FALSE(search.tmrSteps.Enabled());
  EXPECT_FALSE(search.tmrClickOK.Enabled());
  // The main window, hidden or not, is visible again once the dialog closes.
  EXPECT_TRUE(main.Visible());
}

TEST_F(SearchFormTest, ReSearchDuringTheCountDownStartsTenNewSteps) {
  portOnQuery = [](int query) { return query <= 10 ? std::string("USB003") : std::string(); };
  bool pressed = false;
  EXPECT_EQ(Run([&](const Moment& m) {
              if (!pressed && m.button == "Continue Setup( 7)") {
                pressed = true;
                return win.ui.Click(search.btnReSearch.Handle());
              }
              if (pressed && m.headline == "Searching End!") {
                return win.ui.Click(search.btnCancelSearch.Handle());
              }
              return false;
            }),
            ui::mrYes);
  // Pressed at 13000: the count-down stopped and a new search ran from 0.
  EXPECT_EQ(At(13000).progress, 0);
  EXPECT_EQ(At(13000).button, "Cancel Search");
  EXPECT_EQ(At(14000).progress, 10);
  EXPECT_EQ(At(14000).button, "Cancel Search");
  EXPECT_EQ(queries.size(), 20u);
  EXPECT_EQ(queries.back(), 23000u);
  EXPECT_EQ(moments.back().ms, 23000u);
}

TEST_F(SearchFormTest, DebugModeSearchesOnce) {
  debugMode = true;
  portOnQuery = [](int) { return std::string("USB001"); };
  EXPECT_EQ(Run([&](const Moment& m) {
              if (m.ms != 1000) return false;
              EXPECT_EQ(m.progress, 100);
              EXPECT_FALSE(search.tmrSteps.Enabled());
              EXPECT_TRUE(search.Found);
              return win.ui.Click(search.btnCancelSearch.Handle());
            }),
            ui::mrOk);
  EXPECT_EQ(queries, std::vector<uint64_t>{1000});
}

TEST_F(SearchFormTest, ConnectionPromptComesFirstWhenAskedFor) {
  search.PromptCheck = true;
  bool promptSeen = false;
  EXPECT_EQ(Run([&](const Moment&) {
              if (prompt.Visible()) {
                // The search dialog appears only after the prompt is dismissed.
                EXPECT_FALSE(search.Visible());
                EXPECT_TRUE(queries.empty());
                EXPECT_EQ(prompt.Caption(), "Infos");
                EXPECT_EQ(prompt.lblPromptCheckLabel.Caption(),
                          "Prepare to Search online printer\r\n");
                EXPECT_EQ(prompt.lblPromprCheckInfo.Caption(), Lang().StrConnectPrinter);
                EXPECT_EQ(prompt.btnOK.Caption(), "&OK");
                promptSeen = true;
                return win.ui.PressKey(prompt.Handle(), UiKey::kReturn);
              }
              EXPECT_TRUE(search.Visible());
              return win.ui.PressKey(search.Handle(), UiKey::kEscape);
            }),
            ui::mrCancel);
  EXPECT_TRUE(promptSeen);
  EXPECT_FALSE(prompt.Visible());

  // Without the flag the search starts at once.
  search.PromptCheck = false;
  promptSeen = false;
  Run([&](const Moment&) {
    promptSeen = promptSeen || prompt.Visible();
    return win.ui.PressKey(search.Handle(), UiKey::kEscape);
  });
  EXPECT_FALSE(promptSeen);
}

TEST_F(SearchFormTest, ClosingShowsTheHiddenMainWindowAgain) {
  main.Hide();
  Run([&](const Moment&) {
    EXPECT_FALSE(main.Visible());
    return win.ui.PressKey(search.Handle(), UiKey::kEscape);
  });
  EXPECT_TRUE(main.Visible());
  EXPECT_TRUE(win.ui.Window(main.Handle()).visible);
}

TEST_F(SearchFormTest, CountDownCaptionUsesTheTablesLanguage) {
  InitLangStrings(0x0804);
  portOnQuery = [](int) { return std::string("USB001"); };
  Run([&](const Moment& m) {
    if (m.ms != 11000) return false;
    // 继续安装( 9)
    EXPECT_EQ(m.button, "\xBC\xCC\xD0\xF8\xB0\xB2\xD7\xB0( 9)");
    return win.ui.Click(search.btnCancelSearch.Handle());
  });
}

}  // namespace
}  // namespace pinst
