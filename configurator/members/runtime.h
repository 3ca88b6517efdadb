#pragma once
// Controls of the "RunTime" page.
#include <array>

class QPushButton;

namespace configurator {

struct RunTimePageControls {
  // The sixteen "Write" buttons by input level (0, 1) and counter mask (0..7): Button27..
  // Button20 for level 0, Button28..Button35 for level 1.
  std::array<std::array<QPushButton*, 8>, 2> RunTimeWrite{};
};

}  // namespace configurator
