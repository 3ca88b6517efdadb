#pragma once
// How well a window's texts stand out from the ground they are drawn on, measured in pixels:
// each text control is grabbed once with its text (a sample text in an edit, a memo, a list or
// a box; its own caption on a label, a button, a group or a tab) and once without; the pixels
// that differ are the text's, and the strongest of them against the ground beneath it gives
// the control's contrast ratio (relative luminance as WCAG defines it, 1 to 21).
// Disabled controls are left out (no contrast is asked of them), and so is whatever a toolkit
// composite draws of its own (a calendar's cells); a spin box's or an editable box's text is
// measured on the box that holds it.
#include <QAbstractButton>
#include <QApplication>
#include <QAbstractSpinBox>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "support/captions.h"

namespace testsupport {

using platform::ContrastRatio;

// The contrast of the text that `with` shows and `without` lacks: the strongest of the pixels
// that differ, against the same pixel without the text; 1 when no pixel differs (no text shows).
inline double InkContrast(const QImage& with, const QImage& without) {
  const QImage a = with.convertToFormat(QImage::Format_RGB32);
  const QImage b = without.convertToFormat(QImage::Format_RGB32);
  double best = 1;
  if (a.size() != b.size()) return best;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        best = std::max(best, ContrastRatio(QColor(a.pixel(x, y)), QColor(b.pixel(x, y))));
  return best;
}

struct TextContrast {
  std::string name;
  double ratio;
};

namespace detail {
// The widget on which a text control's text is seen: a spin box's or a box's edit is part of
// the box.
inline QWidget* Holder(QWidget* w) {
  QWidget* holder = w;
  for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
    if (qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p)) holder = p;
  return holder;
}

// Grabs `on` after `put(text)` and after `put(none)`, then restores with `put(before)`.
inline double Measure(QWidget* on, const std::function<void(const QString&)>& put,
                      const QString& before, const QString& text, const QString& none = {}) {
  put(text);
  const QImage with = on->grab().toImage();
  put(none);
  const QImage without = on->grab().toImage();
  put(before);
  return InkContrast(with, without);
}

// A caption's own text against blanks of its length, which keep a group's frame and a tab's
// width as they are.
inline double MeasureCaption(QWidget* on, const std::function<void(const QString&)>& put,
                             const QString& caption) {
  return Measure(on, put, caption, caption, QString(caption.size(), ' '));
}
}  // namespace detail

// The contrast of every enabled text control shown under `root` (edits, memos, labels,
// buttons, groups' titles, boxes, lists and tabs), each with `sample` as its text.
inline std::vector<TextContrast> TextContrasts(QWidget* root,
                                               const QString& sample = QStringLiteral("Wg8#")) {
  std::vector<TextContrast> out;
  auto add = [&](QWidget* w, const QString& what, double ratio) {
    out.push_back({(w->objectName().isEmpty() ? std::string(w->metaObject()->className())
                                              : w->objectName().toStdString()) +
                       (what.isEmpty() ? "" : " " + what.toStdString()),
                   ratio});
  };
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(root) || !w->isEnabled() || w->width() <= 0 || w->height() <= 0) continue;
    const QSignalBlocker quiet(w);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      add(w, {},
          detail::Measure(
              detail::Holder(e), [e](const QString& t) { e->setText(t); }, e->text(), sample));
      continue;
    }
    if (detail::InsideComposite(w, root)) continue;
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
      add(w, {},
          detail::Measure(
              m, [m](const QString& t) { m->setPlainText(t); }, m->toPlainText(), sample));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
      if (l->pixmap().isNull() && !l->text().trimmed().isEmpty())
        add(w, {},
            detail::MeasureCaption(
                l, [l](const QString& t) { l->setText(t); }, l->text()));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      if (!b->text().trimmed().isEmpty())
        add(w, {},
            detail::MeasureCaption(
                b, [b](const QString& t) { b->setText(t); }, b->text()));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      if (!g->title().trimmed().isEmpty())
        add(w, {},
            detail::MeasureCaption(
                g, [g](const QString& t) { g->setTitle(t); }, g->title()));
    } else if (auto* c = qobject_cast<QComboBox*>(w); c && !c->isEditable()) {
      const bool empty = c->count() == 0;
      if (empty) c->addItem(QString());
      const int i = std::max(0, c->currentIndex());
      c->setCurrentIndex(i);
      add(w, {},
          detail::Measure(
              c, [c, i](const QString& t) { c->setItemText(i, t); }, c->itemText(i), sample));
      if (empty) c->clear();
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
      auto* item = new QListWidgetItem;
      list->insertItem(0, item);
      list->scrollToItem(item);
      add(w, {},
          detail::Measure(
              list->viewport(), [item](const QString& t) { item->setText(t); }, QString(), sample));
      delete item;
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i)
        add(w, tabs->tabText(i),
            detail::MeasureCaption(
                tabs, [tabs, i](const QString& t) { tabs->setTabText(i, t); }, tabs->tabText(i)));
    }
  }
  return out;
}

// The texts under `root` that fall below `least`, one line each with their ratio.
inline std::vector<std::string> FaintTexts(QWidget* root, double least = 4.5) {
  std::vector<std::string> faint;
  for (const TextContrast& t : TextContrasts(root))
    if (t.ratio < least) faint.push_back(t.name + " " + std::to_string(t.ratio).substr(0, 4));
  return faint;
}

// A dark desktop palette, as a GTK desktop's dark theme hands it to the toolkit.
inline QPalette DarkPalette() {
  QPalette p;
  auto set = [&p](QPalette::ColorRole role, const char* colour, const char* disabled = nullptr) {
    p.setColor(role, QColor(colour));
    if (disabled) p.setColor(QPalette::Disabled, role, QColor(disabled));
  };
  set(QPalette::Window, "#323232");
  set(QPalette::WindowText, "#f0f0f0", "#828282");
  set(QPalette::Base, "#242424", "#323232");
  set(QPalette::AlternateBase, "#2b2b2b");
  set(QPalette::Text, "#f0f0f0", "#828282");
  set(QPalette::Button, "#323232");
  set(QPalette::ButtonText, "#f0f0f0", "#828282");
  set(QPalette::BrightText, "#4b4b4b");
  set(QPalette::Light, "#4b4b4b");
  set(QPalette::Midlight, "#2a2a2a");
  set(QPalette::Mid, "#262626");
  set(QPalette::Dark, "#212121", "#bebebe");
  set(QPalette::Shadow, "#191919", "#252525");
  set(QPalette::Highlight, "#308cc6", "#919191");
  set(QPalette::HighlightedText, "#f0f0f0");
  set(QPalette::PlaceholderText, "#f0f0f0");
  set(QPalette::ToolTipBase, "#ffffdc");
  set(QPalette::ToolTipText, "#000000");
  return p;
}

// The dark palette as the application's while it lives: windows built meanwhile take it.
class DarkDesktop {
 public:
  DarkDesktop() { QApplication::setPalette(DarkPalette()); }
  ~DarkDesktop() { QApplication::setPalette(before_); }
  DarkDesktop(const DarkDesktop&) = delete;
  DarkDesktop& operator=(const DarkDesktop&) = delete;

 private:
  QPalette before_ = QApplication::palette();
};

}  // namespace testsupport
