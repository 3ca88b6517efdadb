// Members of TForm1 for the GPRS, FTP page; included inside the class.
void BuildGprsPage();
