// Field readers and writers of the protocol: big-endian int32 and u64, strings as a
// 16-bit length and bytes, lists as a count and elements. The reader checks every
// field against the bytes left and fails for good at the first short field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "raknet/BitStream.h"

namespace protocol {

// One entry of ID_PLAYER_LIST.
struct PlayerEntry {
  std::uint64_t guid = 0;
  std::string name;
  bool operator==(const PlayerEntry& o) const { return guid == o.guid && name == o.name; }
};

class Writer {
 public:
  explicit Writer(RakNet::BitStream& out) : out_(out) {}
  bool field(const std::int32_t& v);
  bool field(const std::uint64_t& v);
  bool field(const std::string& v);
  bool field(const std::vector<std::int32_t>& v);
  bool field(const std::vector<std::uint64_t>& v);
  bool field(const std::vector<PlayerEntry>& v);
  // The given fields in turn.
  template <class... T>
  bool fields(const T&... v) {
    return (field(v) && ...);
  }

 private:
  template <class T>
  bool list(const std::vector<T>& v);

  RakNet::BitStream& out_;
};

class Reader {
 public:
  Reader(const unsigned char* data, size_t length) : data_(data), length_(length) {}
  bool field(std::int32_t& v);
  bool field(std::uint64_t& v);
  bool field(std::string& v);
  bool field(std::vector<std::int32_t>& v);
  bool field(std::vector<std::uint64_t>& v);
  bool field(std::vector<PlayerEntry>& v);
  // The given fields in turn; stops at the first missing one.
  template <class... T>
  bool fields(T&... v) {
    return (field(v) && ...);
  }

  bool ok() const { return ok_; }
  bool atEnd() const { return pos_ == length_; }
  size_t left() const { return length_ - pos_; }
  bool skip(size_t n);

 private:
  // The count of a list whose elements take at least minBytes each: below 1 is an
  // empty list; more than the bytes left can hold fails.
  bool count(size_t minBytes, size_t& n);
  // A big-endian integer of sizeof(T) bytes.
  template <class T>
  bool number(T& v);
  // A count and that many numbers.
  template <class T>
  bool list(std::vector<T>& v);
  bool fail() {
    ok_ = false;
    return false;
  }

  const unsigned char* data_;
  size_t length_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace protocol
