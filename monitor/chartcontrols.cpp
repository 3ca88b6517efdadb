// The level bars, the analog multipliers, the Refresh buttons and the channel names.
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTabWidget>

#include "monitor/chartlayer.h"
#include "monitor/form.h"
#include "platform/controls.h"

namespace monitor {

void TForm1::ScrollBar1Change() {
  TLEVEL->setText(QString::number(ScrollBar1->value()));
  TLevelValue = ScrollBar1->value();
}

void TForm1::ScrollBar2Change() {
  ALEVEL->setText(QString::number(ScrollBar2->value()));
  ALevelValue = ScrollBar2->value();
}

namespace {
// The multiplier in general form: shortest text of up to 15 significant digits, with
// the system's decimal separator.
QString MultiplierText(int coarse, int fine) {
  return QLocale::system().toString(fine * 0.001 + coarse, 'g', 15);
}
}  // namespace

void TForm1::ScrollBarAChange(int n) {
  MulA[n]->setText(MultiplierText(ScrollBarA[n]->value(), ScrollBarA0[n]->value()));
}

void TForm1::ScrollBarA0Change(int n) { ScrollBarAChange(n); }

void TForm1::RefreshA(int) { FileListBox8DblClick(); }

namespace {
void Rename(QTabWidget* pages, QWidget* page, Chart* chart, const QLineEdit* edit) {
  pages->setTabText(pages->indexOf(page), edit->text());
  chart->SetTitleText(platform::Text(edit));
  chart->Repaint();
}
}  // namespace

void TForm1::T1NameChange() { Rename(PageControl1, TabSheetT1, Charts[kChannelChartT1], T1Name); }
void TForm1::C1NameChange() { Rename(PageControl1, TabSheetC1, Charts[kChannelChartC1], C1Name); }
void TForm1::C2NameChange() { Rename(PageControl1, TabSheetC2, Charts[kChannelChartC2], C2Name); }
void TForm1::ANameChange(int n) {
  Rename(PageControl1, TabSheetA[n], Charts[ChannelChartA(n)], AName[n]);
}

}  // namespace monitor
