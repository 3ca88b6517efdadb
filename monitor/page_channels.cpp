// The channel pages: Temperature, Counter 1 and 2 and the eight analog channels, each its
// chart with the chart's name, the analog ones with their multiplier and Refresh.
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "monitor/chartlayer.h"
#include "monitor/form.h"
#include "platform/controls.h"

namespace monitor {

void TForm1::BuildChannelPages() {
  T1Name =
      platform::MakeEdit(nullptr, QStringLiteral("T1Name"),
                         QStringLiteral("Temperature chart name"), QStringLiteral("Temperature"));
  C1Name = platform::MakeEdit(nullptr, QStringLiteral("C1Name"),
                              QStringLiteral("Counter 1 chart name"), QStringLiteral("Counter 1"));
  C2Name = platform::MakeEdit(nullptr, QStringLiteral("C2Name"),
                              QStringLiteral("Counter 2 chart name"), QStringLiteral("Counter 2"));
  PrintTButton = platform::MakeButton(nullptr, QStringLiteral("Button3"), QStringLiteral("Print"),
                                      QStringLiteral("Print"));
  PrintC1Button = platform::MakeButton(nullptr, QStringLiteral("Button1"), QStringLiteral("Print"),
                                       QStringLiteral("Print"));
  PrintC2Button = platform::MakeButton(nullptr, QStringLiteral("Button2"), QStringLiteral("Print"),
                                       QStringLiteral("Print"));
  TabSheetT1 = BuildChannelPage(kChannelChartT1, T1Name, PrintTButton, 0);
  TabSheetC1 = BuildChannelPage(kChannelChartC1, C1Name, PrintC1Button, 0);
  TabSheetC2 = BuildChannelPage(kChannelChartC2, C2Name, PrintC2Button, 0);
  for (int n = 1; n <= 8; ++n) {
    const QString caption = QStringLiteral("Analog %1").arg(n);
    AName[n] = platform::MakeEdit(nullptr, QStringLiteral("A%1Name").arg(n),
                                  caption + QStringLiteral(" chart name"), caption);
    PrintAButton[n] = platform::MakeButton(nullptr, QStringLiteral("Button%1").arg(3 + n),
                                           QStringLiteral("Print"), QStringLiteral("Print"));
    RefreshAButton[n] = platform::MakeButton(nullptr, QStringLiteral("Button%1").arg(23 - n),
                                             QStringLiteral("Refresh"), QStringLiteral("Refresh"));
    TabSheetA[n] = BuildChannelPage(ChannelChartA(n), AName[n], PrintAButton[n], n);
  }
}

QWidget* TForm1::BuildChannelPage(ChartId id, QLineEdit* nameEdit, QPushButton* print, int analog) {
  const ChartInfo& info = ChartInfoOf(id);
  const QString caption = QString::fromLatin1(info.title);
  Chart* chart = Charts[static_cast<std::size_t>(id)];
  auto* p = new QWidget;
  p->setObjectName(QString::fromLatin1(info.pageName));
  p->setAccessibleName(caption);
  auto* top = new QHBoxLayout(p);
  chart->setParent(p);
  top->addWidget(chart, 1);

  auto* side = new QVBoxLayout;
  nameEdit->setParent(p);
  platform::SetBase(nameEdit, QColor(0xD4, 0xD0, 0xC8));
  nameEdit->setMinimumWidth(130);
  side->addWidget(platform::MakeLabel(p, QStringLiteral("Name"), nameEdit));
  side->addWidget(nameEdit);
  if (analog > 0) {
    const int n = analog;
    auto* mul = new QGroupBox(QStringLiteral("Multiplier"), p);
    auto* g = new QGridLayout(mul);
    ScrollBarA[n] =
        platform::Named(new QScrollBar(Qt::Vertical, mul), platform::Nr("ScrollBarA", n),
                        QStringLiteral("Multiplier A%1 whole part").arg(n));
    ScrollBarA[n]->setRange(0, 100);
    ScrollBarA[n]->setPageStep(10);
    ScrollBarA[n]->setValue(1);
    ScrollBarA0[n] =
        platform::Named(new QScrollBar(Qt::Vertical, mul), platform::Nr("ScrollBarA0", n),
                        QStringLiteral("Multiplier A%1 thousandths").arg(n));
    ScrollBarA0[n]->setRange(0, 999);
    ScrollBarA0[n]->setPageStep(10);
    ScrollBarA0[n]->setValue(0);
    ScrollBarA[n]->setMinimumHeight(260);
    ScrollBarA0[n]->setMinimumHeight(260);
    g->addWidget(new QLabel(QStringLiteral("0"), mul), 0, 0, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("0,000"), mul), 0, 1, Qt::AlignHCenter);
    g->addWidget(ScrollBarA[n], 1, 0, Qt::AlignHCenter);
    g->addWidget(ScrollBarA0[n], 1, 1, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("100"), mul), 2, 0, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("0,999"), mul), 2, 1, Qt::AlignHCenter);
    MulA[n] = platform::MakeEdit(mul, platform::Nr("MulA", n),
                                 QStringLiteral("Multiplier A%1").arg(n), QStringLiteral("1"));
    MulA[n]->setEnabled(false);
    platform::SetBase(MulA[n], QApplication::palette().color(QPalette::Light));
    {
      // Disabled only so that nobody types into it: the value stays plainly readable.
      QPalette pal = MulA[n]->palette();
      pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
      MulA[n]->setPalette(pal);
    }
    g->addWidget(MulA[n], 3, 0, 1, 2);
    side->addWidget(mul);
    RefreshAButton[n]->setParent(p);
    RefreshAButton[n]->setToolTip(QStringLiteral("Reload the selected merged file"));
    side->addWidget(RefreshAButton[n]);
  }
  side->addStretch(1);
  print->setParent(p);
  side->addWidget(print);
  top->addLayout(side);
  PageControl1->addTab(p, caption);
  return p;
}

void TForm1::BindChannelPages() {
  connect(T1Name, &QLineEdit::textChanged, this, [this] { T1NameChange(); });
  connect(C1Name, &QLineEdit::textChanged, this, [this] { C1NameChange(); });
  connect(C2Name, &QLineEdit::textChanged, this, [this] { C2NameChange(); });
  for (int n = 1; n <= 8; ++n) {
    connect(ScrollBarA[n], &QScrollBar::valueChanged, this, [this, n] { ScrollBarAChange(n); });
    connect(ScrollBarA0[n], &QScrollBar::valueChanged, this, [this, n] { ScrollBarA0Change(n); });
    connect(AName[n], &QLineEdit::textChanged, this, [this, n] { ANameChange(n); });
    platform::OnClick(this, RefreshAButton[n], [this, n] { RefreshA(n); });
    platform::OnClick(this, PrintAButton[n], [this, n] { PrintA(n); });
  }
  platform::OnClick(this, PrintTButton, [this] { PrintTClick(); });
  platform::OnClick(this, PrintC1Button, [this] { PrintC1(); });
  platform::OnClick(this, PrintC2Button, [this] { PrintC2(); });
}

}  // namespace monitor
