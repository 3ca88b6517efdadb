#include "platform/textprinter.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

#include "platform/core/cp1252.h"
#include "platform/messagebox.h"

namespace platform {

namespace {

constexpr int kLayoutDpi = 300;  // the resolution the page coordinates are given in

DefaultPrinterHook& Hook() {
  static DefaultPrinterHook hook;
  return hook;
}

}  // namespace

struct TextPrinter::Impl {
  Target target = Target::Recorder;
  std::unique_ptr<QPrinter> printer;  // Printer and Pdf
  std::string pdfPath;
  QSize portrait{2550, 3300};  // Recorder
  std::unique_ptr<QPicture> picture;
  std::unique_ptr<QPainter> painter;
  std::string title;
  Orientation orientation = Orientation::Portrait;
  int page = 0;
  std::string fontName = "Arial";
  int fontSize = 10;
  int fontStretch = 100;
  QColor color = Qt::black;
  std::vector<PrintedText> recorded;
  int draws = 0;

  // Device pixels per page pixel.
  double Scale() const {
    if (!printer) return 1.0;
    return static_cast<double>(printer->resolution()) / kLayoutDpi;
  }
  QSize PageSize() const {
    if (!printer) {
      return orientation == Orientation::Landscape ? portrait.transposed() : portrait;
    }
    QPageLayout layout = printer->pageLayout();
    layout.setOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    return layout.paintRectPixels(kLayoutDpi).size();
  }
  QFont Font() const {
    QFont f(FromCp1252(fontName));
    f.setPointSize(fontSize > 0 ? fontSize : 1);
    if (fontStretch != 100) f.setStretch(std::clamp(fontStretch, 1, 4000));
    const QString lower = f.family().toLower();
    // Typewriter faces fall back to a monospaced face when the name is not installed.
    if (lower.contains(QStringLiteral("cour")) || lower.contains(QStringLiteral("curr"))) {
      f.setStyleHint(QFont::TypeWriter);
    }
    return f;
  }
};

TextPrinter::TextPrinter(std::unique_ptr<Impl> impl) : d_(std::move(impl)) {}

TextPrinter::~TextPrinter() {
  if (Printing()) Abort();
}

std::unique_ptr<TextPrinter> TextPrinter::Default() {
  if (Hook()) {
    std::unique_ptr<TextPrinter> p = Hook()();
    if (!p) throw Error("There is no default printer currently selected");
    return p;
  }
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull() || info.printerName().isEmpty()) {
    throw Error("There is no default printer currently selected");
  }
  auto impl = std::make_unique<Impl>();
  impl->target = Target::Printer;
  impl->printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (!impl->printer->isValid()) throw Error("Printer selected is not valid");
  impl->orientation = impl->printer->pageLayout().orientation() == QPageLayout::Landscape
                          ? Orientation::Landscape
                          : Orientation::Portrait;
  return std::unique_ptr<TextPrinter>(new TextPrinter(std::move(impl)));
}

std::unique_ptr<TextPrinter> TextPrinter::Recorder(QSize portraitPage) {
  auto impl = std::make_unique<Impl>();
  impl->target = Target::Recorder;
  impl->portrait = portraitPage;
  return std::unique_ptr<TextPrinter>(new TextPrinter(std::move(impl)));
}

std::unique_ptr<TextPrinter> TextPrinter::Pdf(const std::string& path) {
  auto impl = std::make_unique<Impl>();
  impl->target = Target::Pdf;
  impl->pdfPath = path;
  impl->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  impl->printer->setOutputFormat(QPrinter::PdfFormat);
  impl->printer->setOutputFileName(QString::fromStdString(path));
  impl->printer->setResolution(kLayoutDpi);
  impl->printer->setPageLayout(
      QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  return std::unique_ptr<TextPrinter>(new TextPrinter(std::move(impl)));
}

void TextPrinter::SetTitle(const std::string& title) { d_->title = title; }
std::string TextPrinter::Title() const { return d_->title; }

void TextPrinter::SetOrientation(Orientation orientation) { d_->orientation = orientation; }
TextPrinter::Orientation TextPrinter::GetOrientation() const { return d_->orientation; }

void TextPrinter::BeginDoc() {
  if (Printing()) throw Error("Printing in progress");
  d_->page = 0;
  d_->recorded.clear();
  d_->draws = 0;
  d_->painter = std::make_unique<QPainter>();
  bool ok = false;
  if (d_->printer) {
    d_->printer->setDocName(FromCp1252(d_->title));
    d_->printer->setPageOrientation(
        d_->orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    ok = d_->painter->begin(d_->printer.get());
  } else {
    d_->picture = std::make_unique<QPicture>();
    ok = d_->painter->begin(d_->picture.get());
  }
  if (!ok) {
    d_->painter.reset();
    d_->picture.reset();
    if (d_->target == Target::Pdf) throw Error("Cannot create the file " + d_->pdfPath);
    throw Error("Printer selected is not valid");
  }
}

void TextPrinter::EndDoc() {
  if (!Printing()) throw Error("Printer is not printing");
  const bool ok = d_->painter->end();
  d_->painter.reset();
  d_->picture.reset();
  if (!ok) throw Error("The document could not be printed");
}

void TextPrinter::RunJob(const std::function<void()>& body) {
  BeginDoc();
  try {
    body();
    EndDoc();
  } catch (...) {
    Abort();
    throw;
  }
}

void TextPrinter::Abort() {
  if (!Printing()) return;
  if (d_->printer && d_->target == Target::Printer) d_->printer->abort();
  d_->painter->end();
  d_->painter.reset();
  d_->picture.reset();
  // A half-written file is no document: don't leave it behind.
  if (d_->target == Target::Pdf) QFile::remove(QString::fromStdString(d_->pdfPath));
}

bool TextPrinter::Printing() const { return d_->painter != nullptr; }

int TextPrinter::PageWidth() const { return d_->PageSize().width(); }
int TextPrinter::PageHeight() const { return d_->PageSize().height(); }
int TextPrinter::PageNumber() const { return d_->page; }

void TextPrinter::NewPage() {
  if (!Printing()) throw Error("Printer is not printing");
  if (d_->printer && !d_->printer->newPage()) throw Error("The printer could not start a page");
  ++d_->page;
}

void TextPrinter::SetFont(const std::string& name, int pointSize, const QColor& color,
                          int stretch) {
  d_->fontName = name;
  d_->fontSize = pointSize;
  d_->fontStretch = stretch;
  d_->color = color;
}

void TextPrinter::TextOut(int x, int y, const std::string& text) {
  if (!Printing()) throw Error("Printer is not printing");
  if (d_->target == Target::Recorder) {
    d_->recorded.push_back(
        PrintedText{d_->page, x, y, text, d_->fontName, d_->fontSize, d_->color, d_->fontStretch});
  }
  if (text.empty()) return;
  QPainter& p = *d_->painter;
  const QFont font = d_->Font();
  p.setFont(font);
  p.setPen(d_->color);
  const double s = d_->Scale();
  const QFontMetricsF fm(font, p.device());
  p.drawText(QPointF(x * s, y * s + fm.ascent()), FromCp1252(text));
}

int TextPrinter::TextWidth(const std::string& text) const {
  // Measured on a 300 dpi surface, the resolution of the page coordinates.
  QImage probe(1, 1, QImage::Format_Mono);
  const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
  probe.setDotsPerMeterX(dotsPerMeter);
  probe.setDotsPerMeterY(dotsPerMeter);
  const QFontMetricsF fm(d_->Font(), &probe);
  return static_cast<int>(std::ceil(fm.horizontalAdvance(FromCp1252(text))));
}

void TextPrinter::Draw(const std::function<void(QPainter& painter, const QRect& page)>& paint) {
  if (!Printing()) throw Error("Printer is not printing");
  ++d_->draws;
  QRect page;
  if (d_->printer) {
    page = QRect(QPoint(0, 0),
                 d_->printer->pageLayout().paintRectPixels(d_->printer->resolution()).size());
  } else {
    page = QRect(QPoint(0, 0), d_->PageSize());
  }
  d_->painter->save();
  paint(*d_->painter, page);
  d_->painter->restore();
}

const std::vector<PrintedText>& TextPrinter::Recorded() const { return d_->recorded; }
int TextPrinter::DrawCount() const { return d_->draws; }
TextPrinter::Target TextPrinter::GetTarget() const { return d_->target; }

void SetDefaultPrinterHook(DefaultPrinterHook hook) { Hook() = std::move(hook); }

}  // namespace platform
