// The level bars, the multiplier displays and the channel names.
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTabWidget>

#include "form_fixture.h"
#include "monitor/chartlayer.h"

namespace monitor_test {
namespace {

TEST_F(FormTest, LevelBarsShowAndKeepTheirPosition) {
  auto& f = Form();
  f.ScrollBar1->setValue(-12);
  f.ScrollBar2->setValue(100);
  EXPECT_EQ(f.TLEVEL->text(), "-12");
  EXPECT_EQ(f.TLevelValue, -12);
  EXPECT_EQ(f.ALEVEL->text(), "100");
  EXPECT_EQ(f.ALevelValue, 100);
  f.ScrollBar1->setValue(500);  // the bar clamps
  EXPECT_EQ(f.TLevelValue, 100);
}

TEST_F(FormTest, MultiplierDisplayShowsTheShortestForm) {
  auto& f = Form();
  EXPECT_EQ(f.MulA[1]->text(), "1");
  struct Case {
    int coarse, fine;
    double value;
  } cases[] = {{1, 5, 1.005}, {2, 500, 2.5}, {100, 999, 100.999}, {0, 0, 0}, {7, 0, 7}};
  for (const Case& c : cases) {
    f.ScrollBarA[6]->setValue(c.coarse);
    f.ScrollBarA0[6]->setValue(c.fine);
    EXPECT_EQ(f.MulA[6]->text(), QLocale::system().toString(c.value, 'g', 15))
        << c.coarse << " " << c.fine;
  }
  EXPECT_EQ(f.MulA[5]->text(), "1");  // the other channels keep theirs
}

TEST_F(FormTest, NameEditsRenameTheTabAndTheChartAtOnce) {
  auto& f = Form();
  auto tab = [&](QWidget* page) { return f.PageControl1->tabText(f.PageControl1->indexOf(page)); };
  EXPECT_EQ(tab(f.TabSheetA[3]), "Analog 3");
  f.AName[3]->clear();
  EXPECT_EQ(tab(f.TabSheetA[3]), "");
  EXPECT_EQ(f.Charts[monitor::ChannelChartA(3)]->TitleText(), "");
  f.C1Name->setText("Gas meter");
  EXPECT_EQ(tab(f.TabSheetC1), "Gas meter");
  EXPECT_EQ(f.Charts[monitor::kChannelChartC1]->TitleText(), "Gas meter");
  EXPECT_EQ(tab(f.TabSheetC2), "Counter 2");
}

TEST_F(FormTest, ChartsHaveTheirAxes) {
  auto& f = Form();
  EXPECT_FALSE(f.Charts[monitor::kChart1]->MinimumAutomatic() ||
               f.Charts[monitor::kChart1]->MaximumAutomatic());
  EXPECT_EQ(f.Charts[monitor::kChart2]->AxisMinimum(), -5);
  EXPECT_EQ(f.Charts[monitor::kChart2]->AxisMaximum(), 105);
  EXPECT_EQ(f.Charts[monitor::kChannelChartT1]->AxisMaximum(), 145);
  for (monitor::Chart* c :
       {f.Charts[monitor::kChannelChartC1], f.Charts[monitor::kChannelChartC2],
        f.Charts[monitor::ChannelChartA(1)], f.Charts[monitor::ChannelChartA(8)]}) {
    EXPECT_FALSE(c->MinimumAutomatic());
    EXPECT_EQ(c->AxisMinimum(), -1);
    EXPECT_TRUE(c->MaximumAutomatic());
  }
}

}  // namespace
}  // namespace monitor_test
