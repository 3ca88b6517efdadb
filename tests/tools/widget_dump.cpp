// Prints every widget and action of one program's window, one line each: the path of object
// names, the class, the caption, the accessible name, the geometry, visibility and enabled
// state. Two dumps of the same build and folder compare line by line; a restructuring of the
// window code must leave them identical.
//
//   widget_dump configurator|monitor [--variant] [--grab FOLDER]
//
// Runs in the current folder (so a TK5063.cfg or csv.cfg there is restored) on the offscreen
// platform; message boxes are answered OK and printed. --variant switches the configurator to
// the other model variant before the dump; --grab saves each page of the window as
// FOLDER/page<n>.png.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "configurator/form.h"
#include "monitor/form.h"
#include "platform/messagebox.h"

namespace {

QString Oneline(QString s) {
  s.replace('\r', "\\r");
  s.replace('\n', "\\n");
  return s;
}

QString Caption(QObject* o) {
  if (auto* a = qobject_cast<QAction*>(o))
    return a->text() + (a->isCheckable() ? (a->isChecked() ? " [x]" : " [ ]") : "");
  if (auto* b = qobject_cast<QAbstractButton*>(o))
    return b->text() + (b->isCheckable() ? (b->isChecked() ? " [x]" : " [ ]") : "");
  if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
  if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text();
  if (auto* p = qobject_cast<QPlainTextEdit*>(o)) return p->toPlainText();
  if (auto* s = qobject_cast<QAbstractSlider*>(o))
    return QString("%1 [%2..%3]").arg(s->value()).arg(s->minimum()).arg(s->maximum());
  if (auto* c = qobject_cast<QComboBox*>(o)) {
    QStringList items;
    for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
    return QString("%1 {%2}").arg(c->currentIndex()).arg(items.join('|'));
  }
  if (auto* t = qobject_cast<QTabWidget*>(o)) {
    QStringList tabs;
    for (int i = 0; i < t->count(); ++i) tabs << t->tabText(i);
    return QString("%1 {%2}").arg(t->currentIndex()).arg(tabs.join('|'));
  }
  if (auto* l = qobject_cast<QListWidget*>(o)) {
    QStringList items;
    for (int i = 0; i < l->count(); ++i) items << l->item(i)->text();
    return QString("{%1}").arg(items.join('|'));
  }
  if (auto* t = qobject_cast<QTableWidget*>(o))
    return QString("%1x%2").arg(t->rowCount()).arg(t->columnCount());
  if (auto* m = qobject_cast<QMenu*>(o)) return m->title();
  if (auto* w = qobject_cast<QMainWindow*>(o)) return w->windowTitle();
  return {};
}

void Dump(QObject* o, const QString& path) {
  const QString name = o->objectName().isEmpty() ? "-" : o->objectName();
  const QString here = path.isEmpty() ? name : path + "/" + name;
  QString line = here + "  " + o->metaObject()->className() + "  \"" + Oneline(Caption(o)) + "\"";
  if (auto* w = qobject_cast<QWidget*>(o)) {
    const QRect g = w->geometry();
    line += QString("  acc=\"%1\"  %2,%3 %4x%5  %6%7")
                .arg(Oneline(w->accessibleName()))
                .arg(g.x())
                .arg(g.y())
                .arg(g.width())
                .arg(g.height())
                .arg(w->isVisibleTo(w->window()) ? "shown" : "hidden")
                .arg(w->isEnabled() ? "" : " disabled");
  } else if (auto* a = qobject_cast<QAction*>(o)) {
    line += QString("  %1%2")
                .arg(a->isVisible() ? "shown" : "hidden")
                .arg(a->isEnabled() ? "" : " disabled");
  } else {
    return;  // timers, layouts, sockets: not part of the window
  }
  std::printf("%s\n", line.toUtf8().constData());
  for (QObject* c : o->children()) Dump(c, here);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc < 2 || (std::strcmp(argv[1], "configurator") && std::strcmp(argv[1], "monitor"))) {
    std::fprintf(stderr, "usage: widget_dump configurator|monitor [--variant] [--grab FOLDER]\n");
    return 2;
  }
  QApplication app(argc, argv);
  platform::SetMessageHook([](const platform::MessageRequest& r) {
    std::printf("BOX \"%s\" \"%s\"\n",
                Oneline(QString::fromLatin1(r.text.c_str())).toUtf8().constData(),
                r.caption.c_str());
    return platform::Answer::Ok;
  });
  std::unique_ptr<QMainWindow> form;
  if (!std::strcmp(argv[1], "configurator")) {
    platform::SetApplicationTitle("TK5063SM");
    auto f = std::make_unique<configurator::TForm1>();
    for (int i = 2; i < argc; ++i)
      if (!std::strcmp(argv[i], "--variant")) f->TKM506GM1->trigger();
    form = std::move(f);
  } else {
    platform::SetApplicationTitle("Fernlog");
    form = std::make_unique<monitor::TForm1>();
  }
  form->show();
  QCoreApplication::processEvents();
  Dump(form.get(), {});
  for (int i = 2; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--grab")) continue;
    auto* pages = form->findChild<QTabWidget*>("PageControl1");
    for (int p = 0; pages && p < pages->count(); ++p) {
      pages->setCurrentIndex(p);
      QCoreApplication::processEvents();
      form->grab().save(QString("%1/page%2.png").arg(argv[i + 1]).arg(p));
    }
  }
  platform::SetMessageHook(nullptr);
  return 0;
}
