#pragma once
// The state of TForm1's FTP session: the client and what a listing collects.
#include <QStringList>
#include <string>
#include <vector>

namespace monitor {

class TFTPClient;

struct FtpSessionMembers {
  // The window's FTP client (monitor/ftpclient.h), made with the window; its events are
  // bound to the window's FTPClient1... handlers. The window deletes it before its widgets,
  // so a live connection still says goodbye ("QUIT") and its disconnect event finds the
  // status bar.
  TFTPClient* FTPClient1 = nullptr;
  // The listing collected so far (see ShowListedItems): names as the server's bytes, lines
  // as shown.
  std::vector<std::string> listedFiles_, listedFolders_;
  QStringList listedLines_;
  bool connectFailureTold_ = false;  // this Connect's failure has shown its message
};

}  // namespace monitor
