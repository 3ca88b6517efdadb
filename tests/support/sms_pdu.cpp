#include "support/sms_pdu.h"

#include <array>

namespace testsupport::sms {

namespace {

// The default alphabet by septet, as Windows-1252 bytes; 0 where the code page has no such
// character (Greek capitals, the escape to the extension table).
constexpr std::array<std::uint8_t, 128> kAlphabet = {
    0x40, 0xA3, 0x24, 0xA5, 0xE8, 0xE9, 0xF9, 0xEC, 0xF2, 0xC7, 0x0A, 0xD8, 0xF8, 0x0D, 0xC5, 0xE5,
    0x00, 0x5F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC6, 0xE6, 0xDF, 0xC9,
    0x20, 0x21, 0x22, 0x23, 0xA4, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0xA1, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0xC4, 0xD6, 0xD1, 0xDC, 0xA7,
    0xBF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0xE4, 0xF6, 0xF1, 0xFC, 0xE0,
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::uint8_t Bcd(int value) {  // semi-octets, low digit first
  return static_cast<std::uint8_t>(((value % 10) << 4) | ((value / 10) % 10));
}

int FromBcd(std::uint8_t octet) { return (octet & 0x0F) * 10 + (octet >> 4); }

std::string DecodeAddressDigits(const std::vector<std::uint8_t>& octets, std::size_t at,
                                int digits) {
  std::string out;
  for (int i = 0; i < digits; ++i) {
    const std::uint8_t o = octets[at + static_cast<std::size_t>(i / 2)];
    const int d = (i % 2 == 0) ? (o & 0x0F) : (o >> 4);
    out += d <= 9 ? static_cast<char>('0' + d) : "*#abc?"[d - 10];
  }
  return out;
}

std::vector<std::uint8_t> SmscPart(const std::string& smsc) {
  if (smsc.empty()) return {0x00};
  std::vector<std::uint8_t> a = EncodeAddress(smsc);
  // The service-centre length counts octets (type included), not digits.
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(a.size() - 1)};
  out.insert(out.end(), a.begin() + 1, a.end());
  return out;
}

}  // namespace

std::string SeptetsToText(const std::vector<std::uint8_t>& septets) {
  std::string out;
  for (std::uint8_t s : septets) {
    const std::uint8_t c = kAlphabet[s & 0x7F];
    out += c ? static_cast<char>(c) : '?';
  }
  return out;
}

std::vector<std::uint8_t> TextToSeptets(const std::string& cp1252) {
  std::vector<std::uint8_t> out;
  for (char ch : cp1252) {
    const auto c = static_cast<std::uint8_t>(ch);
    std::uint8_t septet = 0x3F;  // '?'
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
      if (kAlphabet[i] == c && c != 0) {
        septet = static_cast<std::uint8_t>(i);
        break;
      }
    }
    out.push_back(septet);
  }
  return out;
}

std::vector<std::uint8_t> PackSeptets(const std::vector<std::uint8_t>& septets) {
  std::vector<std::uint8_t> out;
  unsigned acc = 0;
  int bits = 0;
  for (std::uint8_t s : septets) {
    acc |= static_cast<unsigned>(s & 0x7F) << bits;
    bits += 7;
    while (bits >= 8) {
      out.push_back(static_cast<std::uint8_t>(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc & 0xFF));
  return out;
}

std::vector<std::uint8_t> UnpackSeptets(const std::vector<std::uint8_t>& octets,
                                        std::size_t count) {
  std::vector<std::uint8_t> out;
  unsigned acc = 0;
  int bits = 0;
  for (std::uint8_t o : octets) {
    acc |= static_cast<unsigned>(o) << bits;
    bits += 8;
    while (bits >= 7 && out.size() < count) {
      out.push_back(static_cast<std::uint8_t>(acc & 0x7F));
      acc >>= 7;
      bits -= 7;
    }
    if (out.size() >= count) break;
  }
  return out;
}

std::string ToHex(const std::vector<std::uint8_t>& octets) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::uint8_t o : octets) {
    out += digits[o >> 4];
    out += digits[o & 0x0F];
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> FromHex(const std::string& hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return out;
}

std::vector<std::uint8_t> EncodeAddress(const std::string& number) {
  const bool international = !number.empty() && number[0] == '+';
  std::string digits;
  for (char c : number)
    if (c >= '0' && c <= '9') digits += c;
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(digits.size()),
                                static_cast<std::uint8_t>(international ? 0x91 : 0x81)};
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int lo = digits[i] - '0';
    const int hi = i + 1 < digits.size() ? digits[i + 1] - '0' : 0x0F;
    out.push_back(static_cast<std::uint8_t>((hi << 4) | lo));
  }
  return out;
}

std::string EncodeDeliver(const std::string& sender, const std::string& text,
                          const DeliverOptions& options) {
  return EncodeDeliverSeptets(sender, TextToSeptets(text), options);
}

std::string EncodeDeliverSeptets(const std::string& sender,
                                 const std::vector<std::uint8_t>& septets,
                                 const DeliverOptions& options) {
  std::vector<std::uint8_t> pdu = SmscPart(options.smsc);
  pdu.push_back(0x04);  // SMS-DELIVER, no more messages to send
  const std::vector<std::uint8_t> oa = EncodeAddress(sender);
  pdu.insert(pdu.end(), oa.begin(), oa.end());
  pdu.push_back(0x00);  // protocol identifier
  pdu.push_back(0x00);  // default alphabet
  const TimeStamp& t = options.stamp;
  for (int v : {t.year, t.month, t.day, t.hour, t.minute, t.second}) pdu.push_back(Bcd(v));
  const int q = t.zoneQuarters < 0 ? -t.zoneQuarters : t.zoneQuarters;
  pdu.push_back(static_cast<std::uint8_t>(Bcd(q) | (t.zoneQuarters < 0 ? 0x08 : 0x00)));
  pdu.push_back(static_cast<std::uint8_t>(septets.size()));
  const std::vector<std::uint8_t> ud = PackSeptets(septets);
  pdu.insert(pdu.end(), ud.begin(), ud.end());
  return ToHex(pdu);
}

int TpduLength(const std::string& pduHex) {
  const auto octets = FromHex(pduHex);
  if (!octets || octets->empty()) return 0;
  return static_cast<int>(octets->size()) - 1 - (*octets)[0];
}

SubmitResult DecodeSubmit(const std::string& pduHex) {
  SubmitResult r;
  const auto parsed = FromHex(pduHex);
  if (!parsed) {
    r.error = "not an even number of hexadecimal digits";
    return r;
  }
  const std::vector<std::uint8_t>& o = *parsed;
  std::size_t p = 0;
  auto need = [&](std::size_t n, const char* what) {
    if (p + n > o.size()) {
      r.error = std::string("PDU ends inside ") + what;
      return false;
    }
    return true;
  };
  Submit s;
  if (!need(1, "the service-centre length")) return r;
  s.smscLength = o[p];
  p += 1;
  if (!need(static_cast<std::size_t>(s.smscLength), "the service-centre address")) return r;
  p += static_cast<std::size_t>(s.smscLength);
  if (!need(2, "the first octet and message reference")) return r;
  s.firstOctet = o[p++];
  if ((s.firstOctet & 0x03) != 0x01) {
    r.error = "first octet is not SMS-SUBMIT";
    return r;
  }
  s.validityFormat = (s.firstOctet >> 3) & 0x03;
  s.messageReference = o[p++];
  if (!need(2, "the destination address header")) return r;
  s.addressDigits = o[p++];
  s.typeOfAddress = o[p++];
  const std::size_t addrOctets = static_cast<std::size_t>((s.addressDigits + 1) / 2);
  if (!need(addrOctets, "the destination address")) return r;
  s.destination =
      ((s.typeOfAddress & 0x70) == 0x10 ? "+" : "") + DecodeAddressDigits(o, p, s.addressDigits);
  p += addrOctets;
  if (!need(2, "the protocol identifier and coding scheme")) return r;
  s.protocolId = o[p++];
  s.dataCoding = o[p++];
  const std::size_t vpLen = s.validityFormat == 2 ? 1 : (s.validityFormat == 0 ? 0 : 7);
  if (!need(vpLen, "the validity period")) return r;
  s.validity.assign(o.begin() + static_cast<std::ptrdiff_t>(p),
                    o.begin() + static_cast<std::ptrdiff_t>(p + vpLen));
  p += vpLen;
  if (!need(1, "the user-data length")) return r;
  s.userDataLength = o[p++];
  if ((s.dataCoding & 0x0C) != 0x00) {
    r.error = "user data not in the default alphabet";
    return r;
  }
  const std::size_t udOctets = (static_cast<std::size_t>(s.userDataLength) * 7 + 7) / 8;
  if (p + udOctets != o.size()) {
    r.error = "user-data length " + std::to_string(s.userDataLength) + " needs " +
              std::to_string(udOctets) + " octets, PDU holds " + std::to_string(o.size() - p);
    return r;
  }
  std::vector<std::uint8_t> ud(o.begin() + static_cast<std::ptrdiff_t>(p), o.end());
  s.septets = UnpackSeptets(ud, static_cast<std::size_t>(s.userDataLength));
  s.text = SeptetsToText(s.septets);
  for (std::uint8_t c : s.septets) s.ascii += static_cast<char>(c);
  r.submit = s;
  return r;
}

std::optional<Deliver> DecodeDeliver(const std::string& pduHex) {
  const auto parsed = FromHex(pduHex);
  if (!parsed) return std::nullopt;
  const std::vector<std::uint8_t>& o = *parsed;
  std::size_t p = 0;
  if (o.empty()) return std::nullopt;
  p = 1 + o[0];
  if (p + 3 > o.size() || (o[p] & 0x03) != 0x00) return std::nullopt;
  ++p;
  const int digits = o[p++];
  const int type = o[p++];
  const std::size_t addrOctets = static_cast<std::size_t>((digits + 1) / 2);
  if (p + addrOctets + 2 + 7 + 1 > o.size()) return std::nullopt;
  Deliver d;
  d.sender = ((type & 0x70) == 0x10 ? "+" : "") + DecodeAddressDigits(o, p, digits);
  p += addrOctets + 2;  // protocol identifier, coding scheme
  d.stamp.year = FromBcd(o[p]);
  d.stamp.month = FromBcd(o[p + 1]);
  d.stamp.day = FromBcd(o[p + 2]);
  d.stamp.hour = FromBcd(o[p + 3]);
  d.stamp.minute = FromBcd(o[p + 4]);
  d.stamp.second = FromBcd(o[p + 5]);
  const std::uint8_t z = o[p + 6];
  d.stamp.zoneQuarters = FromBcd(static_cast<std::uint8_t>(z & 0xF7)) * ((z & 0x08) ? -1 : 1);
  p += 7;
  const std::size_t udl = o[p++];
  if (p + (udl * 7 + 7) / 8 != o.size()) return std::nullopt;
  std::vector<std::uint8_t> ud(o.begin() + static_cast<std::ptrdiff_t>(p), o.end());
  d.text = SeptetsToText(UnpackSeptets(ud, udl));
  return d;
}

}  // namespace testsupport::sms
