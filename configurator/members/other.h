// Members of TForm1 for the Other page; included inside the class.
void BuildOtherPage();
