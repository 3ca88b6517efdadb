// Members of TForm1 for the transfers between the FTP server and the working folder;
// included inside the class.
 public:
  // ---- the five transfers, Cancel and the remote file's double click -------------------
  void CopySelectedClick();
  void CopyAllClick();
  void MoveSelectedClick();
  void MoveAllClick();
  void CopyFromDateClick();
  void CancelBtn();  // all five Cancel buttons
  // Fetches the remote file into the viewing folder and opens it in the text editor.
  void FileListBoxFTPDblClick();

  // ---- button groups (Connect and Disconnect use them too) ------------------------------
  void AllButtonsFalse();  // disables the transfer buttons, DisConnectBtn and RefreshBtn
  void AllButtonsTrue();   // enables them
  void RestoreButtons();   // hides the Cancel buttons, shows the transfer buttons

  // Where the double click puts the remote file it opens: a folder of its own under the
  // system's temporary folder, so that viewing never touches the working folder.
  static QString RemoteViewFolder();

 private:
  // One walk over the remote file list (see transfers.cpp).
  struct TransferWalk {
    bool takenAny = false;  // some item was selected (or reached the key)
    bool handledAny = false;  // some file was fetched
    bool cancelled = false;
    std::string refused;  // names that could not be local file names, ", " between
  };
  void BeginTransferRun(QPushButton* own, QPushButton* cancel);
  // At most ten paints a second while a run goes on (see transfers.cpp).
  void ThrottlePainting(bool on);
  class PaintThrottle;
  PaintThrottle* paintThrottle_ = nullptr;
  void EndTransferRun();
  // Runs a transfer's body; an error raised inside ends the run (normal cursor, FTPBusy and
  // CancelRequested clear, buttons usable again) before it reaches the error box.
  template <class Body>
  void RunTransfer(Body&& body);
  template <class Take, class Handle>
  TransferWalk WalkRemoteFiles(int limit, bool writeLocalCount, Take take, Handle handle);
  QString WorkingFolderPath(const std::string& name) const;
  // forMove: the remote file is deleted next (see TFTPClient::Download).
  void DownloadChecked(const std::string& remote, const QString& localPath, bool forMove = false);
  void WriteRemoteCount();
  // Clears and lists the remote folder and writes its count; after a cancelled walk only
  // while the connection is live.
  void RelistUnlessCancelledOffline(const TransferWalk& walk);
  void ReReadLocalAndCount();
  void TellRefusedNames(const std::string& refused);

 protected:
