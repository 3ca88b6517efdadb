// The print menu items and the chart print buttons.
#include <QAction>
#include <QPushButton>

#include "form_fixture.h"
#include "platform/textprinter.h"

namespace monitor_test {
namespace {

class PrintTest : public FormTest {
 protected:
  void TearDown() override {
    platform::SetDefaultPrinterHook({});
    FormTest::TearDown();
  }
};

TEST_F(PrintTest, WithoutADefaultPrinterEveryPrintShowsTheError) {
  platform::SetDefaultPrinterHook([] { return std::unique_ptr<platform::TextPrinter>(); });
  auto& f = Form();
  f.Print2->trigger();
  f.Print1->trigger();
  std::vector<QPushButton*> buttons{f.PrintTButton, f.PrintC1Button, f.PrintC2Button};
  for (int n = 1; n <= 8; ++n) buttons.push_back(f.PrintAButton[n]);
  for (QPushButton* b : buttons) b->click();
  ASSERT_EQ(messages.size(), 2u + 11u);
  for (const auto& m : messages) {
    EXPECT_EQ(m.text, "There is no default printer currently selected.");
    EXPECT_EQ(m.icon, platform::Icon::Stop);
  }
}

TEST_F(PrintTest, TheTablePrintAndAChartPrintEachHandAJobToThePrinter) {
  std::string target;
  platform::SetDefaultPrinterHook([&] { return platform::TextPrinter::Pdf(Path(target)); });
  auto& f = Form();
  f.LoadCSVFile(std::string(TK_SAMPLES_DIR) + "/261201.csv", ',');
  target = "table.pdf";
  f.Print2->trigger();
  target = "chart.pdf";
  f.PrintAButton[4]->click();
  EXPECT_TRUE(messages.empty()) << messages.front().text;
  EXPECT_GT(QFileInfo(QString::fromStdString(Path("table.pdf"))).size(), 0);
  EXPECT_GT(QFileInfo(QString::fromStdString(Path("chart.pdf"))).size(), 0);
}

}  // namespace
}  // namespace monitor_test
