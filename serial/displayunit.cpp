#include "serial/displayunit.h"

namespace serial {

int MemoLine = 0;

namespace {
bool Printable(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 32 && u <= 126;
}

// Joins text to the end of line MemoLine; lost when the memo has no such line.
void AppendToCurrentLine(platform::MemoLines& memo, const std::string& text) {
  if (MemoLine < 0 || MemoLine >= memo.Count()) return;
  memo.SetLine(MemoLine, memo.Line(MemoLine) + text);
}
}  // namespace

void MemoPutChar(platform::MemoLines& memo, char c) {
  if (c == '\r') return;
  if (c == '\n') {
    memo.AppendEmptyLine();
    ++MemoLine;
    return;
  }
  AppendToCurrentLine(memo, std::string(1, Printable(c) ? c : ' '));
}

void MemoWrite(platform::MemoLines& memo, const std::string& text) {
  std::string shown = text;
  for (char& c : shown)
    if (!Printable(c)) c = ' ';
  AppendToCurrentLine(memo, shown);
}

void MemoWriteAtTop(platform::MemoLines& memo, const std::string& text) {
  MemoLine = 0;
  memo.SetLine(0, "\r\n" + text + "\r\n");
}

void MemoWriteLn(platform::MemoLines& memo, const std::string& text) {
  MemoWrite(memo, text);
  MemoPutChar(memo, '\n');
}

}  // namespace serial
