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
  // Each chart by its row of the chart table, then its series in the series table's order.
  for (int id = 0; id < kChartCount; ++id) {
    const ChartInfo& info = ChartInfoOf(id);
    auto* c = new Chart(QString::fromLatin1(info.name));
    c->SetTitleFont(QFont(QStringLiteral("Arial"), 11, QFont::Bold));
    c->SetTitleText(info.title);
    c->SetLegendVisible(true);
    c->setAccessibleName(QString::fromLatin1(info.title) + QStringLiteral(" chart"));
    if (info.minimum.automatic)
      c->SetMinimumAutomatic();
    else
      c->SetMinimumFixed(info.minimum.value);
    if (info.maximum.automatic)
      c->SetMaximumAutomatic();
    else
      c->SetMaximumFixed(info.maximum.value);
    Charts[static_cast<std::size_t>(id)] = c;
  }
  for (int id = 0; id < kSeriesCount; ++id) {
    const SeriesInfo& info = SeriesInfoOf(id);
    ChartSeries* s = Charts[static_cast<std::size_t>(info.chart)]->AddSeries(info.name);
    s->SetTitle(info.title);
    s->SetSeriesColor(QColor::fromRgba(info.colour));
    s->SetDrawsLine(true);
    s->SetPointMarks(false);
    if (info.hidden) s->SetHidden();
    s->SetShowInLegend(info.inLegend && !info.hidden);
    series_[static_cast<std::size_t>(id)] = s;
  }
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
    for (Chart* c : Charts)
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
  for (Chart* c : Charts) c->ReleaseLayout();
  if (connectWaiting_) {
    connectWaiting_ = false;
    StartupConnect();
  }
}

}  // namespace monitor
