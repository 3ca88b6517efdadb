#pragma once
// Captions of a window as a person sees them: each caption (a button's, box's, label's or
// group's text) must show whole, lie inside its parent, keep off its siblings and stay inside
// its group's frame, clear of the group's title. A panel raised over a part of a page to hide
// it (a plain frame filled with the background) hides what it covers, which is then not
// measured.
#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QWidget>

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

// What a caption shows, blanks simplified; empty for a widget without one.
inline QString CaptionOf(const QWidget* w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text().simplified();
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text().simplified();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title().simplified();
  return {};
}

namespace detail {
// Widgets a toolkit composite builds for itself: not the window's captions.
inline bool InsideComposite(const QWidget* w, const QWidget* root) {
  for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
    if (qobject_cast<const QCalendarWidget*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
        qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractItemView*>(p) ||
        qobject_cast<const QTabBar*>(p))
      return true;
  return false;
}

// A plain frame raised over its siblings to hide them.
inline bool IsCover(const QWidget* w) {
  return w->metaObject() == &QFrame::staticMetaObject && w->autoFillBackground() &&
         w->children().isEmpty();
}

inline bool Covered(const QWidget* w, const QWidget* root) {
  for (const QWidget* at = w; at && at != root; at = at->parentWidget()) {
    const QWidget* parent = at->parentWidget();
    if (!parent) break;
    const auto siblings = parent->children();
    const auto mine = siblings.indexOf(const_cast<QWidget*>(at));
    for (qsizetype i = mine + 1; i < siblings.size(); ++i) {  // later children lie above
      auto* s = qobject_cast<QWidget*>(siblings[i]);
      if (s && s->isVisibleTo(root) && IsCover(s) && s->geometry().contains(at->geometry()))
        return true;
    }
  }
  return false;
}

inline std::string Name(const QWidget* w) {
  const QString caption = CaptionOf(w);
  return (w->objectName().isEmpty() ? QString("\"%1\"").arg(caption)
                                    : w->objectName() + " \"" + caption + "\"")
      .toStdString();
}

// Room a check box or radio button's indicator and the space after it take.
inline int IndicatorRoom(const QAbstractButton* b) {
  const bool radio = qobject_cast<const QRadioButton*>(b) != nullptr;
  return b->style()->pixelMetric(
             radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, b) +
         b->style()->pixelMetric(
             radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
             b);
}

// The title of a group and its frame, in the group's own coordinates.
inline QRect GroupPart(const QGroupBox* g, QStyle::SubControl part) {
  QStyleOptionGroupBox opt;
  opt.initFrom(g);
  opt.text = g->title();
  opt.lineWidth = 1;
  opt.midLineWidth = 0;
  opt.textAlignment = g->alignment();
  opt.subControls = QStyle::SC_GroupBoxFrame;
  if (!g->title().isEmpty()) opt.subControls |= QStyle::SC_GroupBoxLabel;
  if (g->isFlat()) opt.features |= QStyleOptionFrame::Flat;
  return g->style()->subControlRect(QStyle::CC_GroupBox, &opt, part, g);
}

// The pixels a text drawn in `box` with `align` covers, in the same coordinates as `box`.
inline QRect TextInk(const QFontMetrics& fm, const QString& text, Qt::Alignment align,
                     const QRect& box, Qt::LayoutDirection direction) {
  if (text.trimmed().isEmpty()) return {};
  const QRect line =
      QStyle::alignedRect(direction, align, QSize(fm.horizontalAdvance(text), fm.height()), box);
  return fm.tightBoundingRect(text).translated(line.left(), line.top() + fm.ascent());
}

// Where a widget draws, in its parent's coordinates: a label or a group title the pixels of
// its text, a check box or radio button its indicator and text, a group its frame, any other
// widget all of it.
inline QRect Ink(const QWidget* w) {
  const QFontMetrics fm(w->font());
  const QRect g = w->geometry();
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->wordWrap() || l->textFormat() == Qt::RichText) return g;
    Qt::Alignment align = l->alignment();
    if (!(align & Qt::AlignVertical_Mask)) align |= Qt::AlignTop;
    return TextInk(fm, l->text(), align, l->contentsRect(), l->layoutDirection())
               .translated(g.topLeft()) &
           g;
  }
  if (auto* b = qobject_cast<const QAbstractButton*>(w);
      b && !qobject_cast<const QPushButton*>(w)) {
    const bool radio = qobject_cast<const QRadioButton*>(b) != nullptr;
    const int iw = b->style()->pixelMetric(
        radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, b);
    const int ih = b->style()->pixelMetric(
        radio ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight, nullptr, b);
    QRect ink(0, (b->height() - ih) / 2, iw, ih);
    const QRect textBox(IndicatorRoom(b), 0, b->width() - IndicatorRoom(b), b->height());
    ink |= TextInk(fm, b->text(), Qt::AlignLeft | Qt::AlignVCenter, textBox, b->layoutDirection());
    return ink.translated(g.topLeft()) & g;
  }
  if (auto* gb = qobject_cast<const QGroupBox*>(w))
    return QRect(0, 0, gb->width(), gb->height()).translated(g.topLeft());
  return g;
}

// True when the caption's text needs more room than the widget gives it.
inline bool Cut(const QWidget* w) {
  const QFontMetrics fm(w->font());
  const QString text = w->property("text").toString().trimmed();
  if (auto* b = qobject_cast<const QPushButton*>(w))  // the style's minimum size is no need
    return b->width() < fm.horizontalAdvance(text) + 8 || b->height() < fm.height() + 2;
  if (auto* b = qobject_cast<const QAbstractButton*>(w))
    return w->width() < IndicatorRoom(b) + fm.horizontalAdvance(text) || w->height() < fm.height();
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->wordWrap()) return l->heightForWidth(l->width()) > l->height();
    return l->width() < fm.horizontalAdvance(text) + 2 * l->margin() + l->frameWidth() * 2 ||
           l->height() < fm.height();
  }
  if (auto* g = qobject_cast<const QGroupBox*>(w)) {
    const QRect title = GroupPart(g, QStyle::SC_GroupBoxLabel);
    return title.width() < fm.horizontalAdvance(g->title().trimmed()) ||
           !GroupPart(g, QStyle::SC_GroupBoxFrame)
                .contains(QRect(title.left(), title.center().y(), title.width(), 1));
  }
  return false;
}
}  // namespace detail

// The inside of a group's frame line, in the group's own coordinates. Fusion draws the line
// below the title, the other styles through the title's middle, around SC_GroupBoxFrame.
inline QRect GroupInside(const QGroupBox* g) {
  QRect frame = detail::GroupPart(g, QStyle::SC_GroupBoxFrame);
  if (QApplication::style()->name().compare("fusion", Qt::CaseInsensitive) == 0) {
    constexpr int kFusionTopMargin = 3;
    frame.setTop(
        g->title().isEmpty() && !g->isCheckable()
            ? kFusionTopMargin
            : std::max(g->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, g),
                       QFontMetrics(g->font()).height()) +
                  kFusionTopMargin);
  }
  return frame.adjusted(1, 1, -1, -1);
}

// Where a group's title is drawn, in the group's own coordinates.
inline QRect GroupTitleInk(const QGroupBox* g) {
  const QRect box = detail::GroupPart(g, QStyle::SC_GroupBoxLabel);
  return detail::TextInk(QFontMetrics(g->font()), g->title(), Qt::AlignLeft | Qt::AlignVCenter, box,
                         g->layoutDirection());
}

// Every caption under `root` that is cut, leaves its parent, lies over a sibling or over its
// group's frame; one line each.
inline std::vector<std::string> CaptionFaults(QWidget* root) {
  std::vector<std::string> faults;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (CaptionOf(w).isEmpty() || !w->isVisibleTo(root) || detail::InsideComposite(w, root) ||
        detail::Covered(w, root))
      continue;
    const std::string name = detail::Name(w);
    QWidget* parent = w->parentWidget();
    const QRect ink = detail::Ink(w);
    // Two captions side by side read as one unless a blank's width lies between them.
    const int gap = (QFontMetrics(w->font()).horizontalAdvance(' ') + 1) / 2;
    const QRect apart = ink.adjusted(-gap, 0, gap, 0);
    if (detail::Cut(w)) faults.push_back(name + " cut");
    if (auto* g = qobject_cast<QGroupBox*>(parent)) {
      if (!GroupInside(g).contains(ink) || ink.intersects(GroupTitleInk(g)))
        faults.push_back(name + " over the frame of " + detail::Name(g));
    } else if (!parent->rect().contains(ink)) {
      faults.push_back(name + " outside " + detail::Name(parent));
    }
    for (QObject* o : parent->children()) {
      auto* s = qobject_cast<QWidget*>(o);
      if (!s || s == w || !s->isVisibleTo(root) || s->isWindow() || detail::Covered(s, root))
        continue;
      const bool beside =
          qobject_cast<QLabel*>(w) && qobject_cast<QLabel*>(s) && !CaptionOf(s).isEmpty();
      if ((beside ? apart : ink).intersects(detail::Ink(s)))
        faults.push_back(name + " over " + detail::Name(s));
    }
  }
  return faults;
}

// A font as a desktop sets it for every application, by family and size.
struct DesktopFont {
  const char* family;
  int points;
  QFont font() const { return QFont(QString::fromLatin1(family), points); }
};
// Shown in a test's name as e.g. DejaVuSerif10.
inline void PrintTo(const DesktopFont& f, std::ostream* os) {
  *os << QString::fromLatin1(f.family).remove(' ').toStdString() << f.points;
}
inline std::string FontName(const DesktopFont& f) {
  std::ostringstream os;
  PrintTo(f, &os);
  return os.str();
}

// The name assistive technology announces for a widget.
inline QString AccessibleName(QWidget* w) {
  QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(w);
  return acc ? acc->text(QAccessible::Name) : QString();
}

// The buttons, boxes and groups under `root` whose announced name is not their caption, or
// that have no name at all; the toolkit's own buttons of menu and tab bars aside.
inline std::vector<std::string> Misnamed(QWidget* root) {
  std::vector<std::string> wrong;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QGroupBox*>(w)) continue;
    if (w->objectName().startsWith("qt_") || detail::InsideComposite(w, root) ||
        (w->parentWidget() && w->parentWidget()->inherits("QTabBar")))
      continue;
    const QString caption = CaptionOf(w), name = AccessibleName(w).simplified();
    if (caption.isEmpty() ? name.isEmpty() : name != caption)
      wrong.push_back(w->objectName().toStdString() + ": \"" + name.toStdString() + "\" for \"" +
                      caption.toStdString() + "\"");
  }
  return wrong;
}

}  // namespace testsupport
