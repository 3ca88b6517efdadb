// The window: its menus, its charts, the pages in their order, and the bindings that are
// no page's own. Each page is built and bound in its page_*.cpp.
#include "monitor/form.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include "monitor/chartlayer.h"
#include "monitor/ftpclient.h"
#include "platform/controls.h"
#include "platform/core/cp1252.h"
#include "platform/widgets.h"

namespace monitor {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("FERN-LOG monitoring software for TK5063GM GPRS/FTP data-logger"));
  resize(1260, 860);
  FTPClient1 = CreateFTPClient();

  StatusBar1 =
      platform::Named(new QStatusBar(this), QStringLiteral("StatusBar1"), QStringLiteral("Status"));
  setStatusBar(StatusBar1);

  PageControl1 = platform::Named(new QTabWidget(this), QStringLiteral("PageControl1"),
                                 QStringLiteral("Pages"));
  PageControl1->setUsesScrollButtons(true);
  PageControl1->setElideMode(Qt::ElideNone);
  setCentralWidget(PageControl1);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);  // the FTP session's dropped-connection check rides on it

  BuildMenus();
  BuildCharts();
  PageControl1->addTab(BuildTransferPage(), QStringLiteral("From FTP to local PC file transfer"));
  PageControl1->addTab(BuildCSVPage(), QStringLiteral("CSV (Table and Chart)"));

  BuildChannelPages();
  PageControl1->setCurrentIndex(0);

  BindHandlers();
  platform::NameByCaptions(this);
  Timer1->start();
}

TForm1::~TForm1() {
  // The widgets die after this body, and their last signals (a focus change among them)
  // must not reach the handlers of a window that is no longer whole.
  if (qApp) QObject::disconnect(qApp, nullptr, this, nullptr);
  for (QObject* child : findChildren<QObject*>())
    QObject::disconnect(child, nullptr, this, nullptr);
  // Nor its native window's events this window's filter.
  if (windowHandle()) windowHandle()->removeEventFilter(this);
  // The client goes before the widgets: a live connection says "QUIT" and its disconnect
  // event still finds the status bar.
  delete FTPClient1;
  FTPClient1 = nullptr;
}

// ---- menus ----------------------------------------------------------------------------

void TForm1::BuildMenus() {
  auto action = [](QObject* owner, const QString& name, const QString& text) {
    auto* a = new QAction(text, owner);
    a->setObjectName(name);
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("File1"));
  Print2 = action(this, QStringLiteral("Print2"), QStringLiteral("Print"));
  Exit1 = action(this, QStringLiteral("Exit1"), QStringLiteral("Exit"));
  file->addAction(Print2);
  file->addSeparator();
  file->addAction(Exit1);
  QMenu* setting = menuBar()->addMenu(QStringLiteral("Setting"));
  setting->setObjectName(QStringLiteral("Setting1"));
  SaveSetting1 = action(this, QStringLiteral("SaveSetting1"), QStringLiteral("Save Setting"));
  setting->addAction(SaveSetting1);

  auto popup = [this](const QString& name) {
    auto* m = new QMenu(this);
    m->setObjectName(name);
    return m;
  };
  PopupMenuListBox3 = popup(QStringLiteral("PopupMenuListBox3"));
  MenuItem1 = action(PopupMenuListBox3, QStringLiteral("MenuItem1"), QStringLiteral("Delete"));
  MenuItem2 = action(PopupMenuListBox3, QStringLiteral("MenuItem2"), QStringLiteral("Delete All"));
  PopupMenuListBox3->addActions({MenuItem1, MenuItem2});
  PopupMenuFTPdir = popup(QStringLiteral("PopupMenuFTPdir"));
  MenuItem3 = action(PopupMenuFTPdir, QStringLiteral("MenuItem3"), QStringLiteral("Delete"));
  PopupMenuFTPdir->addAction(MenuItem3);
  PopupMenuListBox4 = popup(QStringLiteral("PopupMenuListBox4"));
  Delete1 = action(PopupMenuListBox4, QStringLiteral("Delete1"), QStringLiteral("Delete"));
  DeleteAll1 =
      action(PopupMenuListBox4, QStringLiteral("DeleteAll1"), QStringLiteral("Delete All"));
  Refresh1 = action(PopupMenuListBox4, QStringLiteral("Refresh1"), QStringLiteral("Refresh"));
  PopupMenuListBox4->addActions({Delete1, DeleteAll1, Refresh1});
  PopupMenuListBox1 = popup(QStringLiteral("PopupMenuListBox1"));
  Delete2 = action(PopupMenuListBox1, QStringLiteral("Delete2"), QStringLiteral("Delete"));
  DeleteAll2 =
      action(PopupMenuListBox1, QStringLiteral("DeleteAll2"), QStringLiteral("Delete All"));
  Refresh2 = action(PopupMenuListBox1, QStringLiteral("Refresh2"), QStringLiteral("Refresh"));
  PopupMenuListBox1->addActions({Delete2, DeleteAll2, Refresh2});
  PopupMenuListBox8 = popup(QStringLiteral("PopupMenuListBox8"));
  Delete3 = action(PopupMenuListBox8, QStringLiteral("Delete3"), QStringLiteral("Delete"));
  Refresh3 = action(PopupMenuListBox8, QStringLiteral("Refresh3"), QStringLiteral("Refresh"));
  PopupMenuListBox8->addActions({Delete3, Refresh3});
  PopupMenuPrint = popup(QStringLiteral("PopupMenuPrint"));
  Print1 = action(PopupMenuPrint, QStringLiteral("Print1"), QStringLiteral("Print"));
  PopupMenuPrint->addAction(Print1);
}

void TForm1::AttachPopup(QWidget* widget, QMenu* menu) {
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(widget, &QWidget::customContextMenuRequested, menu,
          [widget, menu](const QPoint& at) { menu->popup(widget->mapToGlobal(at)); });
}
// ---- charts ---------------------------------------------------------------------------

void TForm1::BuildCharts() {
  auto make = [](const QString& name, const char* title) {
    auto* c = new Chart(name);
    c->SetTitleFont(QFont(QStringLiteral("Arial"), 11, QFont::Bold));
    c->SetTitleText(title);
    c->SetLegendVisible(true);
    c->setAccessibleName(QString::fromLatin1(title) + QStringLiteral(" chart"));
    return c;
  };
  Chart1 = make(QStringLiteral("Chart1"), "Temperature");
  Chart2 = make(QStringLiteral("Chart2"), "Analog");
  ChannelChartT1 = make(QStringLiteral("ChannelChartT1"), "Temperature");
  ChannelChartC1 = make(QStringLiteral("ChannelChartC1"), "Counter 1");
  ChannelChartC2 = make(QStringLiteral("ChannelChartC2"), "Counter 2");
  for (int n = 1; n <= 8; ++n) {
    const std::string title = "Analog " + std::to_string(n);
    ChannelChartA[n] = make(platform::Nr("ChannelChartA", n), title.c_str());
  }
  // Vertical axes: temperatures and the CSV page's analog chart fixed; counters and the
  // scaled analog channels from -1 up to what their hidden series lift.
  for (Chart* c : {Chart1, ChannelChartT1}) {
    c->SetMinimumFixed(-45);
    c->SetMaximumFixed(145);
  }
  Chart2->SetMinimumFixed(-5);
  Chart2->SetMaximumFixed(105);
  std::vector<Chart*> automatic{ChannelChartC1, ChannelChartC2};
  for (int n = 1; n <= 8; ++n) automatic.push_back(ChannelChartA[n]);
  for (Chart* c : automatic) {
    c->SetMinimumFixed(-1);
    c->SetMaximumAutomatic();
  }

  const std::vector<Chart*> all = Charts();
  for (int id = 0; id < kSeriesCount; ++id) {
    const SeriesInfo& info = SeriesInfoOf(id);
    Chart* owner = nullptr;
    for (Chart* c : all)
      if (c->objectName() == QLatin1String(info.chart)) owner = c;
    ChartSeries* s = owner->AddSeries(info.name);
    s->SetTitle(info.title);
    s->SetSeriesColor(QColor::fromRgba(info.colour));
    s->SetDrawsLine(true);
    s->SetPointMarks(false);
    if (info.hidden) s->SetHidden();
    s->SetShowInLegend(info.inLegend && !info.hidden);
    series_[static_cast<std::size_t>(id)] = s;
  }
}
std::vector<Chart*> TForm1::Charts() const {
  std::vector<Chart*> all{Chart1, Chart2, ChannelChartT1, ChannelChartC1, ChannelChartC2};
  for (int n = 1; n <= 8; ++n) all.push_back(ChannelChartA[n]);
  return all;
}

// ---- binding --------------------------------------------------------------------------

void TForm1::BindHandlers() {
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!started_ && now && (now == PageControl1 || PageControl1->isAncestorOf(now)))
      PageControl1Enter();
  });

  // Handlers that may raise run guarded: the error box shows what they raised.
  platform::OnSignal(this, Print2, &QAction::triggered, [this] { Print1Click(); });
  platform::OnSignal(this, Print1, &QAction::triggered, [this] { Print1Click(); });
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  platform::OnSignal(this, SaveSetting1, &QAction::triggered, [this] { SaveSetting1Click(); });
  BindTransferPage();
  platform::OnSignal(this, Timer1, &QTimer::timeout, [this] { Timer1Timer(); });
  BindCSVPage();
  BindChannelPages();
}

// ---- shared helpers -------------------------------------------------------------------

void TForm1::SetStatusText(const std::string& text) {
  StatusBar1->showMessage(platform::FromCp1252(text));
}

std::string TForm1::StatusText() const { return platform::ToCp1252(StatusBar1->currentMessage()); }

std::string TForm1::DayText(const QDate& day) {
  // The locale's short date where it fits in ten characters of Windows-1252; else the
  // day in digits, which always does, so the day is never shown cut.
  const QString text = QLocale().toString(day, QLocale::ShortFormat);
  const std::string bytes = platform::ToCp1252(text);
  if (text.size() <= 10 && platform::FromCp1252(bytes) == text) return bytes;
  return day.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The first exposure of the window is watched: what waits for the first paint runs
  // right after it.
  if (!painted_ && !awaitingPaint_ && windowHandle()) {
    awaitingPaint_ = true;
    windowHandle()->installEventFilter(this);
    // Every chart sits on a page out of sight at the start: Qt would lay each out as its
    // scene is first polished, at a size it is never shown at.
    for (Chart* c : Charts())
      if (!c->isVisible()) c->HoldLayout();
  }
  // The start-up runs when the page control first takes the focus. Without a window
  // manager to give the window the focus, it runs as soon as the window is up.
  if (!started_)
    QTimer::singleShot(0, this, [this] {
      if (started_) return;
      PageControl1->setFocus();
      if (!started_) PageControl1Enter();
    });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
    watched->removeEventFilter(this);
    QCoreApplication::sendEvent(watched, event);  // the window paints itself first
    FirstPainted();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::FirstPainted() {
  painted_ = true;
  awaitingPaint_ = false;
  for (Chart* c : Charts()) c->ReleaseLayout();
  if (connectWaiting_) {
    connectWaiting_ = false;
    StartupConnect();
  }
}

}  // namespace monitor
