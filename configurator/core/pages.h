#pragma once
// The thirteen pages of the window's page control, in their order. The reply parse of the
// tick chooses its rule by the index of the page shown.
namespace configurator {

enum class Page : int {
  Main,
  Abonents,
  ExternalSMS,
  IntExtSMS,
  IOname,
  Analog,
  TempCounter,  // "Temperature/Counter"
  Schedule,     // "SMS Shedule"
  IOControl,
  Other,
  GprsFtp,  // "GPRS, FTP"
  SerialPort,
  RunTime,
};
inline constexpr int kPageCount = 13;

constexpr int PageIndex(Page p) { return static_cast<int>(p); }

}  // namespace configurator
