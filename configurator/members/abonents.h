// Members of TForm1 for the Abonents page; included inside the class.
void BuildAbonentsPage();
