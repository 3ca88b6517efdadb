#pragma once
// Reply rules of the configurator that need no widgets: the chunk handling of the receiver,
// the SMS listing of the phone, the answer parsers of the modem's AT replies and the
// page-by-page parse of direct-mode device replies. Texts are Windows-1252 bytes; a zero
// byte in a text is an ordinary character.
#include <string>
#include <vector>

#include "configurator/core/pages.h"

namespace configurator {

// ---- one received chunk --------------------------------------------------------------

// The reply text kept from a raw chunk before the direct-mode rule replaces it: the part
// from the chunk's first carriage return on (from its start when it has none), at most z
// characters long, where z is the 1-based position of the chunk's first zero byte; empty
// when the chunk holds no zero byte.
std::string ReplyTextFromChunk(const std::string& raw);

// The chunk without its zero bytes.
std::string RemoveZeroBytes(const std::string& raw);

struct TDirectReply {
  std::string replyText;   // what the tick parses and appends to the input memo
  bool rawATMode = false;  // raw mode after this chunk
};
// Direct-mode handling of a non-empty chunk `t` (zero bytes removed): with `skipCRLF` every
// character below code 32 becomes a blank. When raw AT mode is on and `t` has no carriage
// return among its first four characters, the reply is `t` with one zero byte appended
// (no blank replacement) and raw mode ends.
TDirectReply DirectModeReply(const std::string& t, bool skipCRLF, bool rawATMode);

// ---- SMS listing ("+CMGL:") ---------------------------------------------------------

struct TSmsListing {
  bool found = false;     // a listed message with its PDU line was found
  std::string pdu;        // the PDU's hexadecimal text
  bool hasIndex = false;  // the storage index could be read
  int index = 0;          // storage index, all its digits read as a number (300 stays 300)
};
// Finds the first listed message of a chunk as the receiver does. Only the first message
// of a chunk is reported; the others stay in the phone for later polls.
TSmsListing FindListedSms(const std::string& raw);

// "AT+CMGD=" and the index in decimal (the caller sends the carriage return).
std::string DeleteSmsCommand(int index);

// ---- answers of the modem's AT commands ----------------------------------------------

struct TAnswerParse {
  bool done = false;  // the answer flag is cleared
  std::string value;  // the value found (may be empty)
};
// Manufacturer ("AT+CGMI") and model ("AT+CGMM"): the line after the first line break;
// done when the value is not empty.
TAnswerParse ParseManufacturerReply(const std::string& raw);
TAnswerParse ParseModelReply(const std::string& raw);
// Clock ("AT+CCLK?", also applied to the answer of "AT+CMGL=1"): the text after the first
// double quote or colon (and one blank after a colon) on the line after the first line
// break; done (both clock flags cleared) when the value is not empty.
TAnswerParse ParseClockReply(const std::string& raw);
// Character set ("AT+CSCS?"): the clock rule with a longer search; the value is dropped by
// the caller; done when the value is not empty.
TAnswerParse ParseCharsetReply(const std::string& raw);
// "AT+CMGF=0" and "AT+CMEE=2": done when a line break followed by the next line's start is
// found within the first 250 characters.
bool ConsumeCMGFReply(const std::string& raw);
bool ConsumeCMEEReply(const std::string& raw);

// ---- page parse of direct-mode replies ----------------------------------------------

// The edits a page parse writes into: a numbered family with the member's number
// (NNumber 1..7, PBnr 1..7, TXTSMS 1..57, iTXTSMS 1..97) or a single edit (number 0).
enum class ReplyField {
  NNumber,
  PBnr,
  TXTSMS,
  iTXTSMS,
  APN,
  UserID,
  Password,
  IPaddress,
  FTPHostName,
  UserNameFTP,
  PasswordFTP,
  DirName,
  HTTPhostName,
};

// One edit to set and its new text. Later entries win over earlier ones for the same edit,
// as the rules set them in that order.
struct TEditValue {
  ReplyField edit;
  int n = 0;
  std::string value;
  bool operator==(const TEditValue&) const = default;
};
using TEditValues = std::vector<TEditValue>;

// Page 1: "Nx: number " values into NNumber1..7, else the phone-book rule into PBnr1..7.
TEditValues ParseAbonentsReply(const std::string& s);
// Page 2: two digits nn, then the text from character 5 on into TXTSMSnn (1..57).
TEditValues ParseExternalSmsReply(const std::string& s);
// Pages 3 and 4: two digits nn, then the text from character 5 up to the character before
// its last into iTXTSMSnn (1..97).
TEditValues ParseInternalSmsReply(const std::string& s);
// Page 10: "Key: value" with the last two characters dropped, into the edit of the key.
TEditValues ParseGprsFtpReply(const std::string& s);
// Dispatches by the index of the page shown (see Page); pages without a rule give nothing.
TEditValues ParsePageReply(int pageIndex, const std::string& s);

}  // namespace configurator
