#pragma once
// The state of TForm1's transfers between the FTP server and the working folder.
#include <string>

namespace monitor {

struct TransferMembers {
  // One walk over the remote file list (see transfers.cpp).
  struct TransferWalk {
    bool takenAny = false;    // some item was selected (or reached the key)
    bool handledAny = false;  // some file was fetched
    bool cancelled = false;
    std::string refused;  // names that could not be local file names, ", " between
  };
  // At most ten paints a second while a run goes on (see transfers.cpp).
  class PaintThrottle;
  PaintThrottle* paintThrottle_ = nullptr;
};

}  // namespace monitor
