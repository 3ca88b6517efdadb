// Members of TForm1 for the transfers between the FTP server and the working folder;
// included inside the class.
