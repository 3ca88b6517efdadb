#pragma once
#include <stdexcept>

namespace platform {

// An error that a handler raises; the application's error box shows it.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace platform
