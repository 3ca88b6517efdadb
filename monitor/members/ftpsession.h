// Members of TForm1 for the FTP session and remote file management; included inside the class.
