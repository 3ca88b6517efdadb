#pragma once
#include <functional>

class QWidget;

namespace platform {

// Calls handler on every double click of the left mouse button in widget (for widgets
// that have no double-click signal of their own, such as a line edit). The widget keeps
// its own handling of the click.
void OnDoubleClick(QWidget* widget, std::function<void()> handler);

}  // namespace platform
