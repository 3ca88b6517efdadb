// The monitor as the user waits for it, in a fresh process started as programs/Fernlog.cpp
// starts it (bench/paintclock.h gives the clock):
//   bench_monitor_wait write <dir>      writes the data folders the driver uses
//   bench_monitor_wait start            start to the first painted window
//   bench_monitor_wait load <file>      then the CSV page, a double click on the file in the
//                                       daily list, and the page painted with its charts
//   bench_monitor_wait merge <from> <to>   the same with the Merge button (dates yyyy-mm-dd)
// The current folder is the working folder (its csv.cfg is restored). The harness acts as
// the user does: a click on the page's tab, a double click on the list item, a click on the
// button; it changes nothing in the window's code.
#include <QDateEdit>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "monitor/chartlayer.h"
#include "monitor/core/csvconfig.h"
#include "monitor/form.h"
#include "paintclock.h"
#include "platform/messagebox.h"

using benchclock::NowNs;
using benchclock::Report;

namespace {

// One logger record of 126 bytes with its line end; even records hold temperatures in T2
// and T3, odd ones counters, so that every one of the 38 series gets points.
std::string Record(int i, int day) {
  char line[256];
  const double t = 8 + 12 * std::sin(i / 200.0);
  const int tenths = static_cast<int>(std::lround(std::fabs(t) * 10));
  char temp[16];
  std::snprintf(temp, sizeof temp, "%c%03d.%d", t < 0 ? '-' : '+', tenths / 10, tenths % 10);
  char t2[16], t3[16];
  if (i % 2 == 0) {
    std::snprintf(t2, sizeof t2, "+0%02d.%d", (i / 10) % 40, i % 10);
    std::snprintf(t3, sizeof t3, "-0%02d.%d", (i / 7) % 30, i % 10);
  } else {
    std::snprintf(t2, sizeof t2, "%06d", i % 1000000);
    std::snprintf(t3, sizeof t3, "%06d", (3 * i) % 1000000);
  }
  std::string analog;
  for (int k = 0; k < 8; ++k) {
    const int v = (i * (k + 3) + 97 * k) % 1000;
    char a[16];
    std::snprintf(a, sizeof a, "%02d.%d,", v / 10, v % 10);
    analog += a;
  }
  std::snprintf(
      line, sizeof line,
      "%02d.12.2026,%02d:%02d:00,%s,%s,%s,%s0,1,0,1,0,0,0,0,1,1,0,0,0,0,0,1,0,0,0,1,%s\r\n", day,
      (i / 60) % 24, i % 60, temp, t2, t3, analog.c_str(), i % 500 == 0 ? "00T" : "000");
  return line;
}

void WriteFile(const std::string& path, int records, int day) {
  std::ofstream out(path, std::ios::binary);
  out << "TK5063GM data logger\r\n";
  for (int i = 0; i < records; ++i) out << Record(i, day);
}

// The settings the user saved: the local FTP server, levels above the readings' range
// (no beeps), every multiplier 1.
void WriteSettings(const std::string& folder) {
  monitor::TCSVConfig c;
  c.Host.set("127.0.0.1");
  c.UserID.set("bench");
  c.Password.set("bench");
  c.TLevel = 100;
  c.ALevel = 100;
  c.Coarse.fill(1);
  monitor::SaveCSVConfig(folder + "/csv.cfg", c);
}

int Write(const std::string& root) {
  namespace fs = std::filesystem;
  const struct {
    const char* folder;
    int records;
  } loads[] = {{"load_1k", 1000}, {"load_16k", 16383}, {"load_100k", 100000}, {"load_1m", 1000000}};
  for (const auto& l : loads) {
    const std::string dir = root + "/" + l.folder;
    fs::create_directories(dir);
    WriteFile(dir + "/261201.csv", l.records, 1);
    WriteSettings(dir);
  }
  // A month of daily files that the merge takes whole: 31 x 528 lines fit its 16383.
  const std::string merge = root + "/merge";
  fs::create_directories(merge);
  for (int d = 1; d <= 31; ++d) {
    char name[32];
    std::snprintf(name, sizeof name, "/2612%02d.csv", d);
    WriteFile(merge + name, 527, d);  // with its header line, 528 lines a day
  }
  WriteSettings(merge);
  fs::create_directories(root + "/ftp");
  return 0;
}

void Send(QWidget* w, QEvent::Type type, const QPoint& at) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "start";
  if (mode == "write" && argc > 2) return Write(argv[2]);

  benchclock::ClockApp app(argc, argv);
  platform::SetApplicationTitle("Fernlog");
  monitor::TForm1 form;
  form.show();

  auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  auto* list = form.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
  auto* run = form.findChild<QPushButton*>(QStringLiteral("RunButton"));
  auto* table = form.findChild<QTableView*>(QStringLiteral("StringGrid1"));
  for (const char* name : {"Chart1", "Chart2"})
    app.Watch(form.findChild<monitor::Chart*>(QLatin1String(name))->viewport());
  app.Watch(table->viewport());

  // The step: from the user's click to the page painted with its table and both charts.
  auto measure = [&](const std::function<void()>& click) {
    benchclock::ResetPeak();
    Report("step_rss_before_kb", benchclock::StatusKb("VmRSS"));
    app.StartStep();
    Report("click_ns", app.StepStart());
    click();
    Report("handler_done_ns", NowNs());
    app.WhenSettled(
        300, [&] { return app.AllWatchedPainted(); },
        [&] {
          Report("painted_ns", app.LastWatchedFrame());
          Report("step_cpu_us", app.StepCpu() / 1000);
          Report("step_hwm_kb", benchclock::StatusKb("VmHWM"));
          Report("step_rss_after_kb", benchclock::StatusKb("VmRSS"));
          std::_Exit(0);
        });
  };

  auto onCsvPage = [&](const std::function<void()>& then) {
    pages->setCurrentIndex(1);  // the tab "CSV (Table and Chart)"
    app.WhenSettled(
        200, [] { return true; }, then);
  };

  app.WhenSettled(
      300, [&] { return app.FirstFrame() != 0; },
      [&] {
        benchclock::ReportStart(app);
        if (QApplication::activeModalWidget()) {
          // A message box of the start (no FTP server, no csv.cfg) would be timed with it.
          std::fprintf(stderr, "a message box is open after the start\n");
          std::_Exit(2);
        }
        if (mode == "load" && argc > 2) {
          const QString name = QString::fromLocal8Bit(argv[2]);
          onCsvPage([&, name] {
            const auto items = list->findItems(name, Qt::MatchExactly);
            if (items.isEmpty()) {
              std::fprintf(stderr, "%s is not in the daily list\n", argv[2]);
              std::_Exit(1);
            }
            QListWidgetItem* item = items.front();
            list->scrollToItem(item);
            const QPoint at = list->visualItemRect(item).center();
            QWidget* vp = list->viewport();
            Send(vp, QEvent::MouseButtonPress, at);
            Send(vp, QEvent::MouseButtonRelease, at);
            measure([&] {
              Send(vp, QEvent::MouseButtonDblClick, at);
              Send(vp, QEvent::MouseButtonRelease, at);
            });
          });
        } else if (mode == "merge" && argc > 3) {
          onCsvPage([&] {
            form.findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))
                ->setDate(QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate));
            form.findChild<QDateEdit*>(QStringLiteral("DateTimePicker2"))
                ->setDate(QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate));
            app.WhenSettled(
                200, [] { return true; },
                [&] {
                  const QPoint at = run->rect().center();
                  Send(run, QEvent::MouseButtonPress, at);
                  measure([&] { Send(run, QEvent::MouseButtonRelease, at); });
                });
          });
        } else {
          std::_Exit(0);
        }
      });
  return app.exec();
}
