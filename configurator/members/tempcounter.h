// Members of TForm1 for the Temperature/Counter and RunTime pages; included inside the class.
void BuildTempCounterPages();
