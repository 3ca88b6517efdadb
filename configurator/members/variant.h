// Members of TForm1 for the model variant switch page; included inside the class.
bool RunTimeVariant = false;
// Adapts the window to the standard (false) or the run-time variant (true).
void ApplyModelVariant(bool runTime);
