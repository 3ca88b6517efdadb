// Loading and merging logger files: time and added peak memory of each step, first the
// pure load, then through the window with the CSV page's two charts drawn. Added peak
// memory is VmHWM after the step less VmRSS before it (the peak is reset first).
//   bench_monitor_load            prints one line per figure
#include <sys/resource.h>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "monitor/chartlayer.h"
#include "monitor/csvgrid.h"
#include "monitor/csvrecord.h"
#include "monitor/form.h"
#include "monitor/merge.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"

using namespace monitor;

namespace {

// Peak resident memory of the process in kB, and its reset.
long VmHWM() {
  std::ifstream in("/proc/self/status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (key == "VmHWM:") {
      in >> value;
      return value;
    }
    in.ignore(1 << 12, '\n');
  }
  return 0;
}
long VmRSS() {
  std::ifstream in("/proc/self/status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (key == "VmRSS:") {
      in >> value;
      return value;
    }
    in.ignore(1 << 12, '\n');
  }
  return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double CpuMs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
long PageFaults() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_minflt + u.ru_majflt;
}

// One logger record; even records hold temperatures in T2 and T3, odd ones counters, so
// that every one of the 38 series gets points.
std::string Record(int i, int day = 1) {
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
  std::snprintf(line, sizeof line,
                "%02d.12.2026,%02d:%02d:00,%s,%s,%s,%s0,1,0,1,0,0,0,0,1,1,0,0,0,0,0,1,0,0,0,1,%s",
                day, (i / 60) % 24, i % 60, temp, t2, t3, analog.c_str(), i % 500 == 0 ? "00T" : "000");
  return line;
}

std::string File(int records, int day = 1) {
  std::string s = "TK5063GM data logger\r\n";
  for (int i = 0; i < records; ++i) s += Record(i, day) + "\r\n";
  return s;
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs a step, prints its time and added peak memory against the goals.
void Measure(const char* what, double goalMs, long goalMB, const std::function<void()>& step) {
  const long rssBefore = VmRSS();
  ResetPeak();
  const double cpuStart = CpuMs();
  const long faultsStart = PageFaults();
  const auto start = std::chrono::steady_clock::now();
  step();
  const auto end = std::chrono::steady_clock::now();
  const double cpu = CpuMs() - cpuStart;
  const long faults = PageFaults() - faultsStart;
  const double ms = std::chrono::duration<double, std::milli>(end - start).count();
  const long addedKB = VmHWM() - rssBefore;
  std::printf("%-62s %8.1f ms (goal %5.0f)  +%6.1f MB peak", what, ms, goalMs, addedKB / 1024.0);
  if (goalMB > 0) std::printf(" (goal %ld)", goalMB);
  std::printf("  %s\n", ms <= goalMs && (goalMB <= 0 || addedKB <= goalMB * 1024) ? "ok" : "OVER");
  // Wall time counts other processes and the cost of first touching memory; these show both.
  std::printf("  %-60s %8.1f ms cpu, %ld page faults\n", "", cpu, faults);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  platform::SetMessageHook([](const platform::MessageRequest& r) {
    std::printf("  (message: %s)\n", r.text.c_str());
    return platform::Answer::Ok;
  });
  platform::SetBeepHook([] {});

  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  const std::string f16k = folder + "/261201.csv";
  const std::string f100k = folder + "/big.csv";
  Write(f16k, File(kLastPlottedRecord + 1));  // 16383 records
  Write(f100k, File(100000));
  const std::string month = folder + "/month";
  QDir().mkpath(QString::fromStdString(month));
  for (int d = 1; d <= 31; ++d) {
    char name[32];
    std::snprintf(name, sizeof name, "/2612%02d.csv", d);
    Write(month + name, File(1440, d));
  }
  std::printf("records per file: 16383 / 100000; merge: 31 files of 1440 records\n");

  LoadOptions options;
  options.tLevel = 30;
  options.aLevel = 80;
  std::size_t points = 0;
  Measure("pure load, 16383 records, table and 38 series", 150, 60, [&] {
    const LoadResult r = LoadCSV(ReadFileBytes(f16k), options);
    points = 0;
    for (const auto& s : r.series) points += s.size();
  });
  std::printf("  %zu points\n", points);
  Measure("pure load, 16383 records, again (memory already mapped)", 150, 60,
          [&] { const LoadResult r = LoadCSV(ReadFileBytes(f16k), options); });
  Measure("pure load, 100000 records (table only past 16383)", 1000, 0,
          [&] { const LoadResult r = LoadCSV(ReadFileBytes(f100k), options); });
  Measure("pure merge of 31 days and load of the merged file", 200, 0, [&] {
    MergeBuffer buffer;
    const MergeOutcome out = MergeFolder(month, QDate(2026, 12, 1), QDate(2026, 12, 31), buffer);
    const LoadResult r = LoadCSV(ReadFileBytes(month + "/" + out.name), options);
  });

  // Through the window: the table view and the 38 chart series, both CSV charts drawn.
  TForm1 form;
  form.resize(1280, 1000);
  form.show();
  QApplication::processEvents();
  auto drawCharts = [&] {
    QApplication::processEvents();
    form.Chart1->grab();
    form.Chart2->grab();
  };
  Measure("window load, 16383 records, two charts drawn", 150, 60, [&] {
    form.LoadCSVFile(f16k, ',');
    drawCharts();
  });
  std::printf("  table rows %d, Series1 points %d\n", form.Grid()->RowCount(),
              form.SeriesById(kSeries1)->Count());
  Measure("window load, 16383 records, again", 150, 60, [&] {
    form.LoadCSVFile(f16k, ',');
    drawCharts();
  });
  Measure("window load, 100000 records, two charts drawn", 1000, 0, [&] {
    form.LoadCSVFile(f100k, ',');
    drawCharts();
  });
  const QString here = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(month));
  form.DateTimePicker1->setDate(QDate(2026, 12, 1));
  form.DateTimePicker2->setDate(QDate(2026, 12, 31));
  Measure("window merge of 31 days with its load, two charts drawn", 200, 0, [&] {
    form.MergeButtonClick();
    drawCharts();
  });
  QDir::setCurrent(here);
  return 0;
}
