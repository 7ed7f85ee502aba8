#include "protocol/Codec.h"

#include "raknet/RakString.h"

namespace protocol {

bool Writer::field(const std::int32_t& v) {
  out_.Write(v);
  return true;
}

bool Writer::field(const std::uint64_t& v) {
  out_.Write(v);
  return true;
}

bool Writer::field(const std::string& v) {
  out_.Write(RakNet::RakString(v));
  return true;
}

template <class T>
bool Writer::list(const std::vector<T>& v) {
  out_.Write(static_cast<std::uint32_t>(v.size()));
  for (T x : v) out_.Write(x);
  return true;
}

bool Writer::field(const std::vector<std::int32_t>& v) { return list(v); }

bool Writer::field(const std::vector<std::uint64_t>& v) { return list(v); }

bool Writer::field(const std::vector<PlayerEntry>& v) {
  out_.Write(static_cast<std::int32_t>(v.size()));
  for (const PlayerEntry& e : v) {
    field(e.guid);
    field(e.name);
  }
  return true;
}

bool Reader::skip(size_t n) {
  if (!ok_ || n > left()) return fail();
  pos_ += n;
  return true;
}

template <class T>
bool Reader::number(T& v) {
  if (!ok_ || left() < sizeof(T)) return fail();
  std::uint64_t u = 0;
  for (size_t i = 0; i < sizeof(T); ++i) u = (u << 8) | data_[pos_ + i];
  pos_ += sizeof(T);
  v = static_cast<T>(u);
  return true;
}

bool Reader::field(std::int32_t& v) { return number(v); }

bool Reader::field(std::uint64_t& v) { return number(v); }

bool Reader::field(std::string& v) {
  if (!ok_ || left() < 2) return fail();
  size_t n = (static_cast<size_t>(data_[pos_]) << 8) | data_[pos_ + 1];
  if (n > left() - 2) return fail();
  v.assign(reinterpret_cast<const char*>(data_ + pos_ + 2), n);
  pos_ += 2 + n;
  return true;
}

bool Reader::count(size_t minBytes, size_t& n) {
  std::int32_t c = 0;
  if (!field(c)) return false;
  if (c < 1) {
    n = 0;
    return true;
  }
  if (static_cast<size_t>(c) > left() / minBytes) return fail();
  n = static_cast<size_t>(c);
  return true;
}

template <class T>
bool Reader::list(std::vector<T>& v) {
  size_t n = 0;
  if (!count(sizeof(T), n)) return false;
  v.resize(n);
  for (auto& x : v)
    if (!number(x)) return false;
  return true;
}

bool Reader::field(std::vector<std::int32_t>& v) { return list(v); }

bool Reader::field(std::vector<std::uint64_t>& v) { return list(v); }

bool Reader::field(std::vector<PlayerEntry>& v) {
  size_t n = 0;
  if (!count(10, n)) return false;
  v.resize(n);
  for (auto& e : v)
    if (!field(e.guid) || !field(e.name)) return false;
  return true;
}

}  // namespace protocol
