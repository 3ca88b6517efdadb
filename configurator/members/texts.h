// Members of TForm1 for the External SMS, Int/Ext SMS and IOname pages; included inside the class.
void BuildTextPages();
