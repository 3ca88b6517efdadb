// Members of TForm1 for the IO control page; included inside the class.
void BuildIOControlPage();
