// Members of TForm1 for the SMS Shedule page; included inside the class.
void BuildSchedulePage();
// Start-up: ScheduleString decoded into the schedule controls.
void DecodeScheduleString();
