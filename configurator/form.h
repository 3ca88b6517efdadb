#pragma once
// The configurator's main window: thirteen pages of device settings, the command road to
// the device (direct framed lines, raw AT lines, or SMS through a GSM modem), the receiver,
// the one-second tick and the settings file TK5063.cfg.
//
// Every widget carries its name as objectName, so tests and the page files find controls
// with findChild<...>("Name"). Handlers are public and may be called directly.
#include <QDateTime>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "configurator/exchange.h"
#include "configurator/setupconfig.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWidget;
class QFrame;

namespace platform {
class RadioGroup;
class Edit;
class PlainTextMemo;
class MemoLines;
}  // namespace platform
namespace serial {
class TSerialPortDriver;
}

namespace configurator {

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // Builds the window and runs FormCreate.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // ---- window structure -------------------------------------------------------------
  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Option1 = nullptr;
  QAction* TKM506GM1 = nullptr;  // "TKM506GM-RT", invisible, checkable
  QAction* SaveSetting1 = nullptr;

  QTabWidget* PageControl1 = nullptr;
  // Pages by index 0..12 (TabSheet1, TabSheet2, ..., bClearCT, ..., SRateSBar, TabSheet12, RunTime).
  std::array<QWidget*, 13> Pages{};
  QWidget* TabSheet1 = nullptr;   // "Main"
  QWidget* TabSheet12 = nullptr;  // "Serial Port"

  QPlainTextEdit* MemoSMSinput = nullptr;  // received text
  QPlainTextEdit* MemoS = nullptr;         // sent command
  QPlainTextEdit* MemoR = nullptr;         // hidden, stays empty
  QLineEdit* Status = nullptr;             // its colour shows the modem state
  QPushButton* ConnectBtn = nullptr;
  QPushButton* TestBtn = nullptr;
  QPushButton* ClearBtn = nullptr;
  QPushButton* ExitBtn = nullptr;
  QStatusBar* StatusBar1 = nullptr;

  QTimer* Timer1 = nullptr;                     // 1000 ms, runs Timer1Timer
  serial::TSerialPortDriver* SerialPort1 = nullptr;

  // ---- page "Serial Port" -----------------------------------------------------------
  platform::RadioGroup* RadioGroupPort = nullptr;  // "Com1".."Com16"
  platform::RadioGroup* RadioGroupRate = nullptr;  // "2400".."115200"
  QCheckBox* ParityEven = nullptr;
  QCheckBox* SkipCRLFcb = nullptr;
  QSlider* TrackBar5 = nullptr;  // "Wait SMS Timeout (ms)", 0..99999
  platform::Edit* Edit1 = nullptr;
  QCheckBox* SaveSettingAfterExitCB = nullptr;

  // ---- page "Main" ------------------------------------------------------------------
  QCheckBox* SMSmode = nullptr;
  QCheckBox* DeleteSMS = nullptr;  // hidden; only kept in the settings file
  platform::Edit* TKnumber = nullptr;  // the device's phone number
  platform::Edit* SMScommand = nullptr;
  QPushButton* SendSMScommand = nullptr;
  // readings and device clock
  QPushButton* ReadState = nullptr;
  QPushButton* ReadTH = nullptr;
  QPushButton* ReadAnalog = nullptr;
  QPushButton* ReadTemperature = nullptr;
  QPushButton* TemperatureLevelBtn = nullptr;
  QPushButton* ReadAlevelBtn = nullptr;
  QPushButton* RestartModule = nullptr;
  QPushButton* Version = nullptr;
  QPushButton* GetDT = nullptr;
  QPushButton* SetDT = nullptr;
  platform::Edit* TimeZone = nullptr;
  // modem information box and its cover
  QLineEdit* Hersteller = nullptr;
  QLineEdit* ModelIDCode = nullptr;
  QLineEdit* DateTime = nullptr;
  QPushButton* SyncModem = nullptr;
  QFrame* Memo5 = nullptr;  // lies over the modem information in direct mode
  // raw AT and band panels
  QPushButton* ATcmdOpen = nullptr;
  QPushButton* GSMbandOpen = nullptr;
  QFrame* PanelAT = nullptr;
  platform::Edit* ATcmd = nullptr;
  QPushButton* SendAT = nullptr;
  QPushButton* ctrlZbtn = nullptr;
  QFrame* PanelBand = nullptr;
  std::array<QPushButton*, 4> band{};  // band0..band3
  QPushButton* SupportedBand = nullptr;
  QPushButton* CurrentBand = nullptr;
  QPushButton* Squality = nullptr;
  // Main page reading buttons repeated on other pages, sharing their handlers
  QPushButton* Button3 = nullptr;  // "Read Analog", Analog page
  QPushButton* Button4 = nullptr;  // "Analog Level", Analog page
  QPushButton* Button5 = nullptr;  // "Temperature", Temperature/Counter page
  QPushButton* Button6 = nullptr;  // "Temp.Level", Temperature/Counter page

  // ---- start-up, ports, exit ---------------------------------------------------------
  void FormCreate();
  void InitPort();
  void PageControl1Change();
  void ExitBtnClick();

  // ---- framing and sending -----------------------------------------------------------
  void SendSMS(const std::string& command);
  void SendStrings(const std::string& text, int count);
  void SendCR();
  void SerialTimeSetting();
  void Clear();
  void DisplayOnMemo(const std::string& echo);
  void DisplayInputSMS();
  void ClearBtnClick();
  void ConnectBtnClick();
  void TestBtnClick();
  void SendATClick();
  // The one pattern of every command handler: Clear, send, echo (echo empty = the command).
  void RunCommand(const std::string& command, const std::string& echo = std::string());
  // The same for the handlers that leave RawATMode and ReplyReady as they find them.
  void RunCommandNoClear(const std::string& command, const std::string& echo = std::string());

  // ---- receiver and tick -------------------------------------------------------------
  void SerialPort1ReceiveData(serial::TSerialPortDriver* Sender, const void* DataPtr,
                              std::uint32_t DataSize);
  void Timer1Timer();

  // ---- GSM modem AT functions --------------------------------------------------------
  void GetHersteller();
  void GetCharSetClick();
  void GetModel();
  void SetCMEE();
  void SetCMGF();
  void SetCMGL1();
  void GetDateTime();
  void SyncModemClick();
  void ctrlZbtnClick();
  void bandClick(int n);  // band0Click .. band3Click
  void SupportedBandClick();
  void CurrentBandClick();
  void SqualityClick();
  void ATcmdOpenClick();
  void GSMbandOpenClick();
  void ReadAllParameterClick();

  // ---- PDU codec over the pure core --------------------------------------------------
  // Leaves pdu unchanged (after the "Phone Number Error" box) when phone is not an optional
  // "+" and digits.
  void TextToPDUConversion(const std::string& text, const std::string& phone, std::string& pdu);
  // Leaves text unchanged when the PDU is rejected or announces no user data.
  void PDUTextConversion(const std::string& pdu, std::string& text);

  // ---- settings file -----------------------------------------------------------------
  void ReadCFGFile(const std::string& name);
  // Returns false when the file could not be written (the user has been told).
  bool SaveCFGFile(const std::string& name);
  bool SaveSetting1Click();

  // ---- Main page readings, clock, link options ---------------------------------------
  void ReadStateClick();
  void ReadTHClick();
  void ReadAnalogClick();
  void ReadTemperatureClick();
  void TemperatureLevelBtnClick();
  void ReadAlevelBtnClick();
  void RestartModuleClick();
  void VersionClick();
  void GetDTClick();
  void SetDTClick();
  // Date text "yy/MM/dd," and time text "hh:mm:ss" of the given moment.
  static void BuildDateTimeStrings(const QDateTime& now, std::string& date, std::string& time);
  void SMSmodeClick();
  void SendSMScommandClick();
  void ParityEvenClick();
  void SkipCRLFcbClick();
  void TrackBar5Change();

  // ---- the serial and modem exchange ------------------------------------------------
  // The command, reply and modem machinery is one state machine (configurator/exchange.h);
  // the window adapts it: widgets in, its outputs to widgets.
 private:
  std::unique_ptr<ExchangeIO> exchangeIO_ = MakeExchangeIO(*this);
  static std::unique_ptr<ExchangeIO> MakeExchangeIO(TForm1& form);

 public:
  SerialExchange Exchange{*exchangeIO_};
  // What the window shows now, as the exchange reads it.
  ExchangeContext Context() const;
  // The reply state that the page handlers read and set, held by the exchange.
  std::string& ReplyText = Exchange.ReplyText;
  bool& ReplyReady = Exchange.ReplyReady;
  bool& RawATMode = Exchange.RawATMode;
  bool& SkipCRLFState = Exchange.SkipCRLFState;
  bool& PollPending = Exchange.PollPending;
  int& PollFactor = Exchange.PollFactor;
  bool SMSModeOn = false;
  std::string ScheduleString;
  std::string OptionString;
  std::string MaskStash;

  // The one in-memory settings record and the values kept from the read for the save.
  TSetupConfig Config;
  TKeptValues Kept;

  // The clock of the midnight window and the set-clock commands; tests replace it.
  std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

  // Called at the end of every InitPort, after the port was (re)opened; lets tests see each
  // opening during the start-up. Empty by default.
  static std::function<void(const TForm1&)>& InitPortObserver();

  // Line-oriented views of the memos for the terminal output routines.
  platform::MemoLines& InputMemo();
  platform::MemoLines& SentMemo();

  // Finds a control of any page by its objectName; nullptr when that page is not built.
  template <class W>
  W* Control(const QString& name) const {
    return findChild<W*>(name);
  }

  // ---- the settings pages' own members, one file each ------------------------------
#include "configurator/members/abonents.h"
#include "configurator/members/texts.h"
#include "configurator/members/iocontrol.h"
#include "configurator/members/analog.h"
#include "configurator/members/tempcounter.h"
#include "configurator/members/other.h"
#include "configurator/members/gprs.h"
#include "configurator/members/schedule.h"
#include "configurator/members/variant.h"

 private:
  void BuildWindow();
  void BuildMenus();
  void BuildBottomArea(QWidget* central);
  void BuildMainPage(QWidget* page);
  void BuildSerialPortPage(QWidget* page);
  void BindHandlers();

  // Start-up steps (startup.cpp); the numbers are those of the start-up sequence.
  void RunStartupSteps();
  // AT routine pattern (modem.cpp): false when the port could not be opened.
  bool ConnectForModem();
  void RunRawAT(const std::string& text, bool clearSentMemo);


  std::vector<QWidget*> modemInfo_;  // what Memo5 lies over
  platform::PlainTextMemo* inputMemo_ = nullptr;
  platform::PlainTextMemo* sentMemo_ = nullptr;
};

}  // namespace configurator
