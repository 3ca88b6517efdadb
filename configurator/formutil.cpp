#include "configurator/formutil.h"

#include <QTextBlock>
#include <QTextDocument>

#include "platform/core/cp1252.h"

namespace configurator::ui {

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

std::string Dec(long long v) { return std::to_string(v); }

}  // namespace configurator::ui
