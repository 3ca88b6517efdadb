#include "configurator/formutil.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/cp1252.h"

namespace configurator::ui {

std::string Text(const QLineEdit* edit) {
  return edit ? platform::ToCp1252(edit->text()) : std::string();
}

void SetText(QLineEdit* edit, const std::string& bytes) {
  if (edit) edit->setText(platform::FromCp1252(bytes));
}

std::string MemoText(const QPlainTextEdit* memo) {
  std::string out;
  if (!memo) return out;
  const QTextDocument* doc = memo->document();
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    if (b != doc->begin()) out += "\r\n";
    out += platform::ToCp1252(b.text());
  }
  return out;
}

void SetMemoText(QPlainTextEdit* memo, const std::string& bytes) {
  if (!memo) return;
  const std::string text = bytes.substr(0, bytes.find('\0'));
  const auto lines = platform::SplitMemoText(text);
  QString joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) joined.append(QChar('\n'));
    joined.append(platform::FromCp1252(lines[i]));
  }
  memo->setPlainText(joined);
}

void SetColour(QWidget* w, const QColor& c) {
  if (!w) return;
  QPalette p = w->palette();
  p.setColor(QPalette::Base, c);
  w->setPalette(p);
}

QColor Colour(const QWidget* w) { return w ? w->palette().color(QPalette::Base) : QColor(); }

std::string Dec(long long v) { return std::to_string(v); }

int BarPosition(const QObject* root, const char* name, int fallback) {
  const auto* bar = root->findChild<QScrollBar*>(QString::fromLatin1(name));
  return bar ? bar->value() : fallback;
}

void SetNamedText(QObject* root, const QString& name, const std::string& bytes) {
  SetText(root->findChild<QLineEdit*>(name), bytes);
}

std::string NamedText(const QObject* root, const QString& name, const std::string& fallback) {
  const auto* e = root->findChild<QLineEdit*>(name);
  return e ? Text(e) : fallback;
}

void SetNamedBar(QObject* root, const QString& name, int position) {
  if (auto* bar = root->findChild<QScrollBar*>(name)) bar->setValue(position);
}

void SetNamedCheck(QObject* root, const QString& name, bool checked) {
  if (auto* box = root->findChild<QCheckBox*>(name)) box->setChecked(checked);
}

bool NamedCheck(const QObject* root, const QString& name, bool fallback) {
  const auto* box = root->findChild<QCheckBox*>(name);
  return box ? box->isChecked() : fallback;
}

void SetNamedItem(QObject* root, const QString& name, int item) {
  if (auto* g = root->findChild<platform::RadioGroup*>(name)) g->SetItemIndex(item);
}

int NamedItem(const QObject* root, const QString& name, int fallback) {
  const auto* g = root->findChild<platform::RadioGroup*>(name);
  return g ? g->ItemIndex() : fallback;
}

}  // namespace configurator::ui
