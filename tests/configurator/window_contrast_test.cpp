// Under a dark desktop palette every text of every page, in both model variants, stands out
// from the ground it is drawn on: the grounds the window paints itself carry their own text
// colour, the rest follows the desktop.
#include <QApplication>
#include <QPalette>

#include "support/contrast.h"
#include "window_fixture.h"

namespace {

class WindowContrast : public cfgtest::WindowTest {
  testsupport::DarkDesktop dark_;
};

TEST_F(WindowContrast, EveryTextStandsOutUnderADarkPalette) {
  Start();
  std::vector<std::string> faint;
  for (bool runTime : {false, true}) {
    form->ApplyModelVariant(runTime);
    for (int p = 0; p < static_cast<int>(form->Pages.size()); ++p)
      for (const std::string& t :
           testsupport::FaintTexts(ShowPage(static_cast<configurator::Page>(p))))
        faint.push_back((runTime ? "run-time page " : "standard page ") + std::to_string(p) + ": " +
                        t);
  }
  // The memo of the device's answers and the status line lie beside the pages.
  for (const std::string& t : testsupport::FaintTexts(form.get())) faint.push_back("window: " + t);
  EXPECT_EQ(faint, std::vector<std::string>{});
}

}  // namespace
