// Members of TForm1 for the model variant switch; included inside the class.
// The variant the window is adapted to (mirror of the settings record's flag).
bool RunTimeVariant = false;
// Adapts the window to the standard (false) or the run-time variant (true).
void ApplyModelVariant(bool runTime);
// OnClick of the (invisible) menu item TKM506GM1: toggles the variant and applies it.
void TKM506GM1Click();
// Panel1 on the Analog page: covers the level controls of analog inputs 5 to 8 in the
// run-time variant. Built after the Analog page.
QWidget* Panel1 = nullptr;
void BuildVariantPanel();
// Connects TKM506GM1 to its handler (called while the window is built).
void BindVariantMenu();
