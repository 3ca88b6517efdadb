#include "monitor/chartlayer.h"

#include <QChart>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMetaObject>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "monitor/core/chartmath.h"
#include "platform/core/cp1252.h"
#include "platform/textprinter.h"

namespace monitor {

namespace {

// Size the chart is laid out at for a print: its fonts then come out at about their
// screen size in points on a landscape page.
constexpr double kPrintLayoutWidth = 1000;

}  // namespace

// Draws the horizontal axis' labels and ticks inside the chart's scene, so that they are
// part of every rendering of it (screen and print alike).
class AxisLabelItem : public QGraphicsItem {
 public:
  AxisLabelItem(Chart* view, QChart* chart) : QGraphicsItem(chart), view_(view), chart_(chart) {
    setZValue(100);
  }
  QRectF boundingRect() const override { return QRectF(QPointF(0, 0), chart_->size()); }
  void Changed() {
    prepareGeometryChange();
    update();
  }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    const QRectF plot = chart_->plotArea();
    if (plot.width() <= 0) return;
    const QFont font = view_->LabelFont();
    QFontMetricsF fm(font);
    const std::vector<AxisLabel> labels =
        view_->LabelsFor(plot.width(), LabelLeftRoom(plot.left()), fm);
    if (labels.empty()) return;
    painter->save();
    painter->setFont(font);
    painter->setPen(QPen(QColor(64, 64, 64), 0));
    const double y0 = plot.bottom();
    const double span = std::max(1.0, view_->axisX_->max() - view_->axisX_->min());
    for (const AxisLabel& l : labels) {
      const double x = plot.left() + (l.x - view_->axisX_->min()) / span * plot.width();
      painter->drawLine(QPointF(x, y0), QPointF(x, y0 + 4));
      painter->drawText(QPointF(plot.left() + l.left, y0 + 5 + fm.ascent()), l.text);
    }
    painter->restore();
  }

 private:
  Chart* view_;
  QChart* chart_;
};

// ---------------------------------------------------------------------------- series

ChartSeries::ChartSeries(Chart* chart, std::string name, QLineSeries* qt)
    : chart_(chart), name_(std::move(name)), qt_(qt) {}

void ChartSeries::ApplyStyle() {
  QPen pen(color_);
  pen.setWidth(1);
  pen.setCosmetic(true);
  if (!line_) pen.setStyle(Qt::NoPen);
  qt_->setPen(pen);
  qt_->setColor(color_);
  qt_->setPointsVisible(marks_);
  qt_->setVisible(Draws());
  qt_->setName(platform::FromCp1252(title_));
  const bool inLegend = legend_ && Draws();
  for (QLegendMarker* m : chart_->chart_->legend()->markers(qt_)) m->setVisible(inLegend);
  dirty_ = true;
  chart_->MarkDirty();
}

void ChartSeries::SetTitle(const std::string& title) {
  title_ = title;
  qt_->setName(platform::FromCp1252(title_));
}

void ChartSeries::SetSeriesColor(const QColor& color) {
  color_ = color;
  ApplyStyle();
}

void ChartSeries::SetDrawsLine(bool on) {
  line_ = on;
  ApplyStyle();
}

void ChartSeries::SetPointMarks(bool on) {
  marks_ = on;
  ApplyStyle();
}

void ChartSeries::SetShowInLegend(bool on) {
  legend_ = on;
  ApplyStyle();
}

void ChartSeries::SetHidden() {
  line_ = false;
  marks_ = false;
  legend_ = false;
  ApplyStyle();
}

const std::string& ChartSeries::Label(int x) const {
  static const std::string kNone;
  const std::int32_t i = points_.label(static_cast<std::size_t>(x));
  if (!labels_ || i < 0 || static_cast<std::size_t>(i) >= labels_->size()) return kNone;
  return (*labels_)[static_cast<std::size_t>(i)];
}

void ChartSeries::Clear() {
  points_.clear();
  labels_.reset();
  finite_ = 0;
  dirty_ = true;
  chart_->MarkDirty();
}

void ChartSeries::Assign(PlotSeries points,
                         std::shared_ptr<const std::vector<std::string>> labels) {
  labels_ = std::move(labels);
  points_ = std::move(points);
  const PlotSeries::Range range = points_.FiniteRange();
  low_ = range.low;
  high_ = range.high;
  finite_ = range.finite;
  dirty_ = true;
  chart_->MarkDirty();
}

// ---------------------------------------------------------------------------- chart

// The view is built with its chart: a view built without one makes a default chart that
// setChart() would let go of without deleting.
Chart::Chart(const QString& name, QWidget* parent) : QChartView(new QChart(), parent) {
  setObjectName(name);
  setAccessibleName(name);
  chart_ = QChartView::chart();
  chart_->setAnimationOptions(QChart::NoAnimation);
  chart_->setDropShadowEnabled(false);
  chart_->setBackgroundRoundness(0);
  chart_->setMargins(QMargins(6, 6, 6, 6));
  chart_->setTheme(QChart::ChartThemeLight);
  chart_->setBackgroundBrush(Qt::white);
  // The level lines are white and a trace may be yellow: a silver plot area shows both.
  chart_->setPlotAreaBackgroundBrush(QColor(192, 192, 192));
  chart_->setPlotAreaBackgroundVisible(true);
  QFont titleFont("Arial", 11);
  titleFont.setBold(true);
  chart_->setTitleFont(titleFont);
  chart_->setTitleBrush(Qt::black);
  chart_->legend()->setAlignment(Qt::AlignRight);

  axisX_ = new QValueAxis(chart_);
  axisX_->setRange(0, 1);
  axisX_->setGridLineVisible(false);
  axisX_->setMinorGridLineVisible(false);
  axisX_->setTickCount(2);
  // The value labels stay invisible but keep their room: the point labels go there.
  axisX_->setLabelsBrush(QBrush(Qt::transparent));
  axisX_->setLabelsFont(LabelFont());
  axisX_->setLabelFormat(QStringLiteral("%.0f"));
  chart_->addAxis(axisX_, Qt::AlignBottom);

  axisY_ = new QValueAxis(chart_);
  axisY_->setTickType(QValueAxis::TicksDynamic);
  axisY_->setTickAnchor(0);
  axisY_->setLabelsFont(LabelFont());
  axisY_->setGridLinePen(QPen(QColor(168, 168, 168), 0));
  chart_->addAxis(axisY_, Qt::AlignLeft);

  setRenderHint(QPainter::Antialiasing, false);
  setFrameShape(QFrame::NoFrame);

  labels_ = new AxisLabelItem(this, chart_);
  connect(chart_, &QChart::plotAreaChanged, this, [this](const QRectF&) {
    labels_->Changed();
    Rescale();  // the value labels' spacing follows the height
    if (printBuckets_ == 0 && isVisible() && Buckets() != handedBuckets_) MarkDirty();
  });
  Rescale();
}

Chart::~Chart() = default;

QFont Chart::LabelFont() const {
  // Sized in scene pixels, so that a print scales it with the rest of the chart.
  QFont f = font();
  f.setPixelSize(std::max(1, qRound(8.0 * logicalDpiY() / 72.0)));
  return f;
}

ChartSeries* Chart::AddSeries(const std::string& name) {
  auto* qt = new QLineSeries(chart_);
  qt->setUseOpenGL(false);
  chart_->addSeries(qt);
  qt->attachAxis(axisX_);
  qt->attachAxis(axisY_);
  series_.push_back(std::unique_ptr<ChartSeries>(new ChartSeries(this, name, qt)));
  ChartSeries* s = series_.back().get();
  s->ApplyStyle();
  return s;
}

void Chart::SetTitleLine(const std::string& text) {
  std::string line = text;
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  SetTitleText(line);
}

void Chart::SetTitleText(const std::string& text) {
  title_ = text;
  // Qt reads a chart title as rich text; a name like "Tank <1>" must show as typed.
  QString shown = platform::FromCp1252(text).toHtmlEscaped();
  shown.replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
  shown.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
  shown.replace(QLatin1Char('\r'), QStringLiteral("<br>"));
  chart_->setTitle(shown);
}

std::string Chart::TitleText() const { return title_; }

void Chart::SetTitleFont(const QFont& font) { chart_->setTitleFont(font); }

void Chart::SetMinimumFixed(double value) {
  minAuto_ = false;
  minFixed_ = value;
  Rescale();
}

void Chart::SetMinimumAutomatic() {
  minAuto_ = true;
  Rescale();
}

void Chart::SetMaximumFixed(double value) {
  maxAuto_ = false;
  maxFixed_ = value;
  Rescale();
}

void Chart::SetMaximumAutomatic() {
  maxAuto_ = true;
  Rescale();
}

double Chart::AxisMinimum() {
  Rescale();
  return minNow_;
}

double Chart::AxisMaximum() {
  Rescale();
  return maxNow_;
}

void Chart::SetLegendVisible(bool on) { chart_->legend()->setVisible(on); }

std::vector<std::string> Chart::LegendTitles() const {
  std::vector<std::string> titles;
  if (!chart_->legend()->isVisible()) return titles;
  for (const auto& s : series_) {
    if (s->legend_ && s->Draws()) titles.push_back(s->title_);
  }
  return titles;
}

void Chart::MarkDirty() {
  dirty_ = true;
  if (syncQueued_) return;
  syncQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        syncQueued_ = false;
        if (dirty_) Repaint();
      },
      Qt::QueuedConnection);
}

int Chart::Buckets() const {
  int w = printBuckets_ > 0 ? printBuckets_ : static_cast<int>(chart_->plotArea().width());
  if (w <= 0) w = width();
  return std::max(w, 64);
}

void Chart::HandOver(int buckets) {
  if (buckets != handedBuckets_) {
    // Series drawn from a thinned copy must be thinned again for the new width.
    const int keep = 4 * std::min(buckets, handedBuckets_ > 0 ? handedBuckets_ : buckets);
    for (auto& s : series_) {
      if (s->Count() > keep && s->Draws()) s->dirty_ = true;
    }
    handedBuckets_ = buckets;
  }
  dirty_ = false;
  for (auto& s : series_) {
    if (!s->dirty_) continue;
    s->dirty_ = false;
    QList<QPointF> pts;
    if (s->Draws()) {
      const std::size_t n = s->points_.size();
      if (!s->marks_ && n > 4 * static_cast<std::size_t>(buckets)) {
        const std::vector<std::size_t> picked = DecimatedPoints(s->points_, buckets);
        pts.reserve(static_cast<qsizetype>(picked.size()));
        for (const std::size_t k : picked)
          pts.append(QPointF(static_cast<double>(k), s->points_.value(k)));
      } else {
        pts.reserve(static_cast<qsizetype>(n));
        for (std::size_t i = 0; i < n; ++i) {
          const double y = s->points_.value(i);
          if (std::isfinite(y)) {
            pts.append(QPointF(static_cast<double>(i), y));
          }
        }
      }
    }
    s->qt_->replace(pts);
    if (s->marks_) {
      QHash<int, QHash<QXYSeries::PointConfiguration, QVariant>> conf;
      for (qsizetype q = 0; q < pts.size(); ++q) {
        const Rgb colour = s->points_.colour(static_cast<std::size_t>(pts[q].x()));
        if (colour != s->color_.rgba()) {
          conf[static_cast<int>(q)][QXYSeries::PointConfiguration::Color] =
              QColor::fromRgba(colour);
        }
      }
      s->qt_->setPointsConfiguration(conf);
    }
  }
}

void Chart::Synchronise() {
  HandOver(Buckets());
  Rescale();
}

void Chart::Repaint() {
  // A chart out of sight gets its points and its scales when it is shown: a load then
  // costs only the charts on the page in view.
  if (!isVisible()) {
    dirty_ = true;
    return;
  }
  {
    // Qt lays a series out again on every change of its points or of the axis ranges, so
    // the points go to Qt once: the old ones are dropped, the ranges set and the layout
    // settled first, so the points are thinned for the plot area's final width.
    bool pending = false;
    for (auto& s : series_) {
      if (!s->dirty_) continue;
      pending = true;
      if (s->qt_->count() > 0) s->qt_->clear();
    }
    if (pending) {
      Rescale();
      if (chart_->layout()) chart_->layout()->activate();
    }
    HandOver(Buckets());
  }
  Rescale();
  labels_->Changed();
  chart_->update();
  viewport()->update();
}

void Chart::HoldLayout() {
  if (layoutHeld_) return;
  layoutHeld_ = true;
  chart_->installEventFilter(this);
  chart_->legend()->installEventFilter(this);
}

void Chart::ReleaseLayout() {
  if (!layoutHeld_) return;
  layoutHeld_ = false;
  // Laid out at the size it has now, as a resize or layout request would have laid it out.
  for (QGraphicsWidget* w :
       {static_cast<QGraphicsWidget*>(chart_), static_cast<QGraphicsWidget*>(chart_->legend())}) {
    w->removeEventFilter(this);
    if (QGraphicsLayout* layout = w->layout()) layout->invalidate();
    QCoreApplication::postEvent(w, new QEvent(QEvent::LayoutRequest));
  }
}

bool Chart::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (layoutHeld_ && (type == QEvent::GraphicsSceneResize || type == QEvent::LayoutRequest) &&
      (watched == chart_ || watched == chart_->legend()) && !isVisible())
    return true;  // laid out on release
  return QChartView::eventFilter(watched, event);
}

void Chart::showEvent(QShowEvent* event) {
  QChartView::showEvent(event);
  if (dirty_ || Buckets() != handedBuckets_) Repaint();
}

int Chart::PointCountForAxis() const {
  int n = 0;
  for (const auto& s : series_) n = std::max(n, s->Count());
  return n;
}

void Chart::Rescale() {
  PlotSeries::Range values;
  if (minAuto_ || maxAuto_) {
    for (const auto& s : series_) {
      if (s->finite_ == 0) continue;
      values.low = values.finite == 0 ? s->low_ : std::min(values.low, s->low_);
      values.high = values.finite == 0 ? s->high_ : std::max(values.high, s->high_);
      values.finite += s->finite_;
    }
  }
  const AxisScale scale =
      ScaleAxis({minAuto_, minFixed_, maxAuto_, maxFixed_}, values, chart_->plotArea().height());
  minNow_ = scale.minimum;
  maxNow_ = scale.maximum;
  const double lo2 = scale.low, hi2 = scale.high, interval = scale.interval;
  if (lo2 != axisY_->min() || hi2 != axisY_->max() || interval != axisY_->tickInterval()) {
    // Change range and interval in the order that never asks for a crowd of ticks.
    const double viaInterval = (axisY_->max() - axisY_->min()) / interval;
    const double viaRange = (hi2 - lo2) / std::max(axisY_->tickInterval(), 1e-300);
    if (viaInterval <= viaRange) {
      axisY_->setTickInterval(interval);
      axisY_->setRange(lo2, hi2);
    } else {
      axisY_->setRange(lo2, hi2);
      axisY_->setTickInterval(interval);
    }
    axisY_->setLabelFormat(QStringLiteral("%.") + QString::number(scale.decimals) +
                           QStringLiteral("f"));
  }
  const int n = PointCountForAxis();
  axisX_->setRange(0, std::max(1, n - 1));
}

const ChartSeries* Chart::LabelSource() const {
  const ChartSeries* best = nullptr;
  for (const auto& s : series_) {
    if (!best || s->Count() > best->Count()) best = s.get();
  }
  return best;
}

std::vector<AxisLabel> Chart::LabelsFor(double plotWidth, double leftRoom,
                                        const QFontMetricsF& fm) const {
  std::vector<AxisLabel> out;
  const ChartSeries* src = LabelSource();
  const int n = src ? src->Count() : 0;
  if (n == 0 || plotWidth <= 0) return out;
  const auto width = [&](int i) {
    return fm.horizontalAdvance(platform::FromCp1252(src->Label(i)));
  };
  const int step = LabelStep(n, plotWidth, leftRoom, WidestLabel(n, width));
  for (const PlacedLabel& l : PlaceLabels(n, step, plotWidth, leftRoom, width))
    out.push_back(AxisLabel{l.x, platform::FromCp1252(src->Label(l.x)), l.left});
  return out;
}

void Chart::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  labels_->Changed();
}

void Chart::RenderTo(QPainter& painter, const QRectF& target, const QSizeF& layoutSize) {
  const QSizeF oldSize = chart_->size();
  const QPointF oldPos = chart_->pos();
  chart_->setPos(0, 0);
  chart_->resize(layoutSize);
  // Let the chart lay out its axes, legend and series for the print size, with as many
  // points as the target's pixels can show.
  if (chart_->layout()) chart_->layout()->activate();
  printBuckets_ = std::max(1, static_cast<int>(target.width()));
  Synchronise();
  // A one-pixel cosmetic line is a hairline at a printer's resolution: print the lines one
  // chart pixel wide, scaled with the rest.
  std::vector<QPen> screenPens;
  for (auto& s : series_) {
    screenPens.push_back(s->qt_->pen());
    QPen pen = s->qt_->pen();
    pen.setCosmetic(false);
    pen.setWidthF(1.0);
    s->qt_->setPen(pen);
  }
  labels_->Changed();
  QRectF source(chart_->mapToScene(QPointF(0, 0)), layoutSize);
  scene()->render(&painter, target, source, Qt::KeepAspectRatio);
  for (std::size_t i = 0; i < series_.size(); ++i) series_[i]->qt_->setPen(screenPens[i]);
  printBuckets_ = 0;
  chart_->resize(oldSize);
  chart_->setPos(oldPos);
  if (chart_->layout()) chart_->layout()->activate();
  labels_->Changed();
  MarkDirty();  // back to the screen's thinning when the event loop runs
}

void Chart::Print(platform::TextPrinter& printer, const std::string& job) {
  printer.SetTitle(job);
  printer.RunJob([&] {
    printer.Draw([&](QPainter& painter, const QRect& page) {
      // A small margin, then the chart as large as the page allows.
      const int m = page.width() / 40;
      const QRectF target = QRectF(page).adjusted(m, m, -m, -m);
      const double height = kPrintLayoutWidth * target.height() / target.width();
      RenderTo(painter, target, QSizeF(kPrintLayoutWidth, height));
    });
  });
}

}  // namespace monitor
