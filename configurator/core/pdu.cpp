#include "configurator/core/pdu.h"

#include <utility>

namespace configurator {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexOctet(std::string& out, unsigned octet) {
  out += kHexDigits[(octet >> 4) & 0x0F];
  out += kHexDigits[octet & 0x0F];
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The table as Windows-1252 bytes, septet by septet.
constexpr std::array<char, 128> MakeGsmTable() {
  std::array<char, 128> t{};
  for (int i = 0; i < 128; ++i) t[i] = static_cast<char>(i);  // 0x20..0x7A mostly ASCII
  const unsigned char low[32] = {
      '@',  ' ',  '$',  'Y', 0xE8, 0xE9, 0xF9, 0xEC,  // @ £ $ ¥ è é ù ì
      0xF2, 0xE7, '\n', ' ', 0xF8, '\r', ' ',  0xE5,  // ò Ç(ç) LF Ø ø CR Å å
      ' ',  '_',  ' ',  ' ', ' ',  ' ',  ' ',  ' ',   // Δ _ Φ Γ Λ Ω Π Ψ
      ' ',  ' ',  ' ',  ' ', 0xC6, 0xE6, 0xDF, 0xC9,  // Σ Θ Ξ ESC Æ æ ß É
  };
  for (int i = 0; i < 32; ++i) t[i] = static_cast<char>(low[i]);
  t[0x24] = static_cast<char>(0xA4);              // ¤
  t[0x40] = static_cast<char>(0xA1);              // ¡
  for (int i = 0x5B; i <= 0x5F; ++i) t[i] = '*';  // Ä Ö Ñ Ü §
  t[0x60] = static_cast<char>(0xBF);              // ¿
  t[0x7B] = static_cast<char>(0xE4);              // ä
  t[0x7C] = static_cast<char>(0xF6);              // ö
  t[0x7D] = static_cast<char>(0xF1);              // ñ
  t[0x7E] = static_cast<char>(0xFC);              // ü
  t[0x7F] = static_cast<char>(0xE0);              // à
  return t;
}

}  // namespace

const std::array<char, 128> kGsmToText = MakeGsmTable();

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool PduHasOctetAt(const std::string& pdu, std::size_t p) { return p >= 1 && p + 1 <= pdu.size(); }

int PduOctetAt(const std::string& pdu, std::size_t p) {
  const int hi = (p >= 1 && p <= pdu.size()) ? HexDigitValue(pdu[p - 1]) : -1;
  const int lo = (p >= 1 && p + 1 <= pdu.size()) ? HexDigitValue(pdu[p]) : -1;
  return hi * 16 + lo;
}

std::string PackSeptets(const std::string& text) {
  std::string out;
  out.reserve((text.size() * 7 + 7) / 8 * 2);
  unsigned acc = 0;
  int bits = 0;
  for (char c : text) {
    acc |= (static_cast<unsigned char>(c) & 0x7Fu) << bits;
    bits += 7;
    while (bits >= 8) {
      AppendHexOctet(out, acc & 0xFF);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) AppendHexOctet(out, acc & 0xFF);
  return out;
}

std::string UnpackSeptets(const std::string& hex, int count) {
  std::string out;
  if (count <= 0) return out;
  out.reserve(static_cast<std::size_t>(count));
  unsigned acc = 0;
  int bits = 0;
  for (std::size_t p = 1; p + 1 <= hex.size() && static_cast<int>(out.size()) < count; p += 2) {
    // A non-digit gives a wrong octet; keep it to eight bits and go on.
    const unsigned octet = static_cast<unsigned>(PduOctetAt(hex, p)) & 0xFFu;
    acc |= octet << bits;
    bits += 8;
    while (bits >= 7 && static_cast<int>(out.size()) < count) {
      out += static_cast<char>(acc & 0x7F);
      acc >>= 7;
      bits -= 7;
    }
  }
  return out;
}

std::string DecodeSeptets(const std::string& hex, int count) {
  std::string s = UnpackSeptets(hex, count);
  for (char& c : s) c = GsmToText(static_cast<unsigned char>(c));
  return s;
}

bool TextToPDU(const std::string& text, const std::string& phone, std::string& pdu) {
  if (phone.empty()) return false;
  std::string out = "001130";
  std::string number = phone;
  const bool international = number[0] == '+';
  const std::size_t addressLength = (international ? number.size() - 1 : number.size()) % 256;
  std::size_t start;  // 0-based index of the first digit
  if (international) {
    if (number.size() % 2 == 0) number += 'F';
    AppendHexOctet(out, static_cast<unsigned>(addressLength));
    out += "91";
    start = 1;
  } else {
    if (number.size() % 2 == 1) number += 'F';
    AppendHexOctet(out, static_cast<unsigned>(addressLength));
    out += "81";
    start = 0;
  }
  // Semi-octets, swapped in pairs; a non-digit is dropped (the length still counts it).
  if (addressLength > 0) {
    for (std::size_t i = start; i + 1 < number.size(); i += 2) {
      const char x = number[i], y = number[i + 1];
      if (IsDigit(y) || y == 'F') out += y;
      if (IsDigit(x)) out += x;
    }
  }
  out += "00000B";
  AppendHexOctet(out, static_cast<unsigned>(text.size() % 256));
  out += PackSeptets(text);
  out += kPduEndMark;
  pdu = std::move(out);
  return true;
}

int CmgsLength(const std::string& pduWithEndMark) {
  return static_cast<int>(pduWithEndMark.size() / 2) - 1;
}

DecodedPdu DecodePdu(const std::string& pdu) {
  DecodedPdu r;
  if (pdu.size() < 8) return r;
  if (HexDigitValue(pdu[2]) + HexDigitValue(pdu[3]) + HexDigitValue(pdu[6]) +
          HexDigitValue(pdu[7]) <=
      0)
    return r;

  // Positions are 1-based and may come out below 1 from bad digits; such a PDU is rejected.
  auto valid = [&](long p) { return p >= 1 && PduHasOctetAt(pdu, static_cast<std::size_t>(p)); };
  const long l = PduOctetAt(pdu, 1);
  const long first = l > 0 ? 2 * l + 3 : 3;
  if (!valid(first)) return r;
  const int firstOctet = PduOctetAt(pdu, static_cast<std::size_t>(first));
  r.submit = (firstOctet & 3) != 0;
  r.firstOctetPos = static_cast<std::size_t>(first);

  const long addressPos = r.submit ? 2 * l + 7 : 2 * l + 5;
  if (!valid(addressPos)) return r;
  const int n = PduOctetAt(pdu, static_cast<std::size_t>(addressPos));
  r.addressDigits = n;
  r.addressLengthPos = static_cast<std::size_t>(addressPos);

  const long half = (n + 1) / 2;  // address octets, rounded up
  const long udlPos = addressPos + (r.submit ? 10 : 22) + 2 * half;
  if (!valid(udlPos)) return r;
  r.udlPos = static_cast<std::size_t>(udlPos);
  r.udl = PduOctetAt(pdu, r.udlPos);
  if (r.udl <= 0) {
    r.status = PduStatus::NoUserData;
    return r;
  }
  r.status = PduStatus::Decoded;
  r.text = DecodeSeptets(pdu.substr(r.udlPos + 1), r.udl);
  return r;
}

bool PDUTextConversion(const std::string& pdu, std::string& text) {
  DecodedPdu d = DecodePdu(pdu);
  if (d.status != PduStatus::Decoded) return false;
  text = std::move(d.text);
  return true;
}

}  // namespace configurator
