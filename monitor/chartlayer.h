#pragma once
// The monitor's chart layer over Qt Charts: a chart widget with a title, a vertical axis
// whose limits are each fixed or automatic, a horizontal axis labelled with the points'
// labels, a legend, and line series in a fixed order.
//
// Points are kept as a load gave them; Qt gets each series' points in one replace() when the
// chart is synchronised: by Repaint(), or by itself once the event loop runs again after
// points were assigned or cleared, and for a chart out of sight when it is shown. A load of
// many points therefore costs one hand-over per series and one rescale, never work per
// point. A series with more points than its chart has pixel columns is handed over
// thinned to each column's first, lowest, highest and last point: the same line drawn. The
// arithmetic (thinning, axis limits and intervals, label steps) is monitor/core/chartmath.
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

  void Clear();
  int Count() const { return static_cast<int>(points_.size()); }
  // The points as the load gave them: X is a point's index, its label an index into the
  // series' labels.
  const PlotSeries& Points() const { return points_; }
  // The label of point x; empty when it has none.
  const std::string& Label(int x) const;
  // Replaces the points by a load's. The series of a load share its one list of labels,
  // so its points and labels are taken over, not copied.
  void Assign(PlotSeries points, std::shared_ptr<const std::vector<std::string>> labels);

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
  PlotSeries points_;
  std::shared_ptr<const std::vector<std::string>> labels_;
  double low_ = 0;
  double high_ = 0;  // smallest and largest finite Y, valid while `finite_` > 0
  std::size_t finite_ = 0;
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
  std::vector<AxisLabel> LabelsFor(double plotWidth, double leftRoom,
                                   const QFontMetricsF& metrics) const;
  QFont LabelFont() const;

  class AxisLabelItem* labels_ = nullptr;

  std::string title_;
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
