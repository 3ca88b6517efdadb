#pragma once
// The monitor's chart layer over Qt Charts: a chart widget with a title, a vertical axis
// whose limits are each fixed or automatic, a horizontal axis labelled with the points'
// labels, a legend, and line series in a fixed order.
//
// Points are kept in plain vectors; Qt gets each series' points in one replace() when the
// chart is synchronised: by Repaint(), or by itself once the event loop runs again after
// points were added or cleared, and for a chart out of sight when it is shown. A load of
// many points therefore costs one hand-over per series and one rescale, never work per
// point. A series with more points than its chart has pixel columns is handed over
// thinned to each column's first, lowest, highest and last point: the same line drawn.
#include <QChartView>
#include <QColor>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "monitor/core/load.h"

class QLineSeries;
class QValueAxis;
class QFontMetricsF;

namespace platform {
class TextPrinter;
}

namespace monitor {

class Chart;

// One point: X is its index in the series (0 first).
struct ChartPoint {
  double y = 0;
  std::string label;  // Windows-1252 bytes
  QColor color;
};

class ChartSeries {
 public:
  // The component name, e.g. "TraceSeries1".
  const std::string& Name() const { return name_; }

  void SetTitle(const std::string& title);  // shown in the legend
  const std::string& Title() const { return title_; }
  // The colour of the line (and of the legend marker); a point's colour doesn't change it.
  void SetSeriesColor(const QColor& color);
  QColor SeriesColor() const { return color_; }
  void SetDrawsLine(bool on);
  bool DrawsLine() const { return line_; }
  void SetPointMarks(bool on);  // marks drawn in each point's colour
  bool PointMarks() const { return marks_; }
  void SetShowInLegend(bool on);
  bool ShowInLegend() const { return legend_; }
  // No line, no marks, not in the legend; its points still count for automatic limits.
  void SetHidden();
  bool Hidden() const { return !line_ && !marks_; }
  // Whether the series draws anything at all (a line or marks).
  bool Draws() const { return line_ || marks_; }

  // Appends a point with X = Count() before the call; returns that X.
  int Add(double y, const std::string& label, const QColor& color);
  void Clear();
  int Count() const { return static_cast<int>(points_.size()); }
  ChartPoint Point(int x) const;
  double Y(int x) const { return points_.at(static_cast<std::size_t>(x)).value; }
  const std::string& Label(int x) const;
  QColor PointColor(int x) const {
    return QColor::fromRgba(points_.at(static_cast<std::size_t>(x)).colour);
  }
  // Reserves room for n points (a load knows its record count).
  void Reserve(int n);
  // Replaces the points by a load's, as if each had been added in order: a point's label
  // is labels[point.label] (none when out of range). The chart's series share `labels`,
  // so a load keeps one copy of its labels and its points are taken over, not copied.
  void Assign(PlotSeries points, std::shared_ptr<const std::vector<std::string>> labels);
  void Assign(std::vector<PlotPoint> points,
              std::shared_ptr<const std::vector<std::string>> labels) {
    Assign(PlotSeries(std::move(points)), std::move(labels));
  }

  // The Qt series behind it (for tests and printing only).
  QLineSeries* QtSeries() const { return qt_; }

 private:
  friend class Chart;
  ChartSeries(Chart* chart, std::string name, QLineSeries* qt);
  void ApplyStyle();

  Chart* chart_;
  std::string name_;
  QLineSeries* qt_;
  std::string title_;
  QColor color_ = Qt::black;
  bool line_ = true;
  bool marks_ = false;
  bool legend_ = true;
  // Points as kept: the label is an index into the chart's label pool, since every series
  // of a record carries the same label.
  PlotSeries points_;
  double low_ = 0;
  double high_ = 0;  // smallest and largest finite Y, valid while `finite_` > 0
  std::size_t finite_ = 0;
  std::size_t labelHint_ = 0;  // pool index after the last point's label
  bool dirty_ = false;
};

// One label drawn on the horizontal axis.
struct AxisLabel {
  int x = 0;  // point index
  QString text;
  double left = 0;  // left edge as drawn, in pixels from the plot area's left
};

class Chart : public QChartView {
  Q_OBJECT
 public:
  // `name` is the component name and becomes the objectName (e.g. "ChannelChartT1").
  explicit Chart(const QString& name, QWidget* parent = nullptr);
  ~Chart() override;

  // Series are kept in the order added; the chart owns them.
  ChartSeries* AddSeries(const std::string& name);
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  ChartSeries* Series(int i) const { return series_.at(static_cast<std::size_t>(i)).get(); }
  ChartSeries* FindSeries(const std::string& name) const;  // nullptr when absent
  void ClearAll();                                         // empties every series

  // Title: empties the title lines and adds the text as the one line (line breaks in it
  // become blanks), or replaces the title text as it stands.
  void SetTitleLine(const std::string& text);
  void SetTitleText(const std::string& text);
  std::string TitleText() const;  // Windows-1252 bytes
  void SetTitleFont(const QFont& font);

  // Vertical axis limits: a fixed value never moves; an automatic minimum follows the
  // smallest and an automatic maximum the largest Y among all series, hidden ones too.
  void SetMinimumFixed(double value);
  void SetMinimumAutomatic();
  void SetMaximumFixed(double value);
  void SetMaximumAutomatic();
  bool MinimumAutomatic() const { return minAuto_; }
  bool MaximumAutomatic() const { return maxAuto_; }
  // The limits in effect for the points as they stand. With no points an automatic limit is 0;
  // an automatic limit that would meet or cross the other one stands 1 away from it.
  double AxisMinimum();
  double AxisMaximum();

  void SetLegendVisible(bool on);
  // Entries of the legend as shown: the titles of the series that draw and show in it.
  std::vector<std::string> LegendTitles() const;

  // Rescales, relabels and schedules a redraw; pending points go to Qt now when the chart
  // is in sight, else when it is shown.
  void Repaint();
  // The labels of the horizontal axis at the current width, every LabelStep()-th point's:
  // a round step (1, 2, 5 times a power of ten) unless that would show fewer than half the
  // labels that fit. Neighbour labels never overlap.
  std::vector<AxisLabel> VisibleLabels();
  int LabelStep();

  // Hands pending points to Qt and rescales now (no redraw); Repaint calls it.
  void Synchronise();

  // Prints the chart alone on one page of `printer`, in the orientation the caller set, as
  // one job titled `job`. A failure drops the job and raises platform::Error.
  void Print(platform::TextPrinter& printer, const std::string& job);

  // Holds back Qt's layout of the chart while it is out of sight, until ReleaseLayout():
  // a window's charts on pages not shown at its start lay out once it has been painted,
  // at the size they have then. A chart shown meanwhile lays out as always.
  void HoldLayout();
  void ReleaseLayout();

  // Draws the chart as it would look at `layoutSize` logical pixels, scaled into `target`
  // of the painter (aspect kept). Printing uses it; the widget on screen is not touched.
  void RenderTo(QPainter& painter, const QRectF& target, const QSizeF& layoutSize);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class ChartSeries;
  friend class AxisLabelItem;
  void MarkDirty();
  void Rescale();
  int Buckets() const;
  void HandOver(int buckets);
  const ChartSeries* LabelSource() const;
  int PointCountForAxis() const;
  // The labels that fit in the plot area as it stands (screen or print geometry);
  // `leftRoom` is the free width left of the plot area, below the value labels.
  std::vector<AxisLabel> LabelsFor(double plotWidth, double leftRoom, const QFontMetricsF& metrics,
                                   int* step) const;
  QFont LabelFont() const;

  class AxisLabelItem* labels_ = nullptr;

  // The pool index of a label; `hint` is where the series expects it (its next record's).
  std::int32_t PoolLabel(const std::string& label, std::size_t hint);
  // The label of a pool index; empty when there is none.
  const std::string& PooledLabel(std::int32_t index) const;
  // Forgets the labels once every series is empty.
  void DropLabelsWhenEmpty();

  std::string title_;
  // The labels of the series' points: a load's own list, shared by the charts it filled,
  // or the chart's own pool (`ownPool_` set) once points were added one by one.
  std::shared_ptr<const std::vector<std::string>> pool_;
  std::vector<std::string>* ownPool_ = nullptr;
  QChart* chart_;
  QValueAxis* axisX_;
  QValueAxis* axisY_;
  std::vector<std::unique_ptr<ChartSeries>> series_;
  bool minAuto_ = false;
  bool maxAuto_ = false;
  double minFixed_ = 0;
  double maxFixed_ = 100;
  double minNow_ = 0;
  double maxNow_ = 100;
  bool syncQueued_ = false;
  bool dirty_ = false;
  int handedBuckets_ = 0;  // the width the Qt series were last thinned for
  int printBuckets_ = 0;   // while printing: the target's width
  bool layoutHeld_ = false;
};

}  // namespace monitor
