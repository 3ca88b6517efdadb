// Loads 16383 points into each of the monitor's 38 series on thirteen charts and draws the
// CSV page's two charts; prints the time of each step. The monitor's goal is 150 ms for
// the whole load.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "monitor/chartlayer.h"

namespace {

struct Layout {
  const char* chart;
  int series;
  int hidden;  // of those, hidden
  int width, height;
};

// Charts and their series counts as the monitor builds them (38 series).
const Layout kCharts[] = {
    {"Chart1", 4, 0, 457, 264},          {"Chart2", 9, 0, 457, 265},
    {"ChannelChartT1", 4, 0, 1217, 600}, {"ChannelChartC1", 2, 1, 1217, 601},
    {"ChannelChartC2", 2, 1, 1217, 601}, {"ChannelChartA1", 3, 1, 1217, 601},
    {"ChannelChartA2", 2, 1, 1217, 601}, {"ChannelChartA3", 2, 1, 1217, 601},
    {"ChannelChartA4", 2, 1, 1217, 601}, {"ChannelChartA5", 2, 1, 1217, 601},
    {"ChannelChartA6", 2, 1, 1217, 601}, {"ChannelChartA7", 2, 1, 1217, 601},
    {"ChannelChartA8", 2, 1, 1217, 601},
};

double Ms(QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const int points = argc > 1 ? std::atoi(argv[1]) : 16382;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const bool dateLabels = argc > 3;

  std::vector<std::unique_ptr<monitor::Chart>> charts;
  std::vector<monitor::ChartSeries*> series;
  int total = 0;
  for (const Layout& l : kCharts) {
    charts.push_back(std::make_unique<monitor::Chart>(l.chart));
    monitor::Chart& c = *charts.back();
    c.resize(l.width, l.height);
    c.SetMinimumFixed(-1);
    c.SetMaximumAutomatic();
    for (int i = 0; i < l.series; ++i) {
      monitor::ChartSeries* s = c.AddSeries(std::string(l.chart) + "_" + std::to_string(i));
      s->SetTitle(std::to_string(i));
      s->SetSeriesColor(QColor::fromHsv(i * 40 % 360, 255, 200));
      if (i >= l.series - l.hidden) s->SetHidden();
      series.push_back(s);
      ++total;
    }
  }
  charts[0]->show();
  charts[1]->show();
  QCoreApplication::processEvents();
  std::printf("%d charts, %d series, %d points each\n", static_cast<int>(charts.size()), total,
              points);

  for (int r = 0; r < rounds; ++r) {
    QElapsedTimer t;
    t.start();
    for (monitor::ChartSeries* s : series) s->Clear();
    char label[32];
    for (int i = 0; i < points; ++i) {
      if (dateLabels) {
        std::snprintf(label, sizeof label, "%02d.12.26,%02d:%02d:00", 1 + i / 1440 % 28,
                      i / 60 % 24, i % 60);
      } else {
        std::snprintf(label, sizeof label, "%d", i + 1);
      }
      const std::string text(label);
      for (std::size_t k = 0; k < series.size(); ++k) {
        series[k]->Add(static_cast<double>((i * 7 + k * 13) % 1000) / 10.0, text, Qt::black);
      }
    }
    const double added = Ms(t);
    // As the window does after a load: repaint every chart (those out of sight wait until
    // shown), then the CSV page's two charts are drawn.
    for (auto& c : charts) c->Repaint();
    const double synced = Ms(t);
    for (int k = 0; k < 2; ++k) {
      QImage img(charts[k]->size(), QImage::Format_ARGB32_Premultiplied);
      QPainter p(&img);
      charts[k]->render(&p);
    }
    const double drawn = Ms(t);
    std::printf(
        "round %d: add %.1f ms, hand to Qt %.1f ms, draw two charts %.1f ms, "
        "load total %.1f ms\n",
        r + 1, added, synced - added, drawn - synced, drawn);
    // Turning to a channel page: its chart gets its points and is drawn.
    QElapsedTimer page;
    page.start();
    monitor::Chart& channel = *charts[2 + r % 11];
    channel.show();
    QImage img(channel.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    channel.render(&p);
    std::printf("         show and draw %s: %.1f ms\n", channel.objectName().toUtf8().constData(),
                Ms(page));
    channel.hide();
  }
  return 0;
}
