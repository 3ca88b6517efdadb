#include "monitor/form.h"

namespace monitor {

void TForm1::StartupConnect() {
  // The FTP session's Connect (ConnectBtnClick) runs here once the FTP client exists.
}

void TForm1::ExitDisconnect() {
  // With the FTP client, a dropped connection runs Disconnect here, which resets the
  // transfer page (and closes the window, since ExitRequested is set).
}

}  // namespace monitor
