#pragma once
// The monitor's settings record and its file "csv.cfg": one record of 828 bytes,
// little-endian integers, texts as a length byte plus fixed room.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include <QDate>

#include "platform/core/filefailure.h"
#include "platform/core/fixedtext.h"

namespace monitor {

inline constexpr std::size_t kCSVConfigSize = 828;
inline constexpr const char* kCSVConfigFileName = "csv.cfg";
// The one warning of reading and saving (warning icon, one OK button).
inline constexpr const char* kCSVConfigAccessError = "csv.cfg access error";

// Byte offsets of the fields in the stored record.
namespace csvcfg {
inline constexpr std::size_t kDriveIndex = 0;      // int32
inline constexpr std::size_t kWorkFolder = 4;      // string[64]
inline constexpr std::size_t kHost = 69;           // string[64]
inline constexpr std::size_t kUserID = 134;        // string[64]
inline constexpr std::size_t kPassword = 199;      // string[64], plain text
inline constexpr std::size_t kTLevel = 264;        // int32
inline constexpr std::size_t kALevel = 268;        // int32
inline constexpr std::size_t kReserved1 = 272;     // 8 bytes, kept as read
inline constexpr std::size_t kMultipliers = 280;   // 8 x (int32 coarse An, int32 fine A0n)
inline constexpr std::size_t kAnalogNames = 344;   // 8 x string[40]
inline constexpr std::size_t kC1Name = 672;        // string[40]
inline constexpr std::size_t kC2Name = 713;        // string[40]
inline constexpr std::size_t kT1Name = 754;        // string[40]
inline constexpr std::size_t kPad = 795;           // 1 byte, kept as read
inline constexpr std::size_t kCopyFromDate = 796;  // IEEE double, days since 1899-12-30
inline constexpr std::size_t kReserved2 = 804;     // 24 bytes, kept as read

inline constexpr std::size_t kCoarse(int k) {
  return kMultipliers + 8 * static_cast<std::size_t>(k);
}
inline constexpr std::size_t kFine(int k) {
  return kMultipliers + 8 * static_cast<std::size_t>(k) + 4;
}
inline constexpr std::size_t kAnalogName(int k) {
  return kAnalogNames + 41 * static_cast<std::size_t>(k);
}
}  // namespace csvcfg

// The settings record as the window uses it; Encode/Decode give its stored bytes.
// Index k of the arrays is channel A(k+1).
struct TCSVConfig {
  std::int32_t DriveIndex = 0;         // DriveComboBox1 item index
  platform::FixedText<64> WorkFolder;  // DirectoryListBox1 folder (not restored)
  platform::FixedText<64> Host;        // HostTxt
  platform::FixedText<64> UserID;      // UserTxt
  platform::FixedText<64> Password;    // PassTxt
  std::int32_t TLevel = 0;             // ScrollBar1
  std::int32_t ALevel = 0;             // ScrollBar2
  std::array<unsigned char, 8> Reserved1{};
  std::array<std::int32_t, 8> Coarse{};          // ScrollBarA1..A8
  std::array<std::int32_t, 8> Fine{};            // ScrollBarA01..A08
  std::array<platform::FixedText<40>, 8> AName;  // A1Name..A8Name
  platform::FixedText<40> C1Name;
  platform::FixedText<40> C2Name;
  platform::FixedText<40> T1Name;
  unsigned char Pad = 0;
  double CopyFromDate = 0.0;  // MonthCalendar2; whole days count
  std::array<unsigned char, 24> Reserved2{};

  // `bytes` holds at least kCSVConfigSize bytes.
  static TCSVConfig Decode(const unsigned char* bytes);
  std::array<unsigned char, kCSVConfigSize> Encode() const;

  // The copy-from day as a date; an invalid QDate when the stored number is no
  // day a calendar can show (NaN, infinite, out of range).
  QDate CopyFromDay() const;
  void SetCopyFromDay(const QDate& day);
};

// Days since 30 December 1899 <-> date. DateFromDays takes the whole part of the
// number (a fraction is a time of day) and gives an invalid date for NaN, infinities
// and numbers beyond the years 100..9999; the whole part is taken towards zero.
QDate DateFromDays(double days);
double DaysFromDate(const QDate& day);

// Reads the first record of `path` into `cfg`. Returns false, leaving `cfg` as it was,
// when the file cannot be opened (the caller shows kCSVConfigAccessError); `failure`, when
// given, then says where and why. A file shorter than one record, or a failed read, throws
// platform::Error; `cfg` is then unchanged.
bool ReadCSVConfig(const std::string& path, TCSVConfig& cfg,
                   platform::FileFailure* failure = nullptr);

// Saves `cfg` as the one record of `path`. The record is written into a new file in the
// same folder (mode 0600: it holds the FTP password), flushed to disk and renamed over
// the old file, so a failed save leaves the old file as it was. Where the folder takes no
// new file the old file is written in place, made its owner's alone first.
// Returns false when the file cannot be created, or can't be made its owner's alone (the
// caller shows kCSVConfigAccessError; `failure` says where and why); throws platform::Error
// when writing fails half-way.
bool SaveCSVConfig(const std::string& path, const TCSVConfig& cfg,
                   platform::FileFailure* failure = nullptr);

}  // namespace monitor
