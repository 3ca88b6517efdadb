#pragma once
// A record of fixed size written field by field from a layout table, for tests of settings
// files: each field gets its own value, padding and reserved bytes a filler that no save
// writes, and the table tells which field a changed byte belongs to.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// One field of the record layout: where it lies and what it holds.
struct Field {
  std::string name;
  std::size_t offset, size;
};

// The record of distinct values and the table of its fields, built side by side.
class LayoutRecord {
 public:
  explicit LayoutRecord(std::size_t size) : bytes_(size, '\0') {}

  // The four bytes of an int32, little-endian.
  static std::string LE32(std::int32_t v) {
    std::string s(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
      s[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
  }
  void Int32(const std::string& name, std::size_t off, std::int32_t v) {
    Put(name, off, 4, [&](char* p) { std::memcpy(p, LE32(v).data(), 4); });
  }
  void Int16(const std::string& name, std::size_t off, std::int16_t v) {
    Put(name, off, 2, [&](char* p) {
      p[0] = static_cast<char>(v & 0xFF);
      p[1] = static_cast<char>((static_cast<std::uint16_t>(v) >> 8) & 0xFF);
    });
  }
  // An IEEE double, little-endian.
  void Double(const std::string& name, std::size_t off, double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Put(name, off, 8, [&](char* p) {
      for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    });
  }
  void Byte(const std::string& name, std::size_t off, std::uint8_t v) {
    Put(name, off, 1, [&](char* p) { p[0] = static_cast<char>(v); });
  }
  // A length byte, the text, and the rest of the room filled with bytes that no save writes
  // (`zeroRoom`: zeros, for a file whose save clears the room after a text).
  void Text(const std::string& name, std::size_t off, std::size_t room, const std::string& text,
            bool zeroRoom = false) {
    ASSERT_LE(text.size(), room) << name;
    Put(name, off, room + 1, [&](char* p) {
      p[0] = static_cast<char>(text.size());
      std::memcpy(p + 1, text.data(), text.size());
      for (std::size_t i = text.size(); i < room; ++i)
        p[1 + i] = zeroRoom ? '\0' : Filler(off + 1 + i);
    });
  }
  // Padding and reserved bytes: the save never writes them.
  void Reserved(const std::string& name, std::size_t off, std::size_t size) {
    Put(name, off, size, [&](char* p) {
      for (std::size_t i = 0; i < size; ++i) p[i] = Filler(off + i);
    });
  }

  const std::string& Bytes() const { return bytes_; }

  // Bytes that no field or more than one field covers.
  std::vector<std::string> CoverageFaults() const {
    std::vector<int> cover(bytes_.size(), 0);
    for (const Field& f : fields_)
      for (std::size_t i = f.offset; i < f.offset + f.size; ++i) ++cover[i];
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < cover.size(); ++i)
      if (cover[i] != 1)
        faults.push_back("offset " + std::to_string(i) + " covered " + std::to_string(cover[i]) +
                         " times");
    return faults;
  }
  // The fields whose bytes differ between the record and `saved`, in file order.
  std::vector<std::string> ChangedFields(const std::string& saved) const {
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < bytes_.size() && i < saved.size(); ++i) {
      if (saved[i] == bytes_[i]) continue;
      const Field* f = At(i);
      const std::string name = f ? f->name : "offset " + std::to_string(i);
      if (changed.empty() || changed.back() != name) changed.push_back(name);
    }
    return changed;
  }
  const std::vector<Field>& Fields() const { return fields_; }
  const Field* At(std::size_t offset) const {
    for (const Field& f : fields_)
      if (offset >= f.offset && offset < f.offset + f.size) return &f;
    return nullptr;
  }
  const Field& Named(const std::string& name) const {
    for (const Field& f : fields_)
      if (f.name == name) return f;
    ADD_FAILURE() << "no field " << name;
    return fields_.front();
  }

 private:
  static char Filler(std::size_t off) { return static_cast<char>(0x80 + (off * 7) % 0x7F); }
  void Put(const std::string& name, std::size_t off, std::size_t size,
           const std::function<void(char*)>& write) {
    ASSERT_LE(off + size, bytes_.size()) << name;
    fields_.push_back({name, off, size});
    write(&bytes_[off]);
  }
  std::string bytes_;
  std::vector<Field> fields_;
};

}  // namespace testsupport
