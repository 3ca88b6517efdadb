// Terminal-like output into memos, over the in-memory lines and a real QPlainTextEdit.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/cp1252.h"
#include "platform/memolines.h"
#include "serial/displayunit.h"

using namespace serial;
using Lines = std::vector<std::string>;

namespace {

std::vector<std::string> LinesOf(const platform::MemoLines& m) {
  Lines out;
  for (int i = 0; i < m.Count(); ++i) out.push_back(m.Line(i));
  return out;
}

struct Case {
  const char* name;
  Lines before;    // the memo's lines at the start
  int lineBefore;  // MemoLine at the start
  std::function<void(platform::MemoLines&)> act;
  Lines after;
  int lineAfter;
};

const Case kCases[] = {
    {"carriage return changes nothing",
     {"ab"},
     0,
     [](auto& m) { MemoPutChar(m, '\r'); },
     {"ab"},
     0},
    {"tab shows as one blank", {"ab"}, 0, [](auto& m) { MemoPutChar(m, '\t'); }, {"ab "}, 0},
    {"printable character is appended",
     {"ab", "cd"},
     1,
     [](auto& m) { MemoPutChar(m, '~'); },
     {"ab", "cd~"},
     1},
    {"codes above 126 show as blanks",
     {""},
     0,
     [](auto& m) {
       MemoPutChar(m, '\x7F');
       MemoPutChar(m, '\xE9');
       MemoWrite(m, "\x80x\xFF");
     },
     {"   x "},
     0},
    {"line feed appends at the end whatever the line",
     {"a", "b", "c"},
     0,
     [](auto& m) { MemoPutChar(m, '\n'); },
     {"a", "b", "c", ""},
     1},
    {"write turns controls into blanks",
     {"<"},
     0,
     [](auto& m) { MemoWrite(m, "ab\nc"); },
     {"<ab c"},
     0},
    {"write of CR LF and a zero byte",
     {""},
     0,
     [](auto& m) { MemoWrite(m, std::string("OK\r\n\0!", 6)); },
     {"OK   !"},
     0},
    {"write line on an empty memo", {""}, 0, [](auto& m) { MemoWriteLn(m, "ab"); }, {"ab", ""}, 1},
    {"two written lines",
     {""},
     0,
     [](auto& m) {
       MemoWriteLn(m, "one");
       MemoWriteLn(m, "two");
     },
     {"one", "two", ""},
     2},
    {"write at top of a one-line memo",
     {"old"},
     4,
     [](auto& m) { MemoWriteAtTop(m, "word"); },
     {"", "word", ""},
     0},
    {"write after write at top goes to line 0",
     {"old"},
     0,
     [](auto& m) {
       MemoWriteAtTop(m, "word");
       MemoWrite(m, "z");
     },
     {"z", "word", ""},
     0},
    {"write at top keeps the lines below",
     {"a", "b", "c"},
     2,
     [](auto& m) { MemoWriteAtTop(m, "w"); },
     {"", "w", "", "b", "c"},
     0},
    {"write at top leaves the text unchanged",
     {""},
     0,
     [](auto& m) { MemoWriteAtTop(m, "a\tb"); },
     {"", "a\tb", ""},
     0},
    {"write at top then a line feed names the text line",
     {""},
     0,
     [](auto& m) {
       MemoWriteAtTop(m, "w");
       MemoPutChar(m, '\n');
       MemoWrite(m, "+");
     },
     {"", "w+", "", ""},
     1},
    {"write beyond the last line is lost",
     {"only"},
     3,
     [](auto& m) { MemoWrite(m, "lost"); },
     {"only"},
     3},
    {"put char beyond the last line is lost",
     {"only"},
     3,
     [](auto& m) { MemoPutChar(m, 'x'); },
     {"only"},
     3},
    {"line feed beyond the last line still appends",
     {"only"},
     3,
     [](auto& m) {
       MemoPutChar(m, '\n');
       MemoWrite(m, "x");
     },
     {"only", ""},
     4},
    {"emptied memo keeps the current line",
     {"a", "b", "c"},
     2,
     [](auto& m) {
       m.Clear();
       MemoWriteLn(m, "lost");
     },
     {"", ""},
     3},
};

class MemoTerminal : public ::testing::TestWithParam<bool> {
 protected:
  // A memo of the kind the parameter names, holding the given lines.
  std::unique_ptr<platform::MemoLines> MakeMemo(const Lines& lines) {
    if (!GetParam()) {
      auto m = std::make_unique<platform::StringMemo>();
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) m->AppendEmptyLine();
        m->SetLine(static_cast<int>(i), lines[i]);
      }
      return m;
    }
    edit_ = std::make_unique<QPlainTextEdit>();
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i) text += '\n';
      text += platform::FromCp1252(lines[i]);
    }
    edit_->setPlainText(text);
    return std::make_unique<platform::PlainTextMemo>(edit_.get());
  }
  std::unique_ptr<QPlainTextEdit> edit_;
};

TEST_P(MemoTerminal, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto memo = MakeMemo(c.before);
    ASSERT_EQ(LinesOf(*memo), c.before);
    MemoLine = c.lineBefore;
    c.act(*memo);
    EXPECT_EQ(LinesOf(*memo), c.after);
    EXPECT_EQ(MemoLine, c.lineAfter);
  }
  MemoLine = 0;
}

// One current line for every memo: output into one moves the other's too.
TEST_P(MemoTerminal, CurrentLineIsSharedByAllMemos) {
  auto first = MakeMemo({""});
  platform::StringMemo second;
  MemoLine = 0;
  MemoWriteLn(*first, "sent");
  MemoWrite(second, "lost");  // line 1 of the second memo doesn't exist
  EXPECT_EQ(LinesOf(second), Lines{""});
  MemoWriteAtTop(second, "top");
  MemoWrite(*first, "!");
  EXPECT_EQ(LinesOf(*first), (Lines{"sent!", ""}));
  MemoLine = 0;
}

INSTANTIATE_TEST_SUITE_P(Memos, MemoTerminal, ::testing::Values(false, true), [](const auto& info) {
  return info.param ? "PlainTextMemo" : "StringMemo";
});

}  // namespace
