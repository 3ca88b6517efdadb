#include "platform/memolines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/core/cp1252.h"

namespace platform {

std::vector<std::string> SplitMemoText(const std::string& text) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.emplace_back();
    } else {
      out.back().push_back(c);
    }
  }
  return out;
}

int StringMemo::Count() const { return lines_.empty() ? 1 : static_cast<int>(lines_.size()); }

std::string StringMemo::Line(int i) const {
  if (i < 0 || i >= static_cast<int>(lines_.size())) return {};
  return lines_[static_cast<std::size_t>(i)];
}

void StringMemo::SetLine(int i, const std::string& text) {
  if (lines_.empty()) lines_.emplace_back();
  if (i < 0 || i >= static_cast<int>(lines_.size())) return;
  auto parts = SplitMemoText(text);
  lines_[static_cast<std::size_t>(i)] = parts[0];
  lines_.insert(lines_.begin() + i + 1, parts.begin() + 1, parts.end());
}

void StringMemo::AppendEmptyLine() {
  if (lines_.empty()) lines_.emplace_back();
  lines_.emplace_back();
}

void StringMemo::Clear() { lines_.assign(1, std::string()); }

int PlainTextMemo::Count() const { return edit_->document()->blockCount(); }

std::string PlainTextMemo::Line(int i) const {
  const QTextBlock b = edit_->document()->findBlockByNumber(i);
  if (!b.isValid()) return {};
  return ToCp1252(b.text());
}

void PlainTextMemo::SetLine(int i, const std::string& text) {
  const QTextBlock b = edit_->document()->findBlockByNumber(i);
  if (!b.isValid()) return;
  QTextCursor c(b);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  const auto parts = SplitMemoText(text);
  QString joined;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k) joined.append(QChar('\n'));
    joined.append(FromCp1252(parts[k]));
  }
  c.insertText(joined);
}

void PlainTextMemo::AppendEmptyLine() {
  QTextCursor c(edit_->document());
  c.movePosition(QTextCursor::End);
  c.insertBlock();
}

void PlainTextMemo::Clear() { edit_->clear(); }

}  // namespace platform
