// Every page of the window, in both model variants: each caption shows whole, keeps off its
// neighbours and stays inside its group's frame.
#include <QApplication>
#include <QFont>
#include <QLabel>

#include "support/captions.h"
#include "window_fixture.h"

namespace {

class WindowLayout : public cfgtest::WindowTest {
 protected:
  void TearDown() override {
    WindowTest::TearDown();
    QApplication::setFont(font_);
  }
  // Every caption fault of every page, in both variants, with the page and variant named.
  std::vector<std::string> AllFaults() {
    std::vector<std::string> faults;
    for (bool runTime : {false, true}) {
      form->ApplyModelVariant(runTime);
      for (int p = 0; p < static_cast<int>(form->Pages.size()); ++p)
        for (const std::string& fault :
             testsupport::CaptionFaults(ShowPage(static_cast<configurator::Page>(p))))
          faults.push_back((runTime ? "run-time page " : "standard page ") + std::to_string(p) +
                           ": " + fault);
    }
    return faults;
  }
  QFont font_ = QApplication::font();
};

TEST_F(WindowLayout, NoCaptionIsCutOrOverAnotherOrOverItsFrame) {
  Start();
  EXPECT_EQ(AllFaults(), std::vector<std::string>{});
}

// The desktop's font, set before the window is built as a desktop theme sets it: the window
// keeps the font its pages are placed for, so no caption is cut whatever the desktop's size or
// family.
class WindowLayoutDesktopFont : public WindowLayout,
                                public ::testing::WithParamInterface<testsupport::DesktopFont> {};

TEST_P(WindowLayoutDesktopFont, NoCaptionIsCutWhateverFontTheDesktopSets) {
  QApplication::setFont(GetParam().font());
  Start();
  EXPECT_EQ(AllFaults(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Desktop, WindowLayoutDesktopFont,
                         ::testing::ValuesIn(std::vector<testsupport::DesktopFont>{
                             {"DejaVu Sans", 10}, {"DejaVu Sans", 11}, {"DejaVu Serif", 10}}),
                         [](const auto& info) { return testsupport::FontName(info.param); });

// A system font a point larger moves the frames' lines and widens the texts: the restart
// group's button, the hour scale and the cover over analog inputs 5 to 8 still hold.
TEST_F(WindowLayout, MendedPlacesHoldWithALargerFont) {
  QFont larger = font_;
  larger.setPointSizeF(font_.pointSizeF() + 1);
  QApplication::setFont(larger);
  Start();
  std::vector<std::string> mended;
  for (const std::string& fault : AllFaults())
    for (const char* place : {"Button19", "Panel1", "standard page 7: \"1", "standard page 7: \"2"})
      if (fault.find(place) != std::string::npos) mended.push_back(fault);
  EXPECT_EQ(mended, std::vector<std::string>{});
}

// The line that continues "F - send SMS to ..." stands right below the Number Mask group,
// where that line starts.
TEST_F(WindowLayout, SevenLineStandsBelowTheNumberMaskGroup) {
  Start();
  QWidget* page = ShowPage(configurator::Page::Abonents);
  const auto* mask = page->findChild<QGroupBox*>("GroupNumberMask");
  const QLabel* seven = nullptr;
  const QLabel* f = nullptr;
  for (const QLabel* l : page->findChildren<QLabel*>()) {
    if (l->text() == "7 - send SMS to  Nr5, Nr6, Nr7") seven = l;
    if (l->text() == "F - send SMS to  Nr5, Nr6, Nr7 and to internal control") f = l;
  }
  ASSERT_TRUE(mask && seven && f);
  EXPECT_EQ(seven->parentWidget(), page);
  EXPECT_EQ(seven->x(), mask->x() + f->x());
  EXPECT_EQ(seven->y(), mask->geometry().bottom() + 1);
  EXPECT_TRUE(page->rect().contains(seven->geometry()));
}

}  // namespace
