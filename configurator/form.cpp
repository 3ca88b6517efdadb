// The window's frame: menus, the page control with its thirteen pages, the area below the
// pages, Timer1 and SerialPort1. The pages' contents are built by their own files.
#include "configurator/form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "configurator/formutil.h"
#include "configurator/portlink.h"
#include "platform/controls.h"
#include "platform/memolines.h"
#include "platform/messagebox.h"
#include "platform/widgets.h"
#include "serial/serialdrv.h"

namespace configurator {

namespace {
struct PageDef {
  const char* name;
  const char* caption;
};
// Object names and captions of the pages, in the order of Page.
constexpr PageDef kPages[kPageCount] = {
    {"TabSheet1", "Main"},
    {"TabSheet2", "Abonents"},
    {"TabSheet3", "External SMS"},
    {"TabSheet4", "Int/Ext SMS"},
    {"TabSheet5", "IOname"},
    {"TabSheet6", "Analog"},
    {"bClearCT", "Temperature/Counter"},
    {"TabSheet8", "SMS Shedule"},
    {"TabSheet9", "IO control"},
    {"TabSheet10", "Other"},
    {"SRateSBar", "GPRS, FTP"},
    {"TabSheet12", "Serial Port"},
    {"RunTime", "RunTime"},
};
}  // namespace

std::function<void(const TForm1&)>& TForm1::InitPortObserver() {
  static std::function<void(const TForm1&)> observer;
  return observer;
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  BuildWindow();
  // An error in the start-up ends it; the steps after the failing one do not run.
  platform::Guard([this] { FormCreate(); });
  SerialLink->StartupCheck();
  // The text slots are built empty, so that each edit lays out only the text it shows: the
  // design texts go in only where the start-up ended before it restored the saved ones.
  if (!textPagesRestored_) SetDesignTexts();
  platform::NameByCaptions(this);
}

TForm1::~TForm1() {
  Timer1->stop();
  delete inputMemo_;
  delete sentMemo_;
}

platform::MemoLines& TForm1::InputMemo() { return *inputMemo_; }
platform::MemoLines& TForm1::SentMemo() { return *sentMemo_; }

void TForm1::BuildWindow() {
  setObjectName("Form1");
  setWindowTitle("TK5063SM");
  setAccessibleName("TK5063SM");
  // The pages are placed pixel by pixel, so the window carries the font they are laid out for
  // whatever font the desktop sets. Message boxes and menus, windows of their own, follow the
  // desktop's font.
  setFont(platform::LayoutFont());
  move(23, 17);
  resize(886, 703);

  BuildMenus();

  auto* central = new QWidget(this);
  central->setObjectName("Form1Client");
  setCentralWidget(central);

  PageControl1 = new QTabWidget(central);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setAccessibleName("Pages");
  PageControl1->setGeometry(8, 4, 857, 409);
  for (int i = 0; i < kPageCount; ++i) {
    auto* page = new QWidget;
    page->setObjectName(kPages[i].name);
    page->setAccessibleName(kPages[i].caption);
    PageControl1->addTab(page, kPages[i].caption);
    Pages[static_cast<std::size_t>(i)] = page;
  }
  // Tabs drawn with a frame so that the page shown stands out, with narrow padding. The style
  // sheet is the tab bar's alone: on the page control it would restyle every control of the
  // thirteen pages, which draw the same without it but cost a third of the start. It comes
  // after the tabs: each tab added lays out the tabs before it, dearer under a style sheet.
  PageControl1->tabBar()->setStyleSheet(
      "QTabBar::tab { padding: 3px 3px; border: 1px solid palette(mid); border-bottom: none;"
      " border-top-left-radius: 3px; border-top-right-radius: 3px;"
      " background: palette(button); }"
      "QTabBar::tab:selected { background: palette(base); }"
      "QTabBar::tab:!selected { margin-top: 2px; }");
  // All thirteen captions in one row within the page control's width: the tab font gets
  // smaller until they fit (the fonts a system has differ in width).
  QTabBar* tabs = PageControl1->tabBar();
  QFont tabFont = PageControl1->font();
  tabFont.setPointSizeF(tabFont.pointSizeF() * 0.9);
  for (;;) {
    tabs->setFont(tabFont);
    tabs->ensurePolished();
    if (tabs->sizeHint().width() <= PageControl1->width() - 4 || tabFont.pointSizeF() <= 6.5) break;
    tabFont.setPointSizeF(tabFont.pointSizeF() - 0.5);
  }
  BuildBottomArea(central);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  setStatusBar(StatusBar1);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);

  SerialPort1 = new serial::TSerialPortDriver(this);
  SerialPort1->setObjectName("SerialPort1");
  SerialPort1->SetPort(serial::pnCustom);
  SerialPort1->SetPortName("\\\\.\\COM1");
  SerialPort1->SetHwFlow(serial::hfNONE);
  SerialPort1->SetInBufSize(8192);
  SerialPort1->SetOutBufSize(8192);
  SerialPort1->SetPacketMode(serial::pmPass);
  SerialPort1->SetPollingDelay(5000);
  SerialPort1->SetEnableDTROnOpen(false);
  SerialPort1->SetOutputTimeout(200);
  SerialLink = new PortLink(*this);

  // Each page's file builds its page and binds its handlers.
  BuildMainPage();
  BuildSerialPortPage();
  BuildAbonentsPage();
  BuildTextPages();
  BuildAnalogPage();
  BuildTempCounterPage();
  BuildRunTimePage();
  BuildSchedulePage();
  BuildIOControlPage();
  BuildOtherPage();
  BuildGprsPage();
  BindVariantMenu();
  BindHandlers();
  PageControl1->setCurrentIndex(0);
  Timer1->start();
}

void TForm1::BuildMenus() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName("MainMenu1");
  File1 = MainMenu1->addMenu("File");
  File1->setObjectName("File1");
  Exit1 = File1->addAction("Exit");
  Exit1->setObjectName("Exit1");
  Option1 = MainMenu1->addMenu("Option");
  Option1->setObjectName("Option1");
  TKM506GM1 = Option1->addAction("TKM506GM-RT");
  TKM506GM1->setObjectName("TKM506GM1");
  TKM506GM1->setCheckable(true);
  TKM506GM1->setVisible(false);
  SaveSetting1 = Option1->addAction("Save Setting");
  SaveSetting1->setObjectName("SaveSetting1");
}

void TForm1::BuildBottomArea(QWidget* central) {
  const QPalette buttonFace = QApplication::palette();

  MemoSMSinput = new QPlainTextEdit(central);
  MemoSMSinput->setObjectName("MemoSMSinput");
  MemoSMSinput->setAccessibleName("Received text");
  MemoSMSinput->setGeometry(8, 418, 761, 177);
  MemoSMSinput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoSMSinput->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  MemoSMSinput->setLineWrapMode(QPlainTextEdit::NoWrap);

  MemoS = new QPlainTextEdit(central);
  MemoS->setObjectName("MemoS");
  MemoS->setAccessibleName("Sent command");
  MemoS->setGeometry(8, 600, 761, 25);
  MemoS->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoS->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoS->setLineWrapMode(QPlainTextEdit::NoWrap);

  MemoR = new QPlainTextEdit(central);
  MemoR->setObjectName("MemoR");
  MemoR->setVisible(false);

  Status = new QLineEdit("Setting Mode", central);
  Status->setObjectName("Status");
  Status->setAccessibleName("Modem status");
  Status->setReadOnly(true);
  platform::ShowBeginningOfSetTexts(Status);
  Status->setGeometry(776, 418, 89, 22);
  platform::SetBase(Status, buttonFace.color(QPalette::Button));

  auto button = [central](QPushButton*& b, const char* name, const char* caption, int y) {
    b = new QPushButton(caption, central);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setGeometry(776, y, 89, 27);
  };
  button(ConnectBtn, "ConnectBtn", "Connect", 448);
  button(TestBtn, "TestBtn", "Test", 480);
  button(ClearBtn, "ClearBtn", "Clear", 512);
  button(ExitBtn, "ExitBtn", "Exit", 598);

  inputMemo_ = new platform::PlainTextMemo(MemoSMSinput);
  sentMemo_ = new platform::PlainTextMemo(MemoS);
}

platform::Edit* TForm1::ReplyEdit(const TEditValue& v) const {
  const auto n = static_cast<std::size_t>(v.n);
  switch (v.edit) {
    case ReplyField::NNumber: return NNumber.at(n);
    case ReplyField::PBnr: return PBnr.at(n);
    case ReplyField::TXTSMS: return TXTSMS.at(n);
    case ReplyField::iTXTSMS: return iTXTSMS.at(n);
    case ReplyField::APN: return APN;
    case ReplyField::UserID: return UserID;
    case ReplyField::Password: return Password;
    case ReplyField::IPaddress: return IPaddress;
    case ReplyField::FTPHostName: return FTPHostName;
    case ReplyField::UserNameFTP: return UserNameFTP;
    case ReplyField::PasswordFTP: return PasswordFTP;
    case ReplyField::DirName: return DirName;
    case ReplyField::HTTPhostName: return HTTPhostName;
  }
  return nullptr;
}

void TForm1::BindHandlers() {
  // Every handler runs inside Guard: an error ends the handler and shows the error box.
  auto bind = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
    connect(sender, signal, this,
            [this, handler] { platform::Guard([&] { (this->*handler)(); }); });
  };
  bind(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
  SerialPort1->OnReceiveData = [this](serial::TSerialPortDriver* s, const void* p,
                                      std::uint32_t n) {
    platform::Guard([&] { SerialPort1ReceiveData(s, p, n); });
  };
  SerialPort1->OnReceivePacket = SerialPort1->OnReceiveData;

  bind(Exit1, &QAction::triggered, &TForm1::ExitBtnClick);
  connect(SaveSetting1, &QAction::triggered, this,
          [this] { platform::Guard([this] { SaveSetting1Click(); }); });
  bind(PageControl1, &QTabWidget::currentChanged, &TForm1::PageControl1Change);
  bind(ConnectBtn, &QPushButton::clicked, &TForm1::ConnectBtnClick);
  bind(TestBtn, &QPushButton::clicked, &TForm1::TestBtnClick);
  bind(ClearBtn, &QPushButton::clicked, &TForm1::ClearBtnClick);
  bind(ExitBtn, &QPushButton::clicked, &TForm1::ExitBtnClick);
}

}  // namespace configurator
