#pragma once
#include <string>
#include <vector>

class QPlainTextEdit;

namespace platform {

// The lines of a multi-line memo, as the terminal output routines need them.
// Texts are Windows-1252 bytes.
class MemoLines {
 public:
  virtual ~MemoLines() = default;
  // Number of lines; an empty memo counts as one empty line.
  virtual int Count() const = 0;
  // Text of line i; empty when there is no line i.
  virtual std::string Line(int i) const = 0;
  // Replaces line i; line breaks (CR LF, CR or LF) in the text split it into several lines.
  // No effect when there is no line i.
  virtual void SetLine(int i, const std::string& text) = 0;
  // Appends an empty line at the end.
  virtual void AppendEmptyLine() = 0;
  // Removes every line.
  virtual void Clear() = 0;
};

// Splits a text at CR LF, CR or LF.
std::vector<std::string> SplitMemoText(const std::string& text);

// Memo lines kept in memory.
class StringMemo : public MemoLines {
 public:
  int Count() const override;
  std::string Line(int i) const override;
  void SetLine(int i, const std::string& text) override;
  void AppendEmptyLine() override;
  void Clear() override;
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_{std::string()};
};

// The lines of a QPlainTextEdit (one text block per line).
class PlainTextMemo : public MemoLines {
 public:
  explicit PlainTextMemo(QPlainTextEdit* edit) : edit_(edit) {}
  int Count() const override;
  std::string Line(int i) const override;
  void SetLine(int i, const std::string& text) override;
  void AppendEmptyLine() override;
  void Clear() override;
  QPlainTextEdit* Edit() const { return edit_; }

 private:
  QPlainTextEdit* edit_;
};

}  // namespace platform
