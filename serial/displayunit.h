#pragma once
// Text output into a memo as onto a simple terminal.
#include <string>

#include "platform/memolines.h"

namespace serial {

// The memo line where output continues; one for the whole program, shared by every memo.
extern int MemoLine;

void MemoPutChar(platform::MemoLines& memo, char c);
void MemoWrite(platform::MemoLines& memo, const std::string& text);
void MemoWriteAtTop(platform::MemoLines& memo, const std::string& text);
void MemoWriteLn(platform::MemoLines& memo, const std::string& text);

}  // namespace serial
