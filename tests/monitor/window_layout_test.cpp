// Every page of the monitor's window: each caption shows whole, keeps off its neighbours and
// stays inside its group's frame; the table's corner cell shows what the table holds there.
#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QFontMetrics>
#include <QFont>
#include <QCoreApplication>
#include <QImage>
#include <QPalette>
#include <QTabWidget>
#include <QTableView>

#include "form_fixture.h"
#include "monitor/csvgrid.h"
#include "support/captions.h"

namespace {

using monitor_test::FormTest;

// A calendar's day names each fit their column (the toolkit would cut "Mon" to "M...").
std::vector<std::string> CalendarFaults(QWidget* page) {
  std::vector<std::string> faults;
  for (auto* c : page->findChildren<QCalendarWidget*>()) {
    if (!c->isVisibleTo(page)) continue;
    auto* view = c->findChild<QTableView*>();
    if (!view) continue;
    const QFontMetrics fm(view->font());
    for (int col = 0; col < view->model()->columnCount(); ++col) {
      const QString name = view->model()->index(0, col).data().toString();
      if (fm.horizontalAdvance(name) + 4 > view->columnWidth(col))
        faults.push_back(c->objectName().toStdString() + " \"" + name.toStdString() + "\" is cut");
    }
  }
  return faults;
}

// The caption faults of every page, each with its page named.
std::vector<std::string> PageFaults(monitor::TForm1& f) {
  f.show();
  std::vector<std::string> faults;
  for (int p = 0; p < f.PageControl1->count(); ++p) {
    f.PageControl1->setCurrentIndex(p);
    QCoreApplication::processEvents();
    for (const std::string& fault : testsupport::CaptionFaults(f.PageControl1->widget(p)))
      faults.push_back("page " + std::to_string(p) + ": " + fault);
    for (const std::string& fault : CalendarFaults(f.PageControl1->widget(p)))
      faults.push_back("page " + std::to_string(p) + ": " + fault);
  }
  return faults;
}

// Every button, box and group is announced by its caption, or by a name of its own when it
// has none.
TEST_F(FormTest, EveryControlIsAnnouncedByItsCaption) {
  EXPECT_EQ(testsupport::Misnamed(&Form()), std::vector<std::string>{});
  EXPECT_EQ(testsupport::AccessibleName(Form().CopyAllCancel), "Cancel");
}

TEST_F(FormTest, NoCaptionIsCutOrOverAnotherOrOverItsFrame) {
  EXPECT_EQ(PageFaults(Form()), std::vector<std::string>{});
}

// The desktop's font, set before the window is built as a desktop theme sets it: the monitor
// follows it, and its pages leave room for it.
class DesktopFontLayout : public FormTest,
                          public ::testing::WithParamInterface<testsupport::DesktopFont> {
 protected:
  void TearDown() override {
    FormTest::TearDown();
    QApplication::setFont(font_);
  }
  QFont font_ = QApplication::font();
};

TEST_P(DesktopFontLayout, NoCaptionIsCutWhateverFontTheDesktopSets) {
  QApplication::setFont(GetParam().font());
  EXPECT_EQ(PageFaults(Form()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Desktop, DesktopFontLayout,
                         ::testing::ValuesIn(std::vector<testsupport::DesktopFont>{
                             {"DejaVu Sans", 10},
                             {"DejaVu Sans", 11},
                             {"DejaVu Sans", 12},
                             {"DejaVu Serif", 10},
                             {"DejaVu Serif", 11}}),
                         [](const auto& info) { return testsupport::FontName(info.param); });

// Where the header row and the number column meet, the table shows its cell (0, 0): "0" once
// a file is loaded, in the table's text colour.
TEST_F(FormTest, TheTableCornerShowsItsCell) {
  WriteFlaggedDay("090301.csv");
  monitor::TForm1& f = Form();
  f.show();
  f.PageControl1->setCurrentWidget(f.TabSheetCSV);
  QCoreApplication::processEvents();
  QAbstractButton* corner = nullptr;
  for (auto* b : f.StringGrid1->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
    if (b->inherits("QTableCornerButton")) corner = b;
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(corner->text(), "");  // before the first load every cell is empty
  const QImage blank = corner->grab().toImage();

  f.LoadCSVFile("090301.csv", ',');
  QCoreApplication::processEvents();
  EXPECT_EQ(corner->text(), "0");
  EXPECT_EQ(corner->text().toStdString(), f.Grid()->cell(0, 0));
  EXPECT_EQ(corner->palette().color(QPalette::ButtonText), QColor(Qt::red));  // flagged record
  EXPECT_NE(corner->grab().toImage(), blank);                                 // the "0" is drawn
}

}  // namespace
