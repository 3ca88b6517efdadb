// Members of TForm1 for the FTP session and remote file management; included inside the class.
 public:
  // The window's FTP client (monitor/ftpclient.h), made with the window; its events are
  // bound to the FTPClient1... handlers below. It is destroyed before the window's widgets,
  // so a live connection still says goodbye ("QUIT") and its disconnect event finds the
  // status bar.
  class TFTPClient* FTPClient1 = CreateFTPClient();

  // A handler that needs the server: FTPConnected set and the client still connected.
  bool FTPLive() const;
  // Empties the folder list, the remote file list and Memo1, then lists the current remote
  // folder, which refills them (FTPClient1ListItem).
  void ClearAndList();
  // cSTATUS and StatusLine: "FTP Connected" or "FTP Disconnected" in their colours.
  void ShowConnectionState(bool connected);

  // ---- FTP client events ---------------------------------------------------------------
  void FTPClient1Success(int code);
  void FTPClient1Failure(bool& handled, int code);
  void FTPClient1UnSupportedFunction(int code);
  void FTPClient1Connect();
  void FTPClient1Disconnect();
  void FTPClient1TransactionStart();
  void FTPClient1TransactionStop();
  void FTPClient1PacketRecvd(qint64 received, qint64 total);
  void FTPClient1PacketSent(qint64 sent, qint64 total);
  void FTPClient1HostResolved();
  void FTPClient1InvalidHost(bool& handled);
  void FTPClient1Error(int number, const std::string& text);
  void FTPClient1ConnectionFailed();
  void FTPClient1ListItem(const std::string& line);
  void FTPClient1Status(const std::string& text);

  // ---- user commands -------------------------------------------------------------------
  void ConnectBtnClick();
  void DisConnectBtnClick();
  void RefreshBtnClick();
  void FileListBoxFTPdirDblClick();
  void sDirectoryDblClick();
  void FileListBoxFTPClick();
  void DeleteAllFTPButtonEnableClick();
  void MenuItem1Click();    // remote file list menu "Delete"
  void DeleteAllFTPClick(); // remote file list menu "Delete All"
  void DeleteFTPdirClick(); // folder list menu "Delete"
  void MkDirFTPbtnClick();
  void RenameDirFTPbtnClick();
  void Timer1Timer();

 private:
  TFTPClient* CreateFTPClient();
  // Empties the folder list, the remote file list and Memo1.
  void ClearRemoteLists();
  // Lists the current remote folder into the remote lists and Memo1.
  void ListRemote();
  // Puts the listing lines collected so far into the remote lists and Memo1.
  void ShowListedItems();
  QStringList listedFiles_, listedFolders_, listedLines_;
  // A remote management command: the hourglass while `command` runs, then clear and list.
  void RunRemoteCommand(const std::function<void()>& command);
  // Make Dir and Rename Dir: a live connection and a usable name in MakeDirFTP, then
  // `command` with that name.
  void RunWithNewDirName(const std::function<void(const std::string&)>& command);
  bool connectFailureTold_ = false;  // this Connect's failure has shown its message
  struct FTPClientOwner {
    TFTPClient*& client;
    ~FTPClientOwner();
  } ftpClientOwner_{FTPClient1};

 protected:
