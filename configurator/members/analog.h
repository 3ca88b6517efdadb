// Members of TForm1 for the Analog page; included inside the class.
void BuildAnalogPage();
