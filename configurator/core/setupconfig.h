#pragma once
// The configurator's settings record "TK5063.cfg": one record of 4136 bytes, little-endian,
// texts as a length byte and room for N Windows-1252 characters.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/filefailure.h"
#include "platform/core/fixedtext.h"

namespace configurator {

inline constexpr const char* kSetupFileName = "TK5063.cfg";
// Warning box shown when the file can't be opened for reading or created for saving.
inline constexpr const char* kSetupAccessErrorText = "TK5063.cfg access error";
inline constexpr const char* kSetupAccessErrorCaption = "Warning";
// The last line of the box of an Exit whose save failed (buttons Yes and No).
inline constexpr const char* kExitUnsavedText =
    "The settings could not be saved. Leave without saving them?";
// Message of the error raised when the file is shorter than one record.
inline constexpr const char* kReadBeyondEndText = "Read beyond end of file";

inline constexpr std::size_t kSetupConfigSize = 4136;
using SetupBytes = std::array<unsigned char, kSetupConfigSize>;

// Offsets of the fields in the stored record.
namespace cfgoff {
inline constexpr std::size_t RadioGroupRate = 0, RadioGroupPort = 4, TrackBar5 = 8, Kept12 = 12,
                             TKnumber = 16, Reserved37 = 37, TXTSMS = 60, iTXTSMS = 1599,
                             Pad3151 = 3151, TTimeout1SB = 3152, Reserved3156 = 3156,
                             ATimeout1SB = 3160, Reserved3164 = 3164, DFilterSB = 3168,
                             PulseDsb = 3172, SRateSB = 3204, DeleteSMS = 3208, SMSmode = 3209,
                             Pad3210 = 3210, AnalogLevels = 3212, TempLevels = 3276,
                             Reserved3300 = 3300, TNrFilter = 3308, ANrFilter = 3313,
                             DNrFilter = 3322, APN = 3335, UserID = 3376, Password = 3417,
                             IPaddress = 3458, FTPHostName = 3499, UserNameFTP = 3540,
                             PasswordFTP = 3581, DirName = 3598, Reserved3615 = 3615,
                             Kept3624 = 3624, DLoggerTmSB = 3628, OptionString = 3632,
                             Reserved3649 = 3649, HTTPhostName = 3651, NNumber = 3692, PBnr = 3839,
                             TKnumber2 = 3986, ScheduleString = 4007, Byte4017 = 4017,
                             Pad4018 = 4018, AMode = 4020, Kept4052 = 4052, Kept4056 = 4056,
                             AkoeffStr = 4060, ADividerStr = 4069, Pad4078 = 4078, Value4080 = 4080,
                             Kept4084 = 4084, Kept4086 = 4086, SkipCRLFcb = 4088,
                             Reserved4089 = 4089, RunTimeVariant = 4091, ParityEven = 4092,
                             SaveSettingAfterExitCB = 4093, Pad4094 = 4094, eSRateSB = 4096,
                             eDLoggerTmSB = 4100, MUX = 4104;
}  // namespace cfgoff

// The settings record, field by field in file order. Families are 0-based arrays:
// TXTSMS[n - 1] is the text of TXTSMSn. Booleans keep the stored byte (any non-zero byte
// reads as true) so that a record decoded and encoded again gives the same bytes.
// Padding and reserved bytes are kept as read and written back unchanged.
struct TSetupConfig {
  std::int32_t RadioGroupRate = 0;  // item 0..6 = 2400 .. 115200 bit/s
  std::int32_t RadioGroupPort = 0;  // item 0..15 = Com1..Com16
  std::int32_t TrackBar5 = 0;       // "Wait SMS Timeout (ms)"
  std::int32_t Kept12 = 0;          // kept value, see TKeptValues
  platform::FixedText<20> TKnumber;
  std::array<std::uint8_t, 23> Reserved37{};
  std::array<platform::FixedText<26>, 57> TXTSMS;
  std::array<platform::FixedText<15>, 97> iTXTSMS;
  std::uint8_t Pad3151 = 0;
  std::int32_t TTimeout1SB = 0;
  std::array<std::uint8_t, 4> Reserved3156{};
  std::int32_t ATimeout1SB = 0;
  std::array<std::uint8_t, 4> Reserved3164{};
  std::int32_t DFilterSB = 0;
  std::array<std::int32_t, 8> PulseDsb{};
  std::int32_t SRateSB = 0;
  std::uint8_t DeleteSMS = 0;
  std::uint8_t SMSmode = 0;
  std::array<std::uint8_t, 2> Pad3210{};
  // ScrollBarMin1, ScrollBarMax1, ScrollBarMin2, ScrollBarMax2, ..., ScrollBarMax8
  std::array<std::int32_t, 16> AnalogLevels{};
  // ScrollBarT1min, ScrollBarT1max, ScrollBarT2min, ScrollBarT2max, ScrollBarT3min, ScrollBarT3max
  std::array<std::int32_t, 6> TempLevels{};
  std::array<std::uint8_t, 8> Reserved3300{};
  platform::FixedText<4> TNrFilter;
  platform::FixedText<8> ANrFilter;
  platform::FixedText<12> DNrFilter;
  platform::FixedText<40> APN;
  platform::FixedText<40> UserID;
  platform::FixedText<40> Password;
  platform::FixedText<40> IPaddress;
  platform::FixedText<40> FTPHostName;
  platform::FixedText<40> UserNameFTP;
  platform::FixedText<16> PasswordFTP;
  platform::FixedText<16> DirName;
  std::array<std::uint8_t, 9> Reserved3615{};
  std::int32_t Kept3624 = 0;
  std::int32_t DLoggerTmSB = 0;
  platform::FixedText<16> OptionString;
  std::array<std::uint8_t, 2> Reserved3649{};  // bytes 3649 and 3650, kept as read
  platform::FixedText<40> HTTPhostName;
  std::array<platform::FixedText<20>, 7> NNumber;
  std::array<platform::FixedText<20>, 7> PBnr;
  platform::FixedText<20> TKnumber2;  // second copy of TKnumber; wins at start
  platform::FixedText<9> ScheduleString;
  std::uint8_t Byte4017 = 0;  // the save always writes 0
  std::array<std::uint8_t, 2> Pad4018{};
  std::array<std::int32_t, 8> AMode{};
  std::int32_t Kept4052 = 0;
  std::int32_t Kept4056 = 0;
  platform::FixedText<8> AkoeffStr;
  platform::FixedText<8> ADividerStr;
  std::array<std::uint8_t, 2> Pad4078{};
  std::int32_t Value4080 = 0;
  std::int16_t Kept4084 = 0;
  std::int16_t Kept4086 = 0;
  std::uint8_t SkipCRLFcb = 0;
  std::array<std::uint8_t, 2> Reserved4089{};
  std::uint8_t RunTimeVariant = 0;
  std::uint8_t ParityEven = 0;
  std::uint8_t SaveSettingAfterExitCB = 0;
  std::array<std::uint8_t, 2> Pad4094{};
  std::int32_t eSRateSB = 0;
  std::int32_t eDLoggerTmSB = 0;
  std::array<platform::FixedText<3>, 8> MUX;
};

// Puts a text into a field as the save does: the length byte and the first N characters;
// the bytes after the text keep what the field held before.
template <std::size_t N>
void PutText(platform::FixedText<N>& field, const std::string& text) {
  field.put(text);
}
// A field's text; a length byte above N reads as N characters.
template <std::size_t N>
std::string GetText(const platform::FixedText<N>& field) {
  return field.get();
}
inline bool AsBool(std::uint8_t stored) { return stored != 0; }
inline std::uint8_t FromBool(bool b) { return b ? 1 : 0; }

// Record <-> stored bytes. Decode reads only the 4136 bytes given.
SetupBytes EncodeSetupConfig(const TSetupConfig& cfg);
TSetupConfig DecodeSetupConfig(const SetupBytes& bytes);
// Fewer than 4136 bytes (even none, with a null pointer) read as if zero-padded.
TSetupConfig DecodeSetupConfig(const unsigned char* bytes, std::size_t size);

// The values that the window keeps from the record read at start and writes back at every
// save (no control shows them). FromRecord applies the start-up rule for offset 4080: a
// value above 4 (signed) becomes 0.
struct TKeptValues {
  std::int32_t v12 = 0;
  std::int32_t v3624 = 0;
  std::uint8_t v3649 = 0;
  std::uint8_t v3650 = 0;
  std::int32_t v4052 = 0;
  std::int32_t v4056 = 0;
  std::int32_t v4080 = 0;
  std::int16_t v4084 = 0;
  std::int16_t v4086 = 0;

  static TKeptValues FromRecord(const TSetupConfig& cfg);
  // Writes offsets 12, 3624, 4052, 4056, 4080, 4084, 4086 (3649/3650 are never written by
  // the save; the record keeps them as read).
  void StoreInto(TSetupConfig& cfg) const;
};

enum class CfgFileResult {
  Ok,
  AccessError,  // couldn't open for reading and writing / couldn't create: show the warning
};

// Reads one record from `path` into `cfg`.
// - The file can't be opened for reading and writing (missing, read-only, a directory,
//   ...): returns AccessError and leaves `cfg` unchanged.
// - The file is shorter than 4136 bytes: the bytes there are put into `cfg` over its
//   current content, then platform::Error("Read beyond end of file") is thrown.
// - Any other read error throws platform::Error with the error's text.
// A longer file gives its first 4136 bytes.
// `failure`, when given, says where and why the file could not be opened.
CfgFileResult ReadSetupConfigFile(const std::string& path, TSetupConfig& cfg,
                                  platform::FileFailure* failure = nullptr);

// Writes `cfg` to `path` so that a failed save never leaves a damaged file: the record goes
// into a temporary file in the same folder, is flushed to disk and then renamed over the
// old file. An existing file that can't be opened for writing, or a temporary file that
// can't be created or renamed into place, returns AccessError (nothing changed on disk).
// A write or flush error ("Disk full" when the disk is full) throws platform::Error; the
// old file stays as it was and the temporary file is removed.
// When no temporary file can be made beside a file that may be written (a folder without
// write access), the record is written over the old file in place, which is then cut to
// 4136 bytes.
// `failure`, when given, says where and why an AccessError came about.
CfgFileResult WriteSetupConfigFile(const std::string& path, const TSetupConfig& cfg,
                                   platform::FileFailure* failure = nullptr);

}  // namespace configurator
