#pragma once
// The configurator's main window: thirteen pages of device settings, the command road to
// the device (direct framed lines, raw AT lines, or SMS through a GSM modem), the receiver,
// the one-second tick and the settings file TK5063.cfg.
//
// Each page's controls are a struct of typed members (configurator/members/) that the window
// inherits; each page file builds its page, binds its handlers and restores and stores its
// settings through those members. Every widget also carries its name as objectName, for
// tests and screen readers. Handlers are public and may be called directly.
#include <QDateTime>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "configurator/core/exchange.h"
#include "configurator/members/abonents.h"
#include "configurator/members/analog.h"
#include "configurator/members/gprs.h"
#include "configurator/members/iocontrol.h"
#include "configurator/members/main.h"
#include "configurator/members/other.h"
#include "configurator/members/runtime.h"
#include "configurator/members/schedule.h"
#include "configurator/members/serial.h"
#include "configurator/members/tempcounter.h"
#include "configurator/members/texts.h"
#include "configurator/core/pages.h"
#include "configurator/core/replyparse.h"
#include "configurator/core/setupconfig.h"

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
class QScrollBar;

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

class PortLink;

class TForm1 : public QMainWindow,
               public MainPageControls,
               public AbonentsPageControls,
               public TextPagesControls,
               public AnalogPageControls,
               public TempCounterPageControls,
               public SchedulePageControls,
               public IOControlPageControls,
               public OtherPageControls,
               public GprsPageControls,
               public SerialPortPageControls,
               public RunTimePageControls {
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
  // The pages in the order of Page; PageOf(Page::Analog) is the "Analog" page.
  std::array<QWidget*, kPageCount> Pages{};
  QWidget* PageOf(Page p) const { return Pages[static_cast<std::size_t>(PageIndex(p))]; }

  QPlainTextEdit* MemoSMSinput = nullptr;  // received text
  QPlainTextEdit* MemoS = nullptr;         // sent command
  QPlainTextEdit* MemoR = nullptr;         // hidden, stays empty
  QLineEdit* Status = nullptr;             // its colour shows the modem state
  QPushButton* ConnectBtn = nullptr;
  QPushButton* TestBtn = nullptr;
  QPushButton* ClearBtn = nullptr;
  QPushButton* ExitBtn = nullptr;
  QStatusBar* StatusBar1 = nullptr;

  QTimer* Timer1 = nullptr;  // 1000 ms, runs Timer1Timer
  serial::TSerialPortDriver* SerialPort1 = nullptr;
  PortLink* SerialLink = nullptr;  // every byte out; reopens and reports the line

  // ---- start-up, ports, exit ---------------------------------------------------------
  void FormCreate();
  void InitPort();
  void PageControl1Change();
  void ExitBtnClick();

  // ---- framing and sending -----------------------------------------------------------
  // The command's kind (framed as the mode stands, raw AT, reply awaited) goes with it.
  void SendSMS(const std::string& command, Line line = Line::AsModeStands);
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
  void SyncModemClick();
  void ctrlZbtnClick();
  void bandClick(int n);  // band0Click .. band3Click
  void SupportedBandClick();
  void CurrentBandClick();
  void SqualityClick();
  void ATcmdOpenClick();
  void GSMbandOpenClick();
  void ReadAllParameterClick();

  // ---- settings file -----------------------------------------------------------------
  void ReadCFGFile(const std::string& name);
  // Returns false when the file could not be written: the user has been told, or, when
  // `unsaved` is given, it takes the access error's text instead.
  bool SaveCFGFile(const std::string& name, std::string* unsaved = nullptr);
  bool SaveSetting1Click(std::string* unsaved = nullptr);

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
  // The PC's offset from UTC at `moment` in the "Time Zone" field's form: a sign and two
  // digits of whole hours, toward zero ("+01", "-05", "+05" for +05:30).
  static std::string UtcOffsetText(const QDateTime& moment);
  void SMSmodeClick();
  void SendSMScommandClick();
  void ParityEvenClick();
  void SkipCRLFcbClick();
  void TrackBar5Change();

  // ---- the serial and modem exchange ------------------------------------------------
  // The command, reply and modem machinery is one state machine (configurator/exchange.h);
  // the window adapts it: widgets in, its outputs to widgets. Its state is its own: the
  // window changes it only through its inputs and reads it only through its methods.
 private:
  std::unique_ptr<ExchangeIO> exchangeIO_ = MakeExchangeIO(*this);
  static std::unique_ptr<ExchangeIO> MakeExchangeIO(TForm1& form);

 public:
  SerialExchange Exchange{*exchangeIO_};
  // What the window shows now, as the exchange reads it.
  ExchangeContext Context() const;
  bool SMSModeOn = false;
  std::string ScheduleString;
  std::string OptionString;
  std::string MaskStash;

  // The one in-memory settings record and the values kept from the read for the save.
  TSetupConfig Config;
  TKeptValues Kept;

  // The clock that new windows start with, the PC's when empty; tests set it before they
  // build a window (the "Time Zone" field takes the offset of the moment it is built).
  static std::function<QDateTime()>& ClockForNewWindows();
  // The clock of the midnight window, the set-clock commands and the zone at start; tests
  // replace it.
  std::function<QDateTime()> Now =
      ClockForNewWindows()
          ? ClockForNewWindows()
          : std::function<QDateTime()>([] { return QDateTime::currentDateTime(); });

  // Called at the end of every InitPort, after the port was (re)opened; lets tests see each
  // opening during the start-up. Empty by default.
  static std::function<void(const TForm1&)>& InitPortObserver();

  // Line-oriented views of the memos for the terminal output routines.
  platform::MemoLines& InputMemo();
  platform::MemoLines& SentMemo();

  // ---- the pages: building, handlers, restore from and store into the settings record --
  // Each page file defines its page's group. A Restore... takes its fields from the record
  // into the controls (their handlers run where a value really changes); the start-up calls
  // them in its order. A Store... puts the controls' values into the record for the save.

  // page_main.cpp
  void BuildMainPage();
  void RestoreMainNumber(const TSetupConfig& c);
  void RestoreMainSmsMode(const TSetupConfig& c);
  void StoreMainPage(TSetupConfig& c) const;

  // page_serial.cpp
  void BuildSerialPortPage();
  // Speed, port (each real change reopens the port) and the SMS wait time-out.
  void RestoreSerialPort(const TSetupConfig& c);
  void RestoreParityEven(const TSetupConfig& c);
  // The port driver's parity as the "Parity Even" box shows it.
  void ApplyParity();
  void RestoreSaveSettingAfterExit(const TSetupConfig& c);
  void RestoreSkipCRLF(const TSetupConfig& c);
  void StoreSerialPortPage(TSetupConfig& c) const;

  // page_abonents.cpp
  void BuildAbonentsPage();
  void RestoreAbonentsNumbers(const TSetupConfig& c);
  // The three mask texts into the edits, MaskStash and the grid; an empty mask becomes its
  // default in the record too.
  void RestoreNumberMasks(TSetupConfig& c);
  void StoreAbonentsPage(TSetupConfig& c) const;
  void SetNrClick();
  void ClrNrClick();
  void GetNrClick();
  void ToPhoneBookClick();
  void ReadPBClick();
  void SetNfilter1Click();
  // The number box of number b (1..4) for channel p of mask letter 'T', 'A' or 'D'
  // (CheckBoxT11Click .. CheckBoxD412Click).
  void CheckBoxNumberClick(char letter, int b, int p);
  // The Disable box of channel p (CheckBoxT1disClick .. CheckBoxD12disClick).
  void CheckBoxDisClick(char letter, int p);
  // Bit operations on a digit value; bit 1, 2, 4 or 8 stands for alarm number 1..4.
  void HEXfromCheckBox(std::uint8_t bit, std::uint8_t& digit);
  void HEXfromUnCheckBox(std::uint8_t bit, std::uint8_t& digit);

  // page_texts.cpp: "External SMS", "Int/Ext SMS", "IOname"
  void BuildTextPages();
  void RestoreTextPages(const TSetupConfig& c);
  // The design texts of the text slots, for a start-up that ended before RestoreTextPages.
  void SetDesignTexts();
  void StoreTextPages(TSetupConfig& c) const;
  // TXTSMSb1Click..TXTSMSb97Click: slots 1..57 write or read a long text, 58..97 a state name.
  void TXTSMSbClick(int n);
  // iTXTSMSb1Click..iTXTSMSb57Click: a short text of "Int/Ext SMS".
  void iTXTSMSbClick(int n);
  void GetTextClick();
  void iGetTextClick();
  void nGetTextClick();

  // page_analog.cpp
  void BuildAnalogPage();
  void RestoreAnalogModes(const TSetupConfig& c);
  void RestoreAnalogCorrection(const TSetupConfig& c);
  void RestoreAnalogDigits(const TSetupConfig& c);
  void RestoreAnalogLevels(const TSetupConfig& c);
  void StoreAnalogLevels(TSetupConfig& c) const;
  void StoreAnalogPage(TSetupConfig& c) const;
  void ScrollBarMinChange(int n);  // ScrollBarMin1Change .. ScrollBarMin8Change
  void ScrollBarMaxChange(int n);  // ScrollBarMax1Change .. ScrollBarMax8Change
  void LevelCmdClick(int n);       // Level1CmdClick .. Level8CmdClick
  void WriteAMode1Click();
  void MuxButtonClick(int n);  // Button11Click .. Button18Click
  void Button37Click();
  void Button38Click();
  void RefLevelClick();

  // page_tempcounter.cpp
  void BuildTempCounterPage();
  void RestoreTemperatureLevels(const TSetupConfig& c);
  void StoreTemperatureLevels(TSetupConfig& c) const;
  void TlevelCmdClick(int input);       // TlevelCmdClick, TlevelCmd2Click, TlevelCmd3Click
  void ScrollBarTmaxChange(int input);  // ScrollBarT1maxChange .. ScrollBarT3maxChange
  void ScrollBarTminChange(int input);  // ScrollBarT1minChange .. ScrollBarT3minChange
  void COUNTERSClick();                 // also Button7
  void Button8Click();
  void ClearCounterClick(int counter);  // Button39Click .. Button41Click
  void Button45Click();
  void Button46Click();
  void ReadRTClick();
  void RTlevelSendClick();
  void ScrollBarRTChange(int level);  // ScrollBarRT1Change, ScrollBarRT2Change
  void ScrollBar1Change();
  void SetRTsourceClick();
  void Button2Click();

  // page_runtime.cpp
  void BuildRunTimePage();
  void RunTimeWriteClick(int level, int mask);  // Button20Click .. Button35Click

  // page_schedule.cpp
  void BuildSchedulePage();
  // ScheduleString from the record, decoded into the schedule controls.
  void RestoreSchedule(const TSetupConfig& c);
  void StoreSchedule(TSetupConfig& c) const;
  void DecodeScheduleString();
  void SMSShedClick();
  // Also the click handler of RTsource and RTinputSource on the Temperature/Counter page.
  void RadioGroup1Click();
  void TrackBarChange(int n);  // TrackBar1Change .. TrackBar4Change
  void CheckBoxSClick(int n);  // CheckBoxS1Click .. CheckBoxS4Click
  void GetSheduleClick();
  void SetSheduleClick();
  void CheckBox2Click();
  void CheckBox3Click();
  void CheckBox4Click();
  void Button36Click();
  // Phone numbers 1..3 of the scheduled SMS as bits 1, 2, 4; not kept in the settings file.
  std::uint8_t ScheduleNumberBits = 0;

  // page_iocontrol.cpp
  void BuildIOControlPage();
  void RestoreIOControlBars(const TSetupConfig& c);
  void RestoreDataLoggerPeriod(const TSetupConfig& c);
  void StoreIOControlPage(TSetupConfig& c) const;
  void SetPulseClick();
  void SRateSBChange();
  void PulseDsbChange(int n);  // PulseDsb1Change .. PulseDsb8Change
  void SetOutClick(int n);     // SetOut1Click .. SetOut8Click
  void ResetOutClick(int n);   // ResetOut1Click .. ResetOut8Click
  void GetOutClick(int n);     // GetOut1Click .. GetOut8Click
  void GetOutStateClick();
  void SetOutBinClick();
  void GetInpClick(int n);  // GetInp1Click .. GetInp12Click
  void GetAllInputClick();
  void LFilterSBChange();
  void Button42Click();
  void Button43Click();
  void Button44Click();

  // page_other.cpp (with the filter handlers of the twins on the input pages)
  void BuildOtherPage();
  void RestoreFilters(const TSetupConfig& c);
  // OptionString from the record, padded; the record field takes the same value.
  void RestoreOptionString(TSetupConfig& c);
  void StoreOtherPage(TSetupConfig& c) const;
  void SetTimeoutFilterClick();
  void SetTtimeoutFilterClick();
  void SetTimeoutAnalogFilterClick();
  void SetDtimeoutFilterClick();
  void TTimeout1SBChange();
  void TTimeout1SBtChange();
  void ATimeout1SBChange();
  void ATimeout1SBaChange();
  void DFilterSBChange();
  void DFilterSBdChange();
  void oCheckBoxClick(int n);  // oCheckBox3Click .. oCheckBox15Click
  void MinusMarkChange();
  void PlusMarkChange();
  void SetOtherClick();
  void GetOtherClick();
  void Button1Click();
  void RestartEnableClick();

  // page_gprs.cpp
  void BuildGprsPage();
  // The file parameters: both sampling-rate bars and both period bars with their edits.
  void RestoreFileParameters(const TSetupConfig& c);
  void RestoreGprsTexts(const TSetupConfig& c);
  void StoreGprsPage(TSetupConfig& c) const;
  void APNbtnClick();
  void UIDbtnClick();
  void PWbtnClick();
  void IPbtnClick();
  void FTPHostNamebtnClick();
  void UNbtnClick();
  void FPWbtnClick();
  void DirNameBtnClick();
  void HTTPhostBtnClick();
  void ReadGPRS1Click();
  // "SRATE" + digit of SRateSB and "DLPER" + digit of DLoggerTmSB (IO control page). These are
  // the handlers of this page's Button9/Button10 and of the IO control page's bSRate/bDLperiod.
  void bSRateClick();
  void bDLperiodClick();
  // Mirrors: eSRateSB -> SRateSB, eDLoggerTmSB -> DLoggerTmSB and DLoggerTmSB -> eDLoggerTmSB.
  void eSRateSBChange();
  void eDLoggerTmSBChange();
  void DLoggerTmSBChange();
  void MaxErrorSB();
  void MaxErrorClick();
  // One text setting of the common form: read word, write word, edit.
  void GprsTextClick(const char* readWord, const char* writeWord, platform::Edit* edit);

  // page_variant.cpp: the model variant switch.
  // The variant the window is adapted to (mirror of the settings record's flag).
  bool RunTimeVariant = false;
  // Adapts the window to the standard (false) or the run-time variant (true).
  void ApplyModelVariant(bool runTime);
  // OnClick of the (invisible) menu item TKM506GM1: toggles the variant and applies it.
  void TKM506GM1Click();
  void RestoreVariantMark(const TSetupConfig& c);
  void RestoreVariant(const TSetupConfig& c);
  void StoreVariant(TSetupConfig& c) const;
  void BindVariantMenu();

  // The edit a page parse of a device reply writes into.
  platform::Edit* ReplyEdit(const TEditValue& v) const;

 private:
  // Helpers of the Abonents page's grid.
  // Mask edit, full length and offset in MaskStash of a mask letter; nullptr for another letter.
  platform::Edit* MaskEdit(char letter, int* length, int* stashOffset) const;
  QCheckBox* DisableBox(char letter, int p) const;
  QCheckBox* NumberBox(char letter, int b, int p) const;
  // The digit that the number boxes of channel p show.
  char BoxesDigit(char letter, int p) const;
  // A mask text shorter than its full length (only a damaged settings file gives one) is
  // completed from the rows' boxes, so that a box never works beyond the end of its text.
  std::string FullMask(char letter) const;
  void EnsureStash();
  void BindAbonentsHandlers();
  void BindMainHandlers();

  void BuildWindow();
  void BuildMenus();
  void BuildBottomArea(QWidget* central);
  void BindHandlers();

  // The start-up (startup.cpp).
  void RunStartupSteps();
  void RunRawAT(const std::string& text, bool clearSentMemo);


  std::vector<QWidget*> modemInfo_;  // what Memo5 lies over
  bool textPagesRestored_ = false;
  platform::PlainTextMemo* inputMemo_ = nullptr;
  platform::PlainTextMemo* sentMemo_ = nullptr;
};

}  // namespace configurator
