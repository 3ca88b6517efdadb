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

#include "platform/core/cp1252.h"
#include "platform/textprinter.h"

namespace monitor {

namespace {

// The smallest of 1, 2, 5 times a power of ten that is at least `raw`.
double NiceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * p >= raw * (1 - 1e-9)) return m * p;
  }
  return 10 * p;
}

int NiceIntStep(double raw) {
  if (raw <= 1) return 1;
  const double s = NiceStep(raw);
  return s >= std::numeric_limits<int>::max() / 2 ? std::numeric_limits<int>::max() / 2
                                                  : static_cast<int>(std::ceil(s - 1e-9));
}

// Size the chart is laid out at for a print: its fonts then come out at about their
// screen size in points on a landscape page.
constexpr double kPrintLayoutWidth = 1000;

constexpr std::size_t kInitialRoom = 16384;  // points: the monitor plots up to 16383 records
constexpr double kLabelGap = 10;             // pixels kept free between two axis labels
constexpr double kLabelOverhang = 20;        // how far a label may reach past the plot area
constexpr double kLabelEdge = 4;             // pixels kept free at the chart's left edge

// How far the first label may reach left of the plot area: into the room below the value
// labels, so that it can stand centred under its point.
double LeftRoom(const QRectF& plot) { return std::max(kLabelOverhang, plot.left() - kLabelEdge); }

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
    int step = 1;
    const std::vector<AxisLabel> labels = view_->LabelsFor(plot.width(), LeftRoom(plot), fm, &step);
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

ChartPoint ChartSeries::Point(int x) const {
  const PlotPoint& p = points_.at(static_cast<std::size_t>(x));
  return ChartPoint{p.value, chart_->PooledLabel(p.label), QColor::fromRgba(p.colour)};
}

const std::string& ChartSeries::Label(int x) const {
  return chart_->PooledLabel(points_.at(static_cast<std::size_t>(x)).label);
}

int ChartSeries::Add(double y, const std::string& label, const QColor& color) {
  const int x = Count();
  // Room for a whole load at the first point: a load never moves its points around, and
  // room left unused is never touched (large blocks are mapped page by page).
  if (points_.capacity() == 0) points_.reserve(kInitialRoom);
  const std::int32_t pooled = chart_->PoolLabel(label, labelHint_);
  labelHint_ = static_cast<std::size_t>(pooled) + 1;
  points_.push_back(PlotPoint{y, color.rgba(), pooled});
  if (std::isfinite(y)) {
    if (finite_ == 0) {
      low_ = high_ = y;
    } else {
      low_ = std::min(low_, y);
      high_ = std::max(high_, y);
    }
    ++finite_;
  }
  if (!dirty_) {
    dirty_ = true;
    chart_->MarkDirty();
  }
  return x;
}

void ChartSeries::Clear() {
  points_.clear();
  finite_ = 0;
  labelHint_ = 0;
  chart_->DropLabelsWhenEmpty();
  dirty_ = true;
  chart_->MarkDirty();
}

void ChartSeries::Reserve(int n) {
  if (n > 0) points_.reserve(static_cast<std::size_t>(n));
}

void ChartSeries::Assign(PlotSeries points,
                         std::shared_ptr<const std::vector<std::string>> labels) {
  Clear();
  bool others = false;  // points of other series that index the chart's present labels
  for (const auto& s : chart_->series_) others = others || !s->points_.empty();
  if (others && chart_->pool_ != labels) {
    // Labels from two lists in one chart: the chart pools them point by point.
    static const std::string kNone;
    for (const PlotPoint& p : points) {
      const bool known =
          labels && p.label >= 0 && static_cast<std::size_t>(p.label) < labels->size();
      Add(p.value, known ? (*labels)[static_cast<std::size_t>(p.label)] : kNone,
          QColor::fromRgba(p.colour));
    }
    return;
  }
  chart_->pool_ = std::move(labels);
  chart_->ownPool_ = nullptr;
  points_ = std::move(points);
  const PlotSeries::Range range = points_.FiniteRange();
  low_ = range.low;
  high_ = range.high;
  finite_ = range.finite;
  labelHint_ =
      points_.empty() ? 0 : static_cast<std::size_t>(points_.label(points_.size() - 1)) + 1;
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

std::int32_t Chart::PoolLabel(const std::string& label, std::size_t hint) {
  // A new load: once every series is empty the old labels are no longer referenced.
  DropLabelsWhenEmpty();
  if (!ownPool_) {
    // Points added to a load's labels: the chart goes on with a copy of its own.
    auto own = pool_ ? std::make_shared<std::vector<std::string>>(*pool_)
                     : std::make_shared<std::vector<std::string>>();
    ownPool_ = own.get();
    pool_ = std::move(own);
  }
  std::vector<std::string>& pool = *ownPool_;
  // The series of one chart carry the labels of the same records in the same order, so
  // a later series finds its label where the first one put it, or one record further on
  // when a record gave it no point.
  for (std::size_t at : {hint, hint + 1}) {
    if (at < pool.size() && pool[at] == label) return static_cast<std::int32_t>(at);
  }
  if (!pool.empty() && pool.back() == label) return static_cast<std::int32_t>(pool.size() - 1);
  if (pool.capacity() == 0) pool.reserve(kInitialRoom);
  pool.push_back(label);
  return static_cast<std::int32_t>(pool.size() - 1);
}

const std::string& Chart::PooledLabel(std::int32_t index) const {
  static const std::string kNone;
  if (!pool_ || index < 0 || static_cast<std::size_t>(index) >= pool_->size()) return kNone;
  return (*pool_)[static_cast<std::size_t>(index)];
}

void Chart::DropLabelsWhenEmpty() {
  for (const auto& s : series_) {
    if (!s->points_.empty()) return;
  }
  pool_.reset();
  ownPool_ = nullptr;
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

ChartSeries* Chart::FindSeries(const std::string& name) const {
  for (const auto& s : series_) {
    if (s->Name() == name) return s.get();
  }
  return nullptr;
}

void Chart::ClearAll() {
  for (auto& s : series_) s->Clear();
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

namespace {

// Appends the points of `pts` that a line drawn `buckets` columns wide can show: per
// column its first, lowest, highest and last point, in order. The drawn line is the same
// as with every point, at a fraction of the work.
void AppendDecimated(const PlotSeries& pts, int buckets, QList<QPointF>& out) {
  const long long n = static_cast<long long>(pts.size());
  long long i = 0;
  while (i < n) {
    const long long b = i * buckets / n;
    long long end = ((b + 1) * n + buckets - 1) / buckets;  // first index of the next column
    if (end <= i) end = i + 1;
    if (end > n) end = n;
    long long first = -1, last = -1, lo = -1, hi = -1;
    double loY = 0, hiY = 0;
    for (long long k = i; k < end; ++k) {
      const double y = pts.value(static_cast<std::size_t>(k));
      if (!std::isfinite(y)) continue;
      if (first < 0) {
        first = lo = hi = k;
        loY = hiY = y;
      }
      last = k;
      if (y < loY) {
        lo = k;
        loY = y;
      }
      if (y > hiY) {
        hi = k;
        hiY = y;
      }
    }
    if (first >= 0) {
      long long pick[4] = {first, std::min(lo, hi), std::max(lo, hi), last};
      long long prev = -1;
      for (long long k : pick) {
        if (k == prev) continue;
        out.append(QPointF(static_cast<double>(k), pts.value(static_cast<std::size_t>(k))));
        prev = k;
      }
    }
    i = end;
  }
}

}  // namespace

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
        pts.reserve(static_cast<qsizetype>(4 * buckets));
        AppendDecimated(s->points_, buckets, pts);
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
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  if (minAuto_ || maxAuto_) {
    for (const auto& s : series_) {
      if (s->finite_ == 0) continue;
      lo = std::min(lo, s->low_);
      hi = std::max(hi, s->high_);
    }
  }
  const bool any = lo <= hi;
  double mn = minAuto_ ? (any ? lo : 0) : minFixed_;
  double mx = maxAuto_ ? (any ? hi : 0) : maxFixed_;
  if (mx <= mn) {
    if (maxAuto_) {
      mx = mn + 1;
    } else if (minAuto_) {
      mn = mx - 1;
    }
  }
  minNow_ = mn;
  maxNow_ = mx;
  double lo2 = mn, hi2 = mx, interval = 0;
  if (mx > mn) {
    // About one value label per 32 pixels of height, so that none is crowded out.
    const double h = chart_->plotArea().height();
    const int ticks = h > 0 ? std::clamp(static_cast<int>(h / 32), 2, 12) : 10;
    interval = NiceStep((mx - mn) / ticks);
  } else {
    // Two equal fixed limits: draw a unit range around them rather than nothing.
    lo2 = mn - 0.5;
    hi2 = mx + 0.5;
    interval = 0.5;
  }
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
    int decimals = 0;
    if (interval < 1) decimals = static_cast<int>(std::ceil(-std::log10(interval) - 1e-9));
    axisY_->setLabelFormat(QStringLiteral("%.") + QString::number(std::min(decimals, 6)) +
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

std::vector<AxisLabel> Chart::LabelsFor(double plotWidth, double leftRoom, const QFontMetricsF& fm,
                                        int* stepOut) const {
  std::vector<AxisLabel> out;
  const ChartSeries* src = LabelSource();
  const int n = src ? src->Count() : 0;
  if (stepOut) *stepOut = 1;
  if (n == 0 || plotWidth <= 0) return out;
  // Widest label among a sample: labels of one load are much alike in length.
  double widest = 0;
  const int samples = std::min(n, 64);
  for (int k = 0; k < samples; ++k) {
    const int i =
        samples == 1 ? 0 : static_cast<int>(static_cast<long long>(k) * (n - 1) / (samples - 1));
    widest = std::max(widest, fm.horizontalAdvance(platform::FromCp1252(
                                  PooledLabel(src->points_.label(static_cast<std::size_t>(i))))));
  }
  const double span = std::max(1, n - 1);
  const double perPoint = plotWidth / span;
  // Two labels a step apart must not touch; the first one, held back from the chart's left
  // edge, may stand right of centre and needs the more room.
  const double need = std::max(widest, 1.5 * widest - leftRoom) + kLabelGap;
  const double raw = need / perPoint;
  // A round step reads best, unless rounding up would leave far fewer labels than fit.
  int step = NiceIntStep(raw);
  const double fit = span / std::max(1.0, std::ceil(raw));
  if (span / step < 0.5 * fit) step = static_cast<int>(std::min(span, std::ceil(raw)));
  step = std::max(step, 1);
  if (stepOut) *stepOut = step;
  double lastRight = -std::numeric_limits<double>::infinity();
  for (long long i = 0; i < n; i += step) {
    const QString text =
        platform::FromCp1252(PooledLabel(src->points_.label(static_cast<std::size_t>(i))));
    const double x = static_cast<double>(i) * perPoint;
    const double w = fm.horizontalAdvance(text);
    // Centred under its point, but kept within reach of the plot area's ends.
    const double left =
        std::clamp(x - w / 2, -leftRoom, std::max(-leftRoom, plotWidth + kLabelOverhang - w));
    // A label wider than the sample's widest must still not run into its neighbour.
    if (left < lastRight + kLabelGap && !out.empty()) continue;
    out.push_back(AxisLabel{static_cast<int>(i), text, left});
    lastRight = left + w;
  }
  return out;
}

std::vector<AxisLabel> Chart::VisibleLabels() {
  Rescale();
  int step = 1;
  return LabelsFor(chart_->plotArea().width(), LeftRoom(chart_->plotArea()),
                   QFontMetricsF(LabelFont()), &step);
}

int Chart::LabelStep() {
  Rescale();
  int step = 1;
  LabelsFor(chart_->plotArea().width(), LeftRoom(chart_->plotArea()), QFontMetricsF(LabelFont()),
            &step);
  return step;
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
