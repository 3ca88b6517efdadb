#include "configurator/core/replyparse.h"

#include <algorithm>

namespace configurator {

namespace {

unsigned Code(char c) { return static_cast<unsigned char>(c); }

// 1-based character of s; '\0' stands for "no character there" in tests that look for a
// specific printable character.
char At(const std::string& s, std::size_t i) { return (i >= 1 && i <= s.size()) ? s[i - 1] : '\0'; }

// 1-based position of the first c in s, 0 when none.
std::size_t Pos(const std::string& s, char c) {
  const auto p = s.find(c);
  return p == std::string::npos ? 0 : p + 1;
}

// Characters `from` (1-based) to the end, at most `count` of them; empty when out of range.
std::string Copy(const std::string& s, long from, long count) {
  if (count <= 0 || from < 1 || static_cast<std::size_t>(from) > s.size()) return {};
  return s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The common scan of the modem answers. From character 2 on, find the first carriage return
// or line feed, then skip the control characters after it. Scans never reach `limit` (the
// give-up character or the answer's last character, whichever comes first). Returns the
// 1-based position of the next line's first character, or 0 when the scan gave up.
std::size_t NextLineStart(const std::string& raw, std::size_t giveUpAt) {
  const std::size_t limit = std::min(giveUpAt, raw.size());
  std::size_t i = 2;
  while (i < limit && raw[i - 1] != '\r' && raw[i - 1] != '\n') ++i;
  if (i >= limit) return 0;
  while (i < limit && Code(raw[i - 1]) < 32) ++i;
  if (i >= limit) return 0;
  return i;
}

// The value from 1-based position `from` up to the character before the next carriage
// return; empty when no carriage return stands before `limit`. A carriage return that is
// the answer's last character (short of the give-up character) ends the value too.
std::string ValueToCR(const std::string& raw, std::size_t from, std::size_t giveUpAt) {
  const std::size_t limit = std::min(giveUpAt, raw.size());
  std::size_t i = from;
  while (i < limit && raw[i - 1] != '\r') ++i;
  const bool endsAtLast = i == raw.size() && i < giveUpAt && raw[i - 1] == '\r';
  if (i >= limit && !endsAtLast) return {};
  return raw.substr(from - 1, i - from);
}

TAnswerParse LineValue(const std::string& raw) {
  TAnswerParse r;
  const std::size_t start = NextLineStart(raw, 250);
  if (start == 0) return r;
  r.value = ValueToCR(raw, start, 250);
  r.done = !r.value.empty();
  return r;
}

TAnswerParse QuotedOrColonValue(const std::string& raw, std::size_t giveUpAt) {
  TAnswerParse r;
  const std::size_t limit = std::min(giveUpAt, raw.size());
  std::size_t i = 2;
  while (i < limit && raw[i - 1] != '\r' && raw[i - 1] != '\n') ++i;
  if (i >= limit) return r;
  while (i < limit && raw[i - 1] != '"' && raw[i - 1] != ':') ++i;
  if (i >= limit) return r;
  if (raw[i - 1] == ':') {
    ++i;
    if (i < limit && raw[i - 1] == ' ') ++i;
  }
  if (i >= limit) return r;
  r.value = ValueToCR(raw, i, giveUpAt);
  r.done = !r.value.empty();
  return r;
}

// Two leading digits of a numbered reply ("05: text"), or -1.
int LeadingNumber(const std::string& s) {
  if (s.size() < 2 || !IsDigit(s[0]) || !IsDigit(s[1])) return -1;
  return (s[0] - '0') * 10 + (s[1] - '0');
}

}  // namespace

// ---- chunk ---------------------------------------------------------------------------

std::string ReplyTextFromChunk(const std::string& raw) {
  const std::size_t z = Pos(raw, '\0');
  if (z == 0) return {};
  std::size_t cr = Pos(raw, '\r');
  if (cr == 0) cr = 1;
  return Copy(raw, static_cast<long>(cr), static_cast<long>(z));
}

std::string RemoveZeroBytes(const std::string& raw) {
  std::string t;
  t.reserve(raw.size());
  for (char c : raw)
    if (c != '\0') t += c;
  return t;
}

TDirectReply DirectModeReply(const std::string& t, bool skipCRLF, bool rawATMode) {
  TDirectReply r;
  r.replyText = t;
  if (skipCRLF)
    for (char& c : r.replyText)
      if (Code(c) < 32) c = ' ';
  r.rawATMode = rawATMode;
  // A raw AT answer ends raw mode when its first carriage return stands among its first
  // four characters or it has none; a later one (an echoed command line) leaves it on.
  const std::size_t cr = Pos(t, '\r');
  if (rawATMode && cr <= 4) {
    r.replyText = t;
    r.replyText += '\0';
    r.rawATMode = false;
  }
  return r;
}

// ---- SMS listing ---------------------------------------------------------------------

TSmsListing FindListedSms(const std::string& raw) {
  TSmsListing r;
  const std::size_t at = raw.find("CMGL:");
  if (at == std::string::npos || at + 5 > 510) return r;
  const std::size_t colon = at + 5;  // 1-based position of the colon
  if (raw.size() < colon + 2) return r;

  const std::size_t limit = std::min<std::size_t>(511, raw.size());
  std::size_t i = colon + 2;                       // the character after the colon is skipped
  while (i < limit && Code(raw[i - 1]) > 13) ++i;  // to the end of the announcing line
  if (i >= limit) return r;
  while (i < limit && Code(raw[i - 1]) <= 32) ++i;
  if (i >= limit) return r;
  const std::size_t start = i;
  while (i < limit && Code(raw[i - 1]) > 32) ++i;
  if (i >= limit) return r;  // the PDU never runs into the chunk's last character
  r.found = true;
  r.pdu = raw.substr(start - 1, i - start);

  // Storage index: the number right after "CMGL:" on the line that announces the message,
  // ended by its comma, which must stand among characters 2 to 35. It is taken from that
  // line only, so that a comma of another answer earlier in the chunk ("+CSQ: 17,99") never
  // names the message to delete; and all its digits are read, so that index 300 deletes 300
  // and not 44. More than nine digits is no index.
  std::size_t p = colon + 1;
  while (p <= raw.size() && raw[p - 1] == ' ') ++p;
  const std::size_t first = p;
  while (p <= raw.size() && IsDigit(raw[p - 1])) ++p;
  const std::size_t comma = p;
  if (comma == first || comma > std::min<std::size_t>(35, raw.size()) || raw[comma - 1] != ',' ||
      comma - first > 9)
    return r;
  r.index = std::stoi(raw.substr(first - 1, comma - first));
  r.hasIndex = true;
  return r;
}

std::string DeleteSmsCommand(int index) { return "AT+CMGD=" + std::to_string(index); }

// ---- modem answers -------------------------------------------------------------------

TAnswerParse ParseManufacturerReply(const std::string& raw) { return LineValue(raw); }
TAnswerParse ParseModelReply(const std::string& raw) { return LineValue(raw); }
TAnswerParse ParseClockReply(const std::string& raw) { return QuotedOrColonValue(raw, 250); }
TAnswerParse ParseCharsetReply(const std::string& raw) { return QuotedOrColonValue(raw, 254); }
bool ConsumeCMGFReply(const std::string& raw) { return NextLineStart(raw, 250) != 0; }
bool ConsumeCMEEReply(const std::string& raw) { return NextLineStart(raw, 250) != 0; }

// ---- pages ---------------------------------------------------------------------------

TEditValues ParseAbonentsReply(const std::string& reply) {
  TEditValues out;
  std::string s = reply;
  const std::size_t colon = Pos(s, ':');
  if (colon <= 1) return out;  // no colon or an empty key
  const std::string key = s.substr(0, colon - 1);
  std::string value = Copy(s, static_cast<long>(colon) + 2, 20);
  const std::size_t blank = Pos(value, ' ');
  value = blank == 0 ? std::string() : value.substr(0, blank - 1);

  if (key.size() >= 4 && key[3] >= '1' && key[3] <= '7') {
    out.push_back({ReplyField::NNumber, key[3] - '0', value});
    return out;
  }
  // Phone-book listing: " N1:number N2:number ..." behind one leading character.
  if (At(s, 1) != 'N' && At(s, 2) != 'N') return out;
  if (At(s, 2) == '1') out.push_back({ReplyField::PBnr, 1, value});
  std::size_t k = 1;
  for (int pass = 0; pass < 7; ++pass) {
    if (!((At(s, k) == 'N' || At(s, k + 1) == 'N') && At(s, k) != 'I')) continue;
    s.erase(0, std::min(k, s.size()));
    k = Pos(s, ' ');
    const std::string entry = k == 0 ? std::string() : Copy(s, 4, static_cast<long>(k) - 4);
    const char d = At(s, 2);
    if (d >= '1' && d <= '7') out.push_back({ReplyField::PBnr, d - '0', entry});
    if (k == 0) break;
  }
  return out;
}

TEditValues ParseExternalSmsReply(const std::string& s) {
  const int n = LeadingNumber(s);
  if (n < 1 || n > 57) return {};
  return {{ReplyField::TXTSMS, n, Copy(s, 5, static_cast<long>(s.size()))}};
}

TEditValues ParseInternalSmsReply(const std::string& s) {
  const int n = LeadingNumber(s);
  if (n < 1 || n > 97) return {};
  return {{ReplyField::iTXTSMS, n, Copy(s, 5, static_cast<long>(s.size()) - 5)}};
}

TEditValues ParseGprsFtpReply(const std::string& s) {
  static const struct {
    const char* key;
    ReplyField edit;
  } kKeys[] = {
      {"PASSWORD", ReplyField::Password},
      {"UserID", ReplyField::UserID},
      {"Password FTP", ReplyField::PasswordFTP},
      {"UserName FTP", ReplyField::UserNameFTP},
      {"Remote Host", ReplyField::HTTPhostName},
      {"IP address", ReplyField::IPaddress},
      {"APN", ReplyField::APN},
      {"FTPHOST", ReplyField::FTPHostName},
      {"DirName", ReplyField::DirName},
      {"FTP host", ReplyField::FTPHostName},
      {"HTTP Host", ReplyField::HTTPhostName},
  };
  const std::size_t colon = Pos(s, ':');
  if (colon <= 1) return {};
  const std::string key = s.substr(0, colon - 1);
  const std::string value = Copy(s, static_cast<long>(colon) + 2,
                                 static_cast<long>(s.size()) - static_cast<long>(colon) - 3);
  for (const auto& k : kKeys)
    if (key == k.key) return {{k.edit, 0, value}};
  return {};
}

TEditValues ParsePageReply(int pageIndex, const std::string& s) {
  switch (static_cast<Page>(pageIndex)) {
    case Page::Abonents: return ParseAbonentsReply(s);
    case Page::ExternalSMS: return ParseExternalSmsReply(s);
    case Page::IntExtSMS:
    case Page::IOname: return ParseInternalSmsReply(s);
    case Page::GprsFtp: return ParseGprsFtpReply(s);
    default: return {};
  }
}

}  // namespace configurator
