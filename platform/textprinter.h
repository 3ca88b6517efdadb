#pragma once
// A printer with a text canvas: the system's default printer, a PDF file, or a recording
// canvas for tests.
//
// Coordinates are printer pixels of a 300 dpi page (a US letter page is 2550 x 3300 of
// them). On a printer of another resolution every coordinate is scaled by dpi / 300, so
// the fixed layouts (the table print's 150/240 start, 36 pitch) keep their size on paper
// and an 8 pt font never overlaps its neighbour lines. On a 300 dpi printer the
// coordinates are the device's own pixels. The recording canvas records the unscaled
// coordinates.
#include <QColor>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace platform {

// One text written on a page, as the recording canvas keeps it.
struct PrintedText {
  int page = 0;  // 0 first
  int x = 0;     // top left corner, page pixels (300 dpi)
  int y = 0;
  std::string text;  // Windows-1252 bytes as written
  std::string font;  // font name as set
  int size = 0;      // points
  QColor color;
  int stretch = 100;  // letter width in percent
};

class TextPrinter {
 public:
  enum class Orientation { Portrait, Landscape };

  // The system's default printer with its default settings. Raises Error("There is no
  // default printer currently selected") when there is none and Error("Printer selected
  // is not valid") when it cannot print. Goes through the hook when one is set.
  static std::unique_ptr<TextPrinter> Default();
  // A canvas that prints nothing and records every text (page size in 300 dpi pixels,
  // portrait; landscape swaps it).
  static std::unique_ptr<TextPrinter> Recorder(QSize portraitPage = QSize(2550, 3300));
  // A PDF file (US letter, 300 dpi) written at EndDoc.
  static std::unique_ptr<TextPrinter> Pdf(const std::string& path);

  ~TextPrinter();
  TextPrinter(const TextPrinter&) = delete;
  TextPrinter& operator=(const TextPrinter&) = delete;

  // Before BeginDoc.
  void SetTitle(const std::string& title);  // the print job's title
  std::string Title() const;
  void SetOrientation(Orientation orientation);
  Orientation GetOrientation() const;

  // Starts the job; raises Error when the printer cannot start it.
  void BeginDoc();
  // Hands the document to the spooler (or writes the file); raises Error on failure.
  void EndDoc();
  // Drops the job; nothing is printed. Harmless when no job is open.
  void Abort();
  bool Printing() const;
  // BeginDoc, body, EndDoc as one job; anything that fails in it drops the job (Abort)
  // and goes on up.
  void RunJob(const std::function<void()>& body);

  // Page size in 300 dpi pixels, orientation included.
  int PageWidth() const;
  int PageHeight() const;
  int PageNumber() const;  // 0 first; while printing
  void NewPage();

  // Font of the texts that follow: name, size in points, colour, and the width of its
  // letters in percent of their natural width (narrower letters, same height).
  void SetFont(const std::string& name, int pointSize, const QColor& color, int stretch = 100);
  // Writes a text (Windows-1252 bytes) with its top left corner at (x, y) in page pixels.
  void TextOut(int x, int y, const std::string& text);
  // Width of a text in the current font, in page pixels.
  int TextWidth(const std::string& text) const;

  // Paints on the current page with the painter in device coordinates; `page` is the
  // whole page in device pixels. Used for pictures (charts).
  void Draw(const std::function<void(QPainter& painter, const QRect& page)>& paint);

  // Recording canvas only: every text written, in order, and the number of Draw calls.
  const std::vector<PrintedText>& Recorded() const;
  int DrawCount() const;

  enum class Target { Printer, Pdf, Recorder };
  Target GetTarget() const;

 private:
  struct Impl;
  explicit TextPrinter(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> d_;
};

// Tests replace the default printer: the hook's printer is used in its place, and a hook
// that returns nullptr means "no default printer". An empty function restores the real one.
using DefaultPrinterHook = std::function<std::unique_ptr<TextPrinter>()>;
void SetDefaultPrinterHook(DefaultPrinterHook hook);

}  // namespace platform
