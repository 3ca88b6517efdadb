// Under a dark desktop palette every text of every page stands out from the ground it is drawn
// on, the table's and a flagged record's red text included.
#include <QApplication>
#include <QCoreApplication>
#include <QPalette>
#include <QTabWidget>
#include <QTableView>

#include "form_fixture.h"
#include "monitor/csvgrid.h"
#include "support/contrast.h"

namespace {

class WindowContrast : public monitor_test::FormTest {
  testsupport::DarkDesktop dark_;
};

TEST_F(WindowContrast, EveryTextStandsOutUnderADarkPalette) {
  monitor::TForm1& f = Form();
  f.show();
  std::vector<std::string> faint;
  for (int p = 0; p < f.PageControl1->count(); ++p) {
    f.PageControl1->setCurrentIndex(p);
    QCoreApplication::processEvents();
    for (const std::string& t : testsupport::FaintTexts(f.PageControl1->widget(p)))
      faint.push_back("page " + std::to_string(p) + ": " + t);
  }
  for (const std::string& t : testsupport::FaintTexts(&f)) faint.push_back("window: " + t);
  EXPECT_EQ(faint, std::vector<std::string>{});
}

// A flagged record turns the table's text red: a red that reads on the dark ground, in the
// cells and in the corner cell alike.
TEST_F(WindowContrast, TheTablesRedTextStandsOutUnderADarkPalette) {
  WriteFlaggedDay("090301.csv");
  monitor::TForm1& f = Form();
  f.show();
  f.PageControl1->setCurrentWidget(f.TabSheetCSV);
  f.LoadCSVFile("090301.csv", ',');
  QCoreApplication::processEvents();
  ASSERT_TRUE(f.Grid()->Red());
  const QPalette& p = QApplication::palette();
  for (int row : {0, 1})
    for (int col : {0, 2}) {
      const QModelIndex at = f.Grid()->index(row, col);
      const QColor ink = f.Grid()->data(at, Qt::ForegroundRole).value<QColor>();
      const bool fixed = row == 0 || col == 0;
      EXPECT_GE(platform::ContrastRatio(ink, p.color(fixed ? QPalette::Button : QPalette::Base)),
                4.5)
          << row << "," << col;
      EXPECT_GT(ink.red(), ink.green()) << row << "," << col;  // still red
    }
  QAbstractButton* corner = nullptr;
  for (auto* b : f.StringGrid1->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
    if (b->inherits("QTableCornerButton")) corner = b;
  ASSERT_NE(corner, nullptr);
  EXPECT_GE(platform::ContrastRatio(corner->palette().color(QPalette::ButtonText),
                                    corner->palette().color(QPalette::Button)),
            4.5);
}

}  // namespace
