#pragma once
// Small helpers the window's files share: memo texts as Windows-1252 bytes and decimal
// numbers.
#include <QPlainTextEdit>
#include <QString>
#include <string>

#include "platform/memolines.h"
#include "platform/widgets.h"

namespace configurator::ui {

// A memo's text as the lines joined by CR LF (no line break after the last line).
std::string MemoText(const QPlainTextEdit* memo);
// Sets a memo's text; CR LF, CR or LF break lines. A zero byte ends the text, as it does in
// a memo of the original platform.
void SetMemoText(QPlainTextEdit* memo, const std::string& bytes);

// Decimal text of a number.
std::string Dec(long long v);

}  // namespace configurator::ui
