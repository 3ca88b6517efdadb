// Page "Main": the reading buttons, the device clock, the SMS mode and the free SMS command,
// the modem information box and the raw AT and band panels.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <ctime>

#include "configurator/form.h"
#include "configurator/formutil.h"
#include "configurator/pagebuild.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/displayunit.h"
#include "serial/serialdrv.h"

namespace configurator {

namespace {
// Buttons of this page are 27 high and read by their caption without outer blanks.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                        int w, int h = 27) {
  return ui::MakeButton(parent, name, caption, caption.trimmed(), x, y, w, h);
}
}  // namespace

void TForm1::BuildMainPage() {
  QWidget* page = PageOf(Page::Main);

  // Reading buttons
  auto* readings = ui::MakeGroup(page, "GroupReadings", "Read", 8, 6, 268, 170);
  ReadState = MakeButton(readings, "ReadState", "Read Status", 10, 24, 120);
  ReadTH = MakeButton(readings, "ReadTH", "Temp., Humidity", 138, 24, 120);
  ReadAnalog = MakeButton(readings, "ReadAnalog", "Read Analog", 10, 58, 120);
  ReadAlevelBtn = MakeButton(readings, "ReadAlevelBtn", "Analog Level", 138, 58, 120);
  ReadTemperature = MakeButton(readings, "ReadTemperature", "Temperature", 10, 92, 120);
  TemperatureLevelBtn = MakeButton(readings, "TemperatureLevelBtn", "Temp.Level", 138, 92, 120);
  Version = MakeButton(readings, "Version", "Version number", 10, 126, 120);
  RestartModule = MakeButton(readings, "RestartModule", "Restart ", 138, 126, 120);

  // Device clock
  auto* clock = ui::MakeGroup(page, "GroupClock", "Device Date/Time", 8, 182, 268, 96);
  GetDT = MakeButton(clock, "GetDT", "Get Date/Time", 10, 24, 120);
  SetDT = MakeButton(clock, "SetDT", "Set Date/Time", 138, 24, 120);
  auto* tzLabel = ui::MakeLabel(clock, "Time Zone", 10, 62, 80, 20);
  // The zone starts as the PC's own at this moment; the user may change it for this run.
  TimeZone = ui::MakeTyped(clock, "TimeZone", "Time Zone",
                           QString::fromStdString(UtcOffsetText(Now())), 3, 96, 60, 48, 24);
  tzLabel->setBuddy(TimeZone);

  // SMS mode, the device's number and the free command
  auto* sms = ui::MakeGroup(page, "GroupSMS", "SMS", 284, 6, 276, 172);
  SMSmode = ui::MakeCheck(sms, "SMSmode", "SMS mode", "SMS mode", 10, 22, 120, 22);
  DeleteSMS = ui::MakeCheck(sms, "DeleteSMS", "Delete incoming SMS enable",
                            "Delete incoming SMS enable", 10, 46, 220, 22);
  DeleteSMS->setVisible(false);
  auto* numLabel = ui::MakeLabel(sms, "TK phone number", 10, 50, 120, 20);
  TKnumber = ui::MakeTyped(sms, "TKnumber", "TK phone number", "", 20, 132, 48, 134, 24);
  numLabel->setBuddy(TKnumber);
  ui::MakeLabel(sms, "SMS command", 10, 84, 120, 20);
  SMScommand = ui::MakeTyped(sms, "SMScommand", "SMS command", "", 0, 10, 106, 256, 24);
  {
    QPalette p = SMScommand->palette();
    p.setColor(QPalette::Base, QColor(255, 255, 0));
    p.setColor(QPalette::Text, QColor(0, 0, 0));
    SMScommand->setPalette(p);
  }
  SendSMScommand = MakeButton(sms, "SendSMScommand", "Send SMS command", 10, 136, 256);

  // Modem information; Memo5 covers it in direct mode
  auto* modem = ui::MakeGroup(page, "GroupModem", "GSM modem", 568, 6, 276, 172);
  auto field = [modem](QLineEdit*& e, const char* name, const char* label, const char* text,
                       int y) {
    auto* l = ui::MakeLabel(modem, label, 10, y + 2, 90, 20);
    e = ui::MakeShown(modem, name, label, text, 104, y, 162, 24);
    l->setBuddy(e);
  };
  field(Hersteller, "Hersteller", "Manufacturer", "Hersteller", 22);
  field(ModelIDCode, "ModelIDCode", "Model", "ModelIDCode", 52);
  field(DateTime, "DateTime", "SIM status", "SIM status", 82);
  DateTime->setToolTip(
      "0 - supplied from battery; 1 - not supplied from battery; 2 -  no battery; 3- error. "
      "00..100 - charge in percent");
  // Memo5 covers the modem information: while it shows, the fields under it are hidden.
  Memo5 = new QFrame(modem);
  Memo5->setObjectName("Memo5");
  Memo5->setFrameShape(QFrame::NoFrame);
  Memo5->setGeometry(6, 18, 264, 92);
  Memo5->raise();
  for (QWidget* w : modem->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w != Memo5 && w->geometry().intersects(Memo5->geometry())) modemInfo_.push_back(w);
  for (QWidget* w : modemInfo_) w->setVisible(false);
  SyncModem = MakeButton(modem, "SyncModem", "Synchronize Modem Time", 10, 136, 256);
  SyncModem->setToolTip("Set Date/Time for GSM modem or cell phone (sinchronize with PC)");

  // Raw AT and band panels with their show/hide buttons
  ATcmdOpen = MakeButton(page, "ATcmdOpen", "AT Command enable", 284, 186, 150);
  GSMbandOpen = MakeButton(page, "GSMbandOpen", "GSM Band enable", 442, 186, 150);
  Squality = MakeButton(page, "Squality", "Signal Quality", 600, 186, 150);

  PanelAT = new QFrame(page);
  PanelAT->setObjectName("PanelAT");
  PanelAT->setAccessibleName("AT command");
  PanelAT->setFrameShape(QFrame::StyledPanel);
  PanelAT->setGeometry(284, 220, 560, 70);
  ui::MakeLabel(PanelAT, "AT command", 10, 8, 120, 20);
  ATcmd = ui::MakeTyped(PanelAT, "ATcmd", "AT command", "AT", 0, 10, 32, 330, 24);
  SendAT = MakeButton(PanelAT, "SendAT", "Send", 350, 30, 90);
  ctrlZbtn = MakeButton(PanelAT, "ctrlZbtn", "CtrlZ", 450, 30, 90);

  PanelBand = new QFrame(page);
  PanelBand->setObjectName("PanelBand");
  PanelBand->setAccessibleName("GSM band");
  PanelBand->setFrameShape(QFrame::StyledPanel);
  PanelBand->setGeometry(284, 220, 560, 150);
  ui::MakeLabel(PanelBand, "GSM band", 10, 6, 120, 20);
  static const char* const kBandLabels[4] = {
      "0 - GSM 900MHz + DCS 1800MHz", "1 - GSM 900MHz + PCS 1900MHz",
      "2 - GSM 850MHz + DCS 1800MHz", "3 - GSM 850MHz + PCS 1900MHz"};
  static const char* const kBandNames[4] = {"band0", "band1", "band2", "band3"};
  for (int n = 0; n < 4; ++n) {
    const int y = 28 + n * 29;
    band[static_cast<std::size_t>(n)] =
        MakeButton(PanelBand, kBandNames[n], QString::number(n), 10, y, 36, 25);
    band[static_cast<std::size_t>(n)]->setAccessibleName(kBandLabels[n]);
    ui::MakeLabel(PanelBand, kBandLabels[n], 54, y + 2, 250, 20);
  }
  SupportedBand = MakeButton(PanelBand, "SupportedBand", "Supported Band", 380, 28, 160);
  CurrentBand = MakeButton(PanelBand, "CurrentBand", "Current Band", 380, 62, 160);

  // "Read Counters" and "Runtime" below the device clock; their handlers are the
  // Temperature/Counter page's.
  COUNTERS = MakeButton(page, "COUNTERS", "Read Counters", 18, 288, 120);
  ReadRT = MakeButton(page, "ReadRT", "Runtime", 146, 288, 120);
  ReadRT->setVisible(false);

  BindMainHandlers();
}

void TForm1::BindMainHandlers() {
  auto bind = [this](QAbstractButton* b, void (TForm1::*handler)()) {
    platform::OnClick(this, b, [this, handler] { (this->*handler)(); });
  };
  platform::OnToggle(this, SMSmode, [this] { SMSmodeClick(); });
  bind(SendSMScommand, &TForm1::SendSMScommandClick);
  bind(ReadState, &TForm1::ReadStateClick);
  bind(ReadTH, &TForm1::ReadTHClick);
  bind(ReadAnalog, &TForm1::ReadAnalogClick);
  bind(ReadTemperature, &TForm1::ReadTemperatureClick);
  bind(TemperatureLevelBtn, &TForm1::TemperatureLevelBtnClick);
  bind(ReadAlevelBtn, &TForm1::ReadAlevelBtnClick);
  bind(RestartModule, &TForm1::RestartModuleClick);
  bind(Version, &TForm1::VersionClick);
  bind(GetDT, &TForm1::GetDTClick);
  bind(SetDT, &TForm1::SetDTClick);
  bind(SyncModem, &TForm1::SyncModemClick);
  bind(ATcmdOpen, &TForm1::ATcmdOpenClick);
  bind(GSMbandOpen, &TForm1::GSMbandOpenClick);
  bind(SendAT, &TForm1::SendATClick);
  bind(ctrlZbtn, &TForm1::ctrlZbtnClick);
  for (int n = 0; n < 4; ++n)
    platform::OnClick(this, band[static_cast<std::size_t>(n)], [this, n] { bandClick(n); });
  bind(SupportedBand, &TForm1::SupportedBandClick);
  bind(CurrentBand, &TForm1::CurrentBandClick);
  bind(Squality, &TForm1::SqualityClick);
  bind(COUNTERS, &TForm1::COUNTERSClick);
  bind(ReadRT, &TForm1::ReadRTClick);
}

// ---- settings: the device's number, the SMS mode and the hidden delete box -------------

void TForm1::RestoreMainNumber(const TSetupConfig& c) {
  // The second copy wins.
  platform::SetText(TKnumber, GetText(c.TKnumber));
  platform::SetText(TKnumber, GetText(c.TKnumber2));
}

void TForm1::RestoreMainSmsMode(const TSetupConfig& c) {
  DeleteSMS->setChecked(AsBool(c.DeleteSMS));
  SMSmode->setChecked(AsBool(c.SMSmode));
  SMSModeOn = SMSmode->isChecked();
  MemoS->setVisible(!SMSModeOn);
}

void TForm1::StoreMainPage(TSetupConfig& c) const {
  PutText(c.TKnumber, platform::Text(TKnumber));
  PutText(c.TKnumber2, platform::Text(TKnumber));
  c.DeleteSMS = FromBool(DeleteSMS->isChecked());
  c.SMSmode = FromBool(SMSmode->isChecked());
}

// ---- reading buttons: each asks the device one fixed question ------------------------

void TForm1::ReadStateClick() { RunCommand("GETST"); }
void TForm1::ReadTHClick() { RunCommand("GETTH"); }
void TForm1::ReadAnalogClick() { RunCommand("GETAN"); }
void TForm1::ReadTemperatureClick() { RunCommand("GETTC"); }
void TForm1::TemperatureLevelBtnClick() { RunCommand("TCLEV0"); }
void TForm1::ReadAlevelBtnClick() { RunCommand("ANLEV0"); }
void TForm1::RestartModuleClick() { RunCommand("RSTRT"); }
void TForm1::VersionClick() { RunCommand("  GETVR", "GETVR"); }

void TForm1::GetDTClick() {
  // This one echoes before it sends.
  Clear();
  DisplayOnMemo("GETTM");
  SendSMS("  GETTM");
}

void TForm1::BuildDateTimeStrings(const QDateTime& now, std::string& date, std::string& time) {
  auto two = [](unsigned v) {
    std::string s = std::to_string(v).substr(0, 2);
    return s.size() == 1 ? "0" + s : s;
  };
  const QDate d = now.date();
  const QTime t = now.time();
  const auto year = static_cast<std::uint16_t>(d.year() - 2000);
  date = two(year) + "/" + two(static_cast<unsigned>(d.month())) + "/" +
         two(static_cast<unsigned>(d.day())) + ",";
  time = two(static_cast<unsigned>(t.hour())) + ":" + two(static_cast<unsigned>(t.minute())) + ":" +
         two(static_cast<unsigned>(t.second()));
}

std::function<QDateTime()>& TForm1::ClockForNewWindows() {
  static std::function<QDateTime()> clock;
  return clock;
}

std::string TForm1::UtcOffsetText(const QDateTime& moment) {
  // The C library's zone rules, as the TZ variable or the system set them.
  ::tzset();
  const std::time_t t = static_cast<std::time_t>(moment.toSecsSinceEpoch());
  std::tm local{};
  if (!::localtime_r(&t, &local)) return "+00";
  const long hours = local.tm_gmtoff / 3600;  // toward zero: the field holds whole hours
  const long magnitude = hours < 0 ? -hours : hours;
  return std::string(1, hours < 0 ? '-' : '+') + (magnitude < 10 ? "0" : "") +
         std::to_string(magnitude);
}

void TForm1::SetDTClick() {
  Clear();
  auto command = [this] {
    std::string date, time;
    BuildDateTimeStrings(Now(), date, time);
    return "SETTM " + date + time + platform::Text(TimeZone).substr(0, 3);
  };
  if (!SMSModeOn) {
    const std::string cmd = command();
    DisplayOnMemo(cmd);
    SendSMS(cmd);
    Exchange.RequestClock();
    return;
  }
  // SMS mode: the line goes unframed to the phone on the cable (it waits for a busy modem).
  const std::string cmd = command();
  if (Exchange.SendClockLine(SerialExchange::ClockLine::Device, Context(), cmd)) DisplayOnMemo(cmd);
}

// ---- link options on the Main page ---------------------------------------------------

void TForm1::SMSmodeClick() {
  SMSModeOn = SMSmode->isChecked();
  Memo5->setVisible(!SMSModeOn);
  for (QWidget* w : modemInfo_) w->setVisible(SMSModeOn);
}

void TForm1::SendSMScommandClick() {
  const std::string text = platform::Text(SMScommand);
  RunCommand(text, text);
}

}  // namespace configurator
